#pragma once
// One reader for the INI-style files the programs read and edit: the settings
// file, the branding file and the desktop's entries and lists. The lines are
// kept as they are, so that setting one value changes that line only.
//
// The rules, for every such file: each line is read trimmed. Empty lines and
// lines that start with ';' or '#' are comments. A line that starts with '['
// opens a section, named by the text up to the first ']' (or the line's end),
// trimmed. A line with '=' after at least one character is an entry: the key is
// the text before the first '=', the value the text after it, both trimmed.
// Entries before the first section are listed with an empty section name but
// are not found by a lookup. A lookup gives the first match in file order.
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace logo {

struct IniRules {
    // Section and key names: without regard to case as the classic
    // profile-string call matches them; the desktop's files match exactly.
    Qt::CaseSensitivity names = Qt::CaseInsensitive;
    // Bytes as Latin-1 (the classic profile files), else as UTF-8.
    bool latin1 = false;
    // A value wrapped in matching quotes (" or ') loses them.
    bool unquote = false;
    // When above 0: a value is cut at its first NUL character and after this
    // many characters, then trimmed again.
    int maxValueLength = 0;

    // The branding file: profile-string rules.
    static IniRules profileString(int maxValueLength);
    // Desktop entries and MIME lists (names match exactly, UTF-8).
    static IniRules desktopEntry();
};

class IniFile {
public:
    struct Entry {
        QString section;
        QString key;
        QString value;
    };

    explicit IniFile(const IniRules &rules = {});
    // The lines of bytes; a final line break ends the last line.
    IniFile(const QByteArray &bytes, const IniRules &rules);
    IniFile(const QStringList &lines, const IniRules &rules);
    // The file's contents, or no lines when it cannot be read.
    static IniFile load(const QString &path, const IniRules &rules);

    const QStringList &lines() const { return m_lines; }
    bool isEmpty() const { return m_lines.isEmpty(); }
    // Every entry in file order, values as the rules give them.
    QList<Entry> entries() const;
    // The value of key in the (first matching) section; nullopt when missing.
    std::optional<QString> value(const QString &section, const QString &key) const;
    // Sets key in the first section of that name, on the line that held it,
    // else after the section's last entry; a missing section is added at the
    // end after one blank line. A null value removes the key's line.
    void setValue(const QString &section, const QString &key, const QString &value);
    // The lines, each ended by a line break.
    QByteArray toBytes() const;

private:
    struct Line;
    Line parse(const QString &line) const;
    QString valueOf(const Line &line) const;

    IniRules m_rules;
    QStringList m_lines;
};

} // namespace logo
