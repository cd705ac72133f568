#pragma once
// The picture files Import takes and the size of an exported picture: names
// and numbers only. Reading and writing the pictures themselves needs the
// toolkit's picture library (picture/pictureimage.h, reached through
// graphic/picturesupport.h).
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>

namespace logo {

// The extensions Import offers, with the dot, lower case: the classic ones
// first (".bmp", ".gif", ".jpg", ".jpeg", ".ico", ".rle", ".wmf", ".emf"), then
// further raster types the toolkit reads.
QStringList importPictureExtensions();
// True when the name ends in one of them (any case).
bool isImportPicturePath(const QString &path);
// The Import dialog's filter: the classic entry first, then the further types.
QString importDialogFilter();
// The largest block of a pixel in an exported picture, either way.
inline constexpr int MaxExportScale = 64;
// The block of each pixel when a picture is exported scale times larger
// (1 to MaxExportScale): scale x scale, or, with the phones' pixel shape
// (width to height), scale wide and scale x height / width rounded high,
// within 1 to 4 x MaxExportScale.
QSize exportPixelSize(int scale, const QSizeF &shape = QSizeF());

} // namespace logo
