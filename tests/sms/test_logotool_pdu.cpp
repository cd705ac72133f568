// logotool pdu: the lines it prints are those the jobs write to the phone.
#include "graphic/logofile.h"
#include "sms/pdu.h"
#include "smstestutil.h"
#include "common/testsupport.h"

#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

using namespace logo;
using logotest::logotool;
using logotest::ToolRun;

namespace {


class LogotoolPdu : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QFileInfo::exists(smstest::toolPath("logotool")))
            GTEST_SKIP() << "logotool not built";
        ASSERT_TRUE(logotest::writeAll(nol, buildLogoFile(grid, true, 262, 1, 50, QString(), QString())));
        ASSERT_TRUE(logotest::writeAll(ngg, buildLogoFile(grid, false, 0, 0, 50, QString(), QString())));
    }
    logotest::Sandbox box;
    LogoGrid grid = smstest::patternGrid();
    QString nol = box.path(QStringLiteral("logo.nol"));
    QString ngg = box.path(QStringLiteral("group.ngg"));
};

} // namespace

TEST_F(LogotoolPdu, SubmitPicksThePayloadByNetworkCode)
{
    const Pdu op = buildSubmitPdu(operatorLogoUserData(grid, QStringLiteral("262"), QStringLiteral("01")),
                                  smstest::kDestination, smstest::kCentre, false);
    ToolRun r = logotool({QStringLiteral("pdu"), QStringLiteral("submit"), nol, QStringLiteral("--to"),
                      QStringLiteral("+") + smstest::kDestination, QStringLiteral("--smsc"), smstest::kCentre});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.lines, (QStringList{QStringLiteral("AT+CMGS=154"), op.line()}));

    const Pdu gg = buildSubmitPdu(groupGraphicUserData(grid), smstest::kDestination, smstest::kCentre, true);
    r = logotool({QStringLiteral("pdu"), QStringLiteral("submit"), ngg, QStringLiteral("--to"), smstest::kDestination,
                  QStringLiteral("--smsc"), smstest::kCentre, QStringLiteral("--report")});
    EXPECT_EQ(r.lines, (QStringList{gg.atCommand(), gg.line()}));

    // An operator logo without a network code is refused; --mcc/--mnc supply one.
    const QStringList brisvane{QStringLiteral("pdu"), QStringLiteral("submit"), ngg, QStringLiteral("--program"),
                               QStringLiteral("brisvane"), QStringLiteral("--to"), QStringLiteral("1"),
                               QStringLiteral("--smsc"), QStringLiteral("2")};
    EXPECT_EQ(logotool(brisvane).code, 2);
    r = logotool(brisvane + QStringList{QStringLiteral("--mcc"), QStringLiteral("262"), QStringLiteral("--mnc"),
                                        QStringLiteral("1")});
    EXPECT_EQ(r.code, 0);
    ASSERT_EQ(r.lines.size(), 2);
    EXPECT_TRUE(r.lines[1].contains(QStringLiteral("0605041582000062F210")));
}

TEST_F(LogotoolPdu, DeliverWithCounterAndTime)
{
    const QDateTime when(QDate(2024, 3, 5), QTime(14, 7, 9));
    const Pdu p = buildStorePdu(ProgramProfile::quillet(), groupGraphicUserData(grid), 7, when);
    const ToolRun r = logotool({QStringLiteral("pdu"), QStringLiteral("deliver"), ngg, QStringLiteral("--store-count"),
                            QStringLiteral("7"), QStringLiteral("--time"), QStringLiteral("2024-03-05T14:07:09")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.lines, (QStringList{p.atCommand(), p.line()}));
    EXPECT_EQ(logotool({QStringLiteral("pdu"), QStringLiteral("submit"), ngg}).code, 2);   // no --to / --smsc
}
