#pragma once
// The files that live "beside the program" (branding file, operator update
// file, phonebook cache, the default-logo folder): looked for in the program's
// own folder first, then in the per-user data folder, so that an installed
// program, whose folder the user can't write, works as well as one unpacked
// into a folder of the user's.
#include <QString>

namespace logo {

class AppFolders {
public:
    // programFolder: where the executable lives. userFolder: empty for the
    // user's data folder (defaultUserFolder()).
    explicit AppFolders(const QString &programFolder = QString(), const QString &userFolder = QString());
    virtual ~AppFolders() = default;

    // <user data>/VORNHAL Wireless Design ($XDG_DATA_HOME on Linux); the
    // environment variable LOGO_DATA_DIR names another folder.
    static QString defaultUserFolder();
    // The folder the programs are installed into (/usr/bin for the package),
    // ending in "/". It belongs to the system: nothing is written there, even
    // by a user who could.
    static QString installedFolder();

    // Both end in "/".
    QString programFolder() const { return m_program; }
    QString userFolder() const { return m_user; }

    // The existing file or folder of that name, the program's folder first;
    // empty when neither holds it. A copy in the program's folder that can't
    // be written to gives way to one in the user's folder (what the user saved
    // wins over what was installed with the program).
    QString find(const QString &name) const;
    // Where to write a file or folder of that name: the program's folder when
    // it can be written to, else the user's data folder (created as needed).
    // An existing entry in the program's folder that can't be written to is
    // shadowed by the user's copy.
    QString writable(const QString &name) const;

protected:
    // Whether the file or folder (existing or not: then its folder) can be written.
    virtual bool canWrite(const QString &path) const;

private:
    QString m_program;
    QString m_user;
};

// The system's temporary folder (TMPDIR on Unix) when it exists, else the
// platform's own (/tmp); never the working folder. Empty when none exists.
QString temporaryFolder();

// A folder that only the current user can enter: a real folder (not a link),
// owned by the user and closed to everyone else. Always true on Windows.
bool isPrivateFolder(const QString &path);
// path made as such a folder (its parent must exist), or the one already
// there when it is private; false when another user or a link holds the name.
bool makePrivateFolder(const QString &path);

} // namespace logo
