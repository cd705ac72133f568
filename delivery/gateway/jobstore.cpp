#include "gateway/jobstore.h"

#include <QAtomicInt>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace logo::gateway {

namespace {

const char *const kStateNames[] = {"queued", "sending", "sent", "failed", "interrupted"};

JobState stateFromName(const QString &name)
{
    for (int s = 0; s < 5; ++s)
        if (name == QLatin1String(kStateNames[s]))
            return JobState(s);
    return JobState::Failed;
}

const QString kColumns = QStringLiteral("id, state, app, data, mcc, mnc, recipient, client, message, created");

Job jobFrom(const QSqlQuery &q)
{
    Job j;
    j.id = q.value(0).toLongLong();
    j.state = stateFromName(q.value(1).toString());
    j.app = q.value(2).toString();
    j.data = q.value(3).toString();
    j.mcc = q.value(4).toString();
    j.mnc = q.value(5).toString();
    j.to = q.value(6).toString();
    j.client = q.value(7).toString();
    j.message = q.value(8).toString();
    j.created = QDateTime::fromString(q.value(9).toString(), Qt::ISODate);
    return j;
}

// Qt binds a null text as NULL, which the columns refuse.
QString notNull(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

} // namespace

QString stateName(JobState state)
{
    return QLatin1String(kStateNames[int(state)]);
}

JobStore::JobStore()
{
    // Each store its own connection: a test or a tool may open several.
    static QAtomicInt counter;
    m_connection = QStringLiteral("logogateway-%1").arg(counter.fetchAndAddRelaxed(1));
}

JobStore::~JobStore()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isValid())
            db.close();
    }
    if (QSqlDatabase::contains(m_connection))
        QSqlDatabase::removeDatabase(m_connection);
}

bool JobStore::exec(const QString &sql)
{
    QSqlQuery q(QSqlDatabase::database(m_connection));
    if (q.exec(sql))
        return true;
    m_error = q.lastError().text();
    return false;
}

bool JobStore::open(const QString &path)
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        m_error = QStringLiteral("the SQLite driver of Qt SQL is not installed");
        return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(path);
    if (!db.open()) {
        m_error = db.lastError().text();
        return false;
    }
    // Every change on disk before it is acknowledged; the write-ahead log
    // keeps that cheap.
    return exec(QStringLiteral("PRAGMA journal_mode=WAL")) && exec(QStringLiteral("PRAGMA synchronous=FULL")) &&
           exec(QStringLiteral("CREATE TABLE IF NOT EXISTS jobs ("
                               "id INTEGER PRIMARY KEY AUTOINCREMENT, position INTEGER NOT NULL, "
                               "state TEXT NOT NULL, app TEXT NOT NULL, data TEXT NOT NULL, mcc TEXT NOT NULL, "
                               "mnc TEXT NOT NULL, recipient TEXT NOT NULL, client TEXT NOT NULL, "
                               "message TEXT NOT NULL DEFAULT '', created TEXT NOT NULL)")) &&
           exec(QStringLiteral("CREATE INDEX IF NOT EXISTS jobs_waiting ON jobs (state, position)")) &&
           exec(QStringLiteral("UPDATE jobs SET state = 'interrupted', message = '' WHERE state = 'sending'"));
}

std::optional<qint64> JobStore::add(const Job &job)
{
    QSqlQuery q(QSqlDatabase::database(m_connection));
    q.prepare(QStringLiteral("INSERT INTO jobs (position, state, app, data, mcc, mnc, recipient, client, created) "
                             "VALUES ((SELECT IFNULL(MAX(position), 0) + 1 FROM jobs), 'queued', ?, ?, ?, ?, ?, ?, ?)"));
    q.addBindValue(notNull(job.app));
    q.addBindValue(notNull(job.data));
    q.addBindValue(notNull(job.mcc));
    q.addBindValue(notNull(job.mnc));
    q.addBindValue(notNull(job.to));
    q.addBindValue(notNull(job.client));
    q.addBindValue(QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
    if (!q.exec()) {
        m_error = q.lastError().text();
        return std::nullopt;
    }
    return q.lastInsertId().toLongLong();
}

std::optional<Job> JobStore::job(qint64 id) const
{
    QSqlQuery q(QSqlDatabase::database(m_connection));
    q.prepare(QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM jobs WHERE id = ?"));
    q.addBindValue(id);
    if (!q.exec() || !q.next())
        return std::nullopt;
    return jobFrom(q);
}

std::optional<Job> JobStore::nextQueued() const
{
    QSqlQuery q(QSqlDatabase::database(m_connection));
    if (!q.exec(QStringLiteral("SELECT ") + kColumns +
                QStringLiteral(" FROM jobs WHERE state = 'queued' ORDER BY position LIMIT 1")) ||
        !q.next())
        return std::nullopt;
    return jobFrom(q);
}

bool JobStore::setState(qint64 id, JobState state, const QString &message)
{
    QSqlQuery q(QSqlDatabase::database(m_connection));
    q.prepare(QStringLiteral("UPDATE jobs SET state = ?, message = ? WHERE id = ?"));
    q.addBindValue(stateName(state));
    q.addBindValue(notNull(message));
    q.addBindValue(id);
    if (!q.exec() || q.numRowsAffected() != 1) {
        m_error = q.lastError().text();
        return false;
    }
    return true;
}

bool JobStore::requeue(qint64 id)
{
    QSqlQuery q(QSqlDatabase::database(m_connection));
    q.prepare(QStringLiteral("UPDATE jobs SET state = 'queued', message = '', "
                             "position = (SELECT MAX(position) + 1 FROM jobs) "
                             "WHERE id = ? AND state IN ('interrupted', 'failed')"));
    q.addBindValue(id);
    return q.exec() && q.numRowsAffected() == 1;
}

int JobStore::waitingCount() const
{
    QSqlQuery q(QSqlDatabase::database(m_connection));
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM jobs WHERE state IN ('queued', 'sending')")) || !q.next())
        return 0;
    return q.value(0).toInt();
}

int JobStore::count() const
{
    QSqlQuery q(QSqlDatabase::database(m_connection));
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM jobs")) || !q.next())
        return 0;
    return q.value(0).toInt();
}

QList<Job> JobStore::list(int offset, int limit) const
{
    QList<Job> jobs;
    QSqlQuery q(QSqlDatabase::database(m_connection));
    q.prepare(QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM jobs ORDER BY id DESC LIMIT ? OFFSET ?"));
    q.addBindValue(limit);
    q.addBindValue(offset);
    if (q.exec())
        while (q.next())
            jobs << jobFrom(q);
    return jobs;
}

} // namespace logo::gateway
