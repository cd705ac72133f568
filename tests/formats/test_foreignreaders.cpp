// The foreign logo readers on files built here byte by byte: every accepted
// layout, every refusal, and every file cut short.
#include "graphic/foreignformats.h"

#include <gtest/gtest.h>
#include <functional>

using namespace logo;

namespace {

// The reference picture: a scatter with both far corners set.
bool on(int c, int r)
{
    return (c * 5 + r * 3) % 7 == 0 || (c == 71 && r == 13) || (c == 71 && r == 0);
}

LogoGrid reference()
{
    LogoGrid g;
    for (int r = 0; r < 14; ++r)
        for (int c = 0; c < 72; ++c)
            g.setPixel(c, r, on(c, r));
    return g;
}

// Rows of `width` pixels packed most significant bit first, each row padded to
// whole octets; pixels outside 72 x 14 come from `outside`.
QByteArray packed(int width, int height, bool outside, bool invert = false)
{
    QByteArray out;
    const int rowOctets = (width + 7) / 8;
    for (int r = 0; r < height; ++r)
        for (int k = 0; k < rowOctets; ++k) {
            int v = 0;
            for (int b = 0; b < 8; ++b) {
                const int c = 8 * k + b;
                const bool px = (c < 72 && r < 14) ? on(c, r) : (c < width && outside);
                if (px != invert && c < width)
                    v |= 0x80 >> b;
            }
            out.append(char(v));
        }
    return out;
}

QByteArray nlm(int version, int type, int w, int h, const QByteArray &bits)
{
    return QByteArray("NLM ") + char(version) + char(type) + char(0) + char(w) + char(h) + char(0) + bits;
}

QByteArray nsl(const char *second = "NSLD")
{
    QByteArray b = QByteArray("FORM") + QByteArray(60, '\x11') + second + QByteArray(2, '\0');
    for (int band = 0; band < 6; ++band)
        for (int c = 0; c < 84; ++c) {
            int v = 0;
            for (int bit = 0; bit < 8; ++bit) {
                const int r = band * 8 + bit;
                if ((c < 72 && r < 14) ? on(c, r) : true) // everything outside is set noise
                    v |= 1 << bit;
            }
            b.append(char(v));
        }
    return b;
}

const QByteArray kNglMarks("\x20\x07\x20\x06\x20\x05\x20\x04\x20\x03\x20\x07\x20\x06\x06\x3E", 16);

QByteArray ngl(bool lowerCase = false)
{
    QByteArray hex = packed(72, 14, false).toHex();
    return QByteArray("NGL ") + kNglMarks + (lowerCase ? hex.toLower() : hex.toUpper());
}

QByteArray otb(int info, int w = 72, int h = 14, int depth = 1)
{
    return QByteArray(1, char(info)) + char(w) + char(h) + char(depth) + packed(72, 14, false);
}

QByteArray wbmp(int w, int h, int type = 0, int header = 0)
{
    // WBMP marks dark pixels with 0; everything beyond 72 x 14 is dark noise.
    return QByteArray(1, char(type)) + char(header) + char(w) + char(h) + packed(w, h, true, true);
}

struct Sample {
    const char *name;
    ForeignFormat format;
    QByteArray bytes;
    int minimumLength; // shorter prefixes must be refused
};

std::vector<Sample> accepted()
{
    return {
        {"NLM type 0", ForeignFormat::NLM, nlm(1, 0, 72, 14, packed(72, 14, true)), 136},
        {"NLM type 1", ForeignFormat::NLM, nlm(1, 1, 72, 14, packed(72, 14, true)), 136},
        // 84 x 48 rows of 11 octets; only 504 octets are promised, the corner needs fewer.
        {"NLM type 2", ForeignFormat::NLM, nlm(1, 2, 84, 48, packed(84, 48, true).left(504)), 514},
        {"NLM type 3", ForeignFormat::NLM, nlm(1, 3, 72, 28, packed(72, 28, true)), 262},
        {"NSL", ForeignFormat::NSL, nsl(), 574},
        {"NGL", ForeignFormat::NGL, ngl(), 272},
        {"NGL lower-case hex", ForeignFormat::NGL, ngl(true), 272},
        {"OTB info 0", ForeignFormat::OTB, otb(0), 130},
        {"OTB info 1", ForeignFormat::OTB, otb(1), 130},
        {"WBMP 72 x 14", ForeignFormat::WBMP, wbmp(72, 14), 130},
        {"WBMP 80 x 20 cropped", ForeignFormat::WBMP, wbmp(80, 20), 204},
    };
}

LogoGrid filledGrid()
{
    LogoGrid g;
    g.setSize(16, 8);
    for (int r = 0; r < 14; ++r)
        for (int c = 0; c < 72; ++c)
            g.setCell(c, r, 1);
    return g;
}

} // namespace

TEST(ForeignReaders, AcceptedLayoutsGiveTheReferencePicture)
{
    for (const Sample &s : accepted()) {
        LogoGrid g = filledGrid();
        bool wrongVersion = true;
        ASSERT_TRUE(readForeign(s.format, s.bytes, g, &wrongVersion)) << s.name;
        EXPECT_FALSE(wrongVersion) << s.name;
        EXPECT_EQ(g.width(), 16) << s.name; // foreign reads keep the dimensions
        g.setSize(72, 14);
        EXPECT_EQ(g.grid2bits(), reference().grid2bits()) << s.name;
        // Trailing octets are no reason to refuse.
        LogoGrid longer;
        EXPECT_TRUE(readForeign(s.format, s.bytes + QByteArray(40, '\x55'), longer)) << s.name;
    }
}

TEST(ForeignReaders, EveryTruncationIsRefusedAndChangesNothing)
{
    for (const Sample &s : accepted()) {
        ASSERT_LE(s.minimumLength, s.bytes.size()) << s.name;
        LogoGrid g;
        EXPECT_TRUE(readForeign(s.format, s.bytes.left(s.minimumLength), g)) << s.name;
        for (int n = 0; n < s.minimumLength; ++n) {
            LogoGrid cut = filledGrid();
            EXPECT_FALSE(readForeign(s.format, s.bytes.left(n), cut)) << s.name << " cut to " << n;
            EXPECT_EQ(cut, filledGrid()) << s.name << " cut to " << n;
        }
    }
}

TEST(ForeignReaders, WrongMarksSizesAndVersionsAreRefused)
{
    QByteArray badNglMark = ngl();
    badNglMark[19] = '\x3F';
    const struct { const char *name; ForeignFormat f; QByteArray bytes; bool wrongVersion; } cases[] = {
        {"NLM mark without space", ForeignFormat::NLM, "NLMX" + nlm(1, 0, 72, 14, packed(72, 14, false)).mid(4), false},
        {"NLM version 2", ForeignFormat::NLM, nlm(2, 0, 72, 14, packed(72, 14, false)), true},
        {"NLM version 0", ForeignFormat::NLM, nlm(0, 0, 72, 14, packed(72, 14, false)), true},
        {"NLM type 4", ForeignFormat::NLM, nlm(1, 4, 72, 14, packed(72, 14, false)), false},
        {"NLM type 0 at 84 x 48", ForeignFormat::NLM, nlm(1, 0, 84, 48, packed(84, 48, false)), false},
        {"NLM type 2 at 72 x 14", ForeignFormat::NLM, nlm(1, 2, 72, 14, packed(84, 48, false)), false},
        {"NLM type 3 at 72 x 14", ForeignFormat::NLM, nlm(1, 3, 72, 14, packed(72, 28, false)), false},
        {"NSL first mark", ForeignFormat::NSL, "MROF" + nsl().mid(4), false},
        {"NSL second mark", ForeignFormat::NSL, nsl("NSLX"), false},
        {"NGL mark", ForeignFormat::NGL, "NGL_" + ngl().mid(4), false},
        {"NGL mark octets", ForeignFormat::NGL, badNglMark, false},
        {"OTB info 2", ForeignFormat::OTB, otb(2), false},
        {"OTB width 71", ForeignFormat::OTB, otb(0, 71), false},
        {"OTB height 13", ForeignFormat::OTB, otb(0, 72, 13), false},
        {"OTB depth 2", ForeignFormat::OTB, otb(0, 72, 14, 2), false},
        {"WBMP width 71", ForeignFormat::WBMP, wbmp(71, 14), false},
        {"WBMP type 1", ForeignFormat::WBMP, wbmp(72, 14, 1), false},
        {"WBMP header 1", ForeignFormat::WBMP, wbmp(72, 14, 0, 1), false},
    };
    for (const auto &c : cases) {
        LogoGrid g = filledGrid();
        bool wrongVersion = !c.wrongVersion;
        EXPECT_FALSE(readForeign(c.f, c.bytes, g, &wrongVersion)) << c.name;
        EXPECT_EQ(wrongVersion, c.wrongVersion) << c.name;
        EXPECT_EQ(g, filledGrid()) << c.name;
    }
}

TEST(ForeignReaders, SmallWbmpFillsOnlyItsCorner)
{
    LogoGrid g = filledGrid();
    g.setSize(72, 14);
    ASSERT_TRUE(readWBMP(wbmp(16, 8), g));
    for (int r = 0; r < 14; ++r)
        for (int c = 0; c < 72; ++c)
            ASSERT_EQ(g.isSet(c, r), c < 16 && r < 8 && on(c, r)) << c << "," << r;
}

TEST(ForeignDispatch, ChoosesTheReaderByTheFileNameAnywhereInOrder)
{
    const struct { const char *path; ForeignFormat f; } cases[] = {
        {"LOGO.NLM.NGG", ForeignFormat::NLM},   {"c:/a/b.nsl", ForeignFormat::NSL},
        {"x.Ngl", ForeignFormat::NGL},          {"C:\\A\\B.OTB", ForeignFormat::OTB},
        {"pic.wbmp", ForeignFormat::WBMP},      {"pic.i61", ForeignFormat::I61},
        {"a.otb.nlm", ForeignFormat::NLM},      {"dir.otb/logo.ngg", ForeignFormat::None},
        {"C:\\logos.nlm\\b.otb", ForeignFormat::OTB},
        {"x.wbm", ForeignFormat::None},         {"nlm.ngg", ForeignFormat::None},
        {"logo.nol", ForeignFormat::None},      {"a.i61.wbmp", ForeignFormat::WBMP},
    };
    for (const auto &c : cases)
        EXPECT_EQ(foreignFormatOf(QString::fromLatin1(c.path)), c.f) << c.path;
}
