#include "gridview.h"

#include "drawingtools.h"
#include "graphic/logodocument.h"
#include "selection.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
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
    m_tools = new DrawingTools(m_document, this);
    m_selection = new Selection(m_document, this);
    m_tools->setSelection(m_selection);
    connect(m_tools, &DrawingTools::previewChanged, this, qOverload<>(&QWidget::update));
    connect(m_selection, &Selection::changed, this, qOverload<>(&QWidget::update));
    connect(&m_document, &logo::LogoDocument::cellChanged, this,
            [this](int c, int r) { update(cellSquare(c, r)); });
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

bool GridView::isPressed() const
{
    return m_tools->isPressed();
}

QSize GridView::sizeHint() const
{
    return {m_pitch * m_document.grid().width() + 1, m_pitch * m_document.grid().height() + 1};
}

QSize GridView::largestSize(int pitch)
{
    return {pitch * logo::LogoGrid::MaxWidth + 1, pitch * logo::LogoGrid::MaxHeight + 1};
}

QPoint GridView::cellUnder(QPointF pos) const
{
    return {int(std::floor(pos.x() / m_pitch)), int(std::floor(pos.y() / m_pitch))};
}

QRect GridView::cellSquare(int c, int r) const
{
    // Without grid lines the cells touch: the line's pixel belongs to the cell.
    if (!m_gridLines)
        return {m_pitch * c, m_pitch * r, m_pitch, m_pitch};
    return {m_pitch * c + 1, m_pitch * r + 1, m_pitch - 1, m_pitch - 1};
}

void GridView::setPitch(int pitch)
{
    pitch = std::clamp(pitch, kMinCellPitch, kMaxCellPitch);
    if (pitch == m_pitch)
        return;
    m_pitch = pitch;
    m_dims = QSize();
    refresh();
}

void GridView::setZoomPitch(int pitch)
{
    m_zoomPitch = std::clamp(pitch, kMinCellPitch, kMaxCellPitch);
    setPitch(m_zoomPitch);
    if (parentWidget())
        parentWidget()->updateGeometry();
}

void GridView::fitTo(QSize room)
{
    const QSize largest = largestSize(1) - QSize(1, 1);
    const int fitting = std::min((room.width() - 1) / largest.width(), (room.height() - 1) / largest.height());
    setPitch(std::max(m_zoomPitch, fitting));
}

void GridView::setGridLinesShown(bool shown)
{
    m_gridLines = shown;
    update();
}

void GridView::refresh()
{
    const QSize dims(m_document.grid().width(), m_document.grid().height());
    if (dims != m_dims) {
        m_dims = dims;
        setFixedSize(sizeHint());
    }
    update();
}

void GridView::paintEvent(QPaintEvent *event)
{
    const logo::LogoGrid &grid = m_document.grid();
    const int w = grid.width();
    const int h = grid.height();
    const int p = m_pitch;
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.fillRect(0, 0, p * w + 1, p * h + 1, QColor(kDisplayGreen));

    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c)
            if (grid.isSet(c, r))
                painter.fillRect(cellSquare(c, r), Qt::black);

    // The shape being dragged, in the colour it draws.
    const QColor previewColour = m_tools->previewColour() ? QColor(Qt::black) : QColor(kDisplayGreen);
    for (const QPoint &cell : m_tools->previewCells())
        painter.fillRect(cellSquare(cell.x(), cell.y()), previewColour);

    if (m_gridLines) {
        // Grid lines between the cells, then the octet boundaries over them.
        const QColor gridColour(kGridLineColour);
        for (int r = 0; r <= h; ++r)
            painter.fillRect(0, p * r, p * w + 1, 1, gridColour);
        for (int c = 0; c <= w; ++c)
            painter.fillRect(p * c, 0, 1, p * h + 1, gridColour);

        const QColor octetColour(kOctetLineColour);
        for (int d = 0; d <= lastOctetLine(w); ++d)
            painter.fillRect(8 * p * (d + 1), 0, 1, p * h + 1, octetColour);
        painter.fillRect(0, 8 * p, p * w + 1, 1, octetColour);
    }

    // The selection: a dashed black and white line around its cells.
    const QRect selected = m_selection->rect();
    if (!selected.isEmpty()) {
        const QRect outline(p * selected.x(), p * selected.y(), p * selected.width(), p * selected.height());
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(outline);
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawRect(outline);
    }
}

void GridView::mousePressEvent(QMouseEvent *event)
{
    m_tools->press(cellUnder(event->position()), buttonValue(event->button()),
                   event->modifiers().testFlag(Qt::ShiftModifier));
}

void GridView::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint cell = cellUnder(event->position());
    m_tools->move(cell, buttonValue(event->buttons()), event->modifiers().testFlag(Qt::ShiftModifier));
    if (m_document.grid().inside(cell.x(), cell.y()))
        emit cursorCell(cell.x(), cell.y());
}

void GridView::mouseReleaseEvent(QMouseEvent *event)
{
    m_tools->release(cellUnder(event->position()), event->modifiers().testFlag(Qt::ShiftModifier));
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
    case Qt::Key_Escape:
        m_tools->cancel();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

// ------------------------------------------------------------------ the frame

GridFrame::GridFrame(QWidget *parent) : QFrame(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void GridFrame::setView(GridView *view)
{
    m_view = view;
    m_view->installEventFilter(this);   // a new pitch or picture size places it again
    updateGeometry();
    placeView();
}

void GridFrame::placeView()
{
    const QRect room = contentsRect();
    const QSize largest = GridView::largestSize(m_view->cellPitch());
    const QSize spare = (room.size() - largest).expandedTo(QSize(0, 0));
    m_view->move(room.topLeft() + QPoint(spare.width() / 2, spare.height() / 2));
}

bool GridFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && event->type() == QEvent::Resize)
        placeView();
    return QFrame::eventFilter(watched, event);
}

QSize GridFrame::sizeHint() const
{
    const int fw = frameWidth();
    return GridView::largestSize(m_view ? m_view->zoomPitch() : kCellPitch) + QSize(2 * fw, 2 * fw);
}

QSize GridFrame::minimumSizeHint() const
{
    const int fw = frameWidth();
    return GridView::largestSize(m_view ? m_view->zoomPitch() : kCellPitch) + QSize(2 * fw, 2 * fw);
}

void GridFrame::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    if (m_view) {
        m_view->fitTo(contentsRect().size());
        placeView();
    }
}

} // namespace quillet
