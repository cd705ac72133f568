#include "brisvane/coverview.h"

#include "brisvane/model/phonecovers.h"
#include "graphic/logogrid.h"
#include "graphic/pictureimport.h"

#include <QPainter>

namespace brisvane {

CoverView::CoverView(const logo::LogoGrid &grid, QWidget *parent) : QWidget(parent), m_grid(grid)
{
    setObjectName(QStringLiteral("picCover"));
    setFixedSize(kRoom);
}

void CoverView::setCover(const QImage &cover)
{
    m_cover = cover;
    setFixedSize(kRoom.expandedTo(cover.size()));
    update();
}

void CoverView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, m_cover);
    // The display area, whatever the cover shows there, then the set pixels.
    const QRect area = PhoneCovers::DisplayArea;
    p.fillRect(area, QColor(logo::DisplayGreen));
    for (int r = 0; r < m_grid.height(); ++r)
        for (int c = 0; c < m_grid.width(); ++c)
            if (m_grid.isSet(c, r))
                p.fillRect(area.x() + c, area.y() + r, 1, 1, Qt::black);
}

} // namespace brisvane
