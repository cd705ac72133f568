#pragma once
// The folders the file dialogs remember, kept in the program's settings
// section: Open's ("UserDir"), Save As's ("UserDirSave"), Import's
// ("ImportDir") and, in a program with Export, Export's ("ExportDir").
#include <QString>

namespace logo {

struct ProgramProfile;
class SettingsStore;

struct DialogFolders {
    QString openFolder;
    QString saveFolder;
    QString importFolder;
    QString exportFolder;

    void load(const SettingsStore &settings, const ProgramProfile &profile);
    void save(SettingsStore &settings, const ProgramProfile &profile) const;
};

} // namespace logo
