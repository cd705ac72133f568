#pragma once
// Every file the programs read as a document or a picture goes through here:
// only a regular file is opened. A named pipe, a device or a folder given on
// the command line, dropped or handed over is refused at once instead of
// blocking the window in open() or in the read.
#include <QFile>
#include <QString>

namespace logo {

// True when path names a regular file (a link to one counts).
bool isRegularFile(const QString &path);

// Opens file for reading on path when that is a regular file; false, with
// file closed, for anything else or when it can't be opened. Never waits for
// a writer.
bool openRegularFile(QFile &file, const QString &path);

} // namespace logo
