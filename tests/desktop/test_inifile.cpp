// The one INI reader behind the settings, the branding file and the desktop's
// entries: its line rules, the options in which those files differ, and a
// change that leaves every other line as it was.
#include "desktop/inifile.h"

#include <gtest/gtest.h>

using namespace logo;

namespace {

const QString kMissing = QStringLiteral("(missing)");

struct Case {
    const char *what;
    IniRules rules;
    QByteArray text;
    const char *section;
    const char *key;
    // Without a new value: the value looked up (kMissing when not found).
    // With one (empty text for "remove"): the file's bytes after the change.
    std::optional<QString> setTo;
    QString expected;
};

} // namespace

TEST(IniFile, ReadsAndChangesByTheSameRules)
{
    const IniRules profile = IniRules::profileString(8);
    const IniRules desktop = IniRules::desktopEntry();
    const QString removed; // a null value removes the key
    const Case cases[] = {
        {"value trimmed, first match wins", {}, "[A]\n k = one \nk=two\n", "A", "k", {}, "one"},
        {"names without regard to case", {}, "[ Links ]\nURL=x\n", "links", "url", {}, "x"},
        {"desktop names match exactly", desktop, "[Desktop Entry]\nexec=x\n", "Desktop Entry", "Exec", {}, kMissing},
        {"a later section of the same name", {}, "[A]\n[B]\nk=b\n[a]\nk=a\n", "A", "k", {}, "a"},
        {"comments are no entries", {}, "[A]\n;k=1\n#k=2\n", "A", ";k", {}, kMissing},
        {"an entry needs a key", {}, "[A]\n=x\n", "A", "", {}, kMissing},
        {"entries before any section", {}, "k=top\n[A]\n", "", "k", {}, kMissing},
        {"line ends of either kind", {}, "[A]\r\nk=v\r\n", "A", "k", {}, "v"},
        {"quotes kept without the option", {}, "[A]\nk=\"q\"\n", "A", "k", {}, "\"q\""},
        {"quotes removed by the option", profile, "[A]\nk='q'\n", "A", "k", {}, "q"},
        {"value cut at its length", profile, "[A]\nk=1234567 9abc\n", "A", "k", {}, "1234567"},
        {"value cut at a NUL", profile, QByteArray("[A]\nk=ab\0cd\n", 12), "A", "k", {}, "ab"},
        {"Latin-1 text", profile, "[A]\nk=\xe9t\xe9\n", "A", "k", {}, QStringLiteral("\u00e9t\u00e9")},
        {"UTF-8 text", desktop, "[A]\nk=\xc3\xa9t\xc3\xa9\n", "A", "k", {}, QStringLiteral("\u00e9t\u00e9")},
        {"set: the line in place", desktop, "# c\n[A]\nk = 1\nz=2\n", "A", "k", QStringLiteral("9"),
         "# c\n[A]\nk=9\nz=2\n"},
        {"set: after the section's last entry", desktop, "[A]\nz=2\n\n[B]\nk=1\n", "A", "k", QStringLiteral("9"),
         "[A]\nz=2\nk=9\n\n[B]\nk=1\n"},
        {"set: a new section after a blank line", desktop, "[A]\nz=2\n", "B", "k", QStringLiteral("9"),
         "[A]\nz=2\n\n[B]\nk=9\n"},
        {"set: remove the line", desktop, "[A]\nk=1\nz=2\n", "A", "k", removed, "[A]\nz=2\n"},
        {"set: line ends kept", desktop, "[A]\r\nz=2\r\n", "A", "k", QStringLiteral("9"), "[A]\r\nz=2\r\nk=9\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        IniFile file(c.text, c.rules);
        const QString section = QString::fromLatin1(c.section), key = QString::fromLatin1(c.key);
        if (!c.setTo) {
            EXPECT_EQ(file.value(section, key).value_or(kMissing), c.expected);
            continue;
        }
        file.setValue(section, key, *c.setTo);
        EXPECT_EQ(QString::fromUtf8(file.toBytes()), c.expected);
    }
}
