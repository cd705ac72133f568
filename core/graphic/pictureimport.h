#pragma once
// The Import rule: an ordinary picture file becomes the logo by a fixed
// darkness threshold, top-left, never scaled. Shared by Import, the I61 reader,
// the command-line tool and the tests.
#include "graphic/logogrid.h"

#include <QColor>
#include <QImage>
#include <QSizeF>
#include <QString>
#include <QStringList>

namespace logo {

// The display background; set pixels are black on it.
inline constexpr QRgb DisplayGreen = 0xFF78BE6E; // RGB(120, 190, 110)

// A pixel is dark (set) when red, green and blue are all 64 or less.
constexpr bool isDark(QRgb rgb)
{
    return qRed(rgb) <= 64 && qGreen(rgb) <= 64 && qBlue(rgb) <= 64;
}

// The top-left part (at most 72 x 14) of a picture file as it shows on the
// display: transparent parts over DisplayGreen. The kind is told by the
// content, not the name (an I61 file is a picture under another name).
// A null image when the file can't be loaded.
QImage loadPictureCorner(const QString &path);

// Sets every pixel inside the grid's dimensions from the picture at the same
// place: dark pixels set, light ones and places beyond the picture clear.
// False (grid untouched) when the file can't be loaded.
bool convertPicture(const QString &path, LogoGrid &grid);

// The extensions Import offers, with the dot, lower case: the classic ones
// first (".bmp", ".gif", ".jpg", ".jpeg", ".ico", ".rle", ".wmf", ".emf"), then
// further raster types the toolkit reads.
QStringList importPictureExtensions();
// True when the name ends in one of them (any case).
bool isImportPicturePath(const QString &path);
// The Import dialog's filter: the classic entry first, then the further types.
QString importDialogFilter();

// The exported picture: 72 x 14, set pixels (inside the dimensions) black, the
// rest DisplayGreen; each pixel a block of pixel.width() x pixel.height().
QImage exportImage(const LogoGrid &grid, QSize pixel = QSize(1, 1));

// The largest block of a pixel in an exported picture, either way.
inline constexpr int MaxExportScale = 64;
// The block of each pixel when a picture is exported scale times larger
// (1 to MaxExportScale): scale x scale, or, with the phones' pixel shape
// (width to height), scale wide and scale x height / width rounded high,
// within 1 to 4 x MaxExportScale.
QSize exportPixelSize(int scale, const QSizeF &shape = QSizeF());

} // namespace logo
