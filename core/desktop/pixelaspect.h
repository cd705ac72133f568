#pragma once
// The shape of the phones' display pixels, width to height: taller than wide,
// about 7:8 on the common models. The "PixelAspect" setting of the shared
// section holds it as "W:H".
#include "desktop/settingsstore.h"

#include <QSizeF>
#include <optional>

namespace logo {

inline const QString kPixelAspectKey = QStringLiteral("PixelAspect");
inline const QSizeF kDefaultPixelAspect(7, 8);

// "W:H" with two positive numbers (decimals with a point allowed, spaces
// around them ignored) whose ratio lies between 1:4 and 4:1; nothing for
// anything else.
std::optional<QSizeF> parsePixelAspect(const QString &text);

// The setting, or 7:8 when it is unset or unusable.
QSizeF pixelAspect(const SettingsStore &settings);

// Where row `row` of a picture starts when its rows are drawn heightScale
// times taller: row r covers the screen rows from stretchedRow(r) up to
// stretchedRow(r + 1), a whole number of them, 1 or 2 at 7:8.
int stretchedRow(int row, qreal heightScale);

} // namespace logo
