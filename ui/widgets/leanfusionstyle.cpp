#include "widgets/leanfusionstyle.h"

#include "picture/pngfile.h"

#include <QApplication>
#include <qdrawutil.h>
#include <QGroupBox>
#include <QIcon>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QStyleOption>

namespace logo {

namespace {

// The raster engine blends up to 95 spans on the calling thread; a tile of
// this size never gives it more than 64.
constexpr int kTileSize = 64;

// Runs draw once per tile of rect, clipped to the tile; tiles outside what
// the painter may touch (a repaint of a small part) are left out.
template<typename Draw>
void drawInTiles(QPainter *painter, const QRect &rect, const Draw &draw)
{
    if (rect.width() <= kTileSize && rect.height() <= kTileSize) {
        draw();
        return;
    }
    QRectF reach(rect);
    if (const QPaintEngine *engine = painter->paintEngine(); engine && !engine->systemClip().isEmpty())
        reach &= painter->deviceTransform().inverted().mapRect(QRectF(engine->systemClip().boundingRect()));
    if (painter->hasClipping())
        reach &= painter->clipBoundingRect();
    for (int y = rect.top(); y <= rect.bottom(); y += kTileSize)
        for (int x = rect.left(); x <= rect.right(); x += kTileSize) {
            const QRect tile = QRect(x, y, kTileSize, kTileSize) & rect;
            if (!reach.intersects(tile))
                continue;
            painter->save();
            painter->setClipRect(tile, Qt::IntersectClip);
            draw();
            painter->restore();
        }
}

// Where Qt keeps the pictures its common style draws.
const QLatin1String kStylePictures(":/qt-project.org/styles/commonstyle/images/");

// Fusion's frame of a group box, as Qt 6.4 draws it: its frame picture
// stretched around the box below the title. False where Fusion draws it
// another way, or the picture is missing.
bool drawGroupBoxFrame(const QStyle *fusion, const QStyleOption *option, QPainter *painter, const QWidget *widget)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 4, 0) && QT_VERSION < QT_VERSION_CHECK(6, 5, 0)
    const QString key = QStringLiteral("logo-fusion-groupbox");
    QPixmap picture;
    if (!QPixmapCache::find(key, &picture)) {
        picture = QPixmap::fromImage(readPng(kStylePictures + QLatin1String("fusion_groupbox.png")));
        if (picture.isNull())
            return false;
        QPixmapCache::insert(key, picture);
    }
    constexpr int kTopMargin = 3;
    int top = kTopMargin;
    const auto *box = qobject_cast<const QGroupBox *>(widget);
    if (!box || box->isCheckable() || !box->title().isEmpty())
        top += qMax(fusion->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight), option->fontMetrics.height());
    qDrawBorderPixmap(painter, option->rect.adjusted(0, top, 0, 0), QMargins(6, 6, 6, 6), picture);
    return true;
#else
    Q_UNUSED(fusion);
    Q_UNUSED(option);
    Q_UNUSED(painter);
    Q_UNUSED(widget);
    return false;
#endif
}

// The extension button's picture in its three sizes, as a PNG reader sees
// them; a null icon when one of them is missing.
QIcon extensionIcon(const char *stem, std::initializer_list<int> sizes)
{
    QIcon icon;
    for (const int size : sizes) {
        const QImage picture = readPng(kStylePictures + QLatin1String(stem) + QString::number(size) + QLatin1String(".png"));
        if (picture.isNull())
            return {};
        icon.addPixmap(QPixmap::fromImage(picture));
    }
    return icon;
}

} // namespace

LeanFusionStyle::LeanFusionStyle(QStyle *base)
    : QProxyStyle(base)
{
}

void LeanFusionStyle::installOverFusion()
{
    QStyle *current = QApplication::style();
    if (current && current->name() == QLatin1String("fusion"))
        QApplication::setStyle(new LeanFusionStyle(current));
}

void LeanFusionStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                                  const QWidget *widget) const
{
    if (element != CE_ToolBar || !painter) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    drawInTiles(painter, option->rect, [&] { QProxyStyle::drawControl(element, option, painter, widget); });
}

void LeanFusionStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                    const QWidget *widget) const
{
    if (element != PE_FrameGroupBox || !painter) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    drawInTiles(painter, option->rect, [&] {
        if (!drawGroupBoxFrame(baseStyle(), option, painter, widget))
            QProxyStyle::drawPrimitive(element, option, painter, widget);
    });
}

QIcon LeanFusionStyle::standardIcon(StandardPixmap icon, const QStyleOption *option, const QWidget *widget) const
{
    QIcon own;
    if (icon == SP_ToolBarHorizontalExtensionButton) {
        const bool rightToLeft = option ? option->direction == Qt::RightToLeft : QGuiApplication::isRightToLeft();
        own = extensionIcon(rightToLeft ? "toolbar-ext-h-rtl-" : "toolbar-ext-h-", {8, 16, 32});
    } else if (icon == SP_ToolBarVerticalExtensionButton) {
        own = extensionIcon("toolbar-ext-v-", {5, 10, 20});
    }
    return own.isNull() ? QProxyStyle::standardIcon(icon, option, widget) : own;
}

} // namespace logo
