#include "desktop/recentfiles.h"

#include "desktop/settingsstore.h"

namespace logo {

RecentFiles::RecentFiles(const ProgramProfile &profile, QObject *parent) : QObject(parent), m_profile(profile) {}

void RecentFiles::setFiles(const QStringList &files)
{
    m_files = files.mid(0, Count);
    while (m_files.size() < Count)
        m_files << QString();
    emit changed();
}

void RecentFiles::add(const QString &path)
{
    if (!m_profile.isPseudoName(path) && !path.isEmpty() && path != m_files[0]) {
        int found = -1;
        for (int i = 1; i <= 2; ++i)
            if (m_files[i] == path)
                found = i;
        if (found < 0)
            found = Count - 1; // any other path drops the fourth entry
        for (int i = found; i > 0; --i)
            m_files[i] = m_files[i - 1];
        m_files[0] = path;
    }
    emit changed();
}

void RecentFiles::remove(const QString &path)
{
    m_files.removeAll(path);
    setFiles(m_files);
}

void RecentFiles::load(const SettingsStore &settings)
{
    QStringList files;
    for (int i = 1; i <= Count; ++i)
        files << settings.read(m_profile.recentSection, QStringLiteral("File%1").arg(i));
    setFiles(files);
}

void RecentFiles::save(SettingsStore &settings) const
{
    for (int i = 1; i <= Count; ++i)
        settings.write(m_profile.recentSection, QStringLiteral("File%1").arg(i), m_files.value(i - 1));
}

} // namespace logo
