// The real serial path: QSerialPort, the job timer and the job, against
// the simulated phone on a pseudo-terminal, on the fast test tick (Brisvane's
// window test sends at the programs' one second). Only the main roads are
// here; the engine's cases are in test_atengine.cpp.
#include "common/simphone.h"
#include "common/documentsandbox.h"
#include "common/smsjobrun.h"
#include "common/testsupport.h"
#include "graphic/logodocument.h"
#include "sms/digits.h"
#include "phone/seriallink.h"
#include "phone/smsdelivery.h"
#include "sms/pdu.h"

#include <QDateTime>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTimer>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace logo;
using logotest::Sandbox;
using logotest::SimPhone;
using logotest::toolPath;

namespace {

struct SerialFixture : ::testing::Test {
    Sandbox sb;
    ScriptedPrompt prompt;
    LogoDocument doc{ProgramProfile::quillet()};
    SerialLink link;
    TimerTicks jobTimer{logotest::kFastTickMs};
    AtEngine engine{link, jobTimer};

    void SetUp() override
    {
        if (!QFileInfo::exists(toolPath("phonesim")))
            GTEST_SKIP() << "phonesim not built";
        for (int c = 0; c < 72; ++c)
            doc.grid().setPixel(c, (c * 3) % 14, true);
        sb.settings().write(kSharedSection, "SMSC", "491710760000");
        sb.settings().writeInt(kSharedSection, "COMPort", 4);
    }
    void useDevice(const QString &device) { sb.settings().write(kSharedSection, "Device4", device); }
    UserData userData() const { return buildUserData(doc.profile(), doc.grid()); }
};

} // namespace

TEST_F(SerialFixture, SendThroughAnEchoingPhoneDeliversTheExactPdu)
{
    SimPhone phone({"--echo"});
    ASSERT_FALSE(phone.device.isEmpty());
    useDevice(phone.device);
    phonetest::runSmsJob(SmsKind::Send, doc, prompt, sb.settings(), engine);
    EXPECT_EQ(prompt.messages(), QStringList{"Data sent."});
    const Pdu pdu = buildSubmitPdu(userData(), "491711234567", "491710760000", false);
    EXPECT_EQ(phone.logged(), pdu.line().toLatin1() + '\n');
    EXPECT_EQ(phone.commands(), (QStringList{"AT", "ATZ", "AT+CMGF=0", pdu.atCommand(), pdu.line()}));
    EXPECT_FALSE(link.isOpen());
}

TEST_F(SerialFixture, StoreThroughASlowNoisyPhoneThatDoesNotEchoOnTheQuickLink)
{
    SimPhone phone({"--no-echo", "--noise", "--delay", QString::number(logotest::kFastTickMs * 3 / 10)});
    ASSERT_FALSE(phone.device.isEmpty());
    useDevice(phone.device);
    sb.settings().writeInt(doc.profile().settingsSection, "StoreCount", 41);
    sb.settings().writeBool(kSharedSection, "QuickLink", true);
    phonetest::runSmsJob(SmsKind::Store, doc, prompt, sb.settings(), engine);
    EXPECT_TRUE(engine.quickLink());
    EXPECT_EQ(prompt.messages(), QStringList{"Data written."});
    EXPECT_EQ(sb.settings().read(doc.profile().settingsSection, "StoreCount"), "42");

    // Everything but the time stamp is fixed; the stamp is the time of writing.
    QByteArray logged = phone.logged();
    ASSERT_TRUE(logged.endsWith('\n'));
    logged.chop(1);
    const int stampAt = 22;
    const QString stamp = swapDigitPairs(QString::fromLatin1(logged.mid(stampAt, 14)));
    const QDateTime when = QDateTime::fromString("20" + stamp.left(12), "yyyyMMddHHmmss");
    ASSERT_TRUE(when.isValid()) << stamp.toStdString();
    EXPECT_LT(qAbs(when.secsTo(QDateTime::currentDateTime())), 120);
    EXPECT_EQ(stamp.mid(12), "00");
    const Pdu pdu = buildStorePdu(doc.profile(), userData(), 41, when);
    EXPECT_EQ(logged, pdu.line().toLatin1());
    EXPECT_TRUE(logged.startsWith("0064099199090040F1"));
    EXPECT_EQ(phone.commands().value(3), pdu.atCommand());
}

TEST_F(SerialFixture, MessageServiceErrorOfThePhoneIsExplained)
{
    SimPhone phone({"--cms", "38"});
    ASSERT_FALSE(phone.device.isEmpty());
    useDevice(phone.device);
    phonetest::runSmsJob(SmsKind::Send, doc, prompt, sb.settings(), engine);
    EXPECT_EQ(prompt.lastMessage(), "Can't send SMS.\r\nError: Network out of order (38).\r\n"
                                    "Maybe wrong number or wrong SMS-Center.\r\n"
                                    "Did you enter all numbers with intl. prefix?");
    EXPECT_EQ(phone.commands().size(), 5) << "no repeat of the PDU line";
    EXPECT_FALSE(link.isOpen());
}

TEST_F(SerialFixture, PortThatCannotBeOpened)
{
    QTemporaryDir dir;
    useDevice(dir.filePath("no-such-port"));
    phonetest::runSmsJob(SmsKind::Send, doc, prompt, sb.settings(), engine);
    // The window's text, then which device and why.
    EXPECT_EQ(prompt.lastMessage(),
              "Can't talk to COM4.\r\n(" + dir.filePath("no-such-port") + ": No such file or directory)");
    EXPECT_EQ(prompt.count(ShownPrompt::Kind::Beep), 1);
    EXPECT_FALSE(link.isOpen());
}

namespace {

double cpuSeconds()
{
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

} // namespace

// The phone's end goes away mid-job (a cable pulled): the port is closed at
// once and the job ends at its next tick, without spinning on the dead device
// in between.
TEST_F(SerialFixture, DeviceThatGoesAwayEndsTheJobWithoutSpinning)
{
    int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    useDevice(QString::fromLocal8Bit(::ptsname(master)));
    // The far end hangs up as soon as the first command has arrived.
    double cpuAtHangUp = -1, cpuAtEnd = -1;
    QSocketNotifier farEnd(master, QSocketNotifier::Read);
    QObject::connect(&farEnd, &QSocketNotifier::activated, [&] {
        farEnd.setEnabled(false);
        ::close(master);
        master = -1;
        cpuAtHangUp = cpuSeconds();
    });
    QObject::connect(&engine, &AtEngine::finished, [&] { cpuAtEnd = cpuSeconds(); });
    phonetest::runSmsJob(SmsKind::Send, doc, prompt, sb.settings(), engine);
    if (master >= 0)
        ::close(master);
    ASSERT_GE(cpuAtHangUp, 0) << "the job ended before the device went away";
    EXPECT_EQ(prompt.lastMessage(), "Error while talking to COM4.");
    EXPECT_EQ(engine.state().retryCount, 0) << "no repeat to a device that is gone";
    EXPECT_FALSE(link.isOpen());
    EXPECT_LT(cpuAtEnd - cpuAtHangUp, 0.5) << "busy on the dead device";
}

// ------------------------------------------------------------------ logotool

namespace {

struct ToolRun {
    int exitCode = -1;
    QString out, err;
};

ToolRun logotool(const QStringList &args, const QString &settingsFile)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LOGO_SETTINGS_FILE", settingsFile);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    // The tool finds its serial port module beside itself.
    env.remove("LOGO_SERIAL_MODULE");
    p.setProcessEnvironment(env);
    p.start(toolPath("logotool"), args);
    ToolRun r;
    if (!p.waitForFinished(60000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

} // namespace

// With the quick link, beside a running window whose run marks the tool
// must leave alone.
TEST_F(SerialFixture, LogotoolSendPrintsTheProgressAndTheWindowsMessage)
{
    const QString picture = sb.path("pic.ngg");
    ASSERT_EQ(logotest::writeLogoFile(doc, prompt, sb.settings(), picture), FileCommands::WriteResult::Written);
    SimPhone phone({"--no-echo"});
    ASSERT_FALSE(phone.device.isEmpty());
    QTemporaryDir dir;
    const QString settings = dir.filePath("settings.ini");
    {
        SettingsStore s(settings);
        s.write(kSharedSection, "SMSC", "491710760000");
        s.write("Quillet Settings", "StatusReport", "1");
        s.writeBool("Quillet Settings", "CurrentBusy", true);
        s.write("Quillet Settings", "CurrentAppname", "Quillet [a.ngg]");
    }
    const ToolRun r =
        logotool({"send", "--quick", picture, "--to", "+49 171 1234567", "--device", phone.device}, settings);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "0%\n5%\n20%\n40%\n55%\n100%\nData sent.\n");
    const Pdu pdu = buildSubmitPdu(userData(), "491711234567", "491710760000", true);
    EXPECT_EQ(phone.logged(), pdu.line().toLatin1() + '\n');
    const SettingsStore after(settings);
    EXPECT_EQ(after.read("Quillet Settings", "LastDA"), "491711234567");
    EXPECT_TRUE(after.readBool("Quillet Settings", "CurrentBusy", false));
    EXPECT_EQ(after.read("Quillet Settings", "CurrentAppname"), "Quillet [a.ngg]");
}

TEST_F(SerialFixture, LogotoolStoreFailsOnAPortThatDoesNotOpenAndStillCounts)
{
    const QString picture = sb.path("pic.ngg");
    ASSERT_EQ(logotest::writeLogoFile(doc, prompt, sb.settings(), picture), FileCommands::WriteResult::Written);
    QTemporaryDir dir;
    const QString settings = dir.filePath("settings.ini");
    const QStringList args{"store", picture, "--smsc", "49171", "--port", "3", "--device", dir.filePath("none")};
    ToolRun r = logotool(args, settings);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "Can't talk to COM3.\n(" + dir.filePath("none") + ": No such file or directory)\n");
    EXPECT_FALSE(r.err.contains("No such file")) << "the reason is said once, in the message";
    EXPECT_EQ(SettingsStore(settings).read("Quillet Settings", "StoreCount"), "1");
    // Without a message centre nothing runs and nothing counts.
    r = logotool({"store", picture, "--port", "3"}, settings);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("Please configure your Message Center Number\nwith --smsc DIGITS"));
    EXPECT_EQ(SettingsStore(settings).read("Quillet Settings", "StoreCount"), "1");
}
