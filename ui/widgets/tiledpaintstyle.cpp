#include "tiledpaintstyle.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOption>

namespace logo {

namespace {

// The raster engine blends up to 95 spans on the calling thread; a tile of
// this size never gives it more than 64.
constexpr int kTileSize = 64;

// Runs draw once per tile of rect, clipped to the tile.
template<typename Draw>
void drawInTiles(QPainter *painter, const QRect &rect, const Draw &draw)
{
    if (rect.width() <= kTileSize && rect.height() <= kTileSize) {
        draw();
        return;
    }
    for (int y = rect.top(); y <= rect.bottom(); y += kTileSize)
        for (int x = rect.left(); x <= rect.right(); x += kTileSize) {
            painter->save();
            painter->setClipRect(QRect(x, y, kTileSize, kTileSize) & rect, Qt::IntersectClip);
            draw();
            painter->restore();
        }
}

} // namespace

TiledPaintStyle::TiledPaintStyle(QStyle *base)
    : QProxyStyle(base)
{
}

void TiledPaintStyle::installOverFusion()
{
    QStyle *current = QApplication::style();
    if (current && current->name() == QLatin1String("fusion"))
        QApplication::setStyle(new TiledPaintStyle(current));
}

void TiledPaintStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                                  const QWidget *widget) const
{
    if (element != CE_ToolBar || !painter) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    drawInTiles(painter, option->rect, [&] { QProxyStyle::drawControl(element, option, painter, widget); });
}

void TiledPaintStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                    const QWidget *widget) const
{
    if (element != PE_FrameGroupBox || !painter) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    drawInTiles(painter, option->rect, [&] { QProxyStyle::drawPrimitive(element, option, painter, widget); });
}

} // namespace logo
