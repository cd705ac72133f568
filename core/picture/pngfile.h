#pragma once
// PNG pictures read and written by Qt's PNG reader and by libpng, never
// through Qt's image plugins. Told a format, a Qt image reader or writer
// still loads every image plugin installed (and the libraries behind them:
// TIFF, WebP, MNG, SVG...) to ask each one whether it wants the file; for a
// PNG that is the greater part of the work.
#include <QByteArray>
#include <QImage>
#include <QString>

namespace logo {

// A picture known to be a PNG (one the programs carry in their resources). A
// null image when it can't be read.
QImage readPng(const QString &path);

// The picture as a PNG file: 8 bits per channel, RGB, or RGBA when it has an
// alpha channel, with its resolution when it has one. The same picture always
// gives the same bytes. Empty when the picture is null or can't be encoded.
QByteArray encodePng(const QImage &image);

} // namespace logo
