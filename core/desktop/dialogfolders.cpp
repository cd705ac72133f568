#include "desktop/dialogfolders.h"

#include "desktop/profile.h"
#include "desktop/settingsstore.h"

namespace logo {

void DialogFolders::load(const SettingsStore &settings, const ProgramProfile &profile)
{
    const QString section = profile.settingsSection;
    openFolder = settings.read(section, QStringLiteral("UserDir"));
    saveFolder = settings.read(section, QStringLiteral("UserDirSave"));
    importFolder = settings.read(section, QStringLiteral("ImportDir"));
    if (profile.isQuillet())
        exportFolder = settings.read(section, QStringLiteral("ExportDir"));
}

void DialogFolders::save(SettingsStore &settings, const ProgramProfile &profile) const
{
    const QString section = profile.settingsSection;
    settings.write(section, QStringLiteral("UserDir"), openFolder);
    settings.write(section, QStringLiteral("UserDirSave"), saveFolder);
    settings.write(section, QStringLiteral("ImportDir"), importFolder);
    if (profile.isQuillet())
        settings.write(section, QStringLiteral("ExportDir"), exportFolder);
}

} // namespace logo
