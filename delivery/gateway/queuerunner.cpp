#include "gateway/queuerunner.h"

#include "gateway/jobstore.h"
#include "gateway/phonesender.h"
#include "gateway/uploadfields.h"

#include <QTimer>

namespace logo::gateway {

QueueRunner::QueueRunner(JobStore &store, PhoneSender &sender, QObject *parent)
    : QObject(parent), m_store(store), m_sender(sender)
{
    connect(&m_sender, &PhoneSender::finished, this, &QueueRunner::onFinished);
}

void QueueRunner::kick()
{
    // From the event loop: the request that queued a job is answered first.
    if (m_kickPending)
        return;
    m_kickPending = true;
    QTimer::singleShot(0, this, [this] {
        m_kickPending = false;
        if (m_current || isPaused())
            return;
        const std::optional<Job> job = m_store.nextQueued();
        if (!job) {
            emit idle();
            return;
        }
        UploadPicture picture;
        if (!checkPictureFields(job->data, job->mcc, job->mnc, job->app, picture).ok()) {
            // Stored by an older server or by hand: never sent as it is.
            m_store.setState(job->id, JobState::Failed, QStringLiteral("The stored picture is not valid."));
            kick();
            return;
        }
        // Marked before the phone hears of it, so that a crash from here on
        // leaves it interrupted, never sent twice unasked.
        if (!m_store.setState(job->id, JobState::Sending)) {
            m_pauseMessage = QStringLiteral("The queue can't be written: ") + m_store.errorText();
            emit paused(m_pauseMessage);
            return;
        }
        m_current = job->id;
        m_sender.send(picture, job->to);
    });
}

void QueueRunner::onFinished(bool sent, const QString &text)
{
    const qint64 id = m_current;
    if (!id)
        return;
    m_current = 0;
    m_store.setState(id, sent ? JobState::Sent : JobState::Failed, text);
    m_failuresInARow = sent ? 0 : m_failuresInARow + 1;
    emit jobEnded(id, sent, text);
    if (m_failuresInARow >= FailuresToPause) {
        m_pauseMessage = QStringLiteral("The phone failed %1 jobs in a row, so the queue is paused. Check the phone "
                                        "and its cable, then retry a failed job to go on.")
                             .arg(m_failuresInARow);
        emit paused(m_pauseMessage);
        return;
    }
    kick();
}

void QueueRunner::resume()
{
    m_pauseMessage.clear();
    m_failuresInARow = 0;
    kick();
}

} // namespace logo::gateway
