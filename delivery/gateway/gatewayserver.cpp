#include "gateway/gatewayserver.h"

#include "gateway/gatewaypages.h"
#include "gateway/jobstore.h"
#include "gateway/queuerunner.h"
#include "gateway/uploadfields.h"

#include <QHttpServer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrlQuery>

namespace logo::gateway {

namespace {

using Status = QHttpServerResponse::StatusCode;
using Method = QHttpServerRequest::Method;

QHttpServerResponse html(const QString &text, Status status = Status::Ok)
{
    return QHttpServerResponse(QByteArrayLiteral("text/html; charset=utf-8"), text.toUtf8(), status);
}

QHttpServerResponse json(const QJsonObject &object, Status status = Status::Ok)
{
    return QHttpServerResponse(QByteArrayLiteral("application/json"),
                               QJsonDocument(object).toJson(QJsonDocument::Compact), status);
}

QHttpServerResponse problem(bool api, Status status, const QString &title, const QString &text,
                            const QString &field = QString())
{
    if (!api)
        return html(problemPage(title, text), status);
    QJsonObject o{{QStringLiteral("error"), text}};
    if (!field.isEmpty())
        o.insert(QStringLiteral("field"), field);
    return json(o, status);
}

QHttpServerResponse wrongMethod(const QByteArray &allowed)
{
    QHttpServerResponse r = html(problemPage(QStringLiteral("Method not allowed"),
                                             QStringLiteral("This address takes ") + QString::fromLatin1(allowed) +
                                                 QStringLiteral(" only.")),
                                 Status::MethodNotAllowed);
    r.setHeader(QByteArrayLiteral("Allow"), allowed);
    return r;
}

QHttpServerResponse badField(bool api, const FieldProblem &p)
{
    return problem(api, Status::BadRequest, QStringLiteral("Bad request"),
                   QStringLiteral("The field \"%1\" is wrong: %2.").arg(p.field, p.text), p.field);
}

std::optional<qint64> jobNumber(const QString &id)
{
    bool ok = false;
    const qint64 n = id.toLongLong(&ok);
    return ok && n > 0 && id == QString::number(n) ? std::optional<qint64>(n) : std::nullopt;
}

QJsonObject jobObject(const Job &job, const QString &pauseMessage)
{
    return {{QStringLiteral("id"), job.id},
            {QStringLiteral("state"), stateName(job.state)},
            {QStringLiteral("message"), jobMessage(job, pauseMessage)}};
}

// A JSON field as text: a string, or a whole number (an MCC given as 262).
QString textField(const QJsonObject &o, const QString &name)
{
    const QJsonValue v = o.value(name);
    if (v.isDouble() && v.toDouble() == double(qint64(v.toDouble())) && v.toDouble() >= 0)
        return QString::number(qint64(v.toDouble()));
    return v.toString();
}

} // namespace

GatewayServer::GatewayServer(JobStore &store, QueueRunner &runner, QObject *parent)
    : QObject(parent), m_store(store), m_runner(runner), m_http(std::make_unique<QHttpServer>())
{
    m_clock.start();
    // A path that takes a GET and a POST; any other method is wrong there.
    const auto getOrPost = [this](const QString &path, auto get, auto post) {
        m_http->route(path, [this, get, post](const QHttpServerRequest &r) {
            if (r.method() == Method::Get)
                return (this->*get)(r);
            if (r.method() == Method::Post)
                return (this->*post)(r);
            return wrongMethod("GET, POST");
        });
    };
    getOrPost(QStringLiteral("/wireless/sendsms.phtml"), &GatewayServer::uploadPage, &GatewayServer::createFromForm);
    m_http->route(QStringLiteral("/jobs/<arg>"), [this](const QString &id, const QHttpServerRequest &r) {
        return r.method() == Method::Get ? statusPage(id) : wrongMethod("GET");
    });
    getOrPost(QStringLiteral("/api/jobs"), &GatewayServer::listJobs, &GatewayServer::createFromApi);
    m_http->route(QStringLiteral("/api/jobs/<arg>"), [this](const QString &id, const QHttpServerRequest &r) {
        return r.method() == Method::Get ? jobJson(id, r) : wrongMethod("GET");
    });
    m_http->route(QStringLiteral("/api/jobs/<arg>/retry"), [this](const QString &id, const QHttpServerRequest &r) {
        return r.method() == Method::Post ? retry(id, r) : wrongMethod("POST");
    });
    m_http->setMissingHandler([](const QHttpServerRequest &, QHttpServerResponder &&responder) {
        html(problemPage(QStringLiteral("Not found"), QStringLiteral("There is nothing at this address.")),
             Status::NotFound)
            .write(std::move(responder));
    });
}

GatewayServer::~GatewayServer() = default;

quint16 GatewayServer::listen(const QHostAddress &address, quint16 port)
{
    return m_http->listen(address, port);
}

bool GatewayServer::reachesBeyondThisMachine(const QHostAddress &address)
{
    return !address.isLoopback();
}

bool GatewayServer::tooLarge(const QHttpServerRequest &request) const
{
    return request.body().size() > m_limits.maxRequest ||
           request.url().toEncoded().size() > m_limits.maxRequest;
}

namespace {

// Compares in a time that depends only on the lengths, so that the answer
// times tell nobody how much of a guessed code was right.
bool sameSecret(const QByteArray &given, const QByteArray &expected)
{
    unsigned char difference = given.size() == expected.size() ? 0 : 1;
    for (qsizetype i = 0; i < expected.size(); ++i)
        difference |= static_cast<unsigned char>(expected[i] ^ (i < given.size() ? given[i] : 0));
    return difference == 0;
}

} // namespace

bool GatewayServer::apiTokenOk(const QHttpServerRequest &request) const
{
    return m_token.isEmpty() || sameSecret(request.value(QByteArrayLiteral("Authorization")),
                                           QByteArrayLiteral("Bearer ") + m_token.toUtf8());
}

bool GatewayServer::overRate(const QString &client)
{
    if (m_limits.jobsPerClient <= 0)
        return false;
    const qint64 now = m_clock.elapsed();
    // Clients long gone are forgotten, so that many of them can't fill the memory.
    if (m_recentJobs.size() > 1000)
        m_recentJobs.removeIf([&](const auto &entry) {
            return entry.value().isEmpty() || now - entry.value().last() >= m_limits.rateWindowMs;
        });
    QList<qint64> &times = m_recentJobs[client];
    while (!times.isEmpty() && now - times.first() >= m_limits.rateWindowMs)
        times.removeFirst();
    if (times.size() >= m_limits.jobsPerClient)
        return true;
    times << now;
    return false;
}

QHttpServerResponse GatewayServer::uploadPage(const QHttpServerRequest &request)
{
    if (tooLarge(request))
        return problem(false, Status::PayloadTooLarge, QStringLiteral("Request too large"),
                       QStringLiteral("The address is longer than any picture needs."));
    const QMap<QString, QString> fields = parseFormFields(request.url().query(QUrl::FullyEncoded).toLatin1());
    UploadPicture picture;
    if (const FieldProblem p = checkUploadFields(fields, picture); !p.ok())
        return badField(false, p);
    return html(uploadFormPage(picture, fields, m_pixelShape, !m_token.isEmpty(), m_runner.pauseMessage()));
}

std::optional<QHttpServerResponse> GatewayServer::queue(const UploadPicture &picture, const QString &to,
                                                        const QHttpServerRequest &request, bool api, qint64 &id)
{
    if (m_store.waitingCount() >= m_limits.maxWaiting)
        return problem(api, Status::ServiceUnavailable, QStringLiteral("Queue full"),
                       QStringLiteral("%1 jobs are waiting for the phone; please try again later.")
                           .arg(m_limits.maxWaiting));
    if (overRate(request.remoteAddress().toString())) {
        QHttpServerResponse r = problem(api, Status::TooManyRequests, QStringLiteral("Too many jobs"),
                                        QStringLiteral("You have sent %1 jobs in a short time; please wait a while.")
                                            .arg(m_limits.jobsPerClient));
        r.setHeader(QByteArrayLiteral("Retry-After"), QByteArray::number(qMax(1, m_limits.rateWindowMs / 1000)));
        return r;
    }
    Job job;
    job.app = picture.app;
    job.data = picture.data;
    job.mcc = picture.mcc;
    job.mnc = picture.mnc;
    job.to = to;
    job.client = request.remoteAddress().toString();
    const std::optional<qint64> stored = m_store.add(job);
    if (!stored)
        return problem(api, Status::InternalServerError, QStringLiteral("Not stored"),
                       QStringLiteral("The job could not be stored: ") + m_store.errorText());
    id = *stored;
    m_runner.kick();
    return std::nullopt;
}

QHttpServerResponse GatewayServer::createFromForm(const QHttpServerRequest &request)
{
    if (tooLarge(request))
        return problem(false, Status::PayloadTooLarge, QStringLiteral("Request too large"),
                       QStringLiteral("The form is larger than any picture needs."));
    const QMap<QString, QString> fields = parseFormFields(request.body());
    if (!m_token.isEmpty() && !sameSecret(fields.value(QStringLiteral("token")).toUtf8(), m_token.toUtf8()))
        return problem(false, Status::Unauthorized, QStringLiteral("Wrong access code"),
                       QStringLiteral("The access code is wrong. Go back and enter the one you were given."));
    UploadPicture picture;
    if (const FieldProblem p = checkUploadFields(fields, picture); !p.ok())
        return badField(false, p);
    const QString to = fields.value(QStringLiteral("to")).trimmed();
    if (const FieldProblem p = checkRecipient(to); !p.ok())
        return badField(false, p);
    qint64 id = 0;
    if (std::optional<QHttpServerResponse> refused = queue(picture, to, request, false, id))
        return std::move(*refused);
    QHttpServerResponse r(Status::SeeOther);
    r.setHeader(QByteArrayLiteral("Location"), QByteArrayLiteral("/jobs/") + QByteArray::number(id));
    return r;
}

QHttpServerResponse GatewayServer::createFromApi(const QHttpServerRequest &request)
{
    if (tooLarge(request))
        return problem(true, Status::PayloadTooLarge, {}, QStringLiteral("The request is larger than 16 KB."));
    if (!apiTokenOk(request))
        return problem(true, Status::Unauthorized, {}, QStringLiteral("The access code is missing or wrong."));
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(request.body(), &parseError);
    if (!doc.isObject())
        return problem(true, Status::BadRequest, {}, QStringLiteral("The body must be a JSON object."));
    const QJsonObject o = doc.object();
    UploadPicture picture;
    if (const FieldProblem p = checkPictureFields(textField(o, QStringLiteral("data")), textField(o, QStringLiteral("mcc")),
                                                  textField(o, QStringLiteral("mnc")), textField(o, QStringLiteral("app")),
                                                  picture);
        !p.ok())
        return badField(true, p);
    const QString to = textField(o, QStringLiteral("to"));
    if (const FieldProblem p = checkRecipient(to); !p.ok())
        return badField(true, p);
    qint64 id = 0;
    if (std::optional<QHttpServerResponse> refused = queue(picture, to, request, true, id))
        return std::move(*refused);
    QHttpServerResponse r = json({{QStringLiteral("id"), id}, {QStringLiteral("state"), stateName(JobState::Queued)}},
                                 Status::Created);
    r.setHeader(QByteArrayLiteral("Location"), QByteArrayLiteral("/api/jobs/") + QByteArray::number(id));
    return r;
}

QHttpServerResponse GatewayServer::statusPage(const QString &id)
{
    const std::optional<qint64> n = jobNumber(id);
    const std::optional<Job> job = n ? m_store.job(*n) : std::nullopt;
    if (!job)
        return problem(false, Status::NotFound, QStringLiteral("Not found"), QStringLiteral("There is no such job."));
    return html(jobStatusPage(*job, jobMessage(*job, m_runner.pauseMessage())));
}

QHttpServerResponse GatewayServer::listJobs(const QHttpServerRequest &request)
{
    if (!apiTokenOk(request))
        return problem(true, Status::Unauthorized, {}, QStringLiteral("The access code is missing or wrong."));
    const QUrlQuery query = request.query();
    const int page = qMax(1, query.queryItemValue(QStringLiteral("page")).toInt());
    const int perPage = qBound(1, query.hasQueryItem(QStringLiteral("per_page"))
                                      ? query.queryItemValue(QStringLiteral("per_page")).toInt()
                                      : 50,
                               500);
    QJsonArray jobs;
    for (const Job &job : m_store.list((page - 1) * perPage, perPage))
        jobs.append(jobObject(job, m_runner.pauseMessage()));
    return json({{QStringLiteral("jobs"), jobs},
                 {QStringLiteral("page"), page},
                 {QStringLiteral("per_page"), perPage},
                 {QStringLiteral("total"), m_store.count()},
                 {QStringLiteral("paused"), m_runner.pauseMessage()}});
}

std::optional<Job> GatewayServer::apiJob(const QString &id, const QHttpServerRequest &request,
                                         std::optional<QHttpServerResponse> &refusal)
{
    if (!apiTokenOk(request)) {
        refusal.emplace(problem(true, Status::Unauthorized, {}, QStringLiteral("The access code is missing or wrong.")));
        return std::nullopt;
    }
    const std::optional<qint64> n = jobNumber(id);
    std::optional<Job> job = n ? m_store.job(*n) : std::nullopt;
    if (!job)
        refusal.emplace(problem(true, Status::NotFound, {}, QStringLiteral("There is no such job.")));
    return job;
}

QHttpServerResponse GatewayServer::jobJson(const QString &id, const QHttpServerRequest &request)
{
    std::optional<QHttpServerResponse> refusal;
    const std::optional<Job> job = apiJob(id, request, refusal);
    if (!job)
        return std::move(*refusal);
    return json(jobObject(*job, m_runner.pauseMessage()));
}

QHttpServerResponse GatewayServer::retry(const QString &id, const QHttpServerRequest &request)
{
    std::optional<QHttpServerResponse> refusal;
    const std::optional<Job> job = apiJob(id, request, refusal);
    if (!job)
        return std::move(*refusal);
    if (!m_store.requeue(job->id))
        return problem(true, Status::Conflict, {},
                       QStringLiteral("Only an interrupted or failed job is sent again; this one is %1.")
                           .arg(stateName(job->state)));
    m_runner.resume();
    return json(jobObject(*m_store.job(job->id), QString()));
}

} // namespace logo::gateway
