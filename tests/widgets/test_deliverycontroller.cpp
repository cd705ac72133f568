// The send and store commands of the window's delivery controller: checks,
// the queued commands and PDUs, the messages at every end, the settings they
// read and advance. The dialogs are stood in for by a recording controller;
// the phone is a fake link that answers at once and ticks that fire from the
// event loop.
#include "desktop/programcontext.h"
#include "common/testsupport.h"
#include "graphic/logodocument.h"
#include "graphic/pathutil.h"
#include "sms/digits.h"
#include "phone/smsdelivery.h"
#include "widgets/deliverycontroller.h"
#include "common/phonefakes.h"
#include "sms/pdu.h"

#include <QEventLoop>
#include <QSignalSpy>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

using namespace logo;
using logotest::Sandbox;
using phonetest::FakeLink;
using phonetest::ManualTicks;

namespace {

const QString kCentre = QStringLiteral("491710760000");

// The controller with its dialogs stood in for: a user who fills them in
// and waits for the end, recorded.
struct RecordingController : DeliveryController {
    using DeliveryController::DeliveryController;
    LogoDocument *doc = nullptr;
    ProgramContext *context = nullptr;
    QStringList shown;
    QString typedNumber = QStringLiteral("491711234567");
    bool cancelDialogs = false;
    bool busyDuringDialog = false;
    // When set, runs while the progress dialog is up, in place of waiting for
    // the job's end (the test drives the ticks itself).
    std::function<void()> duringProgress;
    DeliveryJob *job = nullptr;     // the job the progress dialog follows
    QStringList captions;
    QList<int> percents;
    JobOutcome lastOutcome = JobOutcome::OpenFailed;

    std::optional<QString> askDestination(const QString &) override
    {
        shown << "send";
        busyDuringDialog = context->runMarks.isBusy();
        if (cancelDialogs)
            return std::nullopt;
        // The dialog's Send button: it stays open on a number it refuses.
        const QString digits = acceptDestination(typedNumber, context->prompt, context->title());
        if (digits.isEmpty())
            return std::nullopt;
        return digits;
    }
    bool askToStore(const QString &) override
    {
        shown << "store";
        busyDuringDialog = context->runMarks.isBusy();
        return !cancelDialogs;
    }
    void followJob(DeliveryJob &j, bool cancellable) override
    {
        if (!cancellable) {
            shown << "infrared";    // the upload has its own tests
            return;
        }
        shown << "progress";
        job = &j;
        QObject::connect(&j, &DeliveryJob::caption, [this](const QString &text) { captions << text; });
        QObject::connect(&j, &DeliveryJob::progress, [this](int percent) { percents << percent; });
        if (duringProgress) {
            j.start();
            duringProgress();
        } else {
            QEventLoop loop;
            QObject::connect(&j, &DeliveryJob::finished, &loop, &QEventLoop::quit);
            QTimer::singleShot(0, &j, [&j] { j.start(); });
            QTimer::singleShot(5000, &loop, &QEventLoop::quit);     // a stuck job fails, not hangs
            loop.exec();
        }
        lastOutcome = j.outcome();
        job = nullptr;
    }
};

struct DeliveryFixture : ::testing::Test {
    Sandbox sb;
    ScriptedPrompt prompt;
    std::unique_ptr<LogoDocument> doc;
    std::unique_ptr<RunMarks> marks;
    std::unique_ptr<ProgramContext> context;
    FakeLink link;
    ManualTicks ticks;
    std::unique_ptr<RecordingController> delivery;

    void SetUp() override { makeDocument(ProgramProfile::quillet()); }

    void makeDocument(const ProgramProfile &profile)
    {
        delivery.reset();
        doc = std::make_unique<LogoDocument>(profile);
        for (int c = 0; c < 72; ++c)
            doc->grid().setPixel(c, (c * 5) % 14, true);
        marks = std::make_unique<RunMarks>(sb.settings(), profile.settingsSection);
        context.reset(new ProgramContext{profile, prompt, sb.settings(), *marks, QString()});
        delivery = std::make_unique<RecordingController>(*doc, *context, nullptr, &link, &ticks);
        delivery->doc = doc.get();
        delivery->context = context.get();
        ticks.autoFire = true;
        link.responder = phonetest::goodPhone();
    }
    AtEngine &engine() { return delivery->engine(); }
    void configure(const QString &smsc = kCentre, int port = 2)
    {
        sb.settings().write(kSharedSection, "SMSC", smsc);
        sb.settings().writeInt(kSharedSection, "COMPort", port);
        sb.settings().write(kSharedSection, QStringLiteral("Device%1").arg(port), "/dev/fake-phone");
    }
    QString own(const QString &key) { return sb.settings().read(doc->profile().settingsSection, key); }
    UserData userData() const
    {
        return buildUserData(doc->profile(), doc->grid(), doc->currentMCC(), doc->currentMNC());
    }
    // The job as the controller builds it after the dialogs, shown to its end.
    void runJob(SmsKind kind, const SmsOverrides &overrides = {})
    {
        const SendSettings s = readSendSettings(sb.settings(), doc->profile().settingsSection, overrides);
        const OutgoingPicture picture{&doc->profile(), doc->grid(), doc->currentMCC(), doc->currentMNC()};
        SmsJob job(kind, smsPdu(kind, picture, s), s.link, engine(), prompt);
        QEventLoop loop;
        QObject::connect(&job, &DeliveryJob::finished, [&](JobOutcome outcome, const QString &text) {
            showJobEnd(prompt, doc->profile().productName, outcome, text);
            loop.quit();
        });
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        job.start();
        if (job.isRunning())
            loop.exec();
    }
};

// The time stamp of a stored message is the time of writing; everything else
// of the line is fixed. Replaces the seven time-stamp octets by "T"s.
QByteArray maskTimeStamp(QByteArray deliverLine)
{
    // "00" "64" then the originator field (2 + 5 octets), PID, DCS.
    const int at = 2 + 2 + 14 + 2 + 2;
    return deliverLine.replace(at, 14, QByteArray(14, 'T'));
}

} // namespace

// ---------------------------------------------------------------- pre-checks

TEST_F(DeliveryFixture, PreChecksStopInTheirOrderAndAlwaysClearTheBusyMark)
{
    // An empty picture the user does not want to send.
    doc->grid().clear();
    prompt.answers = {Answer::No};
    delivery->sendPicture();
    EXPECT_EQ(prompt.lastMessage(), "The graphic is empty.\r\n\r\nDo you want to continue anyway?");
    EXPECT_EQ(prompt.shown.back().icon, Icon::Question);
    EXPECT_TRUE(delivery->shown.isEmpty());
    EXPECT_FALSE(sb.settings().contains(doc->profile().settingsSection, "CurrentBusy"));

    // Yes goes on, to the missing message centre; storing is refused as well.
    for (auto command : {&DeliveryController::sendPicture, &DeliveryController::storePicture}) {
        prompt.clear();
        prompt.answers = {Answer::Yes};
        ((*delivery).*command)();
        EXPECT_EQ(prompt.lastMessage(), "Please configure your Message Center Number\r\nin menu 'Edit/Options'");
        EXPECT_EQ(prompt.shown.back().icon, Icon::Critical);
    }
    EXPECT_TRUE(delivery->shown.isEmpty());

    // A message centre but no port.
    sb.settings().write(kSharedSection, "SMSC", kCentre);
    prompt.clear();
    prompt.answers = {Answer::Yes};
    delivery->storePicture();
    EXPECT_EQ(prompt.lastMessage(), "Please configure the Nokia GSM Serial Port\r\nin menu 'Edit/Options'");
    EXPECT_TRUE(delivery->shown.isEmpty());
    EXPECT_FALSE(marks->isBusy());
    EXPECT_TRUE(link.openedDevices.isEmpty());
}

TEST_F(DeliveryFixture, PassedPreCheckOpensTheDialogOfTheModeWhileBusy)
{
    configure();
    delivery->cancelDialogs = true;
    delivery->storePicture();
    EXPECT_EQ(delivery->shown, QStringList{"store"});
    EXPECT_TRUE(delivery->busyDuringDialog);
    delivery->sendPicture();
    EXPECT_EQ(delivery->shown, (QStringList{"store", "send"}));
    EXPECT_FALSE(marks->isBusy());
    EXPECT_TRUE(prompt.shown.empty());
    const SendSettings read = readSendSettings(sb.settings(), doc->profile().settingsSection);
    EXPECT_EQ(read.link.port, 2);
    EXPECT_EQ(read.link.device, "/dev/fake-phone");
}

TEST_F(DeliveryFixture, OperatorLogoNeedsAnOperator)
{
    makeDocument(ProgramProfile::brisvane());
    configure();
    delivery->sendPicture();
    EXPECT_EQ(prompt.lastMessage(), "Select an operator first.");
    EXPECT_TRUE(delivery->shown.isEmpty());
}

// ---------------------------------------------------------------- send job

TEST_F(DeliveryFixture, SendWritesTheFiveStepsAndReportsDataSent)
{
    configure();
    sb.settings().write(doc->profile().settingsSection, "StatusReport", "1");
    delivery->typedNumber = "+49 171-1234567";
    delivery->sendPicture();

    EXPECT_EQ(delivery->shown, (QStringList{"send", "progress"}));
    EXPECT_EQ(own("LastDA"), "491711234567");
    const Pdu pdu = buildSubmitPdu(userData(), "491711234567", kCentre, true);
    EXPECT_TRUE(pdu.tpdu.startsWith("71000C91947111325476"));
    EXPECT_EQ(link.written, (QByteArrayList{"AT\r", "ATZ\r", "AT+CMGF=0\r",
                                            pdu.atCommand().toLatin1() + "\r",
                                            pdu.line().toLatin1() + "\x1a"}));
    EXPECT_EQ(link.openedDevices, QStringList{"/dev/fake-phone"});
    EXPECT_FALSE(link.isOpen());
    ASSERT_EQ(prompt.messages(), QStringList{"Data sent."});
    EXPECT_EQ(prompt.shown.back().icon, Icon::Information);
    EXPECT_EQ(prompt.shown.back().title, "Quillet");
    EXPECT_EQ(delivery->captions, QStringList{"Sending ..."});
    EXPECT_EQ(delivery->percents, (QList<int>{0, 5, 20, 40, 55, 100}));
    EXPECT_EQ(delivery->lastOutcome, JobOutcome::Completed);
}

TEST_F(DeliveryFixture, OperatorLogoOfTheWorkedExampleAnnounces154Octets)
{
    makeDocument(ProgramProfile::brisvane());
    doc->setNetworkCode("262", "01");
    configure();
    delivery->sendPicture();
    ASSERT_GE(link.written.size(), 5);
    EXPECT_EQ(link.written[3], QByteArray("AT+CMGS=154\r"));
    EXPECT_TRUE(link.written[4].startsWith("0791947101670000" "51000C91947111325476" "00F5A78C"
                                           "0605041582000062F21000480E01"));
    EXPECT_EQ(link.written[4].size(), 16 + 2 * 154 + 1);
    EXPECT_EQ(prompt.lastMessage(), "Data sent.");
}

TEST_F(DeliveryFixture, EveryFailureEndsWithItsMessageAndAClosedPort)
{
    configure();
    struct Case {
        QByteArray failOn, failWith;
        bool openFails;
        QString message;
    } cases[] = {
        {{}, {}, true, "Can't talk to COM2."},
        {"ATZ", "\r\nERROR\r\n", false, "Error while talking to COM2."},
        {"AT+CMGS", "", false, "Error while talking to COM2."},
        {"0791", "\r\n+CMS ERROR: 500\r\n", false, "Can't send SMS.\r\nError: 500"},
    };
    for (const Case &c : cases) {
        prompt.clear();
        link.written.clear();
        link.openSucceeds = !c.openFails;
        link.responder = phonetest::goodPhone(c.failOn, c.failWith);
        delivery->sendPicture();
        EXPECT_EQ(prompt.lastMessage(), c.message);
        EXPECT_EQ(prompt.shown.back().icon, Icon::Critical);
        EXPECT_FALSE(link.isOpen());
        EXPECT_FALSE(engine().isRunning());
    }
    // The port that does not open beeps and writes nothing.
    prompt.clear();
    link.written.clear();
    link.openSucceeds = false;
    delivery->sendPicture();
    EXPECT_EQ(prompt.count(ShownPrompt::Kind::Beep), 1);
    EXPECT_TRUE(link.written.isEmpty());
}

TEST_F(DeliveryFixture, NumberWithoutDigitsIsRefusedAndNothingRuns)
{
    configure();
    sb.settings().write(doc->profile().settingsSection, "LastDA", "4930");
    delivery->typedNumber = "+ -";
    delivery->sendPicture();
    EXPECT_EQ(prompt.lastMessage(), "Please enter GSM-Number in intl. Format");
    EXPECT_EQ(prompt.shown.back().icon, Icon::Critical);
    EXPECT_EQ(delivery->shown, QStringList{"send"});
    EXPECT_EQ(own("LastDA"), "4930");
    EXPECT_TRUE(link.openedDevices.isEmpty());
}

TEST_F(DeliveryFixture, NumbersLongerThanTheirFieldsAreRefusedBeforeAnythingIsWritten)
{
    configure();
    sb.settings().write(doc->profile().settingsSection, "LastDA", "4930");
    const QString digits20 = "12345678901234567890";
    const struct {
        QString typed, smsc;
        SmsKind kind;
        QString message;    // empty: the job runs
    } cases[] = {
        {"+" + digits20, kCentre, SmsKind::Send, ""},
        {digits20 + "1", kCentre, SmsKind::Send, "The number has 21 digits; a GSM-Number has at most 20."},
        {QString(300, '9'), kCentre, SmsKind::Send, "The number has 300 digits; a GSM-Number has at most 20."},
        {"4930", digits20, SmsKind::Send, ""},
        {"4930", digits20 + "1", SmsKind::Send,
         "The Message Center Number has 21 digits; it can have at most 20.\r\n"
         "Please configure your Message Center Number\r\nin menu 'Edit/Options'"},
        // A stored message carries no message centre.
        {"4930", digits20 + "1", SmsKind::Store, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed.left(30).toStdString() + " / " + c.smsc.toStdString());
        prompt.clear();
        link.written.clear();
        delivery->shown.clear();
        delivery->typedNumber = c.typed;
        sb.settings().write(kSharedSection, "SMSC", c.smsc);
        if (c.kind == SmsKind::Send)
            delivery->sendPicture();
        else
            delivery->storePicture();
        if (c.message.isEmpty()) {
            ASSERT_EQ(link.written.size(), 5);
            EXPECT_FALSE(prompt.lastMessage().contains("digits")) << prompt.lastMessage().toStdString();
            // Every length field still two hex characters.
            if (c.kind == SmsKind::Send) {
                EXPECT_EQ(link.written[3], "AT+CMGS=" + QByteArray::number(8 + (digitsOnly(c.typed).size() + 1) / 2 + 137) + "\r");
            }
        } else {
            EXPECT_EQ(prompt.lastMessage(), c.message);
            EXPECT_EQ(prompt.shown.back().icon, Icon::Critical);
            EXPECT_TRUE(link.written.isEmpty());
            EXPECT_FALSE(delivery->shown.contains("progress"));
            EXPECT_NE(own("LastDA").size(), 300);
        }
    }
    // A number the settings hold already (written by something else) still
    // never reaches the phone.
    prompt.clear();
    link.written.clear();
    sb.settings().write(kSharedSection, "SMSC", kCentre);
    sb.settings().write(doc->profile().settingsSection, "LastDA", QString(300, '9'));
    runJob(SmsKind::Send);
    EXPECT_EQ(prompt.lastMessage(), "The number has 300 digits; a GSM-Number has at most 20.");
    EXPECT_TRUE(link.written.isEmpty());
    EXPECT_FALSE(engine().isRunning());
}

TEST_F(DeliveryFixture, NetworkCodesTheMessagesCantCarryAreRefusedOnEveryPath)
{
    makeDocument(ProgramProfile::brisvane());
    configure();
    sb.settings().writeInt(kSharedSection, "IRPort", 4);
    const struct {
        const char *mcc, *mnc, *message;
    } cases[] = {
        {"1234", "01", "The network code MCC 1234, MNC 01 can't be sent.\r\n"
                       "A country code (MCC) has at most three digits."},
        {"-005", "-01", "The network code MCC -005, MNC -01 can't be sent.\r\nA network code is never negative."},
        {"310", "260", "The network code MCC 310, MNC 260 can't be sent.\r\n"
                       "An operator logo carries a network code (MNC) of at most two digits."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.mcc);
        doc->setNetworkCode(c.mcc, c.mnc);
        for (int path = 0; path < 3; ++path) {
            prompt.clear();
            if (path == 2)
                delivery->sendByInfrared();
            else if (path == 1)
                delivery->storePicture();
            else
                delivery->sendPicture();
            EXPECT_EQ(prompt.messages(), QStringList{c.message});
            EXPECT_EQ(prompt.shown.back().icon, Icon::Critical);
            EXPECT_FALSE(marks->isBusy());
        }
    }
    EXPECT_TRUE(delivery->shown.isEmpty());
    EXPECT_TRUE(link.openedDevices.isEmpty());

    // The same picture with a code they carry goes on to the dialogs.
    doc->setNetworkCode("262", "01");
    prompt.clear();
    delivery->cancelDialogs = true;
    delivery->sendPicture();
    delivery->sendByInfrared();
    EXPECT_EQ(delivery->shown, (QStringList{"send", "infrared"}));
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(DeliveryFixture, SettingsOverridesOfTheTool)
{
    // No settings at all: the tool's options stand in for them.
    SmsOverrides o;
    o.port = 7;
    o.device = "/dev/the-phone";
    o.hasSmsc = true;
    o.smsc = kCentre;
    const SendSettings read = readSendSettings(sb.settings(), doc->profile().settingsSection, o);
    EXPECT_TRUE(checkSendSettings(SmsKind::Send, read, prompt, "Quillet"));
    runJob(SmsKind::Send, o);
    EXPECT_EQ(link.openedDevices, QStringList{"/dev/the-phone"});
    EXPECT_TRUE(link.written[4].startsWith("0791947101670000"));
    EXPECT_EQ(prompt.lastMessage(), "Data sent.");
    EXPECT_FALSE(sb.settings().contains(kSharedSection, "SMSC"));
}

// ---------------------------------------------------------------- store job

TEST_F(DeliveryFixture, StoreWritesTheCounterNumbersMessageAndAdvancesTheCounter)
{
    configure();
    sb.settings().writeInt(doc->profile().settingsSection, "StoreCount", 5);
    delivery->storePicture();

    ASSERT_EQ(link.written.size(), 5);
    const Pdu pdu = buildStorePdu(doc->profile(), userData(), 5);
    EXPECT_EQ(link.written[3], pdu.atCommand().toLatin1() + "\r");
    EXPECT_TRUE(link.written[3].startsWith("AT+CMGW="));
    EXPECT_EQ(maskTimeStamp(link.written[4]), maskTimeStamp(pdu.line().toLatin1() + "\x1a"));
    EXPECT_TRUE(link.written[4].startsWith("0064099199090000F5"));
    EXPECT_EQ(prompt.messages(), QStringList{"Data written."});
    EXPECT_EQ(delivery->captions, QStringList{"Storing in SMS-Inbox ..."});
    EXPECT_EQ(own("StoreCount"), "6");
    EXPECT_EQ(storeNumberText(doc->profile(), 6), "+999000006");
}

TEST_F(DeliveryFixture, FailedOrStoppedStoreStillAdvancesTheCounter)
{
    configure();
    link.openSucceeds = false;
    delivery->storePicture();
    EXPECT_EQ(prompt.lastMessage(), "Can't talk to COM2.");
    EXPECT_EQ(own("StoreCount"), "1");

    // Stopped while the PDU line is awaited: that step's text.
    link.openSucceeds = true;
    ticks.autoFire = false;
    delivery->duringProgress = [this] {
        for (int i = 0; i < 4; ++i) {
            QCoreApplication::processEvents();    // the phone's answer arrives
            engine().tick();
        }
        EXPECT_EQ(engine().state().currentStep, 5);
        delivery->job->requestBreak();
        engine().tick();
    };
    delivery->storePicture();
    EXPECT_EQ(prompt.lastMessage(), "Can't write SMS.");
    EXPECT_EQ(prompt.shown.back().icon, Icon::Critical);
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(own("StoreCount"), "2");
}

// The counter is a 16-bit number: at its top it starts again at 0 instead of
// running past the range, and a value out of range reads as 0.
TEST_F(DeliveryFixture, StoreCounterStaysInItsRange)
{
    configure();
    link.openSucceeds = false;     // the counter advances all the same
    sb.settings().writeInt(doc->profile().settingsSection, "StoreCount", 32767);
    EXPECT_EQ(storeNumberText(doc->profile(), storeCount(sb.settings(), doc->profile().settingsSection)), "+999032767");
    delivery->storePicture();
    EXPECT_EQ(own("StoreCount"), "0");

    sb.settings().writeInt(doc->profile().settingsSection, "StoreCount", 70000);
    EXPECT_EQ(storeCount(sb.settings(), doc->profile().settingsSection), 0);
    delivery->storePicture();
    EXPECT_EQ(own("StoreCount"), "1");
}
