#include "desktop/xdgfiles.h"

#include "desktop/safewrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace logo::xdgfiles {

QStringList readLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

bool writeFile(const QString &path, const QByteArray &content, bool *changed)
{
    QFile old(path);
    if (old.open(QIODevice::ReadOnly) && old.readAll() == content)
        return true;
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!writeFileAtomically(path, content))
        return false;
    if (changed)
        *changed = true;
    return true;
}

IniFile readIni(const QString &path)
{
    return IniFile::load(path, IniRules::desktopEntry());
}

std::optional<QString> iniValue(const QString &path, const QString &group, const QString &key)
{
    return readIni(path).value(group, key);
}

QStringList listValue(const std::optional<QString> &value)
{
    return value ? value->split(QLatin1Char(';'), Qt::SkipEmptyParts) : QStringList();
}

QStringList envDirs(const char *name, const QString &fallback)
{
    QStringList dirs;
    for (const QString &d : qEnvironmentVariable(name).split(QLatin1Char(':'), Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(d))
            dirs << QDir::cleanPath(d);
    return dirs.isEmpty() ? fallback.split(QLatin1Char(':')) : dirs;
}

QString envHome(const char *name, const QString &fallback)
{
    const QString d = qEnvironmentVariable(name);
    return QDir::isAbsolutePath(d) ? QDir::cleanPath(d) : QDir::homePath() + fallback;
}

QString unescapeValue(const QString &value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != QLatin1Char('\\') || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const QChar c = value[++i];
        out += c == QLatin1Char('s')   ? QChar(' ')
               : c == QLatin1Char('n') ? QChar('\n')
               : c == QLatin1Char('t') ? QChar('\t')
               : c == QLatin1Char('r') ? QChar('\r')
                                       : c;
    }
    return out;
}

QString escapeValue(const QString &text)
{
    QString out = text;
    out.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    out.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    out.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    out.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    return out;
}

} // namespace logo::xdgfiles
