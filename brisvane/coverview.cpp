#include "coverview.h"

#include "brisvanemodel/phonecovers.h"
#include "desktop/pixelaspect.h"
#include "graphic/logogrid.h"
#include "picture/pictureimage.h"

#include <QPainter>
#include <algorithm>

namespace brisvane {

CoverView::CoverView(const logo::LogoGrid &grid, QWidget *parent) : QWidget(parent), m_grid(grid)
{
    setObjectName(QStringLiteral("picCover"));
    setFixedSize(kRoom);
}

void CoverView::setCover(const QImage &cover)
{
    // In the painter's own format the cover is copied onto the display in one
    // blend, not span by span.
    m_cover = cover.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    fitSize();
}

void CoverView::setZoom(int zoom)
{
    m_zoom = std::clamp(zoom, 1, kMaxZoom);
    fitSize();
}

void CoverView::setPixelShape(std::optional<QSizeF> shape)
{
    m_heightScale = shape && shape->width() > 0 && shape->height() > 0 ? shape->height() / shape->width() : 1.0;
    fitSize();
}

QSize CoverView::squareSize() const
{
    return kRoom.expandedTo(m_cover.size()).boundedTo(kLargest);
}

void CoverView::fitSize()
{
    const QSize square = squareSize();
    setFixedSize(m_zoom * square.width(), m_zoom * logo::stretchedRow(square.height(), m_heightScale));
    update();
}

QImage CoverView::picture() const
{
    QImage shown(squareSize(), QImage::Format_ARGB32_Premultiplied);
    shown.fill(Qt::transparent);
    QPainter p(&shown);
    p.drawImage(0, 0, m_cover);
    // The display area, whatever the cover shows there, then the set pixels.
    const QRect area = PhoneCovers::DisplayArea;
    p.fillRect(area, QColor(logo::DisplayGreen));
    for (int r = 0; r < m_grid.height(); ++r)
        for (int c = 0; c < m_grid.width(); ++c)
            if (m_grid.isSet(c, r))
                p.fillRect(area.x() + c, area.y() + r, 1, 1, Qt::black);
    return shown;
}

void CoverView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    // Taller rows are bands of whole screen rows: the logo's pixels stay crisp
    // blocks of black and green.
    const QImage shown = m_heightScale != 1.0 ? logo::stretchRows(picture(), m_heightScale) : picture();
    // Larger by whole blocks, without smoothing.
    p.drawImage(0, 0, m_zoom == 1 ? shown : shown.scaled(shown.size() * m_zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

} // namespace brisvane
