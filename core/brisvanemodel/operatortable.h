#pragma once
// The operators an operator logo can be bound to: the eleven built into the
// program, then those of the update file OPUPDATE.CSV, and the list the user
// picks from.
#include <QList>
#include <QString>
#include <vector>

namespace brisvane {

struct OperatorRecord {
    QString country;   // as written in the source
    QString name;
    QString mcc;       // digits only
    QString mnc;       // digits only
    QString web;       // shown as text only
};

// Item data of the list's two special entries.
inline constexpr int ClearItem = 9997;
inline constexpr int PlaceholderItem = 9999;

struct OperatorListEntry {
    QString text;      // "country - name", or a special entry's caption
    int item;          // the table index, or ClearItem / PlaceholderItem
};

// How reading an update file went. Any failure ends the reading; what was read
// before it stays.
struct UpdateReport {
    enum class Stop { None, Unreadable, ShortLine, BadCode, TableFull };
    bool present = false;   // the file exists
    int added = 0;
    Stop stop = Stop::None;
    int line = 0;           // 1-based line that stopped the reading

    bool failed() const { return stop != Stop::None; }
    // One line for the console, naming the file.
    QString message(const QString &fileName) const;
};

class OperatorTable {
public:
    static constexpr int Capacity = 401;
    static constexpr int BuiltInCount = 11;
    static inline const QString ClearEntryText = QStringLiteral(" Clear Operator-Logo");
    static inline const QString PlaceholderText = QStringLiteral(" Select your operator...");

    // The built-in operators only.
    OperatorTable();

    int count() const { return int(m_records.size()); }
    const OperatorRecord &at(int index) const { return m_records.at(size_t(index)); }

    // Appends the lines of an update file. A missing file is no error.
    UpdateReport appendUpdateFile(const QString &path);
    // The same on the file's bytes (UTF-8 when they are valid UTF-8, else
    // single-byte ANSI).
    UpdateReport appendUpdateText(const QByteArray &bytes);

    // The list the user picks from: one entry per operator with a country,
    // sorted without regard to case, the two special entries first.
    QList<OperatorListEntry> listEntries() const;
    // The first operator, in table order, whose code equals the given one as
    // numbers ("1" equals "01"); -1 when none does.
    int findByCode(const QString &mcc, const QString &mnc) const;

    // One line of five fields, each ended by ";": false when the line holds
    // fewer than five separators. Codes keep their digits only.
    static bool parseRecord(const QString &line, OperatorRecord &out);
    // The built-in lines are kept scrambled: every character but CR and LF
    // has its lowest bit flipped. The same call unscrambles.
    static QString scramble(const QString &text);

private:
    std::vector<OperatorRecord> m_records;
};

// "###000" and "##00" on a digit text: at least three and two digits, leading
// zeros added or dropped; empty stays empty; a negative code keeps its sign.
QString formatMccText(const QString &digits);
QString formatMncText(const QString &digits);

// First position at or after start (0-based) holding the separator, -1 when
// there is none.
int findSeparator(const QString &text, QChar separator, int start);

} // namespace brisvane
