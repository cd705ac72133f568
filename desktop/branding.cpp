#include "desktop/branding.h"

#include "desktop/appfolders.h"
#include "graphic/regularfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace logo {

BrandingFile::BrandingFile(const QString &folder, const QString &fileName)
{
    QDir dir(folder);
    m_path = dir.filePath(fileName);
    if (!QFileInfo::exists(m_path)) {
        const QStringList entries = dir.entryList(QDir::Files);
        for (const QString &e : entries)
            if (e.compare(fileName, Qt::CaseInsensitive) == 0) {
                m_path = dir.filePath(e);
                break;
            }
    }
}

BrandingFile BrandingFile::locate(const AppFolders &folders, const QString &fileName)
{
    const BrandingFile own(folders.programFolder(), fileName);
    if (folders.programFolder().isEmpty() || !QFileInfo::exists(own.filePath())) {
        const BrandingFile user(folders.userFolder(), fileName);
        if (QFileInfo::exists(user.filePath()))
            return user;
    }
    return own;
}

QString BrandingFile::folder() const
{
    return QFileInfo(m_path).absolutePath() + QLatin1Char('/');
}

QString BrandingFile::lookup(const QByteArray &content, const QString &section, const QString &key)
{
    const QString text = QString::fromLatin1(content);
    bool inSection = false;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype end = line.indexOf(QLatin1Char(']'));
            const QString name = line.mid(1, end < 0 ? -1 : end - 1).trimmed();
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection)
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        if (line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) != 0)
            continue;
        QString value = line.mid(eq + 1).trimmed();
        // A value wrapped in matching quotes loses them.
        if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
            value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        const qsizetype nul = value.indexOf(QChar(0));
        if (nul >= 0)
            value.truncate(nul);
        return value.left(MaxValueLength).trimmed();
    }
    return {};
}

QString BrandingFile::ReadBrandingValue(const QString &section, const QString &key) const
{
    QFile f;
    if (!openRegularFile(f, m_path))
        return {};
    return lookup(f.readAll(), section, key);
}

bool BrandingFile::hides(const QString &methodKey) const
{
    return ReadBrandingValue(QStringLiteral("Branding"), methodKey).toUpper() == QStringLiteral("NO");
}

} // namespace logo
