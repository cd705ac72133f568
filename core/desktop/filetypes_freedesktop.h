#pragma once
// File types on freedesktop.org desktops (Linux and other Unix desktops).
//
// The tree of the association algorithm maps onto the shared MIME database,
// desktop entries and mimeapps.list:
//   ".ngg"                 exists when the MIME database knows our type for it
//                          (created by installing our MIME package into the
//                          user's data folder); its value is the class whose
//                          desktop entry is the type's default application,
//                          else the default's own entry name, else empty text
//                          (no application). Setting it makes the class's entry
//                          the default in the user's mimeapps.list.
//   class                  exists when its desktop entry ("quillet.desktop")
//                          is installed; the description lives in the MIME
//                          package, so setting it changes nothing.
//   class\shell\open\command   the program that the entry's Exec starts, as an
//                          absolute path; setting it writes the user's copy of
//                          the entry with that Exec.
//   class\DefaultIcon      the entry's Icon.
// commit() runs update-mime-database and update-desktop-database on the
// user's folders after changes, when they are installed.
#include "desktop/appfolders.h"
#include "desktop/filetypes.h"

#include <QMap>
#include <QSet>
#include <QStringList>

namespace logo {

class FreedesktopFileTypes : public FileTypeTree {
public:
    // A class and the desktop entry (also the icon name) that stands for it.
    struct ClassEntry {
        QString className;
        QString entry;   // "quillet": quillet.desktop, icon "quillet"
    };
    // The classes of both programs' profiles.
    static QList<ClassEntry> programClasses();

    // installFolder: where the programs are installed. The user's desktop
    // entry of a program is written only for a program there (one in a build
    // or unpacked folder would later hide the installed entry), and an entry
    // of ours that starts a program from anywhere else is removed.
    explicit FreedesktopFileTypes(const QList<ClassEntry> &classes = programClasses(),
                                  const QString &installFolder = AppFolders::installedFolder());

    bool exists(const QString &key) const override;
    std::optional<QString> value(const QString &key) const override;
    bool create(const QString &key) override;
    bool setValue(const QString &key, const QString &value) override;
    bool mayRegister(const QString &program) const override { return isInstalledProgram(commandValue(program)); }
    QString commandValue(const QString &program) const override;
    QString iconValue(const QString &program, const QString &className) const override;
    void commit() override;

    // The MIME type our package gives an extension (".ngg"); empty for others.
    QString mimeTypeOf(const QString &extension) const;

    // Exec values: program quoted as the desktop entry format wants it, and
    // the program an Exec value starts (empty when there is none).
    static QString execValue(const QString &program);
    static QString programOfExec(const QString &exec);

    // Folders, read from the environment (XDG_DATA_HOME, XDG_DATA_DIRS,
    // XDG_CONFIG_HOME, XDG_CONFIG_DIRS) on each call.
    static QString dataHome();
    static QStringList dataDirs();     // dataHome first
    static QString configHome();
    static QStringList configDirs();   // configHome first

private:
    enum class Part { Extension, Class, Command, Icon, Unknown };
    Part partOf(const QString &key, QString *name) const;
    QString entryFile(const QString &className) const;   // "quillet.desktop"
    QString installedEntry(const QString &className) const;   // its path, or empty
    QString entryValue(const QString &className, const QString &key) const;
    bool writeEntry(const QString &className, const QString &key, const QString &value);
    bool isInstalledProgram(const QString &program) const;
    void removeStaleEntries();
    QString defaultApplication(const QString &mimeType) const;
    bool setDefaultApplication(const QString &mimeType, const QString &entryFile);
    bool installPackage();
    void installIconIfMissing(const QString &icon);

    QList<ClassEntry> m_classes;
    QMap<QString, QString> m_types;   // ".ngg" -> MIME type
    QSet<QString> m_knownTypes;       // our types the MIME database knows
    QString m_installFolder;          // canonical; empty when unknown
    bool m_mimeChanged = false;
    bool m_entriesChanged = false;
};

} // namespace logo
