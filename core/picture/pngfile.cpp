#include "picture/pngfile.h"

#include <QImageReader>
#include <csetjmp>
#include <png.h>
#include <vector>

namespace logo {

namespace {

void appendToBuffer(png_structp png, png_bytep data, size_t length)
{
    static_cast<QByteArray *>(png_get_io_ptr(png))->append(reinterpret_cast<const char *>(data), qsizetype(length));
}

void flushNothing(png_structp) {}

// libpng reports a failure by a long jump back to the setjmp below, so
// nothing in this frame has a destructor to skip. image holds 32-bit pixels
// (RGB32, ARGB32 or ARGB32_Premultiplied); row has room for one row of
// 8-bit RGBA. Each row is unpacked there on its own: a conversion of the
// whole picture would hand a large one to the thread pool.
bool writeRows(png_structp png, png_infop info, const QImage &image, uchar *row, QByteArray *out)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    const bool alpha = image.hasAlphaChannel();
    const bool premultiplied = image.format() == QImage::Format_ARGB32_Premultiplied;
    png_set_write_fn(png, out, appendToBuffer, flushNothing);
    png_set_IHDR(png, info, png_uint_32(image.width()), png_uint_32(image.height()), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0)
        png_set_pHYs(png, info, png_uint_32(image.dotsPerMeterX()), png_uint_32(image.dotsPerMeterY()),
                     PNG_RESOLUTION_METER);
    png_write_info(png, info);
    for (int y = 0; y < image.height(); ++y) {
        const auto *pixels = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        uchar *to = row;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = premultiplied ? qUnpremultiply(pixels[x]) : pixels[x];
            *to++ = uchar(qRed(p));
            *to++ = uchar(qGreen(p));
            *to++ = uchar(qBlue(p));
            if (alpha)
                *to++ = uchar(qAlpha(p));
        }
        png_write_row(png, row);
    }
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
    QImage pixels = image;
    if (pixels.format() != QImage::Format_RGB32 && pixels.format() != QImage::Format_ARGB32 &&
        pixels.format() != QImage::Format_ARGB32_Premultiplied)
        pixels = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    std::vector<uchar> row(size_t(pixels.width()) * 4);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    QByteArray out;
    const bool written = info && writeRows(png, info, pixels, row.data(), &out);
    png_destroy_write_struct(&png, &info);
    return written ? out : QByteArray();
}

} // namespace logo
