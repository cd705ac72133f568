#include "desktop/branding.h"

#include "desktop/appfolders.h"
#include "desktop/inifile.h"
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
    return IniFile(content, IniRules::profileString(MaxValueLength)).value(section, key).value_or(QString());
}

QString BrandingFile::value(const QString &section, const QString &key) const
{
    QFile f;
    if (!openRegularFile(f, m_path))
        return {};
    return lookup(f.readAll(), section, key);
}

bool BrandingFile::hides(const QString &methodKey) const
{
    return value(QStringLiteral("Branding"), methodKey).toUpper() == QStringLiteral("NO");
}

} // namespace logo
