#pragma once
// The gateway's queue on disk: one SQLite database holding every job, so that
// a job is kept from the moment it is acknowledged, through a crash or a
// kill, until it is sent. A job that was being sent when the server stopped
// may have reached the phone: it becomes interrupted and is sent again only
// when asked.
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

namespace logo::gateway {

enum class JobState { Queued, Sending, Sent, Failed, Interrupted };

// "queued", "sending", "sent", "failed", "interrupted".
QString stateName(JobState state);

struct Job {
    qint64 id = 0;
    JobState state = JobState::Queued;
    QString app, data, mcc, mnc;   // the picture, as the upload address carries it
    QString to;                    // the recipient's number
    QString client;                // the address that asked for it
    QString message;               // the phone's text once it ended
    QDateTime created;
};

class JobStore {
public:
    JobStore();
    ~JobStore();
    JobStore(const JobStore &) = delete;
    JobStore &operator=(const JobStore &) = delete;

    // Opens or creates the database; jobs left sending become interrupted.
    // False with errorText() when it can't be used.
    bool open(const QString &path);
    QString errorText() const { return m_error; }

    // Stores a new queued job and returns its number once it is on disk.
    std::optional<qint64> add(const Job &job);
    std::optional<Job> job(qint64 id) const;
    // The queued job that came first.
    std::optional<Job> nextQueued() const;
    // Sets a job's state and message; false when it could not be written.
    bool setState(qint64 id, JobState state, const QString &message = QString());
    // An interrupted or failed job queued again, behind the jobs waiting now.
    // False for a job in any other state.
    bool requeue(qint64 id);
    // Jobs waiting or being sent.
    int waitingCount() const;
    int count() const;
    // Newest first: limit jobs after skipping offset.
    QList<Job> list(int offset, int limit) const;

private:
    bool exec(const QString &sql);
    QString m_connection;
    QString m_error;
};

} // namespace logo::gateway
