// The SIR octet layer: the check sequence, the escapes of a written frame and
// the decoder's edge cases. The expected octets were worked out independently
// of this code.
#include "infrared/sirframing.h"
#include "irtestsupport.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace logo;

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

// Everything the decoder makes of a stream: "F:<frame hex>" per good frame,
// "D" per damaged one.
QStringList decodeAll(SirDecoder &d, const QByteArray &stream)
{
    QStringList events;
    for (const char c : stream) {
        switch (d.feed(quint8(c))) {
        case SirDecoder::Event::Frame:
            events << "F:" + QString::fromLatin1(d.frame().toByteArray().toHex().toUpper());
            break;
        case SirDecoder::Event::Damaged:
            events << "D";
            break;
        case SirDecoder::Event::None:
            break;
        }
    }
    return events;
}

} // namespace

TEST(SirFraming, CheckSequenceOfTheCheckDigitsAndOfAWholeFrame)
{
    EXPECT_EQ(sirFcs("123456789"), 0x906E);
    const QByteArray frame = QByteArray("123456789") + char(0x6E) + char(0x90);
    EXPECT_TRUE(sirCheckPasses(frame));
    for (qsizetype i = 0; i < frame.size(); ++i) {
        QByteArray damaged = frame;
        damaged[i] = char(damaged[i] ^ 0x04);
        EXPECT_FALSE(sirCheckPasses(damaged)) << i;
    }
}

TEST(SirFraming, WrittenFramesEscapeEverythingButTheLeadingFlags)
{
    const struct {
        const char *content;
        int flags;
        const char *raw;
    } cases[] = {
        // discovery slot 0: ten additional start flags, never escaped
        {"FF3F0100004C1BFFFFFFFF010000", 11, "C0C0C0C0C0C0C0C0C0C0C0FF3F0100004C1BFFFFFFFF010000DA9CC1"},
        {"7D11", 1, "C07D5D11F34EC1"},          // address 0x7D (connection 0x7C)
        {"C153", 1, "C07DE1532BBCC1"},          // address 0xC1 (connection 0xC0)
        {"01C1", 1, "C0017DE11A7DE1C1"},        // control and check octet 0xC1
        {"01D0", 1, "C001D0127DE0C1"},          // check octet 0xC0
        {"01E8", 1, "C001E8D97D5DC1"},          // check octet 0x7D
    };
    for (const auto &c : cases)
        EXPECT_EQ(encodeSirFrame(hex(c.content), c.flags).toHex().toUpper(), QByteArray(c.raw)) << c.content;

    // The final discovery frame's check octets are the constant F6 6A.
    const QByteArray finalXid = hex("FF3F0100004C1BFFFFFFFF01FF00810100") + "Nokia 6100" + '\0';
    EXPECT_TRUE(encodeSirFrame(finalXid, 11).endsWith(hex("F66AC1")));
}

TEST(SirFraming, DecoderEdgeCases)
{
    const struct {
        const char *name;
        QByteArray stream;
        QStringList events;
    } cases[] = {
        {"escaped address octet", hex("C07D5D11F34EC1"), {"F:7D11F34E"}},
        {"escaped address 0xC1", hex("C07DE1532BBCC1"), {"F:C1532BBC"}},
        {"7D E1 inside is data, not the end", hex("C0017DE11A7DE1C1"), {"F:01C11AC1"}},
        {"octets before a start flag dropped, many start flags",
         hex("1122C1C0C0C0C07D5D11F34EC1"), {"F:7D11F34E"}},
        {"bad check dropped, next frame read", hex("C07D5D11F34FC1C07DE1532BBCC1"), {"D", "F:C1532BBC"}},
        {"empty and too short frames", hex("C0C1C01153C1"), {"D"}},
        {"longer than the buffer: dropped, next frame read",
         hex("C0") + QByteArray(300, 'U') + hex("C1C07D5D11F34EC1"), {"F:7D11F34E"}},
    };
    for (const auto &c : cases) {
        SirDecoder d;
        EXPECT_EQ(decodeAll(d, c.stream), c.events) << c.name;
    }

    // A frame that fills the buffer exactly, check octets included, is whole.
    SirDecoder d;
    ASSERT_EQ(decodeAll(d, encodeSirFrame(QByteArray(254, 'U'), 1)).size(), 1);
    EXPECT_EQ(d.frame().size(), SirDecoder::Capacity);
}
