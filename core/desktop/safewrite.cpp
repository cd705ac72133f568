#include "desktop/safewrite.h"

#include <QFileDevice>
#include <QSaveFile>

namespace logo {

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile f(path);
    // Unbuffered, so that a short write (a full disk) shows in the count
    // written; a buffered one would fail only in the flush inside commit(),
    // which still puts the short file in place. A file never committed is
    // removed with the object.
    const bool ok = f.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && f.write(bytes) == bytes.size() &&
                    f.commit();
    if (!ok && error)
        *error = f.errorString();
    return ok;
}

bool flushToDisk(QIODevice &device)
{
    auto *file = qobject_cast<QFileDevice *>(&device);
    return !file || file->flush();
}

} // namespace logo
