#pragma once

#include <QProxyStyle>

namespace logo {

// Fusion as it looks, at less cost to a start and a repaint:
// - Fusion draws a main window's toolbar bevel with translucent pens, one span
//   per pixel, and stretches a frame picture across each group box. Qt's
//   raster engine hands any blend of that many spans to its thread pool, so a
//   single repaint of the window starts threads and queues a hundred tasks to
//   paint a few lines. This style draws those two elements in tiles small
//   enough to stay on the painting thread; the pixels are the same.
// - Qt reads the pictures of the toolbar and menu bar extension buttons and
//   of the group box frame from its resources through readers that load
//   every image plugin installed (and the libraries behind them) to ask each
//   one about a PNG. This style reads the same PNGs with Qt's own PNG reader
//   alone (the frame only where it knows how this Qt version draws it).
class LeanFusionStyle : public QProxyStyle
{
public:
    // Takes over base (as QProxyStyle does).
    explicit LeanFusionStyle(QStyle *base);

    // Puts the style in front of the application's style when that is Fusion;
    // any other style is left as it is.
    static void installOverFusion();

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
};

} // namespace logo
