#include "drawingtools.h"

#include "graphic/editing.h"
#include "graphic/logodocument.h"
#include "selection.h"

#include <QPainter>
#include <QPixmap>

namespace quillet {

namespace {

constexpr ToolEntry kTools[] = {
    {Tool::Pencil, "mnuToolPencil", "&Pencil", "P"},
    {Tool::Line, "mnuToolLine", "&Line", "L"},
    {Tool::Rectangle, "mnuToolRectangle", "&Rectangle", "R"},
    {Tool::FilledRectangle, "mnuToolFilledRectangle", "&Filled Rectangle", "B"},
    {Tool::Ellipse, "mnuToolEllipse", "&Ellipse", "E"},
    {Tool::FilledEllipse, "mnuToolFilledEllipse", "Filled Elli&pse", "D"},
    {Tool::Fill, "mnuToolFill", "Flood F&ill", "F"},
    {Tool::Select, "mnuToolSelect", "&Select", "S"},
};

} // namespace

std::span<const ToolEntry> toolEntries()
{
    return kTools;
}

std::optional<logo::Shape> toolShape(Tool tool)
{
    switch (tool) {
    case Tool::Line: return logo::Shape::Line;
    case Tool::Rectangle: return logo::Shape::Rectangle;
    case Tool::FilledRectangle: return logo::Shape::FilledRectangle;
    case Tool::Ellipse: return logo::Shape::Ellipse;
    case Tool::FilledEllipse: return logo::Shape::FilledEllipse;
    case Tool::Pencil:
    case Tool::Fill:
    case Tool::Select: break;
    }
    return std::nullopt;
}

QIcon toolIcon(Tool tool)
{
    // Drawn with the shapes' own cells on a 12 x 12 picture, two pixels a cell.
    constexpr int kCells = 12;
    logo::LogoGrid g;
    g.setSize(kCells, kCells);
    if (const auto shape = toolShape(tool)) {
        const QPoint from = shape == logo::Shape::Line ? QPoint(1, 10) : QPoint(1, 2);
        logo::drawShape(g, *shape, from, QPoint(10, shape == logo::Shape::Line ? 1 : 9), true);
    } else if (tool == Tool::Pencil) {
        logo::paintCells(g, logo::cellsOnLine({2, 9}, {9, 2}), true);
        logo::paintCells(g, {{1, 10}, {2, 10}, {1, 9}}, true);
    } else if (tool == Tool::Fill) {
        logo::drawShape(g, logo::Shape::Rectangle, {1, 1}, {10, 10}, true);
        logo::drawShape(g, logo::Shape::FilledRectangle, {3, 6}, {8, 8}, true);
    } else {
        for (int i = 0; i < kCells; i += 2) {
            g.setPixel(i, 1, true);
            g.setPixel(i + 1, 10, true);
            g.setPixel(1, i + 1, true);
            g.setPixel(10, i, true);
        }
    }
    QPixmap pixmap(2 * kCells, 2 * kCells);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    for (int r = 0; r < kCells; ++r)
        for (int c = 0; c < kCells; ++c)
            if (g.isSet(c, r))
                p.fillRect(2 * c, 2 * r, 2, 2, Qt::black);
    p.end();
    return QIcon(pixmap);
}

DrawingTools::DrawingTools(logo::LogoDocument &document, QObject *parent) : QObject(parent), m_document(document) {}

void DrawingTools::setTool(Tool tool)
{
    if (tool == m_tool)
        return;
    if (!m_preview.isEmpty()) {
        m_preview.clear();
        emit previewChanged();
    }
    m_drawing = false;
    m_tool = tool;
    emit toolChanged(tool);
}

void DrawingTools::cancel()
{
    if (m_drawing && toolShape(m_tool)) {
        m_drawing = false;
        m_preview.clear();
        emit previewChanged();
    } else if (!m_pressed && m_selection) {
        m_selection->clear();
    }
}

void DrawingTools::press(QPoint cell, int value, bool shift)
{
    m_pressed = true;
    m_anchor = m_lastCell = cell;
    // Left alone sets, right alone clears; both together or the middle button do nothing.
    m_drawing = value == 1 || value == 2;
    m_on = value == 1;
    switch (m_tool) {
    case Tool::Pencil:
        m_document.beginStroke();   // the press and its drag are one step of the history
        paintPencil(value, cell);
        break;
    case Tool::Fill:
        if (m_drawing)
            paintAsOneStep(logo::fillCells(m_document.grid(), cell, m_on), m_on);
        m_drawing = false;
        break;
    case Tool::Select:
        if (m_selection && value == 1)
            m_selection->press(cell);
        break;
    default:
        if (m_drawing)
            updatePreview(cell, shift);
        break;
    }
}

void DrawingTools::move(QPoint cell, int heldValue, bool shift)
{
    if (!m_pressed)
        return;
    switch (m_tool) {
    case Tool::Pencil:
        if (cell != m_lastCell) {
            // The pointer reports where it is, not every cell it crossed: paint
            // the line from the last position, which is already painted.
            const QList<QPoint> passed = logo::cellsOnLine(m_lastCell, cell);
            for (qsizetype i = 1; i < passed.size(); ++i)
                paintPencil(heldValue, passed[i]);
        }
        break;
    case Tool::Select:
        if (m_selection)
            m_selection->drag(cell);
        break;
    default:
        if (m_drawing)
            updatePreview(cell, shift);
        break;
    }
    m_lastCell = cell;
}

void DrawingTools::release(QPoint cell, bool shift)
{
    if (!m_pressed)
        return;
    m_pressed = false;
    switch (m_tool) {
    case Tool::Pencil:
        m_document.endStroke();
        break;
    case Tool::Select:
        if (m_selection)
            m_selection->release(cell);
        break;
    default:
        if (m_drawing) {
            const QList<QPoint> cells = shapeTo(cell, shift);
            m_preview.clear();
            emit previewChanged();
            paintAsOneStep(cells, m_on);
        }
        break;
    }
    m_drawing = false;
}

void DrawingTools::paintPencil(int value, QPoint cell)
{
    if (!m_document.grid().inside(cell.x(), cell.y()))
        return;
    if (value == 1)
        m_document.paintCell(cell.x(), cell.y(), true);
    else if (value == 2)
        m_document.paintCell(cell.x(), cell.y(), false);
}

QList<QPoint> DrawingTools::shapeTo(QPoint cell, bool shift) const
{
    const auto shape = toolShape(m_tool);
    if (!shape)
        return {};
    const QSize picture(m_document.grid().width(), m_document.grid().height());
    const QPoint to = shift ? logo::constrainedCorner(*shape, m_anchor, cell, picture) : cell;
    return logo::shapeCells(*shape, m_anchor, to, picture);
}

void DrawingTools::updatePreview(QPoint cell, bool shift)
{
    QList<QPoint> cells = shapeTo(cell, shift);
    if (cells == m_preview)
        return;
    m_preview = std::move(cells);
    emit previewChanged();
}

void DrawingTools::paintAsOneStep(const QList<QPoint> &cells, bool on)
{
    // The painted cells of one stroke are one step of the history.
    m_document.beginStroke();
    for (const QPoint &cell : cells)
        m_document.paintCell(cell.x(), cell.y(), on);
    m_document.endStroke();
}

} // namespace quillet
