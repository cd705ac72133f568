#pragma once
// The gateway's HTTP side: the upload address of the windows with its form,
// the status pages and a JSON API for scripts, with the limits that keep one
// phone usable for everyone.
//
//   GET  /wireless/sendsms.phtml?data=..  the picture and the form
//   POST /wireless/sendsms.phtml          queues the job, 303 to /jobs/ID
//   GET  /jobs/ID                         the status page
//   POST /api/jobs                        {"data","mcc","mnc","app","to"} -> 201 {"id","state"}
//   GET  /api/jobs[?page=N&per_page=M]    newest first
//   GET  /api/jobs/ID                     {"id","state","message"}
//   POST /api/jobs/ID/retry               an interrupted or failed job queued again
#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QSizeF>
#include <memory>
#include <optional>

class QHttpServer;
class QHttpServerRequest;
class QHttpServerResponse;

namespace logo::gateway {

struct Job;
class JobStore;
class QueueRunner;
struct UploadPicture;

struct GatewayLimits {
    qsizetype maxRequest = 16 * 1024;  // body, or address of a GET (413)
    int maxWaiting = 1000;             // jobs queued or sending (503)
    int jobsPerClient = 30;            // new jobs per address and window (429); 0: no limit
    int rateWindowMs = 60 * 1000;
};

class GatewayServer : public QObject {
    Q_OBJECT
public:
    GatewayServer(JobStore &store, QueueRunner &runner, QObject *parent = nullptr);
    ~GatewayServer() override;

    void setLimits(const GatewayLimits &limits) { m_limits = limits; }
    // Empty: no access code. Otherwise the form and the API need it (the
    // form's "token" field, the API's "Authorization: Bearer" header).
    void setToken(const QString &token) { m_token = token; }
    void setPixelShape(const QSizeF &shape) { m_pixelShape = shape; }

    // The port it listens on (the one chosen for port 0), or 0 when it can't.
    quint16 listen(const QHostAddress &address, quint16 port);
    // Whether an address reaches beyond this machine: then an access code is needed.
    static bool reachesBeyondThisMachine(const QHostAddress &address);

private:
    QHttpServerResponse uploadPage(const QHttpServerRequest &request);
    QHttpServerResponse createFromForm(const QHttpServerRequest &request);
    QHttpServerResponse createFromApi(const QHttpServerRequest &request);
    QHttpServerResponse statusPage(const QString &id);
    QHttpServerResponse listJobs(const QHttpServerRequest &request);
    // The job an API request names; none, with the answer that refuses the
    // request, when the access code is wrong or there is no such job.
    std::optional<Job> apiJob(const QString &id, const QHttpServerRequest &request,
                              std::optional<QHttpServerResponse> &refusal);
    QHttpServerResponse jobJson(const QString &id, const QHttpServerRequest &request);
    QHttpServerResponse retry(const QString &id, const QHttpServerRequest &request);

    // Queues the job after the limits; the answer when they refuse it, else
    // nullopt with id set.
    std::optional<QHttpServerResponse> queue(const UploadPicture &picture, const QString &to,
                                             const QHttpServerRequest &request, bool api, qint64 &id);
    bool apiTokenOk(const QHttpServerRequest &request) const;
    bool tooLarge(const QHttpServerRequest &request) const;
    bool overRate(const QString &client);

    JobStore &m_store;
    QueueRunner &m_runner;
    std::unique_ptr<QHttpServer> m_http;
    GatewayLimits m_limits;
    QString m_token;
    QSizeF m_pixelShape{7, 8};
    QElapsedTimer m_clock;
    QHash<QString, QList<qint64>> m_recentJobs;   // per client: when its jobs came
};

} // namespace logo::gateway
