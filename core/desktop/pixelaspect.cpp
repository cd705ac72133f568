#include "desktop/pixelaspect.h"

#include <QStringList>
#include <QtMath>

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

} // namespace logo
