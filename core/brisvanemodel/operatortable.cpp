#include "brisvanemodel/operatortable.h"

#include "sms/digits.h"
#include "graphic/regularfile.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>

namespace brisvane {

namespace {

// Eleven networks of several countries: country;name;MCC;MNC;web address;
// each line scrambled (see OperatorTable::scramble).
const char *const kBuiltInLines[OperatorTable::BuiltInCount] = {
    "Fdsl`ox:U,Lnchmd!E0:373:10:vvv/u,lnchmd/ed:",
    "Fdsl`ox:E3!Wne`gnod:373:13:vvv/wne`gnod/ed:",
    "Fdsl`ox:D,Qmtr:373:12:vvv/dqmtr/ed:",
    "Tohude!Jhofenl:CU!Bdmmodu:325:01:vvv/cubdmmodu/odu:",
    "Tohude!Jhofenl:Wne`gnod:325:04:vvv/wne`gnod/bn/tj:",
    "Gs`obd:Ns`ofd:319:10:vvv/ns`ofd/gs:",
    "Gs`obd:RGS:319:01:vvv/rgs/gs:",
    "Hu`mx:UHL:333:10:vvv/uhl/hu:",
    "@trush`:@0:323:10:vvv/`0/odu:",
    "Rvhu{dsm`oe:Rvhrrbnl:339:10:vvv/rvhrrbnl/bi:",
    "Ghom`oe:Rnods`:355:80:vvv/rnods`/gh:",
};

// More than any sensible update file holds (390 lines); the rest of a larger
// file is never looked at.
constexpr qint64 UpdateFileReadLimit = 1 << 20;

// A network code is a number of at most three digits.
bool validCode(const QString &digits)
{
    if (digits.isEmpty())
        return false;
    qsizetype first = 0;
    while (first < digits.size() - 1 && digits[first] == QLatin1Char('0'))
        ++first;
    return digits.size() - first <= 3;
}

QString formatDigits(const QString &text, int width)
{
    const QString digits = logo::digitsOnly(text);
    if (digits.isEmpty())
        return {};
    qsizetype first = 0;
    while (first < digits.size() - 1 && digits[first] == QLatin1Char('0'))
        ++first;
    const QString shown = digits.mid(first).rightJustified(width, QLatin1Char('0'));
    // A negative code (a file can hold one) is shown as it is, never as the
    // positive code of another network.
    const bool negative = text.trimmed().startsWith(QLatin1Char('-')) && shown.toLongLong() != 0;
    return negative ? QStringLiteral("-") + shown : shown;
}

QString decodeText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

// Lines ended by CR LF, CR or LF; a last line needs no ending.
QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines << text.mid(start, i - start);
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}

} // namespace

int findSeparator(const QString &text, QChar separator, int start)
{
    return int(text.indexOf(separator, start));
}

QString formatMccText(const QString &digits)
{
    return formatDigits(digits, 3);
}

QString formatMncText(const QString &digits)
{
    return formatDigits(digits, 2);
}

QString OperatorTable::scramble(const QString &text)
{
    QString out = text;
    for (QChar &c : out)
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            c = QChar(c.unicode() ^ 1);
    return out;
}

bool OperatorTable::parseRecord(const QString &line, OperatorRecord &out)
{
    // All five separators are found before any field is taken.
    int ends[5];
    int from = 0;
    for (int &end : ends) {
        end = findSeparator(line, QLatin1Char(';'), from);
        if (end < 0)
            return false;
        from = end + 1;
    }
    QString fields[5];
    from = 0;
    for (int i = 0; i < 5; ++i) {
        fields[i] = line.mid(from, ends[i] - from);
        from = ends[i] + 1;
    }
    out = {fields[0], fields[1], logo::digitsOnly(fields[2]), logo::digitsOnly(fields[3]), fields[4]};
    return true;
}

OperatorTable::OperatorTable()
{
    QString joined;
    for (const char *line : kBuiltInLines)
        joined += QString::fromLatin1(line) + QLatin1Char('\r');
    const QString plain = scramble(joined);
    int from = 0;
    for (int i = 0; i < BuiltInCount; ++i) {
        const int end = findSeparator(plain, QLatin1Char('\r'), from);
        OperatorRecord r;
        if (parseRecord(plain.mid(from, end - from), r))
            m_records.push_back(r);
        from = end + 1;
    }
}

UpdateReport OperatorTable::appendUpdateFile(const QString &path)
{
    UpdateReport report;
    QFile file;
    if (!QFile::exists(path))
        return report;
    report.present = true;
    if (!logo::openRegularFile(file, path)) {
        report.stop = UpdateReport::Stop::Unreadable;
        return report;
    }
    const QByteArray bytes = file.read(UpdateFileReadLimit);
    if (file.error() != QFileDevice::NoError) {
        report.stop = UpdateReport::Stop::Unreadable;
        return report;
    }
    return appendUpdateText(bytes);
}

UpdateReport OperatorTable::appendUpdateText(const QByteArray &bytes)
{
    UpdateReport report;
    report.present = true;
    const QStringList lines = splitLines(decodeText(bytes));
    for (int i = 0; i < lines.size(); ++i) {
        OperatorRecord r;
        UpdateReport::Stop stop = UpdateReport::Stop::None;
        if (!parseRecord(lines[i], r))
            stop = UpdateReport::Stop::ShortLine;
        else if (!validCode(r.mcc) || !validCode(r.mnc))
            stop = UpdateReport::Stop::BadCode;
        else if (count() >= Capacity)
            stop = UpdateReport::Stop::TableFull;
        if (stop != UpdateReport::Stop::None) {
            report.stop = stop;
            report.line = i + 1;
            return report;
        }
        m_records.push_back(r);
        ++report.added;
    }
    return report;
}

QString UpdateReport::message(const QString &fileName) const
{
    switch (stop) {
    case Stop::None:
        return {};
    case Stop::Unreadable:
        return QStringLiteral("%1: can't read the file").arg(fileName);
    case Stop::ShortLine:
        return QStringLiteral("%1 line %2: fewer than five \";\"; reading stopped").arg(fileName).arg(line);
    case Stop::BadCode:
        return QStringLiteral("%1 line %2: MCC and MNC must be numbers of one to three digits; reading stopped")
            .arg(fileName)
            .arg(line);
    case Stop::TableFull:
        return QStringLiteral("%1 line %2: the table is full (%3 operators); reading stopped")
            .arg(fileName)
            .arg(line)
            .arg(OperatorTable::Capacity);
    }
    return {};
}

QList<OperatorListEntry> OperatorTable::listEntries() const
{
    QList<OperatorListEntry> list;
    for (int i = 0; i < count(); ++i)
        if (!m_records[size_t(i)].country.isEmpty())
            list.append({m_records[size_t(i)].country + QStringLiteral(" - ") + m_records[size_t(i)].name, i});
    list.append({ClearEntryText, ClearItem});
    list.append({PlaceholderText, PlaceholderItem});
    std::stable_sort(list.begin(), list.end(), [](const OperatorListEntry &a, const OperatorListEntry &b) {
        return a.text.compare(b.text, Qt::CaseInsensitive) < 0;
    });
    return list;
}

int OperatorTable::findByCode(const QString &mcc, const QString &mnc) const
{
    const QString wantMcc = formatMccText(mcc), wantMnc = formatMncText(mnc);
    for (int i = 0; i < count(); ++i) {
        const OperatorRecord &r = m_records[size_t(i)];
        if (formatMccText(r.mcc) == wantMcc && formatMncText(r.mnc) == wantMnc)
            return i;
    }
    return -1;
}

} // namespace brisvane
