// bench_gateway: the upload gateway under load. 20 clients post 200 jobs
// through the JSON API at once (each client one job after the other, then
// watching its last job), while the server sends them one at a time through
// the simulated phone on the quick link. Checks that every job reached the
// phone exactly once and each client's jobs in the order it posted them;
// prints jobs per second and the 99th-percentile answer time of the API
// while the phone is busy.
//
// Usage: bench_gateway [JOBS] [CLIENTS] [TICK_MS]   (defaults 200, 20 and 1000)
#include "benchtools.h"
#include "desktop/profile.h"
#include "desktop/settingsstore.h"
#include "gateway/gatewayserver.h"
#include "gateway/jobstore.h"
#include "gateway/phonesender.h"
#include "gateway/queuerunner.h"
#include "sms/payload.h"
#include "sms/pdu.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <vector>

using namespace logo;
using namespace logo::gateway;

namespace {

const QString kSmsc = QStringLiteral("491710760000");

QString numberOf(int client, int job)
{
    return QStringLiteral("4917%1%2").arg(client, 3, 10, QLatin1Char('0')).arg(job, 4, 10, QLatin1Char('0'));
}

// One client: posts its jobs one after the other, then asks for its last
// job's state until it is sent. Every answer's time goes into times.
class Client : public QObject {
public:
    Client(int index, int jobs, const QUrl &base, const QString &data, std::vector<double> &times,
           std::function<void()> done)
        : m_index(index), m_jobs(jobs), m_base(base), m_data(data), m_times(times), m_done(std::move(done))
    {
    }
    void start() { post(0); }
    int failures = 0;

private:
    void request(const QByteArray &method, const QString &path, const QByteArray &body,
                 std::function<void(int, const QJsonObject &)> then)
    {
        QNetworkRequest r(m_base.resolved(QUrl(path)));
        r.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
        auto clock = std::make_shared<QElapsedTimer>();
        clock->start();
        QNetworkReply *reply = m_nam.sendCustomRequest(r, method, body);
        connect(reply, &QNetworkReply::finished, this, [this, reply, clock, then] {
            m_times.push_back(double(clock->nsecsElapsed()) / 1e6);
            const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
            const QJsonObject o = QJsonDocument::fromJson(reply->readAll()).object();
            reply->deleteLater();
            then(status, o);
        });
    }
    void post(int job)
    {
        const QJsonObject o{{QStringLiteral("data"), m_data}, {QStringLiteral("mcc"), QStringLiteral("0")},
                            {QStringLiteral("mnc"), QStringLiteral("0")}, {QStringLiteral("app"), QStringLiteral("qlt")},
                            {QStringLiteral("to"), numberOf(m_index, job)}};
        request("POST", QStringLiteral("/api/jobs"), QJsonDocument(o).toJson(), [this, job](int status, const QJsonObject &a) {
            if (status != 201)
                ++failures;
            m_last = a.value(QStringLiteral("id")).toInteger();
            if (job + 1 < m_jobs)
                post(job + 1);
            else
                watch();
        });
    }
    void watch()
    {
        request("GET", QStringLiteral("/api/jobs/%1").arg(m_last), {}, [this](int, const QJsonObject &a) {
            const QString state = a.value(QStringLiteral("state")).toString();
            if (state == QLatin1String("queued") || state == QLatin1String("sending"))
                QTimer::singleShot(20, this, [this] { watch(); });
            else
                m_done();
        });
    }

    int m_index, m_jobs;
    QUrl m_base;
    QString m_data;
    std::vector<double> &m_times;
    std::function<void()> m_done;
    QNetworkAccessManager m_nam;
    qint64 m_last = 0;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    logobench::useSerialModule();
    const int jobs = argc > 1 ? std::max(1, atoi(argv[1])) : 200;
    const int clients = argc > 2 ? std::max(1, atoi(argv[2])) : 20;
    const int tickMs = argc > 3 ? std::max(1, atoi(argv[3])) : 1000;

    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("pdus.txt"));
    QProcess sim;
    const QString device = logobench::startSimulator(
        sim, QStringLiteral("phonesim"),
        {QStringLiteral("--no-echo"), QStringLiteral("--log"), log, QStringLiteral("--seconds"), QStringLiteral("600")});
    if (device.isEmpty())
        return 1;
    SettingsStore settings(dir.filePath(QStringLiteral("settings.ini")));
    settings.write(kSharedSection, QStringLiteral("SMSC"), kSmsc);
    SerialSendOptions options;
    options.port = 1;
    options.device = device;
    options.quickLink = true;
    options.tickMs = tickMs;
    const std::unique_ptr<PhoneSender> sender = makeSerialPhoneSender(settings, options);
    JobStore store;
    if (!store.open(dir.filePath(QStringLiteral("queue.sqlite")))) {
        std::fprintf(stderr, "queue: %s\n", qPrintable(store.errorText()));
        return 1;
    }
    QueueRunner runner(store, *sender);
    GatewayServer server(store, runner);
    GatewayLimits limits;
    limits.jobsPerClient = 0;   // every client is this machine
    server.setLimits(limits);
    const quint16 port = server.listen(QHostAddress::LocalHost, 0);
    if (!port)
        return 1;

    LogoGrid grid;
    grid.clearPlane();
    for (int c = 0; c < 72; ++c)
        grid.setPixel(c, (c * 3) % 14, true);
    const QString data = QStringLiteral("00480E01") + grid.grid2hex();
    std::vector<double> times;
    int running = clients;
    std::vector<std::unique_ptr<Client>> all;
    for (int i = 0; i < clients; ++i) {
        const int share = jobs / clients + (i < jobs % clients ? 1 : 0);
        all.push_back(std::make_unique<Client>(i, share, QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port)), data,
                                               times, [&] {
                                                   if (--running == 0)
                                                       app.quit();
                                               }));
    }
    QElapsedTimer clock;
    clock.start();
    for (auto &c : all)
        c->start();
    QTimer::singleShot(300000, &app, &QCoreApplication::quit);
    app.exec();
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    sim.kill();
    sim.waitForFinished();

    // Which job each PDU the phone received was: every one exactly once, each
    // client's in order.
    std::map<QByteArray, std::pair<int, int>> expected;
    const UserData ud = buildUserData(ProgramProfile::quillet(), grid);
    for (int i = 0; i < clients; ++i)
        for (int j = 0; j < jobs / clients + (i < jobs % clients ? 1 : 0); ++j)
            expected[buildSubmitPdu(ud, numberOf(i, j), kSmsc, false).line().toLatin1()] = {i, j};
    QFile f(log);
    f.open(QIODevice::ReadOnly);
    std::map<QByteArray, int> seen;
    std::vector<int> nextOf(clients, 0);
    int unknown = 0, twice = 0, outOfOrder = 0;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.isEmpty())
            continue;
        const auto it = expected.find(line);
        if (it == expected.end()) {
            ++unknown;
            continue;
        }
        if (seen[line]++)
            ++twice;
        auto [client, job] = it->second;
        if (job != nextOf[client])
            ++outOfOrder;
        nextOf[client] = job + 1;
    }
    int refused = 0;
    for (auto &c : all)
        refused += c->failures;
    const int received = int(seen.size());
    std::sort(times.begin(), times.end());
    const double p99 = times.empty() ? 0 : times[std::min(times.size() - 1, size_t(double(times.size()) * 0.99))];

    std::printf("bench_gateway: %d jobs from %d clients through the JSON API, sent through phonesim\n"
                "               on the quick link (ticks of %d ms)\n",
                jobs, clients, tickMs);
    std::printf("  %d of %d jobs reached the phone in %.2f s: %.1f jobs/s\n", received, jobs, seconds,
                received / seconds);
    std::printf("  API answers while the phone was busy: %zu, median %.1f ms, 99th percentile %.1f ms, max %.1f ms\n",
                times.size(), times.empty() ? 0 : times[times.size() / 2], p99, times.empty() ? 0 : times.back());
    if (refused || unknown || twice || outOfOrder || received != jobs)
        std::printf("  FAILED: %d refused, %d unknown, %d sent twice, %d out of a client's order, %d missing\n",
                    refused, unknown, twice, outOfOrder, jobs - received);
    return refused || unknown || twice || outOfOrder || received != jobs ? 1 : 0;
}
