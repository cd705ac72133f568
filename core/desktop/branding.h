#pragma once
// The optional branding file next to the program: a read-only INI file read the
// way the classic profile-string call reads it (section and key matched without
// regard to case, the value trimmed, at most 144 characters).
#include <QString>

namespace logo {

class AppFolders;

class BrandingFile {
public:
    // folder: the program's folder; fileName: e.g. "QUILLET.INI" (also found
    // when the file's name differs only in case).
    BrandingFile(const QString &folder, const QString &fileName);

    // The file in the program's folder, else in the user's data folder.
    static BrandingFile locate(const AppFolders &folders, const QString &fileName);

    QString filePath() const { return m_path; }
    // The folder of the file, ending in "/": pictures it names are relative to it.
    QString folder() const;
    // The value, or empty text when the file, the section or the key is missing.
    QString value(const QString &section, const QString &key) const;
    // True when the method key ("SendViaSMS", ...) of section "Branding" says NO.
    bool hides(const QString &methodKey) const;

    static constexpr int MaxValueLength = 144;
    // The lookup on text already read, for tests.
    static QString lookup(const QByteArray &content, const QString &section, const QString &key);

private:
    QString m_path;
};

} // namespace logo
