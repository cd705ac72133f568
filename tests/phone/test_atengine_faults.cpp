// The AT engine driven directly: faults it once had, and the quick link.
#include "enginefixture.h"

using namespace logo;
using phonetest::EngineFixture;

// ------------------------------------------------------------ mended faults

// A phone that doesn't echo and hasn't answered the new command by the next
// tick: the previous step's "OK" must not pass for the new command.
TEST_F(EngineFixture, NewStepDoesNotInheritThePreviousVerdict)
{
    startSend();
    link.reply("\r\nOK\r\n");
    tick();
    EXPECT_EQ(step(), 2);
    EXPECT_EQ(engine.state().replyCode, ReplyCode::Nothing);
    tick();                                   // ATZ not answered yet
    EXPECT_EQ(step(), 2) << "advanced on the old OK";
    EXPECT_EQ(link.written.last(), QByteArray("ATZ\r"));
    EXPECT_EQ(engine.state().retryCount, 1);
    link.reply("\r\nOK\r\n");
    tick();
    EXPECT_EQ(step(), 3);
}

// A repeat of the same step keeps its buffer and its verdict.
TEST_F(EngineFixture, RepeatOfTheSameStepKeepsTheBuffer)
{
    startSend();
    link.reply("\r\nER");
    EXPECT_EQ(engine.state().replyCode, ReplyCode::Data);
    tick();                  // data: waits
    link.reply("ROR\r\n");   // the error completes across two arrivals
    EXPECT_EQ(engine.state().replyCode, ReplyCode::Error);
    tick();                  // repeat
    EXPECT_EQ(link.written, (QByteArrayList{"AT\r", "AT\r"}));
    EXPECT_EQ(engine.state().replyBuffer, QByteArray("\r\nERROR\r\n"));
    EXPECT_EQ(engine.state().replyCode, ReplyCode::Error);
}

TEST_F(EngineFixture, LineNoiseNeitherHidesAnswersNorKeepsTheJobWaiting)
{
    startSend();
    // Noise around and inside the answer: still "OK".
    link.reply(QByteArray("\0\xff\r\n", 4));
    link.reply(QByteArray("O\0K\r\n", 5));
    EXPECT_EQ(engine.state().replyCode, ReplyCode::Ok);
    tick();
    EXPECT_EQ(step(), 2);
    // Nothing but noise is no answer: the command is repeated, the repeats
    // run out, the job ends instead of waiting for ever.
    for (int i = 0; i < 4; ++i) {
        link.reply(QByteArray("\0\x01\x1b\x7f\xff", 5));
        EXPECT_NE(engine.state().replyCode, ReplyCode::Data);
        tick();
    }
    EXPECT_EQ(endOutcome(), JobOutcome::LinkError);
    EXPECT_FALSE(engine.state().replyBuffer.contains('\0'));
    EXPECT_FALSE(engine.state().replyBuffer.contains('\xff'));
}

// Noise between the echo and the answer does not turn a reply under way into
// "nothing new": the job keeps waiting without a repeat.
TEST_F(EngineFixture, NoiseDuringAReplyKeepsTheJobWaiting)
{
    startSend();
    link.reply("AT\r");
    EXPECT_EQ(engine.state().replyCode, ReplyCode::Data);
    link.reply(QByteArray("\0\x01\xff", 3));
    EXPECT_EQ(engine.state().replyCode, ReplyCode::Data);
    tick();
    EXPECT_EQ(link.written.size(), 1) << "repeated on noise";
    EXPECT_EQ(engine.state().retryCount, 0);
    link.reply("\r\nOK\r\n");
    tick();
    EXPECT_EQ(step(), 2);
}

// ------------------------------------------------------------ the quick link

TEST_F(EngineFixture, QuickLinkAdvancesOnTheAwaitedResultWithoutATick)
{
    engine.setQuickLink(true);
    startSend();
    link.reply("AT\r");                       // the echo is no result yet
    EXPECT_EQ(link.written.size(), 1);
    for (const char *answer : {"\r\nOK\r\n", "\r\nOK\r\n", "\r\nOK\r\n", "\r\n> "})
        link.reply(answer);
    EXPECT_EQ(link.written,
              (QByteArrayList{"AT\r", "ATZ\r", "AT+CMGF=0\r", "AT+CMGS=154\r", "0791PDU\x1a"}));
    EXPECT_TRUE(ticks.isActive()) << "the tick still times the step";
    link.reply("\r\n+CMGS: 12\r\n\r\nOK\r\n");
    ASSERT_EQ(finished.size(), 1);
    EXPECT_EQ(endOutcome(), JobOutcome::Completed);
    EXPECT_FALSE(link.isOpen());
    EXPECT_FALSE(ticks.isActive());
}

// Anything but the awaited result waits for the tick, which repeats and
// ends the job as without the quick link.
TEST_F(EngineFixture, QuickLinkLeavesFailuresToTheTick)
{
    engine.setQuickLink(true);
    startSend();
    link.reply("\r\nERROR\r\n");
    EXPECT_EQ(link.written.size(), 1);
    for (int i = 0; i < 4; ++i)
        tick();
    EXPECT_EQ(link.written, QByteArrayList(4, "AT\r"));
    EXPECT_EQ(endOutcome(), JobOutcome::LinkError);
    EXPECT_EQ(endMessage(), "Error while talking to COM3.");
}
