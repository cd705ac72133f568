// The operator table: the built-in operators, the update file's failure rules,
// the list, and finding an operator by its network code.
#include "brisvanemodel/operatortable.h"
#include "brisvanetest.h"

#include <gtest/gtest.h>

using namespace brisvane;

TEST(OperatorTable, BuiltInOperatorsUnscrambleIntoFiveFields)
{
    EXPECT_EQ(OperatorTable::scramble(QStringLiteral("Ab;12\r\n")), QStringLiteral("@c:03\r\n"));
    const OperatorTable t;
    ASSERT_EQ(t.count(), OperatorTable::BuiltInCount);
    QStringList countries;
    for (int i = 0; i < t.count(); ++i) {
        const OperatorRecord &r = t.at(i);
        EXPECT_FALSE(r.name.isEmpty());
        EXPECT_EQ(r.mcc.size(), 3) << r.name.toStdString();
        EXPECT_EQ(r.mnc.size(), 2) << r.name.toStdString();
        EXPECT_TRUE(r.web.startsWith(QStringLiteral("www."))) << r.web.toStdString();
        countries << r.country;
    }
    countries.removeDuplicates();
    EXPECT_GE(countries.size(), 5);
    const int d1 = t.findByCode(QStringLiteral("262"), QStringLiteral("1"));
    ASSERT_GE(d1, 0);
    EXPECT_EQ(t.at(d1).country, QStringLiteral("Germany"));
}

// Every failure ends the reading and keeps what was read before it.
TEST(OperatorTable, UpdateFileFailureRules)
{
    const QByteArray good = "Germany;Test Net;262;07;www.test.de;\r\n";
    struct Case {
        const char *what;
        QByteArray text;
        int added;
        UpdateReport::Stop stop;
        int line;
    };
    const Case cases[] = {
        {"good lines, last one unended", good + "Austria;Alp;232;5;www.alp.at;", 2, UpdateReport::Stop::None, 0},
        {"short line stops", good + "Austria;Short;232;\r\n" + good, 1, UpdateReport::Stop::ShortLine, 2},
        {"blank line stops", good + "\r\n" + good, 1, UpdateReport::Stop::ShortLine, 2},
        {"no digits in MCC", good + "X;Y;abc;01;w;\n", 1, UpdateReport::Stop::BadCode, 2},
        {"MNC of four digits", "X;Y;262;1234;w;\n" + good, 0, UpdateReport::Stop::BadCode, 1},
        {"LF and CR endings", good + "A;B;232;1;w;\rC;D;232;2;w;\n", 3, UpdateReport::Stop::None, 0},
    };
    for (const Case &c : cases) {
        OperatorTable t;
        const UpdateReport r = t.appendUpdateText(c.text);
        EXPECT_EQ(r.added, c.added) << c.what;
        EXPECT_EQ(r.stop, c.stop) << c.what;
        EXPECT_EQ(r.line, c.line) << c.what;
        EXPECT_EQ(t.count(), OperatorTable::BuiltInCount + c.added) << c.what;
    }
}

TEST(OperatorTable, UpdateFieldsKeepDigitsAndText)
{
    OperatorTable t;
    // Codes keep only their digits; anything after the fifth ";" is ignored;
    // a single-byte file reads as such, a UTF-8 file as UTF-8.
    t.appendUpdateText("\xD6sterreich;Net 1;2 32;7;www.n1.at;extra;\r\n");
    t.appendUpdateText("\xC3\x96sterreich;Net 2;232;08;www.n2.at;\r\n");
    const OperatorRecord &a = t.at(OperatorTable::BuiltInCount);
    EXPECT_EQ(a.country, QStringLiteral("\u00D6sterreich"));
    EXPECT_EQ(a.mcc, QStringLiteral("232"));
    EXPECT_EQ(a.mnc, QStringLiteral("7"));
    EXPECT_EQ(a.web, QStringLiteral("www.n1.at"));
    EXPECT_EQ(t.at(OperatorTable::BuiltInCount + 1).country, QStringLiteral("\u00D6sterreich"));
}

TEST(OperatorTable, HoldsAtMost401Operators)
{
    QByteArray text;
    for (int i = 0; i < 400; ++i)
        text += QStringLiteral("Land %1;Net;999;%2;w;\r\n").arg(i).arg(i % 100).toLatin1();
    OperatorTable t;
    const UpdateReport r = t.appendUpdateText(text);
    EXPECT_EQ(t.count(), OperatorTable::Capacity);
    EXPECT_EQ(r.added, OperatorTable::Capacity - OperatorTable::BuiltInCount);
    EXPECT_EQ(r.stop, UpdateReport::Stop::TableFull);
    EXPECT_EQ(r.line, r.added + 1);
}

TEST(OperatorTable, ListAndCodeLookup)
{
    OperatorTable t;
    t.appendUpdateText("albania;Lower;276;1;w;\r\n;No Country;276;2;w;\r\nZ;Second 262-01;262;1;w;\r\n");
    const QList<OperatorListEntry> list = t.listEntries();
    ASSERT_EQ(list.size(), OperatorTable::BuiltInCount + 2 + 2);   // the entry without a country is left out
    EXPECT_EQ(list[0].text, QStringLiteral(" Clear Operator-Logo"));
    EXPECT_EQ(list[0].item, ClearItem);
    EXPECT_EQ(list[1].text, QStringLiteral(" Select your operator..."));
    EXPECT_EQ(list[1].item, PlaceholderItem);
    EXPECT_EQ(list[2].text, QStringLiteral("albania - Lower"));   // sorted without regard to case
    for (int i = 3; i < list.size(); ++i)
        EXPECT_LE(list[i - 1].text.compare(list[i].text, Qt::CaseInsensitive), 0);

    // "1" equals "01" and "0262" equals "262"; the first in table order wins.
    const int first = t.findByCode(QStringLiteral("0262"), QStringLiteral("01"));
    EXPECT_LT(first, OperatorTable::BuiltInCount);
    EXPECT_EQ(t.at(first).mnc, QStringLiteral("01"));
    EXPECT_EQ(t.findByCode(QStringLiteral("276"), QStringLiteral("2")), OperatorTable::BuiltInCount + 1);
    EXPECT_EQ(t.findByCode(QStringLiteral("999"), QStringLiteral("99")), -1);
    EXPECT_EQ(formatMccText(QStringLiteral("1")), QStringLiteral("001"));
    EXPECT_EQ(formatMncText(QStringLiteral("007")), QStringLiteral("07"));
}

TEST(LogotoolOperators, PrintsTheListAndReportsAStoppedUpdate)
{
    logotest::Sandbox box;
    QProcessEnvironment env;
    env.insert(QStringLiteral("LOGO_DATA_DIR"), box.dir());   // no update file of the user's

    const logotest::ToolRun plain = logotest::logotool({QStringLiteral("operators")}, env);
    EXPECT_EQ(plain.code, 0) << plain.err.toStdString();
    ASSERT_EQ(plain.lines.size(), OperatorTable::BuiltInCount);
    EXPECT_TRUE(plain.lines.contains(QStringLiteral("Germany - T-Mobile D1;262;01;www.t-mobile.de")));

    const QString update = box.path(QStringLiteral("update.csv"));
    logotest::writeAll(update, "Germany;Test Net;262;7;www.test.de;\r\nGermany;Broken;262\r\n");
    const logotest::ToolRun r = logotest::logotool({QStringLiteral("operators"), QStringLiteral("--update"), update}, env);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.lines.contains(QStringLiteral("Germany - Test Net;262;07;www.test.de")));
    EXPECT_EQ(r.lines.size(), OperatorTable::BuiltInCount + 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("line 2"))) << r.err.toStdString();

    EXPECT_EQ(logotest::logotool({QStringLiteral("operators"), QStringLiteral("--update")}, env).code, 2);
}
