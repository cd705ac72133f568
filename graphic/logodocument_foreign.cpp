#include "graphic/logodocument.h"
#include "graphic/foreignformats.h"

#include <QFile>

namespace logo {

bool LogoDocument::loadRawFile(const QString &path, QByteArray &buffer)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    buffer = f.readAll();
    return true;
}

bool LogoDocument::openForeign(const QString &path, int format)
{
    Q_UNUSED(path);
    Q_UNUSED(format);
    return false;
}

} // namespace logo
