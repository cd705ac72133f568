#pragma once
// File-type association: each program registers its own picture type at every
// start, maps the sibling program's type to that program's class, and Quillet
// offers to claim the foreign Nokia types it reads.
//
// The algorithm works on the tree of keys the Windows registry keeps file types
// in; every desktop provides that tree over its own storage (FileTypeTree):
//   ".ngg"                                    value: the class name
//   "NokiaGroupGraphic"                       value: the type's description
//   "NokiaGroupGraphic\shell\open\command"    value: the open command
//   "NokiaGroupGraphic\DefaultIcon"           value: the icon
#include <QString>
#include <memory>
#include <optional>

namespace logo {

struct ProgramProfile;
class Prompt;
class SettingsStore;

class FileTypeTree {
public:
    virtual ~FileTypeTree() = default;

    virtual bool exists(const QString &key) const = 0;
    // The key's value; nullopt when the key or its value is missing or can't be read.
    virtual std::optional<QString> value(const QString &key) const = 0;
    // Creates the key; false when it can't.
    virtual bool create(const QString &key) = 0;
    // Sets the value of the key, creating it when needed; false when it can't.
    virtual bool setValue(const QString &key, const QString &value) = 0;

    // The open command and the icon of a program as this desktop writes them.
    virtual QString commandValue(const QString &program) const = 0;
    virtual QString iconValue(const QString &program, const QString &className) const = 0;

    // Lets the desktop pick up the changes made since the last call.
    virtual void commit() {}

    // False for a program the desktop must not be pointed at (on Linux one
    // outside the install, a build folder's: its entry would later hide the
    // installed one); the start-up then registers nothing and asks nothing.
    virtual bool mayRegister(const QString &program) const { Q_UNUSED(program); return true; }
};

// The tree of the desktop this program runs on: the current user's classes in
// the registry on Windows, the freedesktop.org MIME and desktop-entry files
// of the user's data folders elsewhere.
std::unique_ptr<FileTypeTree> desktopFileTypes();

enum class AssociateResult {
    Done,
    Unreadable,    // the extension key exists but its value can't be read: nothing changed
    CreateFailed,  // the missing extension key could not be created (the caller beeps)
};

// Registers extension as className. With overwrite an extension mapped to
// another class is remapped; with registerCommand the class (the current one,
// after any remapping) gets program's open command, rewritten only when the
// registered one differs beyond letter case, and its icon. A missing extension
// key is created only with overwrite.
AssociateResult associateFileType(FileTypeTree &tree, const QString &program, const QString &extension,
                                  bool overwrite, const QString &className, bool registerCommand,
                                  const QString &description);

// False only when the extension key exists, its value can be read and names
// another class.
bool isAssociatedWith(const FileTypeTree &tree, const QString &extension, const QString &className);

// The profile's extra types, each mapped to its own class without command.
void associateExtraFileTypes(FileTypeTree &tree, const ProgramProfile &profile, const QString &program,
                             Prompt &prompt);

// The start-up of a main instance: the profile's registrations in order, then
// for a program with extra types the settings "FileTypeOnStartup" and
// "FileTypeWarn" and the question about them. program is the executable's path.
void registerFileTypesAtStartup(FileTypeTree &tree, const ProgramProfile &profile, Prompt &prompt,
                                SettingsStore &settings, const QString &program);
// The same on the desktop's own tree, for the running executable.
void registerFileTypesAtStartup(const ProgramProfile &profile, Prompt &prompt, SettingsStore &settings);

} // namespace logo
