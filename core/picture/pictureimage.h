#pragma once
// The picture as the toolkit's image: the Import rule (an ordinary picture
// file becomes the logo by a fixed darkness threshold, top-left, never
// scaled), the exported picture and the display's rows. Shared by Import, the
// I61 reader, the windows, the upload page and the tests; logotool reaches it
// through graphic/picturesupport.h.
#include "graphic/logogrid.h"
#include "graphic/pictureimport.h"

#include <QColor>
#include <QImage>
#include <QSizeF>
#include <QString>

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

// The exported picture: 72 x 14, set pixels (inside the dimensions) black, the
// rest DisplayGreen; each pixel a block of pixel.width() x pixel.height().
QImage exportImage(const LogoGrid &grid, QSize pixel = QSize(1, 1));

// The picture drawn with rows heightScale times taller: columns as they are,
// each row a band of whole screen rows (desktop/pixelaspect.h's
// stretchedRow), so every pixel stays one crisp block of its own colour (no
// blending into grey between rows).
QImage stretchRows(const QImage &image, qreal heightScale);

// The picture encoded in format ("PNG", "BMP") as path, written as
// writeFileAtomically (desktop/safewrite.h) writes, or false (and *error,
// when given, says why).
bool saveImageAtomically(const QImage &image, const QString &path, const char *format, QString *error = nullptr);

} // namespace logo
