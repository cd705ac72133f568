#pragma once
// The files of the freedesktop.org conventions as the file-type registration
// reads and writes them: the folders named by the XDG variables, desktop
// entries and MIME lists, and the escaping of desktop entry values.
#include "desktop/inifile.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace logo::xdgfiles {

// The file's lines without their line ends; none when it cannot be read.
QStringList readLines(const QString &path);
// Writes the file whole or not at all; an unchanged file is left alone.
// changed (when given) is set when the file was written.
bool writeFile(const QString &path, const QByteArray &content, bool *changed = nullptr);
// A desktop entry or MIME list (mimeapps.list, mimeinfo.cache); none when
// the file cannot be read.
IniFile readIni(const QString &path);
// The value of key in group; nullopt when missing. Localised keys ("Name[de]")
// never match.
std::optional<QString> iniValue(const QString &path, const QString &group, const QString &key);
// A value's ";"-separated entries.
QStringList listValue(const std::optional<QString> &value);
// The absolute folders of a ":"-separated variable, else fallback's.
QStringList envDirs(const char *name, const QString &fallback);
// The folder a variable names when absolute, else fallback below the home folder.
QString envHome(const char *name, const QString &fallback);
// The string level of a desktop entry value: "\s", "\n", "\t", "\r", "\\".
QString unescapeValue(const QString &value);
QString escapeValue(const QString &text);

} // namespace logo::xdgfiles
