#pragma once
// The phone's phonebook as the programs keep it: one table of entries for the
// whole run, filled by a read over the AT link (SIM card first, then the
// phone's own memory) or from the cache file beside the program, and the
// parsing of the phone's replies. The cache is Windows-1252 text, so a file
// moves between the platforms unchanged.
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace logo {

struct PhonebookEntry {
    QString name;     // quotation marks removed, letters translated
    QString number;   // as the phone gives it, may start with "+"
    QString memory;   // "A" the SIM card, "B" the phone memory
    QString index;    // location in its memory; empty marks a free slot

    bool operator==(const PhonebookEntry &) const = default;
};

// The first and last location numbers of a memory, from "+CPBR: (first-last)".
struct PhonebookRange {
    int first = 0;
    int last = 0;
    bool operator==(const PhonebookRange &) const = default;
};

// The letters translated in names read from the phone: code page 437 in,
// Windows-1252 (the same code points in text) out. Ten rows and an empty one.
struct PhoneChar {
    quint16 phone;
    quint16 windows;
};
inline constexpr int PhoneCharRows = 11;
extern const PhoneChar PhoneCharTable[PhoneCharRows];

class Phonebook {
public:
    static constexpr int Capacity = 501;

    const QList<PhonebookEntry> &entries() const { return m_entries; }
    int count() const { return int(m_entries.size()); }
    // True once the table holds a phonebook, from a read or the cache.
    bool isRead() const { return m_read; }
    void setRead(bool read) { m_read = read; }

    // A completed read: the table takes these entries (at most Capacity).
    void replace(const QList<PhonebookEntry> &entries);

    // loadCachedPhonebook: false when the file is missing or can't be read (the
    // table is then left as it was); otherwise the table holds the file's
    // entries, lines that are not entries skipped.
    bool load(const QString &path);
    // SavePhonebookCache: replaces the file as a whole (nothing half-written
    // is left behind). False when it could not be written.
    bool save(const QString &path) const;

    // The cache text of entries, and the entries of a cache text.
    static QByteArray cacheText(const QList<PhonebookEntry> &entries);
    static QList<PhonebookEntry> parseCache(const QByteArray &text);
    // One entry as a cache line, without the line end: Name;Number;Memory;Index;
    static QString cacheLine(const PhonebookEntry &e);

private:
    QList<PhonebookEntry> m_entries;
    bool m_read = false;
};

// "+CPBR: (1-250),40,18" gives 1 and 250. Nothing when the reply holds no
// whole range of positive numbers.
std::optional<PhonebookRange> parseRange(const QByteArray &reply);

// Appends to table the entries of an "AT+CPBR=first,last" reply, in location
// order, each location once, up to Phonebook::Capacity entries in all. An
// entry line runs to its CR: number, type and the name, which may hold commas.
// A line that lacks a field or its line end is skipped. Returns false when
// entries had to be left out because the table was full.
bool parseEntries(const QByteArray &reply, const QString &memory, const PhonebookRange &range,
                  QList<PhonebookEntry> &table);

// One leading and one trailing quotation mark removed.
QByteArray stripQuotes(const QByteArray &field);

// A text field of a device in UCS2 mode: hex digits, four for each UTF-16
// code unit ("004D00FC" is "Mü"). Nothing unless the field is non-empty, all
// hex, a multiple of four long, and whole characters without control codes.
std::optional<QString> decodeUcs2Hex(const QByteArray &field);
// Non-empty and nothing but the hex digits 0-9, A-F, a-f.
bool isAllHex(const QByteArray &field);
// A number as phones dial it: an optional leading "+", then at least one
// digit and nothing else.
bool isDialNumber(const QString &text);

// A name as the phone sends it (code page 437) as text: the letters of
// PhoneCharTable, and every other octet as the code page has it, so that no
// octet shows broken. Control characters are dropped, a tab becomes a space.
QString translateName(const QByteArray &name);

// The Windows-1252 form of text (characters it lacks become "?"), and back.
QByteArray toWindows1252(const QString &text);
QString fromWindows1252(const QByteArray &bytes);

} // namespace logo
