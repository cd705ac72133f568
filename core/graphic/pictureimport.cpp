#include "graphic/pictureimport.h"

#include "graphic/fileformats.h"

#include <algorithm>
#include <cmath>

namespace logo {

QStringList importPictureExtensions()
{
    return importExtensions(ImportGroup::Classic) + importExtensions(ImportGroup::Further);
}

bool isImportPicturePath(const QString &path)
{
    for (const QString &e : importPictureExtensions())
        if (path.endsWith(e, Qt::CaseInsensitive))
            return true;
    return false;
}

QString importDialogFilter()
{
    const QString classic = dialogPatterns(importExtensions(ImportGroup::Classic));
    const QString further = dialogPatterns(importExtensions(ImportGroup::Further));
    return QStringLiteral("Pictures (%1)|%1|More pictures (%2)|%2").arg(classic, further);
}

QSize exportPixelSize(int scale, const QSizeF &shape)
{
    scale = std::clamp(scale, 1, MaxExportScale);
    if (shape.isEmpty())
        return {scale, scale};
    const int high = int(std::lround(scale * shape.height() / shape.width()));
    return {scale, std::clamp(high, 1, 4 * MaxExportScale)};
}

} // namespace logo
