// The phonebook's parsing, name translation and cache file, without a phone.
#include "common/testsupport.h"
#include "phone/phonebook.h"

#include <QStringDecoder>
#include <gtest/gtest.h>

using namespace logo;

namespace logo {
void PrintTo(const PhonebookEntry &e, std::ostream *os)
{
    *os << Phonebook::cacheLine(e).toStdString();
}
} // namespace logo

namespace {

PhonebookEntry entry(const QString &name, const QString &number, const QString &memory, int index)
{
    return {name, number, memory, QString::number(index)};
}

} // namespace

TEST(PhonebookParse, RangeNeedsBothNumbersInOrder)
{
    const struct {
        const char *reply;
        std::optional<PhonebookRange> range;
    } cases[] = {
        {"AT+CPBR=?\r\r\n+CPBR: (1-250),40,18\r\n\r\nOK\r\n", PhonebookRange{1, 250}},
        {"\r\n+CPBR: (0-9)\r\n", PhonebookRange{0, 9}},
        {"\r\n+CPBR: (1-250,40,18\r\n\r\nOK\r\n", std::nullopt},   // no ")" on its line
        {"\r\n+CPBR: (1 250),40\r\n", std::nullopt},
        {"\r\n+CPBR: (9-1),40\r\n", std::nullopt},
        {"\r\n+CPBR: (a-b),40\r\n", std::nullopt},
        {"\r\nOK\r\n", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(parseRange(c.reply), c.range) << c.reply;
}

TEST(PhonebookParse, EntriesInLocationOrderWithCommasQuotesAndTranslatedNames)
{
    // Echo, a range line, locations out of order and twice, one outside the
    // range, lines that lack a separator, and a last line without its end.
    const QByteArray reply = "AT+CPBR=1,250\r"
                             "\r\n+CPBR: (1-250),40,18"
                             "\r\n+CPBR: 7,\"+4930\",145,\"M\x81ller, Hans\""
                             "\r\n+CPBR: 2,\"0171\",129,\"Bob \"the builder\"\""
                             "\r\n+CPBR: 3,\"555\"\r\n+CPBR: 4,\"556\",129,\"After a short line\""
                             "\r\n+CPBR: 2,\"999\",129,\"Second line of 2\""
                             "\r\n+CPBR: 251,\"1\",129,\"Outside\""
                             "\r\n+CPBR: 9,\"+44\",145,\"Never ends";
    QList<PhonebookEntry> table{entry("Kept", "1", "A", 1)};
    EXPECT_TRUE(parseEntries(reply, "B", {1, 250}, table));
    EXPECT_EQ(table, (QList<PhonebookEntry>{entry("Kept", "1", "A", 1), entry("Bob \"the builder\"", "0171", "B", 2),
                                            entry("After a short line", "556", "B", 4),
                                            entry(QString::fromUtf8("Müller, Hans"), "+4930", "B", 7)}));
}

// Newer phones and modems: fields after the name, names and numbers as hex
// of UTF-16 in UCS2 mode, and lines that make no sense among good ones.
TEST(PhonebookParse, FieldsAfterTheNameUcs2NamesAndLinesThatMakeNoSense)
{
    const auto parse = [](const QByteArray &lines) {
        QList<PhonebookEntry> table;
        EXPECT_TRUE(parseEntries("AT+CPBR=1,20\r" + lines + "\r\n\r\nOK\r\n", "A", {1, 20}, table));
        return table;
    };
    // Plain text with a hidden flag, a group and a time stamp after the name.
    EXPECT_EQ(parse("\r\n+CPBR: 1,\"+4930111\",145,\"Tante Ilse\",0"
                    "\r\n+CPBR: 2,\"0301\",129,\"Kiosk, Ecke\",1,\"Work\",\"26/01/05,10:12:00\""
                    "\r\n+CPBR: 3,\"0302\",129,\"Sam \"S\" Lee\",0"
                    "\r\n+CPBR: x,\"0303\",129,\"No location\""
                    "\r\n+CPBR: 4,\"0304\",129,\"Never closed,0"
                    "\r\n+CPBR: 5,\"0305\",129"
                    "\r\n+CPBR: 6,0306,129,Unquoted, with comma,,"
                    "\r\n+CPBR: 7,\"0307\",129,\"CAFE\""
                    "\r\n+CPBR: 8,\"0308\",129,\"BEEF\""),
              (QList<PhonebookEntry>{entry("Tante Ilse", "+4930111", "A", 1), entry("Kiosk, Ecke", "0301", "A", 2),
                                     entry("Sam \"S\" Lee", "0302", "A", 3),
                                     entry("Unquoted, with comma", "0306", "A", 6), entry("CAFE", "0307", "A", 7),
                                     entry("BEEF", "0308", "A", 8)}));

    // UCS2 mode, numbers in hex too: every name decoded, "CAFE" as well
    // (there it is hex); a number that is hex of no number is skipped.
    EXPECT_EQ(parse("\r\n+CPBR: 1,\"002B0034003900330030\",145,\"004D00FC006C006C00650072002C00200041\",0,\"\""
                    "\r\n+CPBR: 2,\"0030003100370031\",129,004B0061007400650020041C,,"
                    "\r\n+CPBR: 3,\"0030\",129,\"CAFE\""
                    "\r\n+CPBR: 4,\"004E004F\",129,\"0041\""
                    "\r\n+CPBR: 5,\"\",129,\"004500760061\""),
              (QList<PhonebookEntry>{entry(QString::fromUtf8("Müller, A"), "+4930", "A", 1),
                                     entry(QString::fromUtf8("Kate М"), "0171", "A", 2),
                                     entry(QString::fromUtf8("\uCAFE"), "0", "A", 3), entry("Eva", "", "A", 5)}));

    // UCS2 names with the numbers in plain digits: every name is hex and one
    // holds Latin letters. Without such a name, hex-looking names stay.
    EXPECT_EQ(parse("\r\n+CPBR: 1,\"+4930\",145,\"0041006E006E0061\",,"
                    "\r\n+CPBR: 2,\"0171\",129,\"04200430044F\""),
              (QList<PhonebookEntry>{entry("Anna", "+4930", "A", 1),
                                     entry(QString::fromUtf8("Рая"), "0171", "A", 2)}));
    EXPECT_EQ(parse("\r\n+CPBR: 1,\"+4930\",145,\"CAFE\"\r\n+CPBR: 2,\"0171\",129,\"0815BEEF\""),
              (QList<PhonebookEntry>{entry("CAFE", "+4930", "A", 1), entry("0815BEEF", "0171", "A", 2)}));
}

TEST(PhonebookNames, CodePage437InTenLettersAndEverythingElseReadable)
{
    const QString ten = QString::fromUtf8("ÄäÖöÜüßæÆé");
    for (int row = 0; row < 10; ++row) {
        EXPECT_EQ(PhoneCharTable[row].windows, ten.at(row).unicode()) << row;
        EXPECT_EQ(translateName(QByteArray(1, char(PhoneCharTable[row].phone))), ten.mid(row, 1)) << row;
    }
    EXPECT_EQ(PhoneCharTable[10].phone, 0);
    EXPECT_EQ(translateName("a\tb\x01\x7f" "c"), "a bc");

    // Every octet of the high half as the code page has it, where the
    // toolkit can say (a typo in the table would show as a wrong letter).
    QStringDecoder cp437("IBM437");
    if (!cp437.isValid())
        GTEST_SKIP() << "no code page 437 converter to compare with";
    for (int b = 0x80; b <= 0xFF; ++b) {
        const QByteArray octet(1, char(b));
        QString expected = cp437.decode(octet);
        // Tables differ on 0xE6: the Greek mu or the micro sign, which is
        // the one Windows-1252 has (and the cache can keep).
        if (b == 0xE6)
            expected = QChar(0x00B5);
        EXPECT_EQ(translateName(octet), expected) << std::hex << b;
    }
}

TEST(PhonebookCache, Windows1252BothWaysForEveryOctet)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    EXPECT_EQ(toWindows1252(fromWindows1252(all)), all);
    EXPECT_EQ(fromWindows1252("\x80\x9f"), QString::fromUtf8("€Ÿ"));
    EXPECT_EQ(toWindows1252(QString::fromUtf8("ä│π")), QByteArray("\xe4??"));
}

TEST(PhonebookCache, RoundTripThroughTheFile)
{
    logotest::Sandbox sb;
    const QList<PhonebookEntry> entries{entry(QString::fromUtf8("Märta, Home"), "+4917", "A", 2),
                                        entry("Semi;colon", "0171", "A", 5),
                                        {"Free slot", "1", "A", QString()},
                                        entry(QString::fromUtf8("Œuvre €"), "5551234", "B", 3)};
    Phonebook book;
    book.replace(entries);
    const QString path = sb.path("NGGPBOOK.CSV");
    ASSERT_TRUE(book.save(path));
    EXPECT_EQ(logotest::readAll(path), QByteArray("M\xe4rta, Home;+4917;A;2;\r\n"
                                                  "Semi;colon;0171;A;5;\r\n"
                                                  "\x8cuvre \x80;5551234;B;3;\r\n"));
    Phonebook again;
    ASSERT_TRUE(again.load(path));
    EXPECT_EQ(again.entries(), (QList<PhonebookEntry>{entries[0], entries[1], entries[3]}));

    Phonebook missing;
    missing.replace({entries[0]});
    EXPECT_FALSE(missing.load(sb.path("none.csv")));
    EXPECT_EQ(missing.count(), 1) << "a missing file leaves the table";
}

TEST(PhonebookCache, LinesThatAreNoEntriesAreSkippedAndTheTableHasItsLimit)
{
    QByteArray text = "Two;separators;only\r\n"
                      "\r\n"
                      "Unix;123;B;4;\n"
                      "No index;123;A;;\r\n";
    for (int i = 0; i < Phonebook::Capacity + 5; ++i)
        text += "N;1;A;" + QByteArray::number(i + 10) + ";\r\n";
    const QList<PhonebookEntry> entries = Phonebook::parseCache(text);
    ASSERT_EQ(entries.size(), Phonebook::Capacity);
    EXPECT_EQ(entries[0], entry("Unix", "123", "B", 4));
    EXPECT_EQ(entries.last().index, QString::number(Phonebook::Capacity - 2 + 10));
}
