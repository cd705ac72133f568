#include "graphic/shapes.h"

#include "graphic/editing.h"

#include <QRect>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace logo {

namespace {

bool insidePicture(QPoint p, QSize picture)
{
    return p.x() >= 0 && p.y() >= 0 && p.x() < picture.width() && p.y() < picture.height();
}

// The line drawn the same whichever end it starts from: a tie between two
// equally near cells is always decided from the left (upper) end.
QList<QPoint> lineCells(QPoint from, QPoint to)
{
    const bool reversed = to.x() < from.x() || (to.x() == from.x() && to.y() < from.y());
    if (!reversed)
        return cellsOnLine(from, to);
    QList<QPoint> cells = cellsOnLine(to, from);
    std::reverse(cells.begin(), cells.end());
    return cells;
}

// An ellipse in a box, by the offsets of a cell's centre from the box's
// centre, in half cells so that they stay whole numbers. Its ideal curve runs
// through the centres of the middle cells of the four sides (half-axes a and
// b, also in half cells). A cell is inside when, along its row or along its
// column, its centre is within half a cell of the curve's extent there: the
// rows give the flat parts and the columns the steep ones, so that every row
// and column of the box has cells and the outline has no gaps.
class EllipseBox {
public:
    explicit EllipseBox(const QRect &box)
        : m_box(box), m_a(box.width() - 1), m_b(box.height() - 1)
    {
    }

    bool contains(int c, int r) const
    {
        if (!m_box.contains(c, r))
            return false;
        const int x = std::abs(2 * c - (m_box.left() + m_box.right()));
        const int y = std::abs(2 * r - (m_box.top() + m_box.bottom()));
        return x <= extent(m_a, y, m_b) + 1 + kSlack || y <= extent(m_b, x, m_a) + 1 + kSlack;
    }

    // Inside with a side neighbour outside.
    bool onOutline(int c, int r) const
    {
        return contains(c, r) &&
               (!contains(c - 1, r) || !contains(c + 1, r) || !contains(c, r - 1) || !contains(c, r + 1));
    }

private:
    // The half-axis `along` at the offset `across` on the other half-axis.
    static double extent(int along, int across, int acrossAxis)
    {
        if (acrossAxis == 0)
            return along;
        const double t = double(across) / acrossAxis;
        return along * std::sqrt(std::max(0.0, 1.0 - t * t));
    }

    static constexpr double kSlack = 1e-9;   // an exact half cell counts as near
    QRect m_box;
    int m_a, m_b;
};

} // namespace

QList<QPoint> shapeCells(Shape shape, QPoint from, QPoint to, QSize picture)
{
    QList<QPoint> cells;
    if (shape == Shape::Line) {
        for (const QPoint &p : lineCells(from, to))
            if (insidePicture(p, picture))
                cells << p;
        return cells;
    }
    const QRect box(QPoint(std::min(from.x(), to.x()), std::min(from.y(), to.y())),
                    QPoint(std::max(from.x(), to.x()), std::max(from.y(), to.y())));
    const QRect shown = box.intersected(QRect(QPoint(0, 0), picture));
    const EllipseBox ellipse(box);
    for (int r = shown.top(); r <= shown.bottom(); ++r)
        for (int c = shown.left(); c <= shown.right(); ++c) {
            bool in = false;
            switch (shape) {
            case Shape::Line:
                break;
            case Shape::Rectangle:
                in = c == box.left() || c == box.right() || r == box.top() || r == box.bottom();
                break;
            case Shape::FilledRectangle:
                in = true;
                break;
            case Shape::Ellipse:
                in = ellipse.onOutline(c, r);
                break;
            case Shape::FilledEllipse:
                in = ellipse.contains(c, r);
                break;
            }
            if (in)
                cells << QPoint(c, r);
        }
    return cells;
}

QList<QPoint> shapeCells(Shape shape, QPoint from, QPoint to, const LogoGrid &g)
{
    return shapeCells(shape, from, to, QSize(g.width(), g.height()));
}

bool paintCells(LogoGrid &g, const QList<QPoint> &cells, bool on)
{
    bool changed = false;
    for (const QPoint &p : cells) {
        if (!g.inside(p.x(), p.y()) || g.isSet(p.x(), p.y()) == on)
            continue;
        g.setPixel(p.x(), p.y(), on);
        changed = true;
    }
    return changed;
}

bool drawShape(LogoGrid &g, Shape shape, QPoint from, QPoint to, bool on)
{
    return paintCells(g, shapeCells(shape, from, to, g), on);
}

QList<QPoint> fillCells(const LogoGrid &g, QPoint start, bool on)
{
    QList<QPoint> cells;
    if (!g.inside(start.x(), start.y()) || g.isSet(start.x(), start.y()) == on)
        return cells;
    const bool from = !on;
    std::array<bool, LogoGrid::MaxWidth * LogoGrid::MaxHeight> seen{};
    auto visit = [&](int c, int r) {
        if (!g.inside(c, r) || g.isSet(c, r) != from || seen[r * LogoGrid::MaxWidth + c])
            return;
        seen[r * LogoGrid::MaxWidth + c] = true;
        cells << QPoint(c, r);
    };
    visit(start.x(), start.y());
    // The list is the queue: each cell found is looked around once.
    for (qsizetype i = 0; i < cells.size(); ++i) {
        const QPoint p = cells[i];
        visit(p.x() - 1, p.y());
        visit(p.x() + 1, p.y());
        visit(p.x(), p.y() - 1);
        visit(p.x(), p.y() + 1);
    }
    return cells;
}

bool floodFill(LogoGrid &g, QPoint start, bool on)
{
    return paintCells(g, fillCells(g, start, on), on);
}

QPoint constrainedCorner(Shape shape, QPoint anchor, QPoint pointer, QSize picture)
{
    const int dx = pointer.x() - anchor.x(), dy = pointer.y() - anchor.y();
    // Cells from the anchor to the picture's edge, in one direction.
    auto room = [&](int step, int at, int size) { return std::max(0, step > 0 ? size - 1 - at : at); };
    auto clampTo = [](int v, int size) { return std::clamp(v, 0, std::max(0, size - 1)); };
    if (shape == Shape::Line) {
        // Nearest of the eight directions: within 22.5 degrees of an axis the
        // line keeps to the axis (tan 22.5 is about 5 / 12).
        if (12 * std::abs(dy) <= 5 * std::abs(dx))
            return QPoint(clampTo(pointer.x(), picture.width()), anchor.y());
        if (12 * std::abs(dx) <= 5 * std::abs(dy))
            return QPoint(anchor.x(), clampTo(pointer.y(), picture.height()));
    }
    int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
    if (dx == 0 && room(-1, anchor.x(), picture.width()) > room(1, anchor.x(), picture.width()))
        sx = -1;
    if (dy == 0 && room(-1, anchor.y(), picture.height()) > room(1, anchor.y(), picture.height()))
        sy = -1;
    // The distance between the corners along each axis (the square's side
    // less one), shortened to the room the picture leaves.
    const int span = std::min({std::max(std::abs(dx), std::abs(dy)), room(sx, anchor.x(), picture.width()),
                               room(sy, anchor.y(), picture.height())});
    return anchor + QPoint(sx * span, sy * span);
}

QString shapeName(Shape shape)
{
    switch (shape) {
    case Shape::Line:
        return QStringLiteral("line");
    case Shape::Rectangle:
        return QStringLiteral("rect");
    case Shape::FilledRectangle:
        return QStringLiteral("fillrect");
    case Shape::Ellipse:
        return QStringLiteral("ellipse");
    case Shape::FilledEllipse:
        return QStringLiteral("fillellipse");
    }
    return QString();
}

std::optional<Shape> shapeByName(const QString &name)
{
    for (Shape s : {Shape::Line, Shape::Rectangle, Shape::FilledRectangle, Shape::Ellipse, Shape::FilledEllipse})
        if (shapeName(s) == name)
            return s;
    return std::nullopt;
}

} // namespace logo
