#include "desktop/inifile.h"

#include <QFile>

namespace logo {

IniRules IniRules::profileString(int maxValueLength)
{
    IniRules rules;
    rules.latin1 = true;
    rules.unquote = true;
    rules.maxValueLength = maxValueLength;
    return rules;
}

IniRules IniRules::desktopEntry()
{
    IniRules rules;
    rules.names = Qt::CaseSensitive;
    return rules;
}

struct IniFile::Line {
    enum class Kind { Other, Section, Entry };
    Kind kind = Kind::Other;
    QString name;   // the section's name or the entry's key
    QString value;  // the entry's text after '=', trimmed
};

IniFile::IniFile(const IniRules &rules) : m_rules(rules) {}

IniFile::IniFile(const QByteArray &bytes, const IniRules &rules) : m_rules(rules)
{
    m_lines = (rules.latin1 ? QString::fromLatin1(bytes) : QString::fromUtf8(bytes)).split(QLatin1Char('\n'));
    if (m_lines.back().isEmpty())
        m_lines.removeLast();
}

IniFile::IniFile(const QStringList &lines, const IniRules &rules) : m_rules(rules), m_lines(lines) {}

IniFile IniFile::load(const QString &path, const IniRules &rules)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return IniFile(rules);
    return IniFile(f.readAll(), rules);
}

IniFile::Line IniFile::parse(const QString &raw) const
{
    const QString line = raw.trimmed();
    Line parsed;
    if (line.isEmpty() || line.front() == QLatin1Char(';') || line.front() == QLatin1Char('#'))
        return parsed;
    if (line.front() == QLatin1Char('[')) {
        const qsizetype end = line.indexOf(QLatin1Char(']'));
        parsed.kind = Line::Kind::Section;
        parsed.name = line.mid(1, end < 0 ? -1 : end - 1).trimmed();
        return parsed;
    }
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return parsed;
    parsed.kind = Line::Kind::Entry;
    parsed.name = line.left(eq).trimmed();
    parsed.value = line.mid(eq + 1).trimmed();
    return parsed;
}

QString IniFile::valueOf(const Line &line) const
{
    QString value = line.value;
    if (m_rules.unquote && value.size() >= 2 &&
        (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    if (m_rules.maxValueLength > 0) {
        const qsizetype nul = value.indexOf(QChar(0));
        if (nul >= 0)
            value.truncate(nul);
        value = value.left(m_rules.maxValueLength).trimmed();
    }
    return value;
}

QList<IniFile::Entry> IniFile::entries() const
{
    QList<Entry> entries;
    QString section;
    for (const QString &raw : m_lines) {
        const Line line = parse(raw);
        if (line.kind == Line::Kind::Section)
            section = line.name;
        else if (line.kind == Line::Kind::Entry)
            entries.append({section, line.name, valueOf(line)});
    }
    return entries;
}

std::optional<QString> IniFile::value(const QString &section, const QString &key) const
{
    bool inSection = false;
    for (const QString &raw : m_lines) {
        const Line line = parse(raw);
        if (line.kind == Line::Kind::Section)
            inSection = line.name.compare(section, m_rules.names) == 0;
        else if (inSection && line.kind == Line::Kind::Entry && line.name.compare(key, m_rules.names) == 0)
            return valueOf(line);
    }
    return std::nullopt;
}

void IniFile::setValue(const QString &section, const QString &key, const QString &value)
{
    qsizetype sectionStart = -1, sectionEnd = m_lines.size();
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const Line line = parse(m_lines[i]);
        if (line.kind != Line::Kind::Section)
            continue;
        if (sectionStart >= 0) {
            sectionEnd = i;
            break;
        }
        if (line.name.compare(section, m_rules.names) == 0)
            sectionStart = i;
    }
    const QString entry = key + QLatin1Char('=') + value;
    if (sectionStart < 0) {
        if (value.isNull())
            return;
        if (!m_lines.isEmpty() && !m_lines.back().trimmed().isEmpty())
            m_lines << QString();
        m_lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
        return;
    }
    for (qsizetype i = sectionStart + 1; i < sectionEnd; ++i) {
        const Line line = parse(m_lines[i]);
        if (line.kind == Line::Kind::Entry && line.name.compare(key, m_rules.names) == 0) {
            if (value.isNull())
                m_lines.removeAt(i);
            else
                m_lines[i] = entry;
            return;
        }
    }
    if (value.isNull())
        return;
    // After the section's last line, before any blank lines that end it.
    qsizetype at = sectionEnd;
    while (at > sectionStart + 1 && m_lines[at - 1].trimmed().isEmpty())
        --at;
    m_lines.insert(at, entry);
}

QByteArray IniFile::toBytes() const
{
    const QString text = m_lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    return m_rules.latin1 ? text.toLatin1() : text.toUtf8();
}

} // namespace logo
