#include "gridview.h"

#include "graphic/editing.h"
#include "graphic/logodocument.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace quillet {

GridView::GridView(logo::LogoDocument &document, QWidget *parent) : QWidget(parent), m_document(document)
{
    setObjectName(QStringLiteral("picMain"));
    setMouseTracking(true);               // txtPos follows the mouse without a button
    setFocusPolicy(Qt::StrongFocus);      // arrow keys move the picture
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
    // A fast stroke is drawn from every position the pointer reported: the
    // window system must not merge the moves of a drag into one, or the line
    // between the few that are left cuts the corners of a zig-zag.
    QCoreApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, false);
    connect(&m_document, &logo::LogoDocument::cellChanged, this,
            [this](int c, int r) { update(cellRect(c, r)); });
    connect(&m_document, &logo::LogoDocument::pictureChanged, this, &GridView::refresh);
    refresh();
}

QSize GridView::naturalSize(int width, int height)
{
    return {kCellPitch * width + 1, kCellPitch * height + 1};
}

QPoint GridView::cellAt(QPointF pos)
{
    // Whole part rounded down, so a point just left of or above the grid is outside.
    return {int(std::floor(pos.x() / kCellPitch)), int(std::floor(pos.y() / kCellPitch))};
}

QRect GridView::cellRect(int c, int r)
{
    return {kCellPitch * c + 1, kCellPitch * r + 1, kCellPitch - 1, kCellPitch - 1};
}

int GridView::buttonValue(Qt::MouseButtons buttons)
{
    int value = 0;
    if (buttons & Qt::LeftButton)
        value += 1;
    if (buttons & Qt::RightButton)
        value += 2;
    if (buttons & Qt::MiddleButton)
        value += 4;
    return value;
}

int GridView::lastOctetLine(int width)
{
    // width / 8 - 2, rounded half to even (FE_TONEAREST): 72 -> 7, so eight
    // lines; 12 -> 0 and 20 -> 0, one line each.
    return int(std::nearbyint(double(width) / 8.0 - 2.0));
}

QSize GridView::sizeHint() const
{
    return naturalSize(m_document.grid().width(), m_document.grid().height());
}

void GridView::refresh()
{
    const QSize dims(m_document.grid().width(), m_document.grid().height());
    if (dims != m_dims) {
        m_dims = dims;
        setFixedSize(naturalSize(dims.width(), dims.height()));
    }
    update();
}

void GridView::paintEvent(QPaintEvent *event)
{
    const logo::LogoGrid &grid = m_document.grid();
    const int w = grid.width();
    const int h = grid.height();
    QPainter p(this);
    p.setClipRegion(event->region());
    p.fillRect(0, 0, kCellPitch * w + 1, kCellPitch * h + 1, QColor(kDisplayGreen));

    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c)
            if (grid.isSet(c, r))
                p.fillRect(cellRect(c, r), Qt::black);

    // Grid lines between the cells, then the octet boundaries over them.
    const QColor gridColour(kGridLineColour);
    for (int r = 0; r <= h; ++r)
        p.fillRect(0, kCellPitch * r, kCellPitch * w + 1, 1, gridColour);
    for (int c = 0; c <= w; ++c)
        p.fillRect(kCellPitch * c, 0, 1, kCellPitch * h + 1, gridColour);

    const QColor octetColour(kOctetLineColour);
    for (int d = 0; d <= lastOctetLine(w); ++d)
        p.fillRect(8 * kCellPitch * (d + 1), 0, 1, kCellPitch * h + 1, octetColour);
    p.fillRect(0, 8 * kCellPitch, kCellPitch * w + 1, 1, octetColour);
}

void GridView::paintWith(int value, QPoint cell)
{
    if (!m_document.grid().inside(cell.x(), cell.y()))
        return;
    // Left alone sets, right alone clears; both together or the middle button do nothing.
    if (value == 1)
        m_document.paintCell(cell.x(), cell.y(), true);
    else if (value == 2)
        m_document.paintCell(cell.x(), cell.y(), false);
}

void GridView::mousePressEvent(QMouseEvent *event)
{
    m_pressed = true;
    m_document.beginStroke();   // the press and its drag are one step of the history
    m_lastCell = cellAt(event->position());
    paintWith(buttonValue(event->button()), m_lastCell);
}

void GridView::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint cell = cellAt(event->position());
    if (m_pressed && cell != m_lastCell) {
        // The pointer reports where it is, not every cell it crossed: paint
        // the line from the last position, which is already painted.
        const int value = buttonValue(event->buttons());
        const QList<QPoint> passed = logo::cellsOnLine(m_lastCell, cell);
        for (qsizetype i = 1; i < passed.size(); ++i)
            paintWith(value, passed[i]);
        m_lastCell = cell;
    }
    if (m_document.grid().inside(cell.x(), cell.y()))
        emit cursorCell(cell.x(), cell.y());
}

void GridView::mouseReleaseEvent(QMouseEvent *)
{
    m_pressed = false;
    m_document.endStroke();
}

void GridView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
        emit arrowKey(event->key());
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace quillet
