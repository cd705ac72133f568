// The gateway's server and queue with a phone the test controls: the
// answers of the API and the form, the limits, a restart after a crash.
#include "gatewaytest.h"

#include "desktop/profile.h"
#include "common/testsupport.h"
#include "webupload/webupload.h"

#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace logo;
using namespace logo::gateway;
using gatewaytest::Gateway;

namespace {

QString pictureData()
{
    LogoGrid grid;
    grid.clearPlane();
    for (int c = 0; c < 72; ++c)
        grid.setPixel(c, c % 14, true);
    return "00480E01" + grid.grid2hex();
}

QByteArray jobBody(const QString &to = "491711234567", const QString &app = "bvn")
{
    return QJsonDocument(QJsonObject{{"data", pictureData()}, {"mcc", "262"}, {"mnc", "1"}, {"app", app}, {"to", to}})
        .toJson();
}

QString stateOf(Gateway &g, qint64 id)
{
    return g.get(QStringLiteral("/api/jobs/%1").arg(id)).json().value("state").toString();
}

struct GatewayTest : ::testing::Test {
    QTemporaryDir dir;
    QString db() const { return dir.filePath("queue.sqlite"); }
};

} // namespace

TEST_F(GatewayTest, ApiJobsAreSentInOrderAndListedNewestFirst)
{
    Gateway g(db());
    ASSERT_TRUE(g.opened);
    ASSERT_NE(g.port, 0);
    g.fake.holdJobs = true;
    for (const char *to : {"4911", "4922", "+4933"}) {
        const gatewaytest::HttpReply r = g.postJson("/api/jobs", jobBody(to));
        ASSERT_EQ(r.status, 201) << r.body.constData();
        EXPECT_EQ(r.json().value("state").toString(), "queued");
    }
    QTRY_COMPARE_WITH_TIMEOUT(g.fake.numbers.size(), 1, 3000);
    EXPECT_EQ(stateOf(g, 1), "sending");
    EXPECT_EQ(stateOf(g, 2), "queued");
    g.fake.holdJobs = false;
    g.fake.finish(true, "Data sent.");
    QTRY_COMPARE_WITH_TIMEOUT(g.fake.numbers.size(), 3, 3000);
    QTRY_COMPARE_WITH_TIMEOUT(stateOf(g, 3), QString("sent"), 3000);
    EXPECT_EQ(g.fake.numbers, (QStringList{"4911", "4922", "+4933"}));
    EXPECT_EQ(g.fake.pictures[0].grid.grid2hex(), pictureData().mid(8));
    EXPECT_EQ(g.fake.pictures[0].mcc, "262");

    const QJsonObject job = g.get("/api/jobs/1").json();
    EXPECT_EQ(job.value("message").toString(), "Data sent.");
    const QJsonArray page = g.get("/api/jobs?page=1&per_page=2").json().value("jobs").toArray();
    ASSERT_EQ(page.size(), 2);
    EXPECT_EQ(page[0].toObject().value("id").toInt(), 3);
    EXPECT_EQ(page[1].toObject().value("id").toInt(), 2);
    EXPECT_EQ(g.get("/api/jobs?page=2&per_page=2").json().value("jobs").toArray().size(), 1);
}

TEST_F(GatewayTest, RefusedRequestsGetTheirStatus)
{
    GatewayLimits limits;
    limits.maxWaiting = 2;
    limits.jobsPerClient = 0;
    Gateway g(db(), limits);
    g.fake.holdJobs = true;
    const QString form = WebUpload::uploadAddress(ProgramProfile::brisvane(), LogoGrid(), "262", "1",
                                                  QStringLiteral("127.0.0.1:%1").arg(g.port));
    struct Case {
        QByteArray method;
        QString path;
        QByteArray body;
        int status;
        QString field;   // the field a 400 names
    } cases[] = {
        {"PUT", "/api/jobs", {}, 405, {}},
        {"DELETE", "/wireless/sendsms.phtml", {}, 405, {}},
        {"GET", "/api/jobs/1/retry", {}, 405, {}},
        {"GET", "/nothing/here", {}, 404, {}},
        {"GET", "/api/jobs/77", {}, 404, {}},
        {"GET", "/api/jobs/x1", {}, 404, {}},
        {"GET", "/jobs/77", {}, 404, {}},
        {"POST", "/api/jobs", QByteArray(17 * 1024, 'x'), 413, {}},
        {"POST", "/api/jobs", "[1]", 400, {}},
        {"POST", "/api/jobs", jobBody("49 171"), 400, "to"},
        {"POST", "/api/jobs", jobBody("4917", "qlt2"), 400, "app"},
        {"GET", "/wireless/sendsms.phtml?data=00&mode=send&mcc=1&mnc=1&app=qlt&ver=1&media=x", {}, 400, {}},
        {"GET", QUrl(form, QUrl::TolerantMode).toString(QUrl::RemoveScheme | QUrl::RemoveAuthority), {}, 200, {}},
        {"POST", "/api/jobs", jobBody(), 201, {}},
        {"POST", "/api/jobs", jobBody(), 201, {}},
        {"POST", "/api/jobs", jobBody(), 503, {}},   // two are waiting
    };
    for (const Case &c : cases) {
        const gatewaytest::HttpReply r =
            gatewaytest::http(g.nam, c.method, g.url(c.path), c.body, c.body.isEmpty() ? "" : "application/json");
        EXPECT_EQ(r.status, c.status) << c.method.constData() << " " << c.path.toStdString() << ": " << r.body.constData();
        if (!c.field.isEmpty()) {
            EXPECT_EQ(r.json().value("field").toString(), c.field);
        }
    }
    // The form's page names the wrong field too, escaped.
    const gatewaytest::HttpReply page = g.get("/wireless/sendsms.phtml?data=00&mode=send&mcc=1&mnc=1&app=qlt&ver=1&media=<b>");
    EXPECT_EQ(page.status, 400);
    EXPECT_TRUE(page.body.contains("&quot;data&quot;")) << page.body.constData();
    EXPECT_EQ(g.fake.numbers.size(), 1) << "the refused jobs were never sent";
}

TEST_F(GatewayTest, OneClientSendingTooManyJobsIsAskedToWait)
{
    GatewayLimits limits;
    limits.jobsPerClient = 2;
    Gateway g(db(), limits);
    EXPECT_EQ(g.postJson("/api/jobs", jobBody()).status, 201);
    EXPECT_EQ(g.postJson("/api/jobs", jobBody()).status, 201);
    const gatewaytest::HttpReply r = g.postJson("/api/jobs", jobBody());
    EXPECT_EQ(r.status, 429);
    EXPECT_FALSE(r.header("Retry-After").isEmpty());
    EXPECT_EQ(g.store.count(), 2);
}

TEST_F(GatewayTest, ThreeFailuresInARowPauseTheQueueUntilARetry)
{
    Gateway g(db());
    g.fake.outcomes = {false, false, false};
    for (int i = 0; i < 4; ++i)
        ASSERT_EQ(g.postJson("/api/jobs", jobBody()).status, 201);
    QTRY_VERIFY_WITH_TIMEOUT(g.runner->isPaused(), 3000);
    QTest::qWait(50);
    EXPECT_EQ(g.fake.numbers.size(), 3);
    const QJsonObject waiting = g.get("/api/jobs/4").json();
    EXPECT_EQ(waiting.value("state").toString(), "queued");
    EXPECT_TRUE(waiting.value("message").toString().contains("paused"));
    EXPECT_EQ(g.get("/api/jobs/1").json().value("message").toString(), "Can't send SMS.");
    EXPECT_TRUE(g.get("/jobs/4").body.contains("paused"));

    EXPECT_EQ(g.postJson("/api/jobs/4/retry", {}).status, 409) << "a queued job is not retried";
    EXPECT_EQ(g.postJson("/api/jobs/1/retry", {}).status, 200);
    QTRY_COMPARE_WITH_TIMEOUT(stateOf(g, 1), QString("sent"), 3000);
    EXPECT_EQ(stateOf(g, 4), "sent");
    EXPECT_EQ(g.fake.numbers.size(), 5);
}

TEST_F(GatewayTest, RestartSendsQueuedJobsAndLeavesInterruptedOnesUntilRetried)
{
    {
        JobStore store;
        ASSERT_TRUE(store.open(db()));
        Job job;
        job.app = "bvn";
        job.data = pictureData();
        job.mcc = "262";
        job.mnc = "1";
        job.to = "4911";
        ASSERT_EQ(store.add(job), 1);
        job.to = "4922";
        ASSERT_EQ(store.add(job), 2);
        // The server was killed while the phone had the first one.
        ASSERT_TRUE(store.setState(1, JobState::Sending));
    }
    Gateway g(db());
    QTRY_COMPARE_WITH_TIMEOUT(stateOf(g, 2), QString("sent"), 3000);
    EXPECT_EQ(stateOf(g, 1), "interrupted");
    EXPECT_FALSE(g.get("/api/jobs/1").json().value("message").toString().isEmpty());
    QTest::qWait(50);
    EXPECT_EQ(g.fake.numbers, QStringList{"4922"});

    EXPECT_EQ(g.postJson("/api/jobs/1/retry", {}).status, 200);
    QTRY_COMPARE_WITH_TIMEOUT(stateOf(g, 1), QString("sent"), 3000);
    EXPECT_EQ(g.fake.numbers, (QStringList{"4922", "4911"}));
    EXPECT_EQ(g.postJson("/api/jobs/1/retry", {}).status, 409) << "a sent job is not sent again";
}

TEST_F(GatewayTest, WithAnAccessCodeTheFormAndTheApiNeedIt)
{
    Gateway g(db(), {}, "s3cret");
    EXPECT_EQ(g.postJson("/api/jobs", jobBody()).status, 401);
    EXPECT_EQ(g.postJson("/api/jobs", jobBody(), "Bearer wrong").status, 401);
    EXPECT_EQ(g.get("/api/jobs").status, 401);
    EXPECT_EQ(g.postJson("/api/jobs", jobBody(), "Bearer s3cret").status, 201);

    const QString address = WebUpload::uploadAddress(ProgramProfile::quillet(), LogoGrid(), "", "", "h");
    const QByteArray fields = QUrl(address, QUrl::TolerantMode).query(QUrl::FullyEncoded).toLatin1() + "&to=4912";
    auto post = [&](const QByteArray &body) {
        return gatewaytest::http(g.nam, "POST", g.url("/wireless/sendsms.phtml"), body,
                                 "application/x-www-form-urlencoded");
    };
    EXPECT_TRUE(g.get("/wireless/sendsms.phtml?" + QString::fromLatin1(fields)).body.contains("name=\"token\""));
    EXPECT_EQ(post(fields).status, 401);
    EXPECT_EQ(post(fields + "&token=nope").status, 401);
    const gatewaytest::HttpReply ok = post(fields + "&token=s3cret");
    EXPECT_EQ(ok.status, 303);
    EXPECT_EQ(ok.header("Location"), "/jobs/2");
    EXPECT_TRUE(GatewayServer::reachesBeyondThisMachine(QHostAddress::Any));
    EXPECT_FALSE(GatewayServer::reachesBeyondThisMachine(QHostAddress::LocalHost));
}

TEST(LogotoolServe, RefusesToStartWhereEveryJobWouldFailOrStrangersCouldSend)
{
    logotest::Sandbox sb;
    QProcessEnvironment env;
    env.insert("LOGO_SETTINGS_FILE", sb.settingsFile());
    env.insert("LOGO_DATA_DIR", sb.dir());
    struct Case {
        QStringList args;
        const char *says;
    } cases[] = {
        {{"--listen", "0.0.0.0:0", "--smsc", "4917", "--port", "1"}, "--token"},
        {{"--listen", "[::]:0", "--smsc", "4917", "--port", "1"}, "--token"},
        {{"--listen", "127.0.0.1"}, "--listen"},
        {{"--port", "1"}, "--smsc"},
        {{"--smsc", "4917"}, "--port"},
    };
    for (const Case &c : cases) {
        const logotest::ToolRun r = logotest::logotool(QStringList{"serve"} + c.args, env);
        EXPECT_EQ(r.code, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.says)) << r.err.toStdString();
    }
}

// The command itself, whose gateway is a module of its own: it listens, keeps
// the job it is given and answers for it until it is stopped.
TEST(LogotoolServe, ServesFromItsModule)
{
    logotest::Sandbox sb;
    QProcess serve;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LOGO_SETTINGS_FILE", sb.settingsFile());
    serve.setProcessEnvironment(env);
    serve.setReadChannel(QProcess::StandardError);
    serve.start(logotest::toolPath("logotool"), {"serve", "--listen", "127.0.0.1:0", "--smsc", "4917", "--device",
                                                 "/dev/null", "--db", sb.path("queue.sqlite")});
    QString said;
    const QRegularExpression listening("listening on (http://127.0.0.1:\\d+)/");
    while (!listening.match(said).hasMatch() && serve.waitForReadyRead(10000))
        said += QString::fromUtf8(serve.readAllStandardError());
    const QUrl base(listening.match(said).captured(1));
    ASSERT_TRUE(base.isValid() && !base.isEmpty()) << said.toStdString();
    QNetworkAccessManager nam;
    const gatewaytest::HttpReply job =
        gatewaytest::http(nam, "POST", base.resolved(QUrl("/api/jobs")), jobBody(), "application/json");
    ASSERT_EQ(job.status, 201) << job.body.toStdString();
    const QString id = QString::number(job.json().value("id").toInteger());
    EXPECT_EQ(gatewaytest::http(nam, "GET", base.resolved(QUrl("/api/jobs/" + id))).status, 200);
    serve.kill();
    serve.waitForFinished(10000);
}
