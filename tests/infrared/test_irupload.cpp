// The upload engine against the simulated phone in the same process: one
// whole upload per outcome, the frames as the phone heard them, the wrap of
// the sequence numbers, and the phone message of each program.
#include "infrared/irmessage.h"
#include "infrared/irupload.h"
#include "irtestsupport.h"

#include <gtest/gtest.h>

using namespace logo;

namespace {

const QList<int> kAllSteps{10, 20, 30, 40, 50, 60, 70, 80, 90, 95, 100};

LogoGrid diagonal()
{
    LogoGrid g;
    for (int c = 0; c < 72; ++c)
        g.setPixel(c, (c * 3) % 14, true);
    return g;
}

struct Upload {
    explicit Upload(const irsim::Options &o, int address = 0x42,
                    const QByteArray &msg = buildIrMessage(ProgramProfile::quillet(), diagonal()))
        : phone(o), line(&phone), message(msg)
    {
        IrUploadEngine::Options options;
        options.connectionAddress = [address] { return address; };
        IrUploadEngine engine(line, clock, options);
        engine.setProgress([this](int percent) { progress << percent; });
        result = engine.upload(message, 3, QStringLiteral("sim"));
    }
    irsim::IrPhoneCore phone;
    irtest::SimLine line;
    irtest::CountingClock clock;
    QByteArray message;
    QString result;
    QList<int> progress;
};

// The frames in what the engine wrote, as the decoder reads them back.
QList<QByteArray> framesWritten(const QByteArray &written)
{
    QList<QByteArray> frames;
    SirDecoder d;
    for (const char c : written)
        if (d.feed(quint8(c)) == SirDecoder::Event::Frame)
            frames << d.frame().toByteArray();
    return frames;
}

irsim::Options opts(std::function<void(irsim::Options &)> change)
{
    irsim::Options o;
    change(o);
    return o;
}

} // namespace

TEST(IrUpload, WholeUploadsEndAsThePhoneLetsThem)
{
    const struct {
        const char *name;
        irsim::Options phone;
        int address;
        QString result;
        QList<int> progress;
    } cases[] = {
        {"6110", {}, 0x42, "", kAllSteps},
        {"connection address 0x7C (escaped both ways)", {}, 0x7C, "", kAllSteps},
        {"connection address 0xC0 (escaped both ways)", {}, 0xC0, "", kAllSteps},
        {"damaged XID answer, a good one in a later slot",
         opts([](auto &o) { o.answerSlots = {0, 3}; o.corrupt = {1}; }), 0x42, "", kAllSteps},
        {"damaged answer while connected is sent again", opts([](auto &o) { o.corrupt = {5}; }), 0x42, "",
         kAllSteps},
        {"8810", opts([](auto &o) { o.model = 8810; }), 0x42, "Nokia 8810 not supported yet.", {10, 20}},
        {"9110", opts([](auto &o) { o.model = 9110; }), 0x42, "Nokia 9110 not supported yet.", {10, 20}},
        {"no phone", opts([](auto &o) { o.silentAfter = 0; }), 0x42, "Can't talk to phone.", {10}},
        {"falls silent after the data connection request", opts([](auto &o) { o.silentAfter = 6; }), 0x42,
         "Can't talk to phone.", {10, 20, 30, 40, 50, 60}},
        {"lost answer", opts([](auto &o) { o.drop = {4}; }), 0x42, "Can't talk to phone.", {10, 20, 30}},
        {"UA without parameters to the SNRM is no success", opts([](auto &o) { o.bareUa = true; }), 0x42,
         "Can't talk to phone.", {10, 20}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Upload u(c.phone, c.address);
        EXPECT_EQ(u.result, c.result);
        EXPECT_EQ(u.progress, c.progress);
        EXPECT_FALSE(u.line.opened) << "closed at the end";
        if (c.result.isEmpty()) {
            EXPECT_EQ(u.phone.messages(), QList<QByteArray>{u.message});
            EXPECT_EQ(u.line.speeds, (std::vector<qint32>{115200, 9600}));
        } else {
            EXPECT_TRUE(u.phone.messages().isEmpty());
        }
    }
}

TEST(IrUpload, FramesAsThePhoneHeardThem)
{
    const Upload u(opts([](auto &o) { o.answerSlots = {0, 3}; o.corrupt = {1}; }), 0x7C);
    ASSERT_EQ(u.result, "");
    const auto &heard = u.phone.heard();
    ASSERT_EQ(heard.size(), 7u + 2 + 12);
    for (size_t i = 0; i < heard.size(); ++i)
        EXPECT_TRUE(heard[i].good) << i;

    // Discovery and connection request at 9600, eleven unescaped start flags
    // each, also after the RR that answered the damaged XID answer (one flag).
    const QByteArray flags11(11, char(0xC0));
    for (const size_t i : {0, 1, 2, 3, 4, 5, 6, 8}) {
        EXPECT_EQ(heard[i].speed, 9600);
        EXPECT_TRUE(heard[i].raw.startsWith(flags11 + char(0xFF))) << i;
    }
    EXPECT_EQ(heard[0].content, QByteArray::fromHex("FF3F0100004C1BFFFFFFFF010000"));
    EXPECT_EQ(heard[5].content, QByteArray::fromHex("FF3F0100004C1BFFFFFFFF010500"));
    EXPECT_TRUE(heard[6].raw.endsWith(QByteArray::fromHex("F66AC1")));
    EXPECT_TRUE(heard[7].raw.startsWith(QByteArray::fromHex("C00111")));
    EXPECT_EQ(heard[8].content, QByteArray::fromHex("FF930000" "4C1B2A3B4C5D7C01013E82010783010184010185"
                                                    "01FC8601030801FF"));

    // The exchange at 115200: one start flag, address 0x7D escaped, the
    // scripted control octets, the message in segments of 60, 60 and 27.
    QByteArray controls;
    for (size_t i = 9; i < heard.size(); ++i) {
        EXPECT_EQ(heard[i].speed, 115200);
        EXPECT_TRUE(heard[i].raw.startsWith(QByteArray::fromHex("C07D5D"))) << i;
        controls += heard[i].content[1];
    }
    EXPECT_EQ(controls.toHex().toUpper(), "111110325476787A71717153");
    EXPECT_EQ(heard[11].content.mid(2), QByteArray::fromHex("80030100"));
    EXPECT_EQ(heard[12].content.mid(2), QByteArray::fromHex("00038405") + "IrLPT" + char(18) + "IrDA:IrLMP:LsapSel");
    EXPECT_EQ(heard[13].content.mid(2), QByteArray::fromHex("82020100"));
    EXPECT_EQ(heard[14].content.mid(2), QByteArray::fromHex("020280") + u.message.left(60));
    EXPECT_EQ(heard[15].content.mid(2), QByteArray::fromHex("020280") + u.message.mid(60, 60));
    EXPECT_EQ(heard[16].content.mid(2), QByteArray::fromHex("020200") + u.message.mid(120));
    EXPECT_EQ(u.message.mid(120).size(), 27);
}

TEST(IrUpload, SequenceNumbersWrapFromSevenToZero)
{
    // A phone that keeps asking for the first step (Vs), or keeps sending
    // information frames in sequence (Vr), answered from a script.
    const QByteArray xid = irsim::IrPhoneCore::encode(QByteArray::fromHex("FEBF012A3B4C5D00004C1B010200810400") +
                                                      "Nokia 6110");
    const QByteArray ua = irsim::IrPhoneCore::encode(QByteArray::fromHex("4273" "2A3B4C5D00004C1B" "01013E820101"));
    const auto run = [&](const QByteArray &phoneFrames) {
        irtest::SimLine line;
        line.inbox = xid + ua + phoneFrames;
        irtest::CountingClock clock;
        IrUploadEngine::Options o;
        o.connectionAddress = [] { return 0x42; };
        IrUploadEngine(line, clock, o).upload(QByteArray(147, '\0'), 1, QString());
        QList<int> controls;
        for (const QByteArray &f : framesWritten(line.written).mid(8))   // after discovery and SNRM
            controls << quint8(f[1]);
        return controls;
    };
    QByteArray polls, information;
    for (int i = 0; i < 10; ++i)
        polls += irsim::IrPhoneCore::encode(QByteArray::fromHex("4211"));
    for (int ns = 0; ns < 9; ++ns)
        information += irsim::IrPhoneCore::encode(QByteArray::fromHex("42") + char(0x10 | ((ns % 8) << 1)));

    QList<int> vs;
    for (const int c : run(polls).mid(2))          // the RR after the UA and at step 0
        vs << ((c >> 1) & 7);
    EXPECT_EQ(vs, (QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 0}));
    QList<int> nr;
    for (const int c : run(information).mid(1))   // the RR after the UA
        nr << (c >> 5);
    EXPECT_EQ(nr, (QList<int>{1, 2, 3, 4, 5, 6, 7, 0, 1}));
}

TEST(IrMessage, EachProgramsMessage)
{
    const LogoGrid g = diagonal();
    const QByteArray q = buildIrMessage(ProgramProfile::quillet(), g);
    ASSERT_EQ(q.size(), 147);
    EXPECT_EQ(q.left(19).toHex().toUpper(), "147F0012008D0C0C0605041583000000480E01");
    EXPECT_EQ(q.mid(19, 126), g.grid2octets());
    EXPECT_TRUE(q.endsWith(QByteArray::fromHex("DBA5")));

    const QByteArray b = buildIrMessage(ProgramProfile::brisvane(), g, "262", "01");
    ASSERT_EQ(b.size(), 150);
    EXPECT_EQ(b.left(22).toHex().toUpper(), "147F001200900C0C060504158215826" "2F21000480E01");
    EXPECT_EQ(b.mid(22, 126), g.grid2octets());

    const struct {
        const char *mcc, *mnc, *octets;
    } codes[] = {{"262", "01", "62F210"}, {"262", "1", "62F210"}, {"50", "5", "50F050"}, {"310", "260", "13F062"}};
    for (const auto &c : codes)
        EXPECT_EQ(irNetworkCode(c.mcc, c.mnc).toHex().toUpper(), QByteArray(c.octets)) << c.mcc << "/" << c.mnc;

    // A smaller picture sits at the top left of the 72 x 14 the header announces.
    LogoGrid small;
    small.setSize(64, 10);
    small.setPixel(63, 9, true);
    QByteArray expected(126, '\0');
    expected[9 * 9 + 7] = 0x01;
    EXPECT_EQ(irBitmap(small), expected);
}

TEST(IrUpload, ALineThatNeverFallsSilentEndsTheUpload)
{
    // Octets without end: text with no frame in it, random octets whose
    // frames fail their check, and good frames that the script never moves on.
    const QByteArray notAnswer = irsim::IrPhoneCore::encode(QByteArray::fromHex("FF05"));   // RNR: ignored
    const struct {
        const char *name;
        std::function<QByteArray(quint32 &)> more;
        bool byFrameCount;
    } cases[] = {
        {"GPS text", [](quint32 &s) { return irsim::noiseOctets(irsim::Noise::Text, 64, s); }, false},
        {"random octets", [](quint32 &s) { return irsim::noiseOctets(irsim::Noise::Random, 64, s); }, false},
        {"good frames that lead nowhere", [&](quint32 &) { return notAnswer; }, true},
    };
    for (const IrDelays &delays : {IrDelays{}, IrDelays{0, 0, 0}}) {
        for (const auto &c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << ", delay 3 = " << delays.fast);
            struct StreamingLine : irtest::SimLine {
                std::function<QByteArray(quint32 &)> more;
                quint32 state = 0;
                irtest::CountingClock *clock = nullptr;
                int readOctet(quint8 &octet) override
                {
                    if (inbox.isEmpty())
                        inbox = more(state);
                    // Octets arrive no faster than the line carries them.
                    clock->total += 1;
                    return SimLine::readOctet(octet);
                }
            } line;
            irtest::CountingClock clock;
            line.more = c.more;
            line.clock = &clock;
            IrUploadEngine::Options o;
            o.delays = delays;
            IrUploadEngine engine(line, clock, o);
            EXPECT_EQ(engine.upload(QByteArray(147, '\0'), 1, QString()), "Can't talk to phone.");
            EXPECT_TRUE(engine.gaveUp());
            EXPECT_FALSE(line.opened);
            if (c.byFrameCount) {
                EXPECT_EQ(engine.stats().octetsRead, (IrUploadEngine::FrameLimit + 1) * notAnswer.size());
            } else {
                // On the clock: the bound, from the end of discovery, and at
                // most a few waits later.
                const qint64 discovery = 7 * delays.slowFrame;
                EXPECT_GT(clock.total - discovery, IrUploadEngine::noFrameLimitMs(delays));
                EXPECT_LE(clock.total - discovery, IrUploadEngine::noFrameLimitMs(delays) + delays.betweenBursts +
                                                        delays.slowFrame + 2 * delays.fast + 2);
            }
        }
    }
    // A whole exchange stays far inside the bounds.
    const Upload u({});
    EXPECT_EQ(u.result, "");
    EXPECT_LT(u.phone.heard().size(), size_t(IrUploadEngine::FrameLimit) / 4);
}
