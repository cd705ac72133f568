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

TEST_F(LogotoolPdu, WhatNoMessageCanCarryIsRefusedBeforeAnyPort)
{
    // Its own settings: no port, no message centre, nothing of the user's.
    QProcessEnvironment env;
    env.insert(QStringLiteral("LOGO_SETTINGS_FILE"), box.settingsFile());
    const QString none = box.path(QStringLiteral("no-device"));
    const QString long300(300, QLatin1Char('4'));
    const QString mcc1234 = QStringLiteral("The network code MCC 1234, MNC 01 can't be sent.\n"
                                           "A country code (MCC) has at most three digits.\n");
    const QString to300 = QStringLiteral("The number has 300 digits; a GSM-Number has at most 20.\n");
    const struct {
        QStringList args;
        QString err;
    } cases[] = {
        {{"pdu", "submit", ngg, "--to", long300, "--smsc", smstest::kCentre}, to300},
        {{"pdu", "submit", ngg, "--to", smstest::kDestination, "--smsc", QString(21, QLatin1Char('4'))},
         "The Message Center Number has 21 digits; it can have at most 20.\n"
         "Please configure your Message Center Number\n"
         "with --smsc DIGITS (or read it from the phone: logotool read-smsc)\n"},
        {{"pdu", "submit", nol, "--mcc", "1234", "--mnc", "1", "--to", "1", "--smsc", "2"}, mcc1234},
        {{"pdu", "deliver", nol, "--mcc", "1234", "--mnc", "1"}, mcc1234},
        {{"send", nol, "--to", long300, "--smsc", "2", "--device", none}, to300},
        {{"send", nol, "--mcc", "1234", "--mnc", "1", "--to", "1", "--smsc", "2", "--device", none}, mcc1234},
        {{"store", nol, "--mcc", "1234", "--mnc", "1", "--smsc", "2", "--device", none}, mcc1234},
        {{"ir-upload", nol, "--mcc", "1234", "--mnc", "1", "--device", none}, mcc1234},
        // The terminal is pointed to the options, not to a menu.
        {{"send", ngg, "--to", "1", "--device", none},
         "Please configure your Message Center Number\n"
         "with --smsc DIGITS (or read it from the phone: logotool read-smsc)\n"},
        {{"send", ngg, "--to", "1", "--smsc", "2"},
         "Please configure the Nokia GSM Serial Port\nwith --port N or --device PATH\n"},
        {{"ir-upload", ngg}, "Please configure the physical IR Port\nwith --port N or --device PATH\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(' ').left(80).toStdString());
        const ToolRun r = logotool(c.args, env);
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.out, QString());
        EXPECT_EQ(r.err, c.err);
    }
    const ToolRun help = logotool({QStringLiteral("--help")});
    EXPECT_TRUE(help.out.contains(QStringLiteral("logotool store FILE [--port N | --device PATH] [--quick] [--smsc DIGITS]")));
}
