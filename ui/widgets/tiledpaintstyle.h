#pragma once

#include <QProxyStyle>

namespace logo {

// Fusion draws a main window's toolbar bevel with translucent pens, one span
// per pixel, and stretches a frame picture across each group box. Qt's raster
// engine hands any blend of that many spans to its thread pool, so a single
// repaint of the window starts threads and queues a hundred tasks to paint a
// few lines. This style draws those two elements in tiles small enough to stay
// on the painting thread; the pixels are the same.
class TiledPaintStyle : public QProxyStyle
{
public:
    // Takes over base (as QProxyStyle does).
    explicit TiledPaintStyle(QStyle *base);

    // Puts the style in front of the application's style when that is Fusion;
    // any other style is left as it is.
    static void installOverFusion();

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
};

} // namespace logo
