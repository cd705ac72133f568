#include "selection.h"

#include "graphic/logodocument.h"
#include "picture/pictureimage.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>

namespace quillet {

namespace {

logo::LogoGrid emptyGrid(QSize size)
{
    logo::LogoGrid g;
    g.setSize(size.width(), size.height());
    g.clear();
    return g;
}

// The cells of source from (sx, sy), size x size, into target at (tx, ty),
// clipped to target's dimensions.
void copyCells(const logo::LogoGrid &source, QPoint from, logo::LogoGrid &target, QPoint to, QSize size)
{
    for (int r = 0; r < size.height(); ++r)
        for (int c = 0; c < size.width(); ++c) {
            const QPoint s = from + QPoint(c, r);
            const QPoint t = to + QPoint(c, r);
            if (source.inside(s.x(), s.y()) && target.inside(t.x(), t.y()))
                target.setPixel(t.x(), t.y(), source.isSet(s.x(), s.y()));
        }
}

} // namespace

Selection::Selection(logo::LogoDocument &document, QObject *parent) : QObject(parent), m_document(document)
{
    connect(&m_document, &logo::LogoDocument::pictureChanged, this, &Selection::onPictureChanged);
    connect(&m_document, &logo::LogoDocument::cellChanged, this, &Selection::onPictureChanged);
}

void Selection::onPictureChanged()
{
    if (!m_changing && m_drag == Drag::None)
        clear();
}

void Selection::setRect(const QRect &rect)
{
    if (rect == m_rect)
        return;
    m_rect = rect;
    emit changed();
}

void Selection::clear()
{
    m_floating = false;
    m_drag = Drag::None;
    setRect(QRect());
}

void Selection::press(QPoint cell)
{
    m_anchor = cell;
    m_moved = false;
    if (m_rect.contains(cell)) {
        m_drag = Drag::Moving;
        m_startTopLeft = m_rect.topLeft();
        return;
    }
    clear();
    m_drag = Drag::Marking;
}

void Selection::drag(QPoint cell)
{
    if (cell == m_anchor && !m_moved)
        return;
    m_moved = true;
    if (m_drag == Drag::Marking) {
        const QRect picture(0, 0, m_document.grid().width(), m_document.grid().height());
        setRect(QRect(m_anchor, cell).normalized() & picture);
    } else if (m_drag == Drag::Moving) {
        if (!m_strokeOpen) {
            if (!m_floating) {
                // Lifted: the cells move, the background stays behind.
                m_content = emptyGrid(m_rect.size());
                copyCells(m_document.grid(), m_rect.topLeft(), m_content, {}, m_rect.size());
                m_under = emptyGrid(m_rect.size());
                m_floating = true;
            }
            m_document.beginStroke();   // the whole drag is one step
            m_strokeOpen = true;
        }
        moveTo(m_startTopLeft + cell - m_anchor);
    }
}

void Selection::release(QPoint cell)
{
    drag(cell);
    if (m_strokeOpen) {
        m_document.endStroke();
        m_strokeOpen = false;
    }
    else if (m_drag == Drag::Marking && !m_moved)
        clear();   // a click outside the selection drops it
    m_drag = Drag::None;
}

void Selection::moveTo(QPoint topLeft)
{
    if (topLeft == m_rect.topLeft())
        return;
    logo::LogoGrid target = m_document.grid();
    copyCells(m_under, {}, target, m_rect.topLeft(), m_rect.size());
    const QRect moved(topLeft, m_rect.size());
    m_under = emptyGrid(m_rect.size());
    copyCells(target, topLeft, m_under, {}, m_rect.size());
    copyCells(m_content, {}, target, topLeft, m_rect.size());
    paintDifferences(target);
    setRect(moved);
}

void Selection::paintDifferences(const logo::LogoGrid &target)
{
    m_changing = true;
    const logo::LogoGrid &grid = m_document.grid();
    for (int r = 0; r < grid.height(); ++r)
        for (int c = 0; c < grid.width(); ++c)
            if (grid.isSet(c, r) != target.isSet(c, r))
                m_document.paintCell(c, r, target.isSet(c, r));
    m_changing = false;
}

QImage Selection::image() const
{
    const logo::LogoGrid &grid = m_document.grid();
    const QRect area = isEmpty() ? QRect(0, 0, grid.width(), grid.height()) : m_rect;
    QImage image(area.size(), QImage::Format_RGB32);
    for (int r = 0; r < area.height(); ++r)
        for (int c = 0; c < area.width(); ++c) {
            const QPoint cell = area.topLeft() + QPoint(c, r);
            const bool on = grid.inside(cell.x(), cell.y()) && grid.isSet(cell.x(), cell.y());
            image.setPixel(c, r, on ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    return image;
}

logo::LogoGrid Selection::gridFromImage(const QImage &image)
{
    const QSize size = image.size().boundedTo(QSize(logo::LogoGrid::MaxWidth, logo::LogoGrid::MaxHeight));
    QImage shown(size, QImage::Format_RGB32);
    shown.fill(logo::DisplayGreen);
    QPainter p(&shown);
    p.drawImage(0, 0, image);
    p.end();
    logo::LogoGrid g = emptyGrid(size);
    for (int r = 0; r < size.height(); ++r)
        for (int c = 0; c < size.width(); ++c)
            g.setPixel(c, r, logo::isDark(shown.pixel(c, r)));
    return g;
}

void Selection::copy() const
{
    QGuiApplication::clipboard()->setImage(image());
}

void Selection::cut()
{
    if (isEmpty())
        return;
    copy();
    deleteCells();
}

void Selection::deleteCells()
{
    if (isEmpty())
        return;
    logo::LogoGrid target = m_document.grid();
    copyCells(emptyGrid(m_rect.size()), {}, target, m_rect.topLeft(), m_rect.size());
    m_floating = false;
    m_document.beginStroke();
    paintDifferences(target);
    m_document.endStroke();
}

void Selection::paste()
{
    const QImage image = QGuiApplication::clipboard()->image();
    if (image.isNull() || image.width() == 0 || image.height() == 0)
        return;
    const logo::LogoGrid content = gridFromImage(image);
    // Placed at the top-left as a lifted selection: moving it puts back what it covers.
    const QRect rect(0, 0, content.width(), content.height());
    m_content = content;
    m_under = emptyGrid(rect.size());
    copyCells(m_document.grid(), {}, m_under, {}, rect.size());
    logo::LogoGrid target = m_document.grid();
    copyCells(content, {}, target, {}, rect.size());
    m_document.beginStroke();
    paintDifferences(target);
    m_document.endStroke();
    m_floating = true;
    setRect(rect);
}

} // namespace quillet
