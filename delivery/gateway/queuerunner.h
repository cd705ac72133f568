#pragma once
// Sends the stored jobs through the one phone, one at a time, in the order
// they were queued. A phone that fails several jobs in a row is likely
// unplugged or out of credit: the queue then pauses, with a message for the
// status pages, until a job is retried or the server starts again.
#include <QObject>
#include <QString>

namespace logo::gateway {

class JobStore;
class PhoneSender;

class QueueRunner : public QObject {
    Q_OBJECT
public:
    static constexpr int FailuresToPause = 3;

    QueueRunner(JobStore &store, PhoneSender &sender, QObject *parent = nullptr);

    // Sends the next queued job unless one is being sent or the queue is
    // paused; call after a job was queued (it returns at once).
    void kick();
    bool isPaused() const { return !m_pauseMessage.isEmpty(); }
    QString pauseMessage() const { return m_pauseMessage; }
    // Goes on after a pause (a retry asks for it).
    void resume();
    bool isSending() const { return m_current != 0; }

signals:
    void jobEnded(qint64 id, bool sent, const QString &text);
    void paused(const QString &message);
    // Nothing left to send.
    void idle();

private:
    void onFinished(bool sent, const QString &text);

    JobStore &m_store;
    PhoneSender &m_sender;
    qint64 m_current = 0;
    int m_failuresInARow = 0;
    QString m_pauseMessage;
    bool m_kickPending = false;
};

} // namespace logo::gateway
