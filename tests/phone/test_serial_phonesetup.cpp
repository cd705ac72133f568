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
#include <gtest/gtest.h>

using namespace logo;
using logotest::Sandbox;
using logotest::SimPhone;

namespace {

struct SetupSerial : ::testing::Test {
    Sandbox sb;
    ScriptedPrompt prompt;
    LogoDocument doc{ProgramProfile::quillet(), prompt, sb.settings()};
    SerialLink link;
    TimerTicks ticks{logotest::kFastTickMs};
    AtEngine engine{link, ticks};
    PortTest jobs{doc, engine};

    void SetUp() override
    {
        if (!SimPhone::available())
            GTEST_SKIP() << "phonesim not built";
        doc.setAppFolder(sb.dir());
    }
    // Starts a job and waits for the signal that ends it; its argument.
    template <class Sender, class Signal>
    QVariant run(Sender *sender, Signal signal, const std::function<void()> &start)
    {
        QSignalSpy ended(sender, signal);
        start();
        if (ended.isEmpty() && !ended.wait(20000))
            return {};
        return ended.first().value(0);
    }
    QString missingDevice() const { return sb.path("no-such-port"); }
};

} // namespace

TEST_F(SetupSerial, PortTestOutcomes)
{
    const struct {
        QStringList phone;   // empty: no phone on a device that does not exist
        int code;
        QString status;
    } cases[] = {
        {{"--echo"}, PortTest::TestNokia, "COM4 is \"Data Suite compatible\"."},
        {{"--identity", "Generic modem"}, PortTest::TestNotNokia, "COM4 is probably not \"Data Suite compatible\"."},
        {{"--silent"}, PortTest::TestNoAnswer, "COM4 does not return valid data at the moment."},
        // Which device and why, after the text the dialog always showed.
        {{}, PortTest::TestPortFailed,
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
        const QVariant code = run(&jobs, &PortTest::testDone, [&] { jobs.testPort(4, device); });
        ASSERT_TRUE(code.isValid()) << "the test did not end";
        EXPECT_EQ(code.toInt(), c.code);
        EXPECT_EQ(jobs.testStatus(code.toInt(), 4), c.status);
        if (phone && c.code == PortTest::TestNokia)
            EXPECT_EQ(phone->commands(), (QStringList{"AT", "ATI"}));
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
        int code;
        QString stored;      // "SMSC" afterwards; it was "4930" before
        QString status;
        QString message;
    } cases[] = {
        {{"--smsc", "+491710760000"}, PortTest::ReadInternational, "491710760000", "Number has been read.", ""},
        {{"--smsc", "01710760000"}, PortTest::ReadNational, "01710760000", "Number has been read.", countryCode},
        {{"--smsc", ""}, PortTest::ReadNoNumber, "", "Could not find Number.", notFound},
        {{"--error-on", "AT+CRES"}, PortTest::ReadFailed, "4930", "Could not read Number.", ""},
        {{}, PortTest::ReadFailed, "4930",
         "Could not read Number.\r\n(" + missingDevice() + ": No such file or directory)", ""},
        // A device left in UCS2 mode: the number decoded, or no number at all.
        {{"--smsc", "002B003400390031003700310030003700360030003000300030", "--smsc-type", "145"},
         PortTest::ReadInternational, "491710760000", "Number has been read.", ""},
        {{"--smsc", "004E006F006E0065", "--smsc-type", "145"}, PortTest::ReadFailed, "4930", "Could not read Number.",
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
        const QVariant code = run(&jobs, &PortTest::readSMSCDone, [&] { jobs.readMessageCentre(4, device); });
        ASSERT_TRUE(code.isValid()) << "the read did not end";
        EXPECT_EQ(code.toInt(), c.code);
        EXPECT_EQ(sb.settings().read(kSharedSection, "SMSC"), c.stored);
        EXPECT_EQ(jobs.readStatus(c.code), c.status);
        EXPECT_EQ(PortTest::readMessage(c.code), c.message);
        if (phone && c.code == PortTest::ReadInternational)
            EXPECT_EQ(phone->commands(), (QStringList{"AT", "AT+CRES=1", "AT+CSCA?"}));
    }
}

TEST_F(SetupSerial, PhonebookReadAndAPhoneWithoutSimPhonebook)
{
    Phonebook book;
    PhonebookJob reader(doc, engine, book);
    sb.settings().writeInt(kSharedSection, "COMPort", 4);
    {
        SimPhone phone({"--no-echo"});
        sb.settings().write(kSharedSection, "Device4", phone.device);
        EXPECT_EQ(run(&reader, &PhonebookJob::jobEnded, [&] { reader.readPhonebook(); }), QVariant(true));
        EXPECT_EQ(prompt.messages(), QStringList{"Phonebook read."});
        EXPECT_EQ(book.count(), 5);
        EXPECT_EQ(phone.commands().value(6), "AT+CPBR=1,500");
    }
    prompt.clear();
    SimPhone noSim({"--no-sim-phonebook"});
    sb.settings().write(kSharedSection, "Device4", noSim.device);
    EXPECT_EQ(run(&reader, &PhonebookJob::jobEnded, [&] { reader.readPhonebook(); }), QVariant(false));
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
    PhonebookJob reader(doc, engine, book);
    sb.settings().writeInt(kSharedSection, "COMPort", 4);
    SimPhone gps({"--flood"});
    sb.settings().write(kSharedSection, "Device4", gps.device);
    ticks.setInterval(5);
    qsizetype largest = 0, received = 0;
    QObject::connect(&link, &PhoneLink::received, [&](const QByteArray &bytes) {
        largest = qMax(largest, engine.state().replyBuffer.size());
        received += bytes.size();
    });
    EXPECT_EQ(run(&reader, &PhonebookJob::jobEnded, [&] { reader.readPhonebook(); }), QVariant(false));
    EXPECT_EQ(prompt.messages(), QStringList{"Error while talking to COM4."});
    EXPECT_GT(received, 0) << "the device did talk";
    EXPECT_LE(largest, LinkState::MaxReplyBytes);
    EXPECT_FALSE(link.isOpen());
}
