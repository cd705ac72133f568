#include "desktop/safewrite.h"

#include "graphic/pngfile.h"

#include <QBuffer>
#include <QFileDevice>
#include <QImage>
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

bool saveImageAtomically(const QImage &image, const QString &path, const char *format, QString *error)
{
    QByteArray bytes;
    bool encoded = false;
    if (!qstricmp(format, "png")) {
        bytes = encodePng(image);
        encoded = !bytes.isEmpty();
    } else {
        QBuffer buffer(&bytes);
        encoded = buffer.open(QIODevice::WriteOnly) && image.save(&buffer, format);
    }
    if (!encoded) {
        if (error)
            *error = QStringLiteral("The picture could not be encoded as %1.").arg(QString::fromLatin1(format));
        return false;
    }
    return writeFileAtomically(path, bytes, error);
}

bool flushToDisk(QIODevice &device)
{
    auto *file = qobject_cast<QFileDevice *>(&device);
    return !file || file->flush();
}

} // namespace logo
