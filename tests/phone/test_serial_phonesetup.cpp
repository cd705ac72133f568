// The port test, the message-centre read and the phonebook read over the real
// serial path (QSerialPort, the job timer) against the simulated phone, every
// outcome with the texts the options and send dialogs show. The timer runs
// faster than the programs' one second; the phone answers at once.
#include "common/simphone.h"
#include "common/testsupport.h"
#include "graphic/logodocument.h"
#include "phone/phonebookjob.h"
#include "phone/porttest.h"
#include "phone/seriallink.h"

#include <QSignalSpy>
#include <optional>
#include <gtest/gtest.h>

using namespace logo;
using logotest::Sandbox;
using logotest::SimPhone;

namespace {

struct SetupSerial : ::testing::Test {
    Sandbox sb;
    ScriptedPrompt prompt;
    LogoDocument doc{ProgramProfile::quillet()};
    SerialLink link;
    TimerTicks ticks{logotest::kFastTickMs};
    AtEngine engine{link, ticks};

    void SetUp() override
    {
        if (!SimPhone::available())
            GTEST_SKIP() << "phonesim not built";
    }
    // Starts a job and waits for its end: the text it ended with (shown as
    // the window shows it when show is set), nothing when it did not end.
    std::optional<QString> run(DeliveryJob &job, bool show = false)
    {
        QSignalSpy ended(&job, &DeliveryJob::finished);
        job.start();
        if (ended.isEmpty() && !ended.wait(20000))
            return std::nullopt;
        const QString text = ended.first().value(1).toString();
        if (show)
            showJobEnd(prompt, doc.profile().productName, job.outcome(), text);
        return text;
    }
    // A port job on COM4 through device.
    std::unique_ptr<PortTestJob> portJob(PortTestJob::Kind kind, const QString &device)
    {
        LinkSettings link;
        link.port = 4;
        link.device = device;
        return std::make_unique<PortTestJob>(kind, link, engine, prompt, sb.settings());
    }
    std::unique_ptr<PhonebookJob> reader(Phonebook &book)
    {
        return std::make_unique<PhonebookJob>(book, readPhonebookSettings(sb.settings(), sb.path("NGGPBOOK.CSV")),
                                              engine, prompt);
    }
    QString missingDevice() const { return sb.path("no-such-port"); }
};

} // namespace

TEST_F(SetupSerial, PortTestOutcomes)
{
    const struct {
        QStringList phone;   // empty: no phone on a device that does not exist
        TestResult code;
        QString status;
    } cases[] = {
        {{"--echo"}, TestResult::Nokia, "COM4 is \"Data Suite compatible\"."},
        {{"--identity", "Generic modem"}, TestResult::NotNokia, "COM4 is probably not \"Data Suite compatible\"."},
        {{"--silent"}, TestResult::NoAnswer, "COM4 does not return valid data at the moment."},
        // Which device and why, after the text the dialog always showed.
        {{}, TestResult::PortFailed,
         "COM4 is not available or in use.\r\n(" + missingDevice() + ": No such file or directory)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.status.toStdString());
        std::unique_ptr<SimPhone> phone;
        QString device = missingDevice();
        if (!c.phone.isEmpty()) {
            phone = std::make_unique<SimPhone>(c.phone);
            ASSERT_FALSE(phone->device.isEmpty());
            device = phone->device;
        }
        const auto job = portJob(PortTestJob::Kind::TestPort, device);
        const std::optional<QString> status = run(*job);
        ASSERT_TRUE(status) << "the test did not end";
        EXPECT_TRUE(job->testResult() == c.code);
        EXPECT_EQ(*status, c.status);
        if (phone && c.code == TestResult::Nokia) {
            EXPECT_EQ(phone->commands(), (QStringList{"AT", "ATI"}));
        }
        EXPECT_FALSE(link.isOpen());
    }
    EXPECT_TRUE(prompt.messages().isEmpty()) << "the test shows no message box";
}

TEST_F(SetupSerial, MessageCentreReadOutcomesAndWhatIsStored)
{
    const QString countryCode = "Please add the international country-code\r\nto your Message Center Number";
    const QString notFound = "Could not find the Message Center Number.\r\n\r\n"
                             "Please go to Message settings in your phone,\r\n"
                             "read your Message Center Number there and\r\n"
                             "enter it here with the international country-code.";
    const struct {
        QStringList phone;
        ReadResult code;
        QString stored;      // "SMSC" afterwards; it was "4930" before
        QString status;
        QString message;
    } cases[] = {
        {{"--smsc", "+491710760000"}, ReadResult::International, "491710760000", "Number has been read.", ""},
        {{"--smsc", "01710760000"}, ReadResult::National, "01710760000", "Number has been read.", countryCode},
        {{"--smsc", ""}, ReadResult::NoNumber, "", "Could not find Number.", notFound},
        {{"--error-on", "AT+CRES"}, ReadResult::Failed, "4930", "Could not read Number.", ""},
        {{}, ReadResult::Failed, "4930",
         "Could not read Number.\r\n(" + missingDevice() + ": No such file or directory)", ""},
        // A device left in UCS2 mode: the number decoded, or no number at all.
        {{"--smsc", "002B003400390031003700310030003700360030003000300030", "--smsc-type", "145"},
         ReadResult::International, "491710760000", "Number has been read.", ""},
        {{"--smsc", "004E006F006E0065", "--smsc-type", "145"}, ReadResult::Failed, "4930", "Could not read Number.",
         ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.phone.join(' ').toStdString());
        sb.settings().write(kSharedSection, "SMSC", "4930");
        std::unique_ptr<SimPhone> phone;
        QString device = missingDevice();
        if (!c.phone.isEmpty()) {
            phone = std::make_unique<SimPhone>(c.phone);
            device = phone->device;
        }
        const auto job = portJob(PortTestJob::Kind::ReadMessageCentre, device);
        const std::optional<QString> status = run(*job);
        ASSERT_TRUE(status) << "the read did not end";
        EXPECT_TRUE(job->readResult() == c.code);
        EXPECT_EQ(sb.settings().read(kSharedSection, "SMSC"), c.stored);
        EXPECT_EQ(*status, c.status);
        EXPECT_EQ(PortTestJob::readMessage(c.code), c.message);
        if (phone && c.code == ReadResult::International) {
            EXPECT_EQ(phone->commands(), (QStringList{"AT", "AT+CRES=1", "AT+CSCA?"}));
        }
    }
}

TEST_F(SetupSerial, PhonebookReadAndAPhoneWithoutSimPhonebook)
{
    Phonebook book;
    sb.settings().writeInt(kSharedSection, "COMPort", 4);
    {
        SimPhone phone({"--no-echo"});
        sb.settings().write(kSharedSection, "Device4", phone.device);
        const auto job = reader(book);
        EXPECT_TRUE(run(*job, true));
        EXPECT_EQ(job->outcome(), JobOutcome::Completed);
        EXPECT_EQ(prompt.messages(), QStringList{"Phonebook read."});
        EXPECT_EQ(book.count(), 5);
        EXPECT_EQ(phone.commands().value(6), "AT+CPBR=1,500");
    }
    prompt.clear();
    SimPhone noSim({"--no-sim-phonebook"});
    sb.settings().write(kSharedSection, "Device4", noSim.device);
    const auto job = reader(book);
    EXPECT_TRUE(run(*job, true));
    EXPECT_NE(job->outcome(), JobOutcome::Completed);
    EXPECT_EQ(prompt.messages(), QStringList{"Error while talking to COM4."});
    EXPECT_EQ(noSim.commands().count("AT+CPBS=\"SM\""), 4) << "written, then repeated three times";
    EXPECT_EQ(book.count(), 5) << "the failed read left the table";
    EXPECT_FALSE(link.isOpen());
}

// A device that never stops talking (a GPS receiver on the wrong port): the
// job waits on the growing reply only so long, on the job clock, then ends
// with the link error; the reply kept stays within its bound meanwhile.
TEST_F(SetupSerial, PhonebookReadOnADeviceThatNeverStopsTalkingEnds)
{
    Phonebook book;
    sb.settings().writeInt(kSharedSection, "COMPort", 4);
    SimPhone gps({"--flood"});
    sb.settings().write(kSharedSection, "Device4", gps.device);
    ticks.setInterval(5);
    qsizetype largest = 0, received = 0;
    QObject::connect(&link, &PhoneLink::received, [&](const QByteArray &bytes) {
        largest = qMax(largest, engine.state().replyBuffer.size());
        received += bytes.size();
    });
    const auto job = reader(book);
    EXPECT_TRUE(run(*job, true));
    EXPECT_NE(job->outcome(), JobOutcome::Completed);
    EXPECT_EQ(prompt.messages(), QStringList{"Error while talking to COM4."});
    EXPECT_GT(received, 0) << "the device did talk";
    EXPECT_LE(largest, LinkState::MaxReplyBytes);
    EXPECT_FALSE(link.isOpen());
}
