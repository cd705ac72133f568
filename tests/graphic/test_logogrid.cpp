// The picture grid's conversions and the path helpers.
#include "graphic/editing.h"
#include "graphic/logofile.h"
#include "graphic/logogrid.h"
#include "graphic/pathutil.h"

#include <gtest/gtest.h>

using namespace logo;

TEST(LogoGrid, EmptyPictureConversions)
{
    LogoGrid g;
    EXPECT_EQ(g.grid2bits(), QString(1008, QLatin1Char('0')));
    EXPECT_EQ(g.grid2hex(), QString(252, QLatin1Char('0')));
    EXPECT_TRUE(g.isEmpty());
}

TEST(LogoGrid, CornerPixelsLandInFirstAndLastOctet)
{
    LogoGrid g;
    g.setPixel(0, 0, true);
    EXPECT_EQ(g.grid2hex(), QStringLiteral("80") + QString(250, QLatin1Char('0')));
    g.clear();
    g.setPixel(71, 13, true);
    EXPECT_EQ(g.grid2hex(), QString(250, QLatin1Char('0')) + QStringLiteral("01"));
    EXPECT_FALSE(g.isEmpty());
}

TEST(LogoGrid, OctetCutForOddWidths)
{
    LogoGrid g;
    g.setSize(12, 2);
    EXPECT_EQ(octetsPerRow(12), 1);   // 0.5 rounds to 0: columns 8..15 dropped
    EXPECT_EQ(octetsPerRow(20), 3);   // 1.5 rounds to 2: third octet reads columns 16..23
    EXPECT_EQ(octetsPerRow(72), 9);
    EXPECT_EQ(octetsPerRow(16), 2);
    g.setPixel(11, 0, true);
    EXPECT_EQ(g.grid2hex(), QStringLiteral("0000"));
    g.setSize(20, 1);
    g.setCell(22, 0, 1); // outside the width, inside the plane: still read by the third octet
    EXPECT_EQ(g.grid2hex(), QStringLiteral("001002"));
}

TEST(LogoGrid, BitsRoundTripAndShortText)
{
    LogoGrid g;
    QString bits;
    for (int i = 0; i < 1008; ++i)
        bits += (i * 7 % 3 == 0) ? QLatin1Char('1') : QLatin1Char('0');
    g.bits2grid(bits);
    EXPECT_EQ(g.grid2bits(), bits);

    g.bits2grid(QStringLiteral("1x2 1"));   // only "1" sets; the rest of the picture clears
    EXPECT_TRUE(g.isSet(0, 0));
    EXPECT_FALSE(g.isSet(1, 0));
    EXPECT_FALSE(g.isSet(2, 0));
    EXPECT_TRUE(g.isSet(4, 0));
    EXPECT_EQ(g.setCount(), 2);
}

TEST(LogoGrid, SizeIsAbsoluteAndLimited)
{
    LogoGrid g;
    g.setSize(-20, 100);
    EXPECT_EQ(g.width(), 20);
    EXPECT_EQ(g.height(), 14);
    g.setSize(100, -3);
    EXPECT_EQ(g.width(), 72);
    EXPECT_EQ(g.height(), 3);
}

TEST(HexHelpers, HexByteHex2decDec2bits)
{
    EXPECT_EQ(hexByte(10), QStringLiteral("0A"));
    EXPECT_EQ(hexByte(200), QStringLiteral("C8"));
    EXPECT_EQ(hexByte(0), QStringLiteral("00"));
    EXPECT_EQ(hex2dec(QStringLiteral("ff")), 255);
    EXPECT_EQ(hex2dec(QStringLiteral("0G")), 0);
    EXPECT_EQ(hex2dec(QStringLiteral("A")), 0xAA);   // a single character counts twice
    EXPECT_EQ(dec2bits(5), QStringLiteral("00000101"));
    EXPECT_EQ(dec2bits(255), QStringLiteral("11111111"));
    EXPECT_EQ(dec2bits(-4), QStringLiteral("00000000"));
    bool overflow = false;
    EXPECT_EQ(dec2bits(300, &overflow), QStringLiteral("11111111"));
    EXPECT_TRUE(overflow);
    EXPECT_EQ(bytes2bits(QByteArray("\x80\x01", 2)), QStringLiteral("1000000000000001"));
    EXPECT_EQ(hex2bits(QStringLiteral("F00F")), QStringLiteral("1111000000001111"));
}

TEST(PathHelpers, ShortenAndSplit)
{
    const QString fifty = QStringLiteral("C:\\") + QString(43, QLatin1Char('x')) + QStringLiteral("\\a.ngg");
    ASSERT_EQ(fifty.size(), 52);
    const QString p50 = fifty.mid(2);
    ASSERT_EQ(p50.size(), 50);
    const QString s = shortenPath(p50, 38);
    EXPECT_EQ(s.size(), 41);
    EXPECT_EQ(s, p50.left(3) + QStringLiteral("...") + p50.right(35));
    EXPECT_EQ(shortenPath(QStringLiteral("Untitled"), 38), QStringLiteral("Untitled"));

    EXPECT_EQ(fileTitle(QStringLiteral("C:\\P\\photo.jpg")), QStringLiteral("photo.jpg"));
    EXPECT_EQ(fileTitle(QStringLiteral("/home/u/photo.jpg")), QStringLiteral("photo.jpg"));
    EXPECT_EQ(fileTitle(QStringLiteral("photo.jpg")), QString());
    EXPECT_EQ(folderOf(QStringLiteral("C:\\P\\photo.jpg")), QStringLiteral("C:\\P\\"));
    EXPECT_EQ(folderOf(QStringLiteral("/tmp/x/a.ngg")), QStringLiteral("/tmp/x/"));
    EXPECT_EQ(stripExtension(QStringLiteral("C:\\P\\photo.jpg")), QStringLiteral("C:\\P\\photo"));
    // Names only: a folder's dots are no extension, nor do they choose a format.
    EXPECT_EQ(stripExtension(QStringLiteral("/x/my.nol.d/picture")), QStringLiteral("/x/my.nol.d/picture"));
    EXPECT_EQ(stripExtension(QStringLiteral("C:\\a.b\\logo.nlm.ngg")), QStringLiteral("C:\\a.b\\logo.nlm"));
    EXPECT_EQ(fileNameOf(QStringLiteral("my.nol.d/b.ngg")), QStringLiteral("b.ngg"));
    EXPECT_EQ(fileNameOf(QStringLiteral("b.ngg")), QStringLiteral("b.ngg"));
    EXPECT_FALSE(isNolPath(QStringLiteral("/x/my.nol.d/b.ngg")));
    EXPECT_TRUE(isNolPath(QStringLiteral("/x/picture.NOL.bak")));
}

// ---------------------------------------------------------------- tools

static LogoGrid patterned()
{
    LogoGrid g;
    for (int r = 0; r < 14; ++r)
        for (int c = 0; c < 72; ++c)
            g.setPixel(c, r, (c * 3 + r * 5) % 7 == 0 || c == r);
    return g;
}

TEST(EditingTools, MovesWrapAround)
{
    LogoGrid g;
    g.setPixel(0, 0, true);
    LogoGrid up = g;
    moveUp(up);
    EXPECT_TRUE(up.isSet(0, 13));
    EXPECT_EQ(up.setCount(), 1);
    LogoGrid left = g;
    moveLeft(left);
    EXPECT_TRUE(left.isSet(71, 0));
    LogoGrid right = g;
    moveRight(right);
    EXPECT_TRUE(right.isSet(1, 0));
    LogoGrid down = g;
    moveDown(down);
    EXPECT_TRUE(down.isSet(0, 1));
}

TEST(EditingTools, FullCyclesAndDoubleFlipsRestore)
{
    const LogoGrid orig = patterned();
    LogoGrid g = orig;
    for (int i = 0; i < 72; ++i)
        moveLeft(g);
    EXPECT_EQ(g, orig);
    for (int i = 0; i < 14; ++i)
        moveUp(g);
    EXPECT_EQ(g, orig);
    moveRight(g);
    EXPECT_NE(g, orig);
    moveLeft(g);
    EXPECT_EQ(g, orig);
    flipHorizontal(g);
    EXPECT_NE(g, orig);
    flipHorizontal(g);
    EXPECT_EQ(g, orig);
    flipVertical(g);
    flipVertical(g);
    EXPECT_EQ(g, orig);
    invert(g);
    EXPECT_EQ(g.setCount(), 1008 - orig.setCount());
    invert(g);
    EXPECT_EQ(g, orig);
}

TEST(EditingTools, WorkInsideSmallDimensions)
{
    LogoGrid g;
    g.setSize(16, 8);
    g.setPixel(0, 3, true);
    g.setCell(20, 10, 1); // outside the picture: never touched
    moveLeft(g);
    EXPECT_TRUE(g.isSet(15, 3));
    EXPECT_TRUE(g.isSet(20, 10));
    flipVertical(g);
    EXPECT_TRUE(g.isSet(15, 4));
    flipHorizontal(g);
    EXPECT_TRUE(g.isSet(0, 4));
    invert(g);
    EXPECT_TRUE(g.isSet(20, 10));
    EXPECT_EQ(g.setCount(), 16 * 8 - 1);
}
