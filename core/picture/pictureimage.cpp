#include "picture/pictureimage.h"

#include "desktop/pixelaspect.h"
#include "desktop/safewrite.h"
#include "graphic/metafileframe.h"
#include "graphic/regularfile.h"
#include "picture/metafile.h"
#include "picture/pngfile.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <cstring>

namespace logo {

namespace {

const QSize Corner(LogoGrid::MaxWidth, LogoGrid::MaxHeight);

// A picture costs its file, and most decoders build the whole picture before
// the corner can be cut from it. Nothing a real picture needs goes beyond
// these; a file built to exhaust time or memory is refused before decoding.
constexpr qint64 MaxPictureFileSize = qint64(256) << 20;
// Pixels of a picture decoded whole: a 48-megapixel camera photo fits.
constexpr qint64 MaxDecodedPixels = 50'000'000;
// Pixels of a picture whose decoder stops below the corner (JPEG).
constexpr qint64 MaxClippedPixels = 120'000'000;
// The toolkit's guard against oversized allocations, held at its usual
// 256 MB during an import whatever else has set it.
constexpr int PictureMemoryLimitMB = 256;

class AllocationLimit {
public:
    AllocationLimit() : m_saved(QImageReader::allocationLimit())
    {
        QImageReader::setAllocationLimit(PictureMemoryLimitMB);
    }
    ~AllocationLimit() { QImageReader::setAllocationLimit(m_saved); }
    AllocationLimit(const AllocationLimit &) = delete;
    AllocationLimit &operator=(const AllocationLimit &) = delete;

private:
    int m_saved;
};

// The picture as the display shows it: transparent parts let the green through.
QImage onDisplay(const QImage &picture)
{
    QImage shown(picture.size(), QImage::Format_RGB32);
    shown.fill(DisplayGreen);
    QPainter painter(&shown);
    painter.drawImage(0, 0, picture);
    return shown;
}

} // namespace

QImage loadPictureCorner(const QString &path)
{
    QFile file;
    if (!openRegularFile(file, path) || file.size() > MaxPictureFileSize)
        return {};
    if (metafileKind(file.peek(64)) != MetafileKind::None) {
        if (file.size() > MaxMetafileSize)
            return {};
        const QImage drawn = renderMetafile(file.read(MaxMetafileSize), Corner);
        return drawn.isNull() ? QImage() : onDisplay(drawn);
    }
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (size.isValid()) {
        const qint64 pixels = qint64(size.width()) * size.height();
        if (pixels > (reader.supportsOption(QImageIOHandler::ClipRect) ? MaxClippedPixels : MaxDecodedPixels))
            return {};
        reader.setClipRect(QRect(0, 0, std::min(size.width(), Corner.width()),
                                 std::min(size.height(), Corner.height())));
    }
    const AllocationLimit limit;
    QImage picture = reader.read();
    if (picture.isNull())
        return {};
    if (picture.width() > Corner.width() || picture.height() > Corner.height())
        picture = picture.copy(0, 0, std::min(picture.width(), Corner.width()),
                               std::min(picture.height(), Corner.height()));
    return onDisplay(picture);
}

bool convertPicture(const QString &path, LogoGrid &grid)
{
    const QImage picture = loadPictureCorner(path);
    if (picture.isNull())
        return false;
    for (int r = 0; r < grid.height(); ++r)
        for (int c = 0; c < grid.width(); ++c)
            grid.setPixel(c, r, picture.valid(c, r) && isDark(picture.pixel(c, r)));
    return true;
}

QImage exportImage(const LogoGrid &grid, QSize pixel)
{
    pixel = pixel.expandedTo(QSize(1, 1));
    QImage image(Corner.width() * pixel.width(), Corner.height() * pixel.height(), QImage::Format_RGB32);
    image.fill(DisplayGreen);
    // 96 dots per inch, whatever the screen or the kind of application: the
    // same picture always gives the same file.
    constexpr int DotsPerMeter = 3780;
    image.setDotsPerMeterX(DotsPerMeter);
    image.setDotsPerMeterY(DotsPerMeter);
    QPainter painter(&image);
    for (int r = 0; r < grid.height(); ++r)
        for (int c = 0; c < grid.width(); ++c)
            if (grid.isSet(c, r))
                painter.fillRect(c * pixel.width(), r * pixel.height(), pixel.width(), pixel.height(), Qt::black);
    return image;
}

QImage stretchRows(const QImage &image, qreal heightScale)
{
    if (image.isNull() || !(heightScale > 0))
        return image;
    QImage tall(image.width(), stretchedRow(image.height(), heightScale), image.format());
    const qsizetype line = qMin(image.bytesPerLine(), tall.bytesPerLine());
    for (int r = 0; r < image.height(); ++r)
        for (int y = stretchedRow(r, heightScale); y < stretchedRow(r + 1, heightScale); ++y)
            memcpy(tall.scanLine(y), image.constScanLine(r), size_t(line));
    return tall;
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

} // namespace logo
