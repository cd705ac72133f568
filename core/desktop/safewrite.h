#pragma once
// Writing a file that may already exist without ever leaving it half-written:
// the bytes go to a temporary file beside it, which replaces the file only
// when every byte reached the disk. A full disk, a missing folder or a
// read-only one leave the old file as it was and give false with the
// system's reason.
#include <QByteArray>
#include <QString>

class QIODevice;

namespace logo {

// The whole of bytes as path, or false (and *error, when given, says why).
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error = nullptr);


// For a writer that is handed a buffered file by a library (the settings'
// format): pushes what is still buffered to the disk; false when it did not
// all get there, so that the library keeps the old file.
bool flushToDisk(QIODevice &device);

} // namespace logo
