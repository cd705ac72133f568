#pragma once
// The recent-file list of a program: four entries, the newest first, kept in
// the profile's recent section ("File1" to "File4").
#include "desktop/profile.h"

#include <QObject>
#include <QStringList>

namespace logo {

class SettingsStore;

class RecentFiles : public QObject {
    Q_OBJECT
public:
    static constexpr int Count = 4;

    explicit RecentFiles(const ProgramProfile &profile, QObject *parent = nullptr);

    // Always Count entries; an empty one is a gap.
    QStringList files() const { return m_files; }
    // Entry n, 1 to Count; empty outside.
    QString file(int n) const { return m_files.value(n - 1); }
    void setFiles(const QStringList &files);
    // Puts path first. An entry already second or third moves up; any other
    // path drops the fourth entry. Pseudo-names and empty paths stay out.
    void add(const QString &path);
    // Drops every entry equal to path; the later ones move up.
    void remove(const QString &path);

    void load(const SettingsStore &settings);
    void save(SettingsStore &settings) const;

signals:
    void changed();

private:
    const ProgramProfile &m_profile;
    QStringList m_files{QString(), QString(), QString(), QString()};
};

} // namespace logo
