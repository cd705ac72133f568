// The AT engine driven directly: a fake link, ticks called by the test.
#include "enginefixture.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace logo;

using phonetest::EngineFixture;

// ------------------------------------------------------------ classification

TEST(ReplyClassification, LaterMatchesOverrideEarlierOnes)
{
    struct Case {
        const char *buffer;
        ReplyCode code;
    } cases[] = {
        {"\r\nOK\r\n", ReplyCode::Ok},
        {"AT+CMGS=154\r\r\n> ", ReplyCode::Prompt},
        {"\r\nOK\r\n> ", ReplyCode::Prompt},                                  // prompt beats OK
        {"+CPBR: (1-250),20,14\r\n\r\nOK\r\n", ReplyCode::PhonebookRange},    // range beats OK
        {"\r\n+CMS ERROR: 38\r\n", ReplyCode::CmsError},
        {"\r\n> \r\n+CMS ERROR: 38\r\n", ReplyCode::CmsError},               // CMS beats prompt
        {"\r\nERROR\r\n\r\nOK\r\n", ReplyCode::Error},                        // error beats a later OK
        {"\r\n+CMS ERROR: 500\r\n\r\nERROR\r\n", ReplyCode::Error},          // error beats CMS
        {"\r\nNO CARRIER\r\n", ReplyCode::Error},
        {"OK\r\n", ReplyCode::Data},                                         // OK needs CR LF in front
        {"\r\nok\r\n", ReplyCode::Data},                                     // case-sensitive
        {"CMS ERROR:38", ReplyCode::Data},
    };
    for (const Case &c : cases)
        EXPECT_EQ(AtEngine::classify(c.buffer, 0), c.code) << c.buffer;
}

TEST(ReplyClassification, GrowthWithoutAMatchIsDataAndNoGrowthIsNothing)
{
    struct Case {
        QByteArray buffer;
        qsizetype before;
        ReplyCode code;
    } cases[] = {
        {"AT\r", 0, ReplyCode::Data},
        {"AT\r", 3, ReplyCode::NoNewData},
        {"", 0, ReplyCode::NoNewData},
        {"AT\r\x8e\x84\xfe", 3, ReplyCode::Data},                     // the phones' letters are text
        {QByteArray("AT\r\x01\x1b\x7f\xff", 7), 3, ReplyCode::NoNewData},   // control octets, DEL, 0xFF
        {"\r\nOK\r\n", 6, ReplyCode::Ok},                              // a match needs no growth
    };
    for (const Case &c : cases)
        EXPECT_EQ(AtEngine::classify(c.buffer, c.before), c.code) << c.buffer.toHex().constData();
}

TEST(ReplyClassification, LineNoiseIsDroppedAndTextKept)
{
    EXPECT_EQ(AtEngine::textOnly(QByteArray("\0\r\n\x01O\xffK\x7f\r\n", 10)), QByteArray("\r\nOK\r\n"));
    // The phones' accented letters (phonebook names) are text.
    EXPECT_EQ(AtEngine::textOnly("\x8e\x84\r"), QByteArray("\x8e\x84\r"));
}

// ------------------------------------------------------------------ the job

TEST_F(EngineFixture, PhoneThatAnswersAtOnceMovesOneStepPerTick)
{
    startSend();
    EXPECT_EQ(link.openedDevices, QStringList{"/dev/fake"});
    EXPECT_EQ(link.written, QByteArrayList{"AT\r"});
    link.reply("AT\r\r\nOK\r\n");
    tick();
    link.reply("ATZ\r\r\nOK\r\n");
    tick();
    link.reply("AT+CMGF=0\r\r\nOK\r\n");
    tick();
    link.reply("AT+CMGS=154\r\r\n> ");
    tick();
    link.reply("0791PDU\x1a\r\n+CMGS: 12\r\n\r\nOK\r\n");
    tick();
    EXPECT_EQ(link.written,
              (QByteArrayList{"AT\r", "ATZ\r", "AT+CMGF=0\r", "AT+CMGS=154\r", "0791PDU\x1a"}));
    ASSERT_EQ(finished.size(), 1);
    EXPECT_EQ(endOutcome(), JobOutcome::Completed);
    EXPECT_EQ(link.closeCount, 1);
    EXPECT_FALSE(link.isOpen());
    EXPECT_FALSE(ticks.isActive());
    EXPECT_FALSE(engine.isRunning());
    QList<int> shown;
    for (const auto &p : progress)
        shown << p.at(0).toInt();
    EXPECT_EQ(shown, (QList<int>{0, 5, 20, 40, 55, 100}));
    // The reply to the last command stays for whoever evaluates it.
    EXPECT_TRUE(engine.state().replyBuffer.contains("+CMGS: 12"));
}

// A slow but steady reply earns patience, also when a tick's share is nothing
// but letters of the high half (an accented phonebook name).
TEST_F(EngineFixture, ReplyStillGrowingWaitsWithoutUsingRepeats)
{
    startSend();
    for (int i = 0; i < 10; ++i) {
        link.reply(i % 2 ? QByteArray("\x8e\x84\x99") : QByteArray("+CPBR: 1,\""));
        tick();
    }
    EXPECT_EQ(engine.state().retryCount, 0);
    EXPECT_EQ(link.written.size(), 1) << "a waiting step is not written again";
    EXPECT_TRUE(finished.isEmpty());
    link.reply("\r\nOK\r\n");
    tick();
    EXPECT_EQ(step(), 2);
    EXPECT_EQ(link.written.last(), QByteArray("ATZ\r"));
}

// A device that never stops talking (a GPS receiver on the wrong port): the
// buffer keeps only the end of it, the final results seen stay seen, and the
// patience runs out as a link error.
TEST_F(EngineFixture, ReplyThatNeverEndsIsBoundedInSizeAndTime)
{
    startSend();
    const QByteArray line = "$GPGGA,101010.00,5230.000,N,01323.000,E,1,08,1.0,34.0,M,,M,,*4B\r\n";
    const QByteArray burst = line.repeated(1000);
    for (int i = 0; i < AtEngine::MaxPatientTicks; ++i) {
        link.reply(burst);
        ASSERT_LE(engine.state().replyBuffer.size(), LinkState::MaxReplyBytes);
        ASSERT_EQ(engine.state().replyCode, ReplyCode::Data);
        tick();
    }
    EXPECT_TRUE(finished.isEmpty()) << "still within the bound";
    EXPECT_TRUE(engine.state().replyBuffer.endsWith(line)) << "the end of the reply is kept";
    EXPECT_EQ(engine.state().retryCount, 0);
    link.reply(burst);
    tick();
    ASSERT_EQ(finished.size(), 1);
    EXPECT_EQ(endOutcome(), JobOutcome::LinkError);
    EXPECT_EQ(endMessage(), "Error while talking to COM3.");
    EXPECT_FALSE(link.isOpen());
    EXPECT_FALSE(ticks.isActive());

    // Results seen early, or split between two reads, outlive the part of
    // the buffer that held them.
    const struct {
        QByteArrayList parts;
        ReplyCode code;
    } cases[] = {
        {{"\r\nERR", "OR\r\n", burst.repeated(10)}, ReplyCode::Error},
        {{"\r\nO", "K\r\n", burst.repeated(10)}, ReplyCode::Ok},
        {{"\r\n+CMS ", "ERROR: 3", burst.repeated(10), "\r\nOK"}, ReplyCode::CmsError},
        {{"\r\n", ">", " "}, ReplyCode::Prompt},
    };
    for (const auto &c : cases) {
        startSend();
        for (const QByteArray &part : c.parts)
            link.reply(part);
        EXPECT_EQ(engine.state().replyCode, c.code) << c.parts.first().toStdString();
        EXPECT_LE(engine.state().replyBuffer.size(), LinkState::MaxReplyBytes);
        engine.requestBreak();
        tick();
    }
}

// An echoing phone that never gives the prompt: the echo alone must not keep
// the job waiting for ever; the repeats run out and the job ends.
TEST_F(EngineFixture, EchoWithoutAnAnswerUsesTheRepeatsAndEnds)
{
    startSend();
    for (int i = 0; i < 3; ++i) {
        link.reply("\r\nOK\r\n");
        tick();
    }
    int ticksOfTheStep = 0;
    qsizetype echoed = 0;
    while (finished.isEmpty() && ticksOfTheStep < 20) {
        for (; echoed < link.written.size(); ++echoed)
            link.reply(link.written[echoed]);
        tick();
        ++ticksOfTheStep;
    }
    ASSERT_EQ(finished.size(), 1) << "still waiting after 20 ticks";
    EXPECT_EQ(endOutcome(), JobOutcome::LinkError);
    EXPECT_EQ(endMessage(), "Error while talking to COM3.");
    EXPECT_EQ(link.written.mid(3), QByteArrayList(4, "AT+CMGS=154\r"));
    EXPECT_LE(ticksOfTheStep, 8) << "each echo earns at most one tick of patience";
}

TEST_F(EngineFixture, SilentPhoneGetsTheCommandAgainAtEachTickThenTheJobEnds)
{
    startSend();
    for (int i = 0; i < 3; ++i)
        tick();
    EXPECT_EQ(link.written, (QByteArrayList{"AT\r", "AT\r", "AT\r", "AT\r"}));
    EXPECT_TRUE(finished.isEmpty());
    tick();     // the fourth failing tick
    ASSERT_EQ(finished.size(), 1);
    EXPECT_EQ(endOutcome(), JobOutcome::LinkError);
    EXPECT_EQ(endMessage(), "Error while talking to COM3.");
    EXPECT_EQ(link.written.size(), 4);
    EXPECT_EQ(link.closeCount, 1);
}

TEST_F(EngineFixture, AnswerAfterARepeatAdvances)
{
    startSend();
    tick();                          // nothing yet: written again
    link.reply("\r\nOK\r\n");
    tick();
    EXPECT_EQ(step(), 2);
    EXPECT_EQ(engine.state().retryCount, 1);
}

TEST_F(EngineFixture, RepeatBudgetIsSharedByTheWholeJob)
{
    startSend();
    tick();                               // repeat 1 (step 0)
    link.reply("\r\nOK\r\n");
    tick();
    tick();                               // repeat 2 (step 1)
    link.reply("\r\nOK\r\n");
    tick();
    tick();                               // repeat 3 (step 2)
    link.reply("\r\nOK\r\n");
    tick();
    EXPECT_EQ(step(), 4);
    EXPECT_EQ(engine.state().retryCount, 3);
    EXPECT_TRUE(finished.isEmpty());
    tick();                               // fourth failing tick of the job
    ASSERT_EQ(finished.size(), 1);
    EXPECT_EQ(endMessage(), "Error while talking to COM3.");
}

TEST_F(EngineFixture, PhoneThatNeverPromptsHasTheCommandRepeated)
{
    startSend();
    for (int i = 0; i < 3; ++i) {
        link.reply("\r\nOK\r\n");
        tick();
    }
    for (int i = 0; i < 4; ++i)
        tick();
    EXPECT_EQ(link.written.mid(3),
              (QByteArrayList{"AT+CMGS=154\r", "AT+CMGS=154\r", "AT+CMGS=154\r", "AT+CMGS=154\r"}));
    EXPECT_EQ(endMessage(), "Error while talking to COM3.");
}

TEST_F(EngineFixture, ErrorThenOkInOneStepStaysAnError)
{
    startSend();
    link.reply("\r\nERROR\r\n");
    tick();                                  // repeat; the buffer is kept
    link.reply("\r\nOK\r\n");
    EXPECT_EQ(engine.state().replyCode, ReplyCode::Error);
    tick();
    tick();
    tick();
    EXPECT_EQ(endOutcome(), JobOutcome::LinkError);
    EXPECT_EQ(step(), 1);
}

TEST_F(EngineFixture, BreakDuringAStepShowsThatStepsText)
{
    const char *texts[] = {"Can't talk to COM3.", "Can't talk to COM3 driver.", "Can't set params.",
                           "Can't initiate sending.", "Can't send SMS."};
    const char *answers[] = {"\r\nOK\r\n", "\r\nOK\r\n", "\r\nOK\r\n", "\r\n> "};
    for (int stopAt = 0; stopAt < 5; ++stopAt) {
        finished.clear();
        link.written.clear();
        startSend();
        for (int s = 0; s < stopAt; ++s) {
            link.reply(answers[s]);
            tick();
        }
        link.reply("some text");
        engine.requestBreak();
        tick();
        ASSERT_EQ(finished.size(), 1) << stopAt;
        EXPECT_EQ(endOutcome(), JobOutcome::UserBreak);
        EXPECT_EQ(endMessage(), texts[stopAt]);
        EXPECT_EQ(link.written.size(), stopAt + 1) << "nothing is written after the break";
        EXPECT_FALSE(link.isOpen());
    }
}

TEST_F(EngineFixture, MessageServiceErrorEndsAtOnceWithItsExplanation)
{
    startSend();
    for (const char *a : {"\r\nOK\r\n", "\r\nOK\r\n", "\r\nOK\r\n", "\r\n> "}) {
        link.reply(a);
        tick();
    }
    link.reply("0791PDU\x1a\r\n+CMS ERROR: 38\r\n");
    tick();
    ASSERT_EQ(finished.size(), 1);
    EXPECT_EQ(endOutcome(), JobOutcome::MessageServiceError);
    EXPECT_EQ(endMessage(), "Can't send SMS.\r\nError: Network out of order (38).\r\n"
                            "Maybe wrong number or wrong SMS-Center.\r\n"
                            "Did you enter all numbers with intl. prefix?");
    EXPECT_EQ(link.written.size(), 5) << "no repeat after a message-service error";
    EXPECT_EQ(engine.state().retryCount, 0);
}

TEST(CmsExplanation, KnownCodesExplainAndOthersShowTheirDigits)
{
    EXPECT_EQ(explainCmsError("\r\n+CMS ERROR: 500\r\n"), "500");
    EXPECT_EQ(explainCmsError("\r\n+CMS ERROR: 322\r\n"),
              "Phone says that memory is full (322).\r\n"
              "Either it really is or you should try to get a firmware upgrade.");
    EXPECT_EQ(explainCmsError("+CMS ERROR: 21\r\n"),
              "Short message transfer rejected (21).\r\nThe SMS-Center does not allow sending.");
    EXPECT_EQ(explainCmsError("+CMS ERROR: 28\r\n").section("\r\n", 0, 0), "Unidentified subscriber (28).");
    // The echoed PDU in front of the error adds no digits; 3 is not 38.
    EXPECT_EQ(explainCmsError("0791942143658709F1\x1a\r\n+CMS ERROR: 3\r\n"), "3");
    // An error line whose end has not arrived yet keeps all of its digits.
    EXPECT_EQ(explainCmsError("\r\n+CMS ERROR: 500"), "500");
}

TEST_F(EngineFixture, PortThatDoesNotOpenEndsBeforeAnythingIsWritten)
{
    link.openSucceeds = false;
    queueSendSteps(2);
    EXPECT_FALSE(engine.startJob());
    ASSERT_EQ(finished.size(), 1);
    EXPECT_EQ(endOutcome(), JobOutcome::OpenFailed);
    EXPECT_EQ(endMessage(), "Can't talk to COM2.");
    EXPECT_EQ(beeps.size(), 1);
    EXPECT_TRUE(link.written.isEmpty());
    EXPECT_FALSE(ticks.isActive());
    EXPECT_FALSE(engine.isRunning());
}

#ifndef Q_OS_WIN
// COMn is only a name here: the message says which device and why.
TEST_F(EngineFixture, PortThatDoesNotOpenNamesTheDeviceAndTheReason)
{
    link.openSucceeds = false;
    link.openError = "Permission denied";
    queueSendSteps(3);
    engine.setLinkPort(3, "/dev/ttyUSB0");
    EXPECT_FALSE(engine.startJob());
    EXPECT_EQ(endMessage(), "Can't talk to COM3.\r\n(/dev/ttyUSB0: Permission denied)");
    EXPECT_EQ(engine.openError(), "Permission denied");
}
#endif

TEST_F(EngineFixture, WriteFailuresOnlyBeepAndUseUpTheRepeats)
{
    startSend();
    link.writeSucceeds = false;
    link.reply("\r\nOK\r\n");
    tick();                              // advances, but "ATZ" can't be written
    EXPECT_EQ(beeps.size(), 1);
    for (int i = 0; i < 4; ++i)
        tick();
    EXPECT_EQ(beeps.size(), 4);
    EXPECT_EQ(endMessage(), "Error while talking to COM3.");
}

TEST_F(EngineFixture, OneJobAtATime)
{
    startSend();
    queueSendSteps();
    EXPECT_FALSE(engine.startJob());
    EXPECT_EQ(link.openedDevices.size(), 1);
}

TEST(LinkErrors, TextsOfTheThreeKinds)
{
    EXPECT_EQ(AtEngine::linkErrorText(LinkError::UserBreak, 1), "User break.");
    EXPECT_EQ(AtEngine::linkErrorText(LinkError::TalkFailed, 12), "Error while talking to COM12.");
    EXPECT_EQ(AtEngine::linkErrorText(LinkError::PortNotConfigured, 1),
              "Please configure the Nokia GSM Serial Port\r\nin menu 'Edit/Options'");
}
