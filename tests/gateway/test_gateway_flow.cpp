// The whole road of "Send via Internet" through the gateway: the windows'
// upload address, the form, a posted number, and the simulated phone on a
// pseudo-terminal receiving the smart message, through the real serial
// sender on the fast test tick.
#include "gatewaytest.h"

#include "common/simphone.h"
#include "common/testsupport.h"
#include "desktop/profile.h"
#include "sms/payload.h"
#include "sms/pdu.h"
#include "webupload/webupload.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <QTest>
#include <gtest/gtest.h>

using namespace logo;
using namespace logo::gateway;

namespace {

// The hidden fields of the form, as the browser posts them, and the number.
QByteArray formBody(const QByteArray &page, const QString &to)
{
    QUrlQuery body;
    static const QRegularExpression hidden(R"re(<input type="hidden" name="([^"]*)" value="([^"]*)">)re");
    for (auto it = hidden.globalMatch(QString::fromUtf8(page)); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        body.addQueryItem(m.captured(1), m.captured(2));
    }
    body.addQueryItem("to", to);
    return body.query(QUrl::FullyEncoded).replace("+", "%2B").toLatin1();
}

// A gateway whose sender talks to a simulated phone, on a queue of its own.
struct PhoneGateway {
    explicit PhoneGateway(const QStringList &phoneOptions = {}) : phone(phoneOptions)
    {
        sb.settings().write(kSharedSection, "SMSC", "491710760000");
        SerialSendOptions options;
        options.port = 1;
        options.device = phone.device;
        options.tickMs = logotest::kFastTickMs;
        sender = makeSerialPhoneSender(sb.settings(), options);
        gateway = std::make_unique<gatewaytest::Gateway>(dir.filePath("queue.sqlite"), GatewayLimits{},
                                                         QString(), sender.get());
    }
    logotest::SimPhone phone;
    logotest::Sandbox sb;
    std::unique_ptr<PhoneSender> sender;
    QTemporaryDir dir;
    std::unique_ptr<gatewaytest::Gateway> gateway;
};

} // namespace

TEST(GatewayFlow, TheWindowsAddressSendsTheOperatorLogoToThePhone)
{
    if (!logotest::SimPhone::available())
        GTEST_SKIP() << "phonesim not built";
    PhoneGateway rig;
    ASSERT_FALSE(rig.phone.device.isEmpty());
    logotest::SimPhone &phone = rig.phone;
    gatewaytest::Gateway &g = *rig.gateway;
    ASSERT_NE(g.port, 0);

    LogoGrid grid;
    grid.clearPlane();
    for (int c = 0; c < 72; ++c)
        grid.setPixel(c, (c * 3) % 14, true);
    const QString address = WebUpload::uploadAddress(ProgramProfile::brisvane(), grid, "262", "01",
                                                     QStringLiteral("127.0.0.1:%1").arg(g.port));
    const gatewaytest::HttpReply form = gatewaytest::http(g.nam, "GET", QUrl(address, QUrl::TolerantMode));
    ASSERT_EQ(form.status, 200) << form.body.constData();
    EXPECT_TRUE(form.body.contains("data:image/png;base64,"));

    const gatewaytest::HttpReply posted =
        gatewaytest::http(g.nam, "POST", g.url("/wireless/sendsms.phtml"), formBody(form.body, "+491711234567"),
                          "application/x-www-form-urlencoded");
    ASSERT_EQ(posted.status, 303) << posted.body.constData();
    const QString status = QString::fromLatin1(posted.header("Location"));
    EXPECT_EQ(status, "/jobs/1");
    QTRY_VERIFY_WITH_TIMEOUT(g.get(status).body.contains(">sent<"), 10000);
    EXPECT_FALSE(g.get(status).body.contains("http-equiv=\"refresh\"")) << "an ended job's page stays";
    EXPECT_EQ(g.get("/api/jobs/1").json().value("message").toString(), "Data sent.");

    const Pdu expected = buildSubmitPdu(buildUserData(ProgramProfile::brisvane(), grid, "262", "01"),
                                        "491711234567", "491710760000", false);
    EXPECT_EQ(phone.logged(), expected.line().toLatin1() + '\n');
    EXPECT_TRUE(phone.logged().contains("62F210")) << "the network code 262 01";
    EXPECT_TRUE(phone.logged().contains(grid.grid2hex().toLatin1()));
}

TEST(GatewayFlow, APhoneThatRefusesGivesItsTextOnTheStatusPage)
{
    if (!logotest::SimPhone::available())
        GTEST_SKIP() << "phonesim not built";
    PhoneGateway rig({"--cms", "38"});
    gatewaytest::Gateway &g = *rig.gateway;
    LogoGrid grid;
    grid.setPixel(3, 3, true);
    const QByteArray job = QJsonDocument(QJsonObject{{"data", "00480E01" + grid.grid2hex()}, {"mcc", "0"},
                                                     {"mnc", "0"}, {"app", "qlt"}, {"to", "4917"}})
                               .toJson();
    ASSERT_EQ(g.postJson("/api/jobs", job).status, 201);
    QTRY_VERIFY_WITH_TIMEOUT(g.get("/jobs/1").body.contains(">failed<"), 10000);
    EXPECT_TRUE(g.get("/jobs/1").body.contains("Can't send SMS.<br>Error: Network out of order (38).")) << g.get("/jobs/1").body.constData();
}
