// The phonebook read and the message-centre verdict on the engine, with the
// simulated phone's logic answering on a fake link.
#include "common/testsupport.h"
#include "graphic/logodocument.h"
#include "phone/phonebookjob.h"
#include "phone/porttest.h"
#include "common/phonefakes.h"

#include <QEventLoop>
#include <QSignalSpy>
#include <QTimer>
#include <gtest/gtest.h>

using namespace logo;

namespace {

struct PhonebookFixture : ::testing::Test, phonetest::Rig {
    Phonebook book;
    std::unique_ptr<PhonebookJob> job;
    phonesim::PhoneCore phone;
    QList<QVariantList> lines;     // the status lines the job has shown

    void SetUp() override
    {
        sb.settings().writeInt(kSharedSection, "COMPort", 2);
        link.responder = phonetest::simulatedPhone(phone);
        ticks.autoFire = true;
    }
    QString cache() const { return sb.path("NGGPBOOK.CSV"); }
    // Starts a read on the settings as they are now, as the send dialog's
    // phonebook button does; its end shows its message.
    void start()
    {
        const PhonebookSettings settings =
            readPhonebookSettings(sb.settings(), phonebookCacheToWrite(context.appFolder, doc.profile()));
        job = std::make_unique<PhonebookJob>(book, settings, engine, prompt);
        QObject::connect(job.get(), &PhonebookJob::statusLine, [this](int line) { lines << QVariantList{line}; });
        QObject::connect(job.get(), &DeliveryJob::finished, [this](JobOutcome outcome, const QString &text) {
            showJobEnd(prompt, doc.profile().productName, outcome, text);
        });
        job->start();
    }
    // Runs the read to its end.
    void read()
    {
        QEventLoop loop;
        QTimer::singleShot(15000, &loop, &QEventLoop::quit);
        QTimer::singleShot(0, [this, &loop] {
            start();
            QObject::connect(job.get(), &DeliveryJob::finished, &loop, &QEventLoop::quit);
            if (!job->isRunning())
                loop.quit();
        });
        loop.exec();
        ASSERT_FALSE(job->isRunning());
    }
    QStringList commands() const
    {
        QStringList out;
        for (const QByteArray &w : link.written)
            out << QString::fromLatin1(w).trimmed();
        return out;
    }
};

} // namespace

TEST_F(PhonebookFixture, SimThenPhoneEachWithOneCommandForItsRange)
{
    read();
    EXPECT_EQ(commands(), (QStringList{"AT", "AT+CPBS=\"SM\"", "AT+CPBR=?", "AT+CPBR=1,250", "AT+CPBS=\"ME\"",
                                       "AT+CPBR=?", "AT+CPBR=1,500"}));
    EXPECT_EQ(prompt.messages(), QStringList{"Phonebook read."});
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[1].at(0).toInt(), PhonebookJob::LineSim);
    EXPECT_EQ(lines[2].at(0).toInt(), PhonebookJob::LinePhone);
    EXPECT_TRUE(book.isRead());
    QStringList got;
    for (const PhonebookEntry &e : book.entries())
        got << Phonebook::cacheLine(e);
    EXPECT_EQ(got, (QStringList{"Anna;+491711234567;A;1;", QString::fromUtf8("Märta, Home;01719876543;A;2;"),
                                "Bob \"the builder\";+441632960123;A;5;",
                                QString::fromUtf8("Jürgen Böhm;+4930123456;B;1;"),
                                QString::fromUtf8("Peña, Céline, ¢;5551234;B;3;")}));
    EXPECT_EQ(Phonebook::parseCache(logotest::readAll(cache())), book.entries());
    EXPECT_FALSE(link.isOpen());
}

TEST_F(PhonebookFixture, TheOptionsChooseTheMemories)
{
    const struct {
        bool sim, phone;
        QStringList commands;
        QStringList memories;
    } cases[] = {
        {false, true, {"AT", "AT+CPBS=\"ME\"", "AT+CPBR=?", "AT+CPBR=1,500"}, {"B", "B"}},
        {true, false, {"AT", "AT+CPBS=\"SM\"", "AT+CPBR=?", "AT+CPBR=1,250"}, {"A", "A", "A"}},
        // Nothing to read: the check of the link alone, and an empty phonebook.
        {false, false, {"AT"}, {}},
    };
    for (const auto &c : cases) {
        link.written.clear();
        prompt.clear();
        sb.settings().writeBool(kSharedSection, "PBookReadSM", c.sim);
        sb.settings().writeBool(kSharedSection, "PBookReadME", c.phone);
        read();
        EXPECT_EQ(commands(), c.commands);
        QStringList memories;
        for (const PhonebookEntry &e : book.entries())
            memories << e.memory;
        EXPECT_EQ(memories, c.memories);
        EXPECT_EQ(prompt.messages(), QStringList{"Phonebook read."});
    }
    EXPECT_TRUE(logotest::readAll(cache()).isEmpty()) << "the empty phonebook is written too";
    EXPECT_TRUE(QFile::exists(cache()));
}

TEST_F(PhonebookFixture, AFailedReadLeavesTableAndCacheAsTheyWere)
{
    const QList<PhonebookEntry> before{{"Old", "+491", "A", "1"}};
    book.replace(before);
    book.setRead(true);
    ASSERT_TRUE(book.save(cache()));
    const QByteArray cached = logotest::readAll(cache());

    const struct {
        const char *what;
        std::function<void()> setUp;
        QString message;
    } cases[] = {
        {"no SIM phonebook",
         [&] {
             phonesim::Options noSim;
             noSim.sim.present = false;
             phone = phonesim::PhoneCore(noSim);
         },
         "Error while talking to COM2."},
        {"a size the job can't use",
         [&] {
             phone = phonesim::PhoneCore();
             link.responder = [this](const QByteArray &cmd) {
                 return cmd.startsWith("AT+CPBR=?") ? QByteArray("\r\n+CPBR: (1-x),40,18\r\n\r\nOK\r\n")
                                                    : phonetest::simulatedPhone(phone)(cmd);
             };
         },
         "Can't read phonebook-size from SIM."},
        {"no port", [&] { sb.settings().writeInt(kSharedSection, "COMPort", 0); },
         "Please configure the Nokia GSM Serial Port\r\nin menu 'Edit/Options'"},
        {"a port that does not open",
         [&] {
             sb.settings().writeInt(kSharedSection, "COMPort", 2);
             link.openSucceeds = false;
         },
         "Can't talk to COM2."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        prompt.clear();
        c.setUp();
        read();
        EXPECT_EQ(prompt.messages(), QStringList{c.message});
        EXPECT_NE(job->outcome(), JobOutcome::Completed);
        EXPECT_EQ(book.entries(), before);
        EXPECT_TRUE(book.isRead());
        EXPECT_EQ(logotest::readAll(cache()), cached);
        EXPECT_FALSE(link.isOpen());
    }
}

TEST_F(PhonebookFixture, TheQuickLinkTakesTheRangeOnlyWithItsFinalOk)
{
    ticks.autoFire = false;
    link.responder = nullptr;
    sb.settings().writeBool(kSharedSection, "QuickLink", true);
    sb.settings().writeBool(kSharedSection, "PBookReadME", false);
    start();
    link.reply("\r\nOK\r\n");
    link.reply("\r\nOK\r\n");
    link.reply("\r\n+CPBR: (1-");
    EXPECT_EQ(link.written.size(), 3) << "half a range line is no answer yet";
    link.reply("250),40,18\r\n\r\nOK\r\n");
    EXPECT_EQ(link.written.last(), "AT+CPBR=1,250\r");
    link.reply("\r\n+CPBR: 1,\"+49\",145,\"Anna\"\r\n\r\nOK\r\n");
    EXPECT_EQ(prompt.messages(), QStringList{"Phonebook read."});
    EXPECT_EQ(book.count(), 1);
}

TEST_F(PhonebookFixture, MoreEntriesThanTheTableHoldsAreCutAndSaid)
{
    phonesim::Options o;
    o.sim.fill(300);
    o.phone.fill(300);
    phone = phonesim::PhoneCore(o);
    read();
    ASSERT_EQ(book.count(), Phonebook::Capacity);
    EXPECT_EQ(book.entries().last().memory, "B");
    EXPECT_EQ(prompt.lastMessage(), PhonebookJob::readMessage(true));
    EXPECT_TRUE(prompt.lastMessage().startsWith("Phonebook read.\r\n"));
}

TEST(MessageCentreVerdict, TheNumberBetweenTheKeyAndItsComma)
{
    const struct {
        const char *reply;
        ReadResult code;
        const char *digits;
    } cases[] = {
        {"AT+CSCA?\r\r\n+CSCA: \"+491710760000\",145\r\n\r\nOK\r\n", ReadResult::International, "491710760000"},
        {"\r\n+CSCA: \"01710760000\",129\r\n\r\nOK\r\n", ReadResult::National, "01710760000"},
        {"\r\n+CSCA: \"\",145\r\n\r\nOK\r\n", ReadResult::NoNumber, ""},
        // No comma on the line: no number field to judge.
        {"\r\n+CSCA: \"+491710760000\"\r\n\r\nOK\r\n", ReadResult::Failed, ""},
        // A comma before the key does not end the number.
        {"1,2\r\n+CSCA: \"+4917\",145\r\n\r\nOK\r\n", ReadResult::International, "4917"},
        {"\r\nOK\r\n", ReadResult::Failed, ""},
        // A device in UCS2 mode: the number as hex of UTF-16, quoted or not.
        {"\r\n+CSCA: \"002B003400390031003700310030003700360030003000300030\",145\r\n\r\nOK\r\n",
         ReadResult::International, "491710760000"},
        {"\r\n+CSCA: 0030003100370031003000370036,129\r\n\r\nOK\r\n", ReadResult::National, "0171076"},
        {"\r\n+CSCA: \"\",145\r\n\r\nOK\r\n", ReadResult::NoNumber, ""},
        // Hex that is no number is no answer: its digits are never the number.
        {"\r\n+CSCA: \"004E006F006E0065\",129\r\n\r\nOK\r\n", ReadResult::Failed, ""},
        {"\r\n+CSCA: \"002B00340039003\",145\r\n\r\nOK\r\n", ReadResult::Failed, ""},
        {"\r\n+CSCA: \"D83D\",145\r\n\r\nOK\r\n", ReadResult::Failed, ""},
        // A plain number that happens to be a multiple of four digits long.
        {"\r\n+CSCA: \"01711234\",129\r\n\r\nOK\r\n", ReadResult::National, "01711234"},
    };
    for (const auto &c : cases) {
        QString digits = "stale";
        EXPECT_EQ(PortTestJob::evaluateSmsc(c.reply, digits), c.code) << c.reply;
        EXPECT_EQ(digits, QLatin1String(c.digits)) << c.reply;
    }
}

// A job started while another holds the link ends at once, with nothing
// written and the other job left alone.
TEST_F(PhonebookFixture, JobOnABusyLinkEndsAtOnce)
{
    link.responder = nullptr;
    ticks.autoFire = false;
    start();
    ASSERT_TRUE(job->isRunning());
    const auto written = link.written;
    LinkSettings port;
    port.port = 2;
    port.device = "/dev/fake";
    PortTestJob test(PortTestJob::Kind::TestPort, port, engine, prompt, sb.settings());
    QSignalSpy ended(&test, &DeliveryJob::finished);
    test.start();
    ASSERT_EQ(ended.size(), 1);
    EXPECT_EQ(ended.first().at(1).toString(), "COM2 does not return valid data at the moment.");
    EXPECT_FALSE(test.isRunning());
    EXPECT_EQ(link.written, written);
    EXPECT_TRUE(job->isRunning());
    EXPECT_EQ(engine.state().steps[1].command, QByteArray("AT+CPBS=\"SM\"\r")) << "the read's steps stay";
}
