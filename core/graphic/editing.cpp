#include "graphic/editing.h"

#include <algorithm>
#include <cstdlib>

namespace logo {

namespace {
// Builds the new picture in a scratch plane from a source-cell mapping, then
// copies it back, as the tools do.
template <typename Source>
void remap(LogoGrid &g, Source source)
{
    LogoGrid scratch = g;
    const int w = g.width(), h = g.height();
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) {
            const auto [sc, sr] = source(c, r, w, h);
            scratch.setCell(c, r, g.cell(sc, sr));
        }
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c)
            g.setCell(c, r, scratch.cell(c, r));
}
struct Pos { int c, r; };
} // namespace

void moveUp(LogoGrid &g)
{
    remap(g, [](int c, int r, int, int h) { return Pos{c, (r + 1) % h}; });
}

void moveDown(LogoGrid &g)
{
    remap(g, [](int c, int r, int, int h) { return Pos{c, (r + h - 1) % h}; });
}

void moveLeft(LogoGrid &g)
{
    remap(g, [](int c, int r, int w, int) { return Pos{(c + 1) % w, r}; });
}

void moveRight(LogoGrid &g)
{
    remap(g, [](int c, int r, int w, int) { return Pos{(c + w - 1) % w, r}; });
}

void flipHorizontal(LogoGrid &g)
{
    remap(g, [](int c, int r, int w, int) { return Pos{w - 1 - c, r}; });
}

void flipVertical(LogoGrid &g)
{
    remap(g, [](int c, int r, int, int h) { return Pos{c, h - 1 - r}; });
}

void invert(LogoGrid &g)
{
    for (int r = 0; r < g.height(); ++r)
        for (int c = 0; c < g.width(); ++c)
            g.setCell(c, r, g.cell(c, r) == 1 ? 0 : 1);
}

QList<QPoint> cellsOnLine(QPoint from, QPoint to)
{
    // Bresenham: one cell per step along the longer axis.
    const int dx = std::abs(to.x() - from.x()), dy = -std::abs(to.y() - from.y());
    const int sx = from.x() < to.x() ? 1 : -1, sy = from.y() < to.y() ? 1 : -1;
    QList<QPoint> cells;
    cells.reserve(std::max(dx, -dy) + 1);
    QPoint p = from;
    int error = dx + dy;
    for (;;) {
        cells << p;
        if (p == to)
            return cells;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            p.rx() += sx;
        }
        if (twice <= dx) {
            error += dx;
            p.ry() += sy;
        }
    }
}

} // namespace logo
