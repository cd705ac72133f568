#include "desktop/pixelaspect.h"

#include <QStringList>
#include <cstring>

namespace logo {

std::optional<QSizeF> parsePixelAspect(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 2)
        return std::nullopt;
    bool okW = false, okH = false;
    const double w = parts[0].trimmed().toDouble(&okW);
    const double h = parts[1].trimmed().toDouble(&okH);
    // The comparisons also turn away NaN and infinities.
    if (!okW || !okH || !(w > 0) || !(h > 0))
        return std::nullopt;
    const double ratio = h / w;
    if (!(ratio >= 0.25 && ratio <= 4.0))
        return std::nullopt;
    return QSizeF(w, h);
}

QSizeF pixelAspect(const SettingsStore &settings)
{
    return parsePixelAspect(settings.read(kSharedSection, kPixelAspectKey)).value_or(kDefaultPixelAspect);
}

int stretchedRow(int row, qreal heightScale)
{
    return qRound(row * heightScale);
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

} // namespace logo
