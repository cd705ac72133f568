#pragma once
// Text helpers shared by every window: path pieces.
// Paths are handled with either separator ("/" or "\"), so that names stored by
// a Windows build read the same on Linux.
#include <QString>

namespace logo {

// A text longer than max becomes its first 3 characters, "..." and its last
// max - 3 characters; shorter texts come back unchanged.
QString shortenPath(const QString &text, int max);
// Text after the last separator; empty when there is none.
QString fileTitle(const QString &path);
// Text up to and including the last separator; empty when there is none.
QString folderOf(const QString &path);
// The file's own name: the text after the last separator, or the whole text
// when there is none. Whatever is decided by a file's name (its format, NOL
// or NGG) is decided on this, never on the folders above it.
QString fileNameOf(const QString &path);
// The path without the extension of its file name (the name's last "." and
// what follows). A name without a "." comes back whole; dots in the folders
// above it are never taken for an extension.
QString stripExtension(const QString &path);

} // namespace logo
