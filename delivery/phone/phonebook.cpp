#include "phone/phonebook.h"

#include "desktop/safewrite.h"

#include <QFile>
#include <QMap>

#include <cctype>

namespace logo {

namespace {

// Code page 437, the high half. The phones send names in it. (Kept as data
// rather than asking for a named converter, which exists only in some builds
// of the toolkit.)
const char16_t kCp437High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, // 80
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5, // 88
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, // 90
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, // 98
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, // A0
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, // A8
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, // B0
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, // B8
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, // C0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, // C8
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, // D0
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580, // D8
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, // E0
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, // E8
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, // F0
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0, // F8
};

// Windows-1252 from 0x80 to 0x9F; the rest of the code page is Latin-1. The
// five unassigned octets stand for the control characters of the same value.
const char16_t kCp1252Middle[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98
};

// A cache file holds at most Capacity short lines; anything much larger is
// not one, and is not read whole.
constexpr qint64 kMaxCacheBytes = 1 << 20;

// The end of the line that starts at pos: the first CR or LF; -1 when none.
qsizetype lineEnd(const QByteArray &text, qsizetype pos)
{
    for (qsizetype i = pos; i < text.size(); ++i)
        if (text[i] == '\r' || text[i] == '\n')
            return i;
    return -1;
}

std::optional<int> location(const QByteArray &text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < 0)
        return std::nullopt;
    return n;
}

} // namespace

const PhoneChar PhoneCharTable[PhoneCharRows] = {
    {142, 196}, {132, 228}, {153, 214}, {148, 246}, {154, 220},
    {129, 252}, {225, 223}, {145, 230}, {146, 198}, {130, 233}, {0, 0},
};

// ------------------------------------------------------------------ parsing

std::optional<PhonebookRange> parseRange(const QByteArray &reply)
{
    static const QByteArray key("+CPBR: (");
    const qsizetype at = reply.indexOf(key);
    if (at < 0)
        return std::nullopt;
    const qsizetype start = at + key.size();
    const qsizetype end = lineEnd(reply, start);
    const QByteArray line = reply.mid(start, end < 0 ? -1 : end - start);
    const qsizetype dash = line.indexOf('-');
    const qsizetype close = dash < 0 ? -1 : line.indexOf(')', dash + 1);
    if (close < 0)
        return std::nullopt;
    const auto first = location(line.left(dash));
    const auto last = location(line.mid(dash + 1, close - dash - 1));
    if (!first || !last || *first > *last)
        return std::nullopt;
    return PhonebookRange{*first, *last};
}

namespace {

// One field of an entry line, its quotation marks removed.
struct LineField {
    QByteArray text;
    bool quoted = false;
    qsizetype start = 0;    // where the field starts in the line
};

// The fields of an entry line (after "+CPBR: "), separated by commas outside
// quotation marks. A quoted field ends at the first quotation mark after its
// opening one that is followed by a comma or the end of the line: commas
// inside stay in the field, and so do quotation marks inside a name. Nothing
// when a quoted field never ends.
std::optional<QList<LineField>> splitEntryLine(const QByteArray &line)
{
    QList<LineField> fields;
    qsizetype pos = 0;
    for (;;) {
        LineField f;
        f.start = pos;
        if (pos < line.size() && line[pos] == '"') {
            qsizetype close = -1;
            for (qsizetype q = line.indexOf('"', pos + 1); q >= 0; q = line.indexOf('"', q + 1)) {
                if (q + 1 == line.size() || line[q + 1] == ',') {
                    close = q;
                    break;
                }
            }
            if (close < 0)
                return std::nullopt;
            f.text = line.mid(pos + 1, close - pos - 1);
            f.quoted = true;
            pos = close + 1;
        } else {
            const qsizetype comma = line.indexOf(',', pos);
            const qsizetype end = comma < 0 ? line.size() : comma;
            f.text = line.mid(pos, end - pos);
            pos = end;
        }
        fields << f;
        if (pos >= line.size())
            return fields;
        ++pos;    // the comma
    }
}

// An entry line taken apart: location, number, name, as the phone sent them.
struct RawEntry {
    int location = 0;
    QByteArray number;
    QByteArray name;          // quoted: the quoted text; else the rest of the line
    QByteArray firstPart;     // of an unquoted name: up to its first comma
};

std::optional<RawEntry> rawEntry(const QByteArray &line)
{
    const auto fields = splitEntryLine(line);
    if (!fields || fields->size() < 4)
        return std::nullopt;
    const auto i = location((*fields)[0].text);
    if (!i || (*fields)[0].quoted)
        return std::nullopt;
    RawEntry e;
    e.location = *i;
    e.number = (*fields)[1].text;
    const LineField &name = (*fields)[3];
    if (name.quoted) {
        // What follows the closing quotation mark (a hidden flag, a group,
        // a time stamp) is not part of the name.
        e.name = name.text;
    } else {
        // Unquoted, a name runs to the end of its line and may hold commas;
        // empty fields after it are no part of it.
        e.name = line.mid(name.start);
        while (e.name.endsWith(','))
            e.name.chop(1);
        e.firstPart = name.text;
    }
    return e;
}

// A number as a device in UCS2 mode sends it: hex of a number.
bool isUcs2Number(const QByteArray &number)
{
    const auto text = decodeUcs2Hex(number);
    return text && isDialNumber(*text);
}

// Whether the device sent the reply in UCS2 mode, as hex of UTF-16. A name
// alone can't tell: "CAFE" and "BEEF" are names, and hex of one character
// each. So it takes evidence:
// - a number sent as hex ("002B0034..." decodes to "+4..."), which a number
//   in plain text never is; or
// - every name of the reply is hex of UTF-16, and at least one of them holds
//   a character of the Latin range (hex "00xx"), as every name written in
//   Latin letters, digits or with a space does in UCS2.
bool isUcs2Reply(const QList<RawEntry> &entries)
{
    for (const RawEntry &e : entries)
        if (isUcs2Number(e.number))
            return true;
    bool names = false, latin = false;
    for (const RawEntry &e : entries) {
        const QByteArray &name = e.firstPart.isEmpty() ? e.name : e.firstPart;
        if (name.isEmpty())
            continue;
        const auto text = decodeUcs2Hex(name);
        if (!text)
            return false;
        names = true;
        for (const QChar c : *text)
            latin = latin || c.unicode() < 0x100;
    }
    return names && latin;
}

std::optional<PhonebookEntry> decodedEntry(const RawEntry &raw, bool ucs2, const QString &memory)
{
    PhonebookEntry e;
    e.memory = memory;
    e.index = QString::number(raw.location);
    if (!ucs2) {
        e.number = QString::fromLatin1(raw.number);
        e.name = translateName(raw.name);
        return e;
    }
    // Hex that is no number is never shown as one.
    if (isUcs2Number(raw.number))
        e.number = *decodeUcs2Hex(raw.number);
    else if (raw.number.isEmpty() || isDialNumber(QString::fromLatin1(raw.number)))
        e.number = QString::fromLatin1(raw.number);
    else
        return std::nullopt;
    const QByteArray &name = raw.firstPart.isEmpty() ? raw.name : raw.firstPart;
    if (const auto text = decodeUcs2Hex(name))
        e.name = *text;
    else if (name.isEmpty())
        e.name.clear();
    else
        e.name = translateName(raw.name);
    return e;
}

} // namespace

bool parseEntries(const QByteArray &reply, const QString &memory, const PhonebookRange &range,
                  QList<PhonebookEntry> &table)
{
    static const QByteArray key("+CPBR: ");
    // The first line of each location, in location order.
    QMap<int, RawEntry> found;
    qsizetype pos = 0;
    for (qsizetype at; (at = reply.indexOf(key, pos)) >= 0;) {
        const qsizetype start = at + key.size();
        const qsizetype end = lineEnd(reply, start);
        if (end < 0)
            break;     // the line never ends: not a whole entry
        pos = end;
        // A line that can't be made sense of is left out; the others count.
        const auto e = rawEntry(reply.mid(start, end - start));
        if (!e || e->location < range.first || e->location > range.last || found.contains(e->location))
            continue;
        found.insert(e->location, *e);
    }
    const bool ucs2 = isUcs2Reply(found.values());
    for (const RawEntry &raw : std::as_const(found)) {
        const auto e = decodedEntry(raw, ucs2, memory);
        if (!e)
            continue;
        if (table.size() >= Phonebook::Capacity)
            return false;
        table << *e;
    }
    return true;
}

QByteArray stripQuotes(const QByteArray &field)
{
    QByteArray s = field;
    if (s.startsWith('"'))
        s.remove(0, 1);
    if (s.endsWith('"'))
        s.chop(1);
    return s;
}

bool isAllHex(const QByteArray &field)
{
    if (field.isEmpty())
        return false;
    for (const char c : field)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

std::optional<QString> decodeUcs2Hex(const QByteArray &field)
{
    if (field.size() % 4 != 0 || !isAllHex(field))
        return std::nullopt;
    const QByteArray octets = QByteArray::fromHex(field);
    QString text;
    text.reserve(octets.size() / 2);
    for (qsizetype i = 0; i + 1 < octets.size(); i += 2)
        text += QChar(char16_t((quint8(octets[i]) << 8) | quint8(octets[i + 1])));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate() || c.category() == QChar::Other_Control || c.unicode() == 0xFFFE ||
            c.unicode() == 0xFFFF)
            return std::nullopt;
    }
    return text;
}

bool isDialNumber(const QString &text)
{
    const QString digits = text.startsWith(QLatin1Char('+')) ? text.mid(1) : text;
    if (digits.isEmpty())
        return false;
    for (const QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

QString translateName(const QByteArray &name)
{
    QString out;
    out.reserve(name.size());
    for (const char c : name) {
        const auto code = static_cast<unsigned char>(c);
        bool translated = false;
        for (const PhoneChar &row : PhoneCharTable) {
            if (row.phone != 0 && row.phone == code) {
                out += QChar(row.windows);
                translated = true;
                break;
            }
        }
        if (translated)
            continue;
        if (code == '\t')
            out += QLatin1Char(' ');
        else if (code >= 0x80)
            out += QChar(kCp437High[code - 0x80]);
        else if (code >= 0x20 && code != 0x7F)
            out += QLatin1Char(char(code));
    }
    return out;
}

QByteArray toWindows1252(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out += char(u);
            continue;
        }
        char mapped = '?';
        for (int i = 0; i < 32; ++i)
            if (kCp1252Middle[i] == u)
                mapped = char(0x80 + i);
        out += mapped;
    }
    return out;
}

QString fromWindows1252(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto code = static_cast<unsigned char>(c);
        out += (code >= 0x80 && code < 0xA0) ? QChar(kCp1252Middle[code - 0x80]) : QChar(code);
    }
    return out;
}

// ------------------------------------------------------------------ the table

void Phonebook::replace(const QList<PhonebookEntry> &entries)
{
    m_entries = entries.mid(0, Capacity);
}

QString Phonebook::cacheLine(const PhonebookEntry &e)
{
    // The fields after the name hold no ";" (the reader counts them from the
    // end of the line, so a name may).
    auto field = [](QString s) { return s.remove(QLatin1Char(';')); };
    return e.name + QLatin1Char(';') + field(e.number) + QLatin1Char(';') + field(e.memory) + QLatin1Char(';') +
           field(e.index) + QLatin1Char(';');
}

QByteArray Phonebook::cacheText(const QList<PhonebookEntry> &entries)
{
    QByteArray text;
    for (const PhonebookEntry &e : entries)
        if (!e.index.isEmpty())
            text += toWindows1252(cacheLine(e)) + "\r\n";
    return text;
}

QList<PhonebookEntry> Phonebook::parseCache(const QByteArray &text)
{
    QList<PhonebookEntry> entries;
    for (QByteArray line : text.split('\n')) {
        if (entries.size() >= Capacity)
            break;
        if (line.endsWith('\r'))
            line.chop(1);
        // Name;Number;Memory;Index; -- the last four separators end the four
        // fields, so a ";" in a name stays in the name.
        QList<qsizetype> seps;
        for (qsizetype i = 0; i < line.size(); ++i)
            if (line[i] == ';')
                seps << i;
        if (seps.size() < 4)
            continue;
        const qsizetype n = seps.size();
        const qsizetype p1 = seps[n - 4], p2 = seps[n - 3], p3 = seps[n - 2], p4 = seps[n - 1];
        PhonebookEntry e;
        e.name = fromWindows1252(line.left(p1));
        e.number = fromWindows1252(line.mid(p1 + 1, p2 - p1 - 1));
        e.memory = fromWindows1252(line.mid(p2 + 1, p3 - p2 - 1));
        e.index = fromWindows1252(line.mid(p3 + 1, p4 - p3 - 1));
        if (!e.index.isEmpty())
            entries << e;
    }
    return entries;
}

bool Phonebook::load(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = f.read(kMaxCacheBytes);
    if (f.error() != QFileDevice::NoError)
        return false;
    m_entries = parseCache(text);
    return true;
}

bool Phonebook::save(const QString &path) const
{
    return writeFileAtomically(path, cacheText(m_entries));
}

} // namespace logo
