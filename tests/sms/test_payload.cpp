// The smart-message user data: ports, network code, bitmap header and pixels.
#include "sms/payload.h"
#include "smstestutil.h"

#include <gtest/gtest.h>

using namespace logo;

TEST(Payload, WorkedExampleOperatorLogoAndGroupGraphic)
{
    const LogoGrid g = smstest::patternGrid();
    const UserData op = operatorLogoUserData(g, QStringLiteral("262"), QStringLiteral("01"));
    EXPECT_EQ(op.hex, QStringLiteral("0605041582000062F210") + QStringLiteral("00480E01") + g.grid2hex());
    EXPECT_EQ(op.length, 140);
    EXPECT_EQ(op.hex.size(), 280);

    const UserData gg = groupGraphicUserData(g);
    EXPECT_EQ(gg.hex, QStringLiteral("06050415831583") + QStringLiteral("00480E01") + g.grid2hex());
    EXPECT_EQ(gg.length, 137);
}

TEST(Payload, ProfileChoosesPortsAndNetworkCode)
{
    const LogoGrid g = smstest::patternGrid();
    // Quillet has no network code even when one is passed.
    EXPECT_EQ(buildUserData(ProgramProfile::quillet(), g, QStringLiteral("262"), QStringLiteral("01")).hex,
              groupGraphicUserData(g).hex);
    EXPECT_EQ(buildUserData(ProgramProfile::brisvane(), g, QStringLiteral("262"), QStringLiteral("01")).hex,
              operatorLogoUserData(g, QStringLiteral("262"), QStringLiteral("01")).hex);
}

TEST(Payload, OperatorCodeDigits)
{
    EXPECT_EQ(encodeOperatorCode(QStringLiteral("262"), QStringLiteral("01")), QStringLiteral("62F210"));
    EXPECT_EQ(encodeOperatorCode(QStringLiteral("262"), QStringLiteral("1")), QStringLiteral("62F210"));
    EXPECT_EQ(encodeOperatorCode(QStringLiteral("262"), QStringLiteral("10")), QStringLiteral("62F201"));
    // Short codes are zero-filled on the left.
    EXPECT_EQ(encodeOperatorCode(QStringLiteral("2"), QStringLiteral("5")), QStringLiteral("00F250"));
    // Three-digit MNC: first and last digit, last first.
    EXPECT_EQ(encodeOperatorCode(QStringLiteral("310"), QStringLiteral("260")), QStringLiteral("13F002"));
    // A country code never takes more than its three digits (octets stay aligned).
    EXPECT_EQ(encodeOperatorCode(QStringLiteral("1262"), QStringLiteral("01")).size(), 6);
}

TEST(Payload, BlankPictureStillComplete)
{
    LogoGrid g;
    const UserData gg = groupGraphicUserData(g);
    EXPECT_EQ(gg.length, 137);
    EXPECT_EQ(gg.hex.right(252), QString(252, QLatin1Char('0')));
}

TEST(Payload, LengthAlwaysMatchesTheOctets)
{
    // Widths that are not a multiple of 8 are packed as one bit stream (the
    // bitmap has no row padding) and the length is that of the data.
    LogoGrid g;
    g.setSize(10, 3);
    g.setPixel(0, 0, true);    // bit 0
    g.setPixel(9, 0, true);    // bit 9
    g.setPixel(0, 1, true);    // bit 10
    g.setPixel(9, 2, true);    // bit 29, the last
    EXPECT_EQ(otaBitmapHex(g), QStringLiteral("80600004"));
    const UserData gg = groupGraphicUserData(g);
    EXPECT_EQ(gg.length, 11 + 4);
    EXPECT_EQ(gg.length * 2, gg.hex.size());
    EXPECT_EQ(gg.hex.mid(14, 8), QStringLiteral("000A0301"));
}
