// Whole uploads through the real raw serial line on the worker thread, against
// irsim on a pseudo-terminal; the menu command's checks and messages; and
// logotool ir-upload. Each upload takes its real seconds (the read time-outs),
// so only one per outcome is here; the protocol's cases are in
// test_irupload.cpp.
#include "common/simphone.h"
#include "common/documentsandbox.h"
#include "common/testsupport.h"
#include "graphic/logodocument.h"
#include "infrared/irdelivery.h"
#include "infrared/irmessage.h"
#include "infrared/rawserialport.h"
#include "sms/networkcode.h"
#include "irtestsupport.h"

#include <QElapsedTimer>

#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <vector>

using namespace logo;
using logotest::Sandbox;

namespace {

using IrSim = logotest::SimIrPhone;

LogoGrid diagonal()
{
    LogoGrid g;
    for (int c = 0; c < 72; ++c)
        g.setPixel(c, (c * 3) % 14, true);
    return g;
}

QString messageLine(const QByteArray &message)
{
    return "message " + QString::fromLatin1(message.toHex().toUpper());
}

// Delays that keep the tests short; the read time-outs stay a second.
IrDelays quick()
{
    return {10, 10, 1};
}

struct IrSimFixture : ::testing::Test {
    void SetUp() override
    {
        if (!IrSim::available())
            GTEST_SKIP() << "irsim not built";
    }
    // The diagonal picture as an NGG file for logotool, and the settings it
    // runs with: every IRDelay set to delayMs.
    Sandbox sb;
    QString picture;
    QProcessEnvironment env;
    void prepareTool(int delayMs)
    {
        ScriptedPrompt prompt;
        LogoDocument doc(ProgramProfile::quillet());
        doc.grid() = diagonal();
        picture = sb.path("pic.ngg");
        ASSERT_EQ(logotest::writeLogoFile(doc, prompt, sb.settings(), picture), FileCommands::WriteResult::Written);
        for (const char *key : {"IRDelay1", "IRDelay2", "IRDelay3"})
            sb.settings().writeInt(kSharedSection, key, delayMs);
        sb.settings().sync();
        env.insert("LOGO_SETTINGS_FILE", sb.settingsFile());
    }
};

} // namespace

TEST_F(IrSimFixture, UploadsOnTheWorkerThreadEndAsThePhoneLetsThem)
{
    const QByteArray message = buildIrMessage(ProgramProfile::brisvane(), diagonal(), "262", "01");
    const struct {
        QStringList args;
        int address;
        QString result;
    } cases[] = {
        {{}, 0x7C, ""},
        {{}, 0xC0, ""},
        {{"--slots", "0,3", "--corrupt", "1"}, 0x42, ""},
        {{"--model", "8810"}, 0x42, "Nokia 8810 not supported yet."},
        {{"--silent-after", "0"}, 0x42, "Can't talk to phone."},
    };
    // Each upload ends on a second of silence: the phones, each on its own
    // line, take their uploads at the same time.
    struct Upload {
        std::unique_ptr<IrSim> phone;
        IrUploadRunner runner;
        QList<int> progress;
        bool onMainThread = true;
        QString result = "(none)";
        bool ended = false;
    };
    const int count = int(std::size(cases));
    std::vector<std::unique_ptr<Upload>> uploads;
    QEventLoop loop;
    int ended = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        auto u = std::make_unique<Upload>();
        u->phone = std::make_unique<IrSim>(c.args);
        ASSERT_FALSE(u->phone->device.isEmpty());
        IrUploadRequest request;
        request.message = message;
        request.port = 5;
        request.device = u->phone->device;
        request.options.delays = quick();
        request.options.connectionAddress = [a = c.address] { return a; };

        Upload *up = u.get();
        QObject::connect(&up->runner, &IrUploadRunner::progress, &loop, [up, &loop](int p) {
            up->progress << p;
            up->onMainThread = up->onMainThread && QThread::currentThread() == loop.thread();
        });
        QObject::connect(&up->runner, &IrUploadRunner::finished, &loop, [up, &ended, &loop, count](const QString &r) {
            up->result = r;
            up->ended = true;
            if (++ended == count)
                loop.quit();
        });
        ASSERT_TRUE(up->runner.start(request));
        EXPECT_FALSE(up->runner.start(request)) << "one upload at a time";
        uploads.push_back(std::move(u));
    }
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    loop.exec();

    for (int i = 0; i < count; ++i) {
        const auto &c = cases[i];
        Upload &u = *uploads[i];
        SCOPED_TRACE(c.args.join(' ').toStdString());
        EXPECT_TRUE(u.ended);
        EXPECT_EQ(u.result, c.result);
        EXPECT_TRUE(u.onMainThread);
        EXPECT_FALSE(u.runner.isRunning());
        const QStringList said = u.phone->report();
        if (c.result.isEmpty()) {
            ASSERT_FALSE(u.progress.isEmpty());
            EXPECT_EQ(u.progress.last(), 100);
            const QString address = QString::number(c.address, 16).toUpper();
            EXPECT_EQ(said.mid(0, 3), (QStringList{"connected " + address, messageLine(message),
                                                   "operator logo 262 01"}));
            EXPECT_EQ(said.last(), "disconnected");
        } else {
            EXPECT_FALSE(said.join('\n').contains("message ")) << said.join('\n').toStdString();
        }
    }
}

// The menu command's checks and its job, as the delivery controller and
// logotool run them.
TEST_F(IrSimFixture, ChecksThenTheJobReportsTheUploadsEnd)
{
    Sandbox sb;
    ScriptedPrompt prompt;
    prompt.defaultAnswer = Answer::Yes;
    const auto upload = [&](const ProgramProfile &profile, const std::function<void(LogoDocument &)> &prepare) {
        prompt.clear();
        LogoDocument doc(profile);
        doc.grid() = diagonal();
        prepare(doc);
        const QString title = profile.productName;
        if (!pictureMayGo(doc, prompt, DeliveryPath::Infrared))
            return 0;
        const IrSettings settings = readIrSettings(sb.settings());
        if (!checkIrSettings(settings, prompt, title))
            return 0;
        IrUploadJob job(buildIrMessage(profile, doc.grid(), doc.currentMCC(), doc.currentMNC()), settings);
        QEventLoop loop;
        QObject::connect(&job, &DeliveryJob::finished, [&](JobOutcome outcome, const QString &text) {
            showJobEnd(prompt, title, outcome, text);
            loop.quit();
        });
        job.start();
        loop.exec();
        return 1;
    };
    const auto none = [](LogoDocument &) {};

    // No port configured, no operator chosen: no upload.
    EXPECT_EQ(upload(ProgramProfile::quillet(), none), 0);
    EXPECT_EQ(prompt.messages(), QStringList{"Please configure the physical IR Port\r\nin menu 'Edit/Options/IR Port'"});
    sb.settings().writeInt(kSharedSection, "IRPort", 4);
    EXPECT_EQ(upload(ProgramProfile::brisvane(), none), 0);
    EXPECT_EQ(prompt.messages(), QStringList{"Select an operator first."});

    // A port that does not open.
    QTemporaryDir dir;
    sb.settings().write(kSharedSection, "Device4", dir.filePath("none"));
    EXPECT_EQ(upload(ProgramProfile::quillet(), none), 1);
    EXPECT_EQ(prompt.messages(), QStringList{"Error while talking to COM4.\r\n\r\nCan't open COM4:\r\n(" +
                                             dir.filePath("none") + ": No such file or directory)"});
    EXPECT_EQ(prompt.shown.back().icon, Icon::Critical);

    // The phone, with the settings' delays.
    IrSim phone;
    sb.settings().write(kSharedSection, "Device4", phone.device);
    for (const char *key : {"IRDelay1", "IRDelay2", "IRDelay3"})
        sb.settings().writeInt(kSharedSection, key, 1);
    EXPECT_EQ(upload(ProgramProfile::quillet(), none), 1);
    EXPECT_EQ(prompt.messages(), QStringList{"Data uploaded."});
    EXPECT_EQ(prompt.shown.back().icon, Icon::Information);
    EXPECT_TRUE(phone.report().contains(messageLine(buildIrMessage(ProgramProfile::quillet(), diagonal()))));
}

TEST_F(IrSimFixture, LogotoolIrUpload)
{
    // Short delays, as the window tests have them (the benchmark times the
    // defaults).
    prepareTool(1);

    IrSim phone;
    logotest::ToolRun r = logotest::logotool({"ir-upload", picture, "--device", phone.device, "--mcc", "262",
                                              "--mnc", "1"}, env);
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.lines, (QStringList{"10%", "20%", "30%", "40%", "50%", "60%", "70%", "80%", "90%", "95%", "100%",
                                    "Data uploaded."}));
    EXPECT_TRUE(phone.report().contains(
        messageLine(buildIrMessage(ProgramProfile::brisvane(), diagonal(), "262", "01"))));

    QTemporaryDir dir;
    r = logotest::logotool({"ir-upload", picture, "--port", "3", "--device", dir.filePath("none")}, env);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Error while talking to COM3.\n\nCan't open COM3:\n(" + dir.filePath("none") +
                         ": No such file or directory)\n");

    // The port options are the phone commands' own, without the AT link's --quick.
    r = logotest::logotool({"ir-upload", picture, "--device", phone.device, "--quick"}, env);
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.startsWith("usage: logotool ir-upload FILE [--port N] [--device PATH]")) << r.err.toStdString();
}

TEST_F(IrSimFixture, ADeviceThatNeverStopsTalkingEndsTheUpload)
{
    // Through the real serial line, the waits skipped: the engine's clock
    // still runs the bound as a real upload would.
    for (const char *kind : {"text", "random"}) {
        SCOPED_TRACE(kind);
        IrSim device({"--noise", kind});
        ASSERT_FALSE(device.device.isEmpty());
        RawSerialPort line;
        irtest::SkippingClock clock;
        IrUploadEngine engine(line, clock);
        QElapsedTimer wall;
        wall.start();
        EXPECT_EQ(engine.upload(buildIrMessage(ProgramProfile::quillet(), diagonal()), 2, device.device),
                  "Can't talk to phone.");
        EXPECT_TRUE(engine.gaveUp());
        EXPECT_GT(engine.stats().octetsRead, 256) << "it kept talking past the first burst";
        EXPECT_LT(wall.elapsed(), 3000);
    }
}

TEST_F(IrSimFixture, LogotoolIrUploadToADeviceThatNeverStopsTalking)
{
    // No delays: the bound is then the bare few seconds.
    prepareTool(0);

    IrSim device({"--noise", "text"});
    QElapsedTimer wall;
    wall.start();
    const logotest::ToolRun r = logotest::logotool({"ir-upload", picture, "--device", device.device}, env);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "10%\n");
    EXPECT_EQ(r.err, "Error while talking to COM1.\n\nCan't talk to phone.\n");
    EXPECT_GE(wall.elapsed(), IrUploadEngine::NoFrameLimitMs);
    EXPECT_LT(wall.elapsed(), IrUploadEngine::NoFrameLimitMs + 3000);
}
