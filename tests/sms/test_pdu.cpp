// SMS-SUBMIT and SMS-DELIVER fields, built byte for byte by hand.
#include "sms/digits.h"
#include "sms/pdu.h"
#include "smstestutil.h"

#include <QTimeZone>
#include <gtest/gtest.h>

using namespace logo;

namespace {
const QDateTime kWhen(QDate(2024, 3, 5), QTime(14, 7, 9));
UserData operatorLogo()
{
    return operatorLogoUserData(smstest::patternGrid(), QStringLiteral("262"), QStringLiteral("01"));
}
} // namespace

TEST(Pdu, DigitHelpers)
{
    EXPECT_EQ(logo::digitsOnly(QStringLiteral("+49 (171) 123-4")), QStringLiteral("491711234"));
    EXPECT_EQ(logo::swapDigitPairs(QStringLiteral("262F")), QStringLiteral("62F2"));
}

TEST(Pdu, WorkedExampleSubmit)
{
    const UserData ud = operatorLogo();
    const Pdu p = buildSubmitPdu(ud, smstest::kDestination, smstest::kCentre, false);
    EXPECT_EQ(p.smsc, QStringLiteral("07" "91" "947101670000"));
    EXPECT_EQ(p.tpdu, QStringLiteral("51" "00" "0C" "91" "947111325476" "00" "F5" "A7" "8C") + ud.hex);
    EXPECT_EQ(p.tpduLength, 154);
    EXPECT_EQ(p.atCommand(), QStringLiteral("AT+CMGS=154"));
    EXPECT_EQ(p.line(), p.smsc + p.tpdu);
}

TEST(Pdu, OddDigitCounts)
{
    // Eleven digits ending in 6: length 0B, last octet F6.
    EXPECT_EQ(encodeAddress(QStringLiteral("49171123456")), QStringLiteral("0B91" "9471113254F6"));
    // The centre's length counts octets with the type; odd counts are filled.
    EXPECT_EQ(encodeServiceCentreAddress(QStringLiteral("49171076000")), QStringLiteral("0791" "9471016700F0"));
    EXPECT_EQ(encodeServiceCentreAddress(QStringLiteral("4917107600")), QStringLiteral("0691" "9471016700"));
    // Anything but digits is dropped; no number leaves the centre to the phone.
    EXPECT_EQ(encodeAddress(QStringLiteral("+49 171-123456")), encodeAddress(QStringLiteral("49171123456")));
    EXPECT_EQ(encodeServiceCentreAddress(QString()), QStringLiteral("00"));
}

TEST(Pdu, StatusReportSetting)
{
    EXPECT_TRUE(statusReportRequested(QStringLiteral("1")));
    for (const char *t : {"0", "", "yes", "01", " 1"})
        EXPECT_FALSE(statusReportRequested(QString::fromLatin1(t))) << t;
    const UserData ud = operatorLogo();
    EXPECT_TRUE(buildSubmitPdu(ud, smstest::kDestination, smstest::kCentre, true).tpdu.startsWith(QStringLiteral("7100")));
    EXPECT_TRUE(buildSubmitPdu(ud, smstest::kDestination, smstest::kCentre, false).tpdu.startsWith(QStringLiteral("5100")));
}

TEST(Pdu, StoreCounterSender)
{
    EXPECT_EQ(storeSenderNumber(ProgramProfile::quillet(), 0), QStringLiteral("999000000"));
    EXPECT_EQ(storeSenderNumber(ProgramProfile::brisvane(), 0), QStringLiteral("998000000"));
    EXPECT_EQ(storeSenderNumber(ProgramProfile::quillet(), 32767), QStringLiteral("999032767"));
    // A counter that would leave nine digits stays within the program's numbers.
    EXPECT_EQ(storeSenderNumber(ProgramProfile::quillet(), 1000001), QStringLiteral("999000001"));
    EXPECT_EQ(storeSenderNumber(ProgramProfile::quillet(), -1).size(), 9);

    const UserData gg = groupGraphicUserData(smstest::patternGrid());
    const Pdu q = buildStorePdu(ProgramProfile::quillet(), gg, 0, kWhen);
    EXPECT_EQ(q.tpdu.left(16), QStringLiteral("64" "0991" "99090000F0"));
    const Pdu b = buildStorePdu(ProgramProfile::brisvane(), operatorLogo(), 0, kWhen);
    EXPECT_EQ(b.tpdu.left(16), QStringLiteral("64" "0991" "99080000F0"));
}

TEST(Pdu, DeliverLayoutAndTimeStamp)
{
    EXPECT_EQ(encodeTimeStamp(kWhen), QStringLiteral("42305041709000"));
    // Two-digit year, 24-hour clock, time zone 00 whatever the zone of the value.
    EXPECT_EQ(encodeTimeStamp(QDateTime(QDate(2009, 12, 31), QTime(23, 59, 58), QTimeZone(3600 * 5))),
              QStringLiteral("90211332958500"));

    const UserData gg = groupGraphicUserData(smstest::patternGrid());
    const Pdu p = buildDeliverPdu(gg, QStringLiteral("999000005"), kWhen);
    EXPECT_EQ(p.smsc, QStringLiteral("00"));
    EXPECT_EQ(p.tpdu, QStringLiteral("64" "0991" "99090000F5" "00" "F5" "42305041709000" "89") + gg.hex);
    // The announced length leaves out the "00" in front.
    EXPECT_EQ(p.tpduLength, 1 + 7 + 1 + 1 + 7 + 1 + 137);
    EXPECT_EQ(p.atCommand(), QStringLiteral("AT+CMGW=155"));
    EXPECT_EQ(p.line(), QStringLiteral("00") + p.tpdu);
}

TEST(Pdu, NumbersLongerThanTheirFieldsBuildNothing)
{
    const UserData ud = operatorLogo();
    const QString digits20 = QStringLiteral("12345678901234567890");
    // Twenty digits: the longest field of each, its length octet still one octet.
    EXPECT_EQ(encodeAddress(digits20), QStringLiteral("1491") + QStringLiteral("21436587092143658709"));
    EXPECT_EQ(encodeServiceCentreAddress(digits20), QStringLiteral("0B91") + QStringLiteral("21436587092143658709"));
    EXPECT_TRUE(buildSubmitPdu(ud, digits20, digits20, false).isValid());

    const struct {
        QString destination, centre, refusal;
    } cases[] = {
        {digits20 + "1", digits20, "The number has 21 digits; a GSM-Number has at most 20."},
        {QString(300, QLatin1Char('4')), smstest::kCentre, "The number has 300 digits; a GSM-Number has at most 20."},
        {smstest::kDestination, digits20 + "1",
         "The Message Center Number has 21 digits; it can have at most 20.\r\n"
         "Please configure your Message Center Number\r\nin menu 'Edit/Options'"},
    };
    for (const auto &c : cases) {
        const Pdu p = buildSubmitPdu(ud, c.destination, c.centre, false);
        EXPECT_FALSE(p.isValid());
        EXPECT_EQ(p.refusal, c.refusal);
        EXPECT_TRUE(p.line().isEmpty());
    }
    EXPECT_EQ(encodeAddress(digits20 + "1"), QString());
    EXPECT_EQ(encodeServiceCentreAddress(digits20 + "1"), QString());
    EXPECT_FALSE(buildDeliverPdu(ud, digits20 + "1", kWhen).isValid());
    EXPECT_TRUE(buildStorePdu(ProgramProfile::brisvane(), ud, 0, kWhen).isValid());
}
