#include "graphic/pngfile.h"

#include <QImageReader>
#include <csetjmp>
#include <png.h>

namespace logo {

namespace {

void appendToBuffer(png_structp png, png_bytep data, size_t length)
{
    static_cast<QByteArray *>(png_get_io_ptr(png))->append(reinterpret_cast<const char *>(data), qsizetype(length));
}

void flushNothing(png_structp) {}

// libpng reports a failure by a long jump back to the setjmp below, so
// nothing in this frame has a destructor to skip.
bool writeRows(png_structp png, png_infop info, const QImage &rows, QByteArray *out)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, out, appendToBuffer, flushNothing);
    png_set_IHDR(png, info, png_uint_32(rows.width()), png_uint_32(rows.height()), 8,
                 rows.hasAlphaChannel() ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (rows.dotsPerMeterX() > 0 && rows.dotsPerMeterY() > 0)
        png_set_pHYs(png, info, png_uint_32(rows.dotsPerMeterX()), png_uint_32(rows.dotsPerMeterY()),
                     PNG_RESOLUTION_METER);
    png_write_info(png, info);
    for (int y = 0; y < rows.height(); ++y)
        png_write_row(png, rows.constScanLine(y));
    png_write_end(png, info);
    return true;
}

} // namespace

QImage readPng(const QString &path)
{
    QImageReader reader(path, "png");
    // Only this keeps the reader from asking every plugin first.
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QByteArray encodePng(const QImage &image)
{
    if (image.isNull())
        return {};
    const QImage rows =
        image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    QByteArray out;
    const bool written = info && writeRows(png, info, rows, &out);
    png_destroy_write_struct(&png, &info);
    return written ? out : QByteArray();
}

} // namespace logo
