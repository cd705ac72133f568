// The drawing tools' shapes and flood fill, through the code the windows and
// logotool draw share.
#include "graphic/shapes.h"

#include <QRect>
#include <QSet>
#include <cmath>
#include <gtest/gtest.h>

using namespace logo;

namespace {

QSet<QPoint> asSet(const QList<QPoint> &cells)
{
    return QSet<QPoint>(cells.begin(), cells.end());
}

// The picture's rows as '#' and '.', as logotool show prints them.
QStringList rows(const LogoGrid &g)
{
    QStringList out;
    for (int r = 0; r < g.height(); ++r) {
        QString line;
        for (int c = 0; c < g.width(); ++c)
            line += g.isSet(c, r) ? QLatin1Char('#') : QLatin1Char('.');
        out << line;
    }
    return out;
}

LogoGrid picture(int w, int h, const QList<QPoint> &set = {})
{
    LogoGrid g;
    g.setSize(w, h);
    g.clear();
    for (const QPoint &p : set)
        g.setPixel(p.x(), p.y(), true);
    return g;
}

bool eightConnected(const QSet<QPoint> &cells)
{
    if (cells.isEmpty())
        return true;
    QList<QPoint> queue{*cells.begin()};
    QSet<QPoint> reached{queue.front()};
    for (qsizetype i = 0; i < queue.size(); ++i)
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const QPoint n = queue[i] + QPoint(dx, dy);
                if (cells.contains(n) && !reached.contains(n)) {
                    reached.insert(n);
                    queue << n;
                }
            }
    return reached.size() == cells.size();
}

const QSize kFull(LogoGrid::MaxWidth, LogoGrid::MaxHeight);

} // namespace

TEST(Shapes, LinesAreTheNearestCellsOnePerStepWhicheverEndFirst)
{
    struct Case {
        QPoint from, to;
        QStringList expected;   // a 6 x 4 picture
    } cases[] = {
        {{0, 0}, {5, 2}, {"##....", "..##..", "....##", "......"}},   // flat
        {{5, 2}, {0, 0}, {"##....", "..##..", "....##", "......"}},   // the same, reversed
        {{1, 0}, {2, 3}, {".#....", ".#....", "..#...", "..#..."}},   // steep
        {{5, 3}, {2, 0}, {"..#...", "...#..", "....#.", ".....#"}},   // 45 degrees, reversed
        {{3, 1}, {3, 1}, {"......", "...#..", "......", "......"}},   // a single cell
        {{-3, 1}, {8, 1}, {"......", "######", "......", "......"}},  // clipped to the picture
    };
    for (const Case &t : cases) {
        LogoGrid g = picture(6, 4);
        EXPECT_TRUE(drawShape(g, Shape::Line, t.from, t.to, true));
        EXPECT_EQ(rows(g), t.expected) << t.from.x() << "," << t.from.y() << " " << t.to.x() << "," << t.to.y();
    }

    // Every line from a few cells to every cell of the picture.
    for (const QPoint from : {QPoint(0, 0), QPoint(35, 6), QPoint(71, 13), QPoint(10, 13)})
        for (int r = 0; r < kFull.height(); ++r)
            for (int c = 0; c < kFull.width(); ++c) {
                const QPoint to(c, r);
                const QList<QPoint> cells = shapeCells(Shape::Line, from, to, kFull);
                const int dx = to.x() - from.x(), dy = to.y() - from.y();
                const bool flat = std::abs(dx) >= std::abs(dy);
                ASSERT_EQ(cells.size(), std::max(std::abs(dx), std::abs(dy)) + 1);
                ASSERT_EQ(cells.front(), from);
                ASSERT_EQ(cells.back(), to);
                for (qsizetype i = 0; i < cells.size(); ++i) {
                    const QPoint p = cells[i];
                    // One step along the longer axis each, the other within half a cell.
                    const double ideal = flat ? from.y() + double(dy) * (p.x() - from.x()) / (dx ? dx : 1)
                                              : from.x() + double(dx) * (p.y() - from.y()) / dy;
                    ASSERT_LE(std::abs((flat ? p.y() : p.x()) - ideal), 0.5) << c << "," << r;
                    ASSERT_EQ(flat ? p.x() : p.y(), (flat ? from.x() : from.y()) + int(i) * (flat ? (dx < 0 ? -1 : 1)
                                                                                                 : (dy < 0 ? -1 : 1)));
                }
                QList<QPoint> back = shapeCells(Shape::Line, to, from, kFull);
                std::reverse(back.begin(), back.end());
                ASSERT_EQ(back, cells);
            }
}

TEST(Shapes, RectanglesAreExactlyTheirBorderOrTheirBox)
{
    const struct {
        QPoint a, b;
    } boxes[] = {{{2, 1}, {9, 5}}, {{9, 5}, {2, 1}}, {{4, 0}, {4, 6}}, {{3, 3}, {3, 3}},
                 {{1, 2}, {2, 3}}, {{-2, -1}, {5, 3}}, {{8, 6}, {14, 9}}};
    for (const auto &t : boxes) {
        const QRect box(QPoint(std::min(t.a.x(), t.b.x()), std::min(t.a.y(), t.b.y())),
                        QPoint(std::max(t.a.x(), t.b.x()), std::max(t.a.y(), t.b.y())));
        const QSize size(12, 8);
        const QSet<QPoint> outline = asSet(shapeCells(Shape::Rectangle, t.a, t.b, size));
        const QSet<QPoint> filled = asSet(shapeCells(Shape::FilledRectangle, t.b, t.a, size));
        for (int r = 0; r < size.height(); ++r)
            for (int c = 0; c < size.width(); ++c) {
                const bool inBox = box.contains(c, r);
                const bool border = inBox && (c == box.left() || c == box.right() || r == box.top() || r == box.bottom());
                EXPECT_EQ(outline.contains(QPoint(c, r)), border) << c << "," << r;
                EXPECT_EQ(filled.contains(QPoint(c, r)), inBox) << c << "," << r;
            }
        EXPECT_EQ(shapeCells(Shape::Rectangle, t.a, t.b, size).size(), outline.size());   // each cell once
    }
}

TEST(Shapes, EllipsesFillTheirBoxSymmetricAndClosed)
{
    LogoGrid g = picture(9, 7);
    drawShape(g, Shape::Ellipse, {8, 6}, {0, 0}, true);
    EXPECT_EQ(rows(g), QStringList({"..#####..", ".#.....#.", "#.......#", "#.......#", "#.......#",
                                    ".#.....#.", "..#####.."}));

    // Every box size, from the top-left cell.
    for (int h = 1; h <= kFull.height(); ++h)
        for (int w = 1; w <= kFull.width(); ++w) {
            const QPoint a(0, 0), b(w - 1, h - 1);
            const QSet<QPoint> filled = asSet(shapeCells(Shape::FilledEllipse, a, b, kFull));
            const QSet<QPoint> outline = asSet(shapeCells(Shape::Ellipse, b, a, kFull));
            bool top = false, bottom = false, left = false, right = false;
            for (const QPoint &p : filled) {
                ASSERT_TRUE(filled.contains(QPoint(w - 1 - p.x(), p.y())) && filled.contains(QPoint(p.x(), h - 1 - p.y())))
                    << w << "x" << h;
                top |= p.y() == 0;
                bottom |= p.y() == h - 1;
                left |= p.x() == 0;
                right |= p.x() == w - 1;
            }
            ASSERT_TRUE(top && bottom && left && right) << w << "x" << h;
            ASSERT_TRUE(filled.contains(outline)) << w << "x" << h;
            ASSERT_TRUE(eightConnected(outline)) << w << "x" << h;
            // Closed: a fill from any cell outside the outline never reaches
            // the cells inside it.
            LogoGrid drawn = picture(kFull.width(), kFull.height(), outline.values());
            for (int r = 0; r < h; ++r)
                for (int c = 0; c < w; ++c)
                    if (!filled.contains(QPoint(c, r)))
                        floodFill(drawn, QPoint(c, r), true);
            for (const QPoint &p : filled) {
                if (!outline.contains(p)) {
                    ASSERT_FALSE(drawn.isSet(p.x(), p.y())) << w << "x" << h << " at " << p.x() << "," << p.y();
                }
            }
        }
}

TEST(Shapes, FillKeepsToItsColourBySidesOnly)
{
    // A ring with a diagonal gap at its top-left corner, room all round.
    const QList<QPoint> ring{{3, 1}, {4, 1}, {5, 1}, {2, 2}, {5, 2}, {1, 3}, {5, 3}, {1, 4},
                             {2, 4}, {3, 4}, {4, 4}, {5, 4}};
    struct Case {
        QPoint start;
        bool on;
        int changed;   // cells
    } cases[] = {
        {{3, 3}, true, 5},    // inside: never out through the gap between (2, 2) and (3, 1)
        {{0, 0}, true, 25},   // outside: never in (7 x 6, less the ring and the 5 inside)
        {{4, 4}, false, 11},  // clearing the ring: joined by sides only, (2, 2) stays
        {{4, 4}, true, 0},    // already set
        {{7, 1}, true, 0},    // outside the picture
    };
    for (const Case &t : cases) {
        LogoGrid g = picture(7, 6, ring);
        const LogoGrid before = g;
        const QList<QPoint> cells = fillCells(g, t.start, t.on);
        EXPECT_EQ(cells.size(), t.changed) << t.start.x() << "," << t.start.y();
        EXPECT_EQ(floodFill(g, t.start, t.on), t.changed > 0);
        for (int r = 0; r < LogoGrid::MaxHeight; ++r)
            for (int c = 0; c < LogoGrid::MaxWidth; ++c)
                EXPECT_EQ(g.isSet(c, r), cells.contains(QPoint(c, r)) ? t.on : before.isSet(c, r)) << c << "," << r;
    }
}

TEST(Shapes, ShiftGivesEightDirectionsAndSquaresInsideThePicture)
{
    const struct {
        Shape shape;
        QPoint anchor, pointer, expected;
    } cases[] = {
        {Shape::Line, {10, 5}, {20, 8}, {20, 5}},       // nearly flat: horizontal
        {Shape::Line, {10, 5}, {12, 12}, {10, 12}},     // nearly steep: vertical
        {Shape::Line, {10, 5}, {16, 10}, {16, 11}},     // 45 degrees, the longer side wins
        {Shape::Line, {10, 5}, {2, 13}, {2, 13}},
        {Shape::Line, {10, 5}, {0, 0}, {5, 0}},         // 45 degrees up to the top edge
        {Shape::Line, {10, 5}, {90, 5}, {71, 5}},       // clamped at the right edge
        {Shape::Rectangle, {10, 2}, {14, 4}, {14, 6}},  // square: the longer side wins
        {Shape::Ellipse, {10, 2}, {5, 4}, {5, 7}},
        {Shape::FilledRectangle, {10, 2}, {30, 3}, {21, 13}},   // as large as the picture lets it
        {Shape::FilledEllipse, {70, 12}, {70, 3}, {61, 3}},   // straight up: opens where there is room
    };
    for (const auto &t : cases)
        EXPECT_EQ(constrainedCorner(t.shape, t.anchor, t.pointer, kFull), t.expected)
            << shapeName(t.shape).toStdString() << " to " << t.pointer.x() << "," << t.pointer.y();
    for (Shape s : {Shape::Line, Shape::Rectangle, Shape::FilledRectangle, Shape::Ellipse, Shape::FilledEllipse})
        EXPECT_EQ(shapeByName(shapeName(s)), s);
    EXPECT_FALSE(shapeByName(QStringLiteral("circle")));
}
