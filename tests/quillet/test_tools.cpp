// The editing grid's tools through the window: shapes and fill dragged with
// the mouse, the zoom's cells under the pointer, the selection and the clipboard.
#include "desktop/pixelaspect.h"
#include "graphic/shapes.h"
#include "picture/pictureimage.h"
#include "picture/undohistory.h"
#include "quillet/drawingtools.h"
#include "quillet/exportsizedialog.h"
#include "quillet/selection.h"
#include "quillettest.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillettest;
using quillet::Tool;

namespace {

QPoint centreAt(int pitch, QPoint cell)
{
    return {pitch * cell.x() + pitch / 2, pitch * cell.y() + pitch / 2};
}

void send(QWidget *w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons held,
          Qt::KeyboardModifiers modifiers)
{
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, held, modifiers);
    QCoreApplication::sendEvent(w, &e);
}

// Presses on one cell, moves over a cell on the way and releases on another.
void drag(quillet::GridView *grid, QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const int p = grid->cellPitch();
    send(grid, QEvent::MouseButtonPress, centreAt(p, from), button, button, modifiers);
    send(grid, QEvent::MouseMove, centreAt(p, (from + to) / 2), Qt::NoButton, button, modifiers);
    send(grid, QEvent::MouseMove, centreAt(p, to), Qt::NoButton, button, modifiers);
    send(grid, QEvent::MouseButtonRelease, centreAt(p, to), button, Qt::NoButton, modifiers);
}

QList<QPoint> setCells(const logo::LogoGrid &g)
{
    QList<QPoint> cells;
    for (int r = 0; r < g.height(); ++r)
        for (int c = 0; c < g.width(); ++c)
            if (g.isSet(c, r))
                cells << QPoint(c, r);
    return cells;
}

QList<QPoint> sorted(QList<QPoint> cells)
{
    std::sort(cells.begin(), cells.end(),
              [](QPoint a, QPoint b) { return std::pair(a.y(), a.x()) < std::pair(b.y(), b.x()); });
    return cells;
}

QList<QPoint> box(int x1, int y1, int x2, int y2)
{
    QList<QPoint> cells;
    for (int r = y1; r <= y2; ++r)
        for (int c = x1; c <= x2; ++c)
            cells << QPoint(c, r);
    return cells;
}

} // namespace

TEST(QuilletTools, EachToolDrawsItsCellsAsOneStep)
{
    const QList<QPoint> ring = sorted(logo::shapeCells(logo::Shape::Rectangle, {1, 1}, {5, 4}, QSize(72, 14)));
    struct Case {
        const char *entry;
        QPoint from, to;
        Qt::MouseButton button;
        Qt::KeyboardModifiers modifiers;
        bool startFilled;        // every cell set before the drag
        bool startRing;          // the border of (1, 1)-(5, 4) set before the drag
        QList<QPoint> expected;  // the set cells after the release
    };
    const QList<Case> cases = {
        {"mnuToolPencil", {2, 4}, {8, 4}, Qt::LeftButton, {}, false, false, box(2, 4, 8, 4)},
        {"mnuToolLine", {9, 1}, {3, 1}, Qt::LeftButton, {}, false, false, box(3, 1, 9, 1)},
        {"mnuToolLine", {0, 0}, {6, 2}, Qt::LeftButton, Qt::ShiftModifier, false, false, box(0, 0, 6, 0)},
        {"mnuToolRectangle", {1, 1}, {5, 4}, Qt::LeftButton, {}, false, false, ring},
        {"mnuToolRectangle", {5, 4}, {1, 1}, Qt::LeftButton, {}, false, false, ring},
        {"mnuToolRectangle", {0, 0}, {4, 2}, Qt::LeftButton, Qt::ShiftModifier, false, false,
         sorted(logo::shapeCells(logo::Shape::Rectangle, {0, 0}, {4, 4}, QSize(72, 14)))},
        {"mnuToolFilledRectangle", {2, 2}, {4, 3}, Qt::LeftButton, {}, false, false, box(2, 2, 4, 3)},
        {"mnuToolEllipse", {0, 0}, {8, 5}, Qt::LeftButton, {}, false, false,
         sorted(logo::shapeCells(logo::Shape::Ellipse, {0, 0}, {8, 5}, QSize(72, 14)))},
        {"mnuToolFilledEllipse", {3, 2}, {9, 8}, Qt::LeftButton, {}, false, false,
         sorted(logo::shapeCells(logo::Shape::FilledEllipse, {3, 2}, {9, 8}, QSize(72, 14)))},
        {"mnuToolFill", {3, 2}, {3, 2}, Qt::LeftButton, {}, false, true, box(1, 1, 5, 4)},
        {"mnuToolFill", {0, 0}, {0, 0}, Qt::RightButton, {}, false, true, {}},
        {"mnuToolFilledRectangle", {0, 0}, {71, 13}, Qt::MiddleButton, {}, false, false, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.entry) + " from " + std::to_string(c.from.x()) + "," + std::to_string(c.from.y()));
        Env env;
        env.start();
        auto *grid = env.grid();
        env.action(c.entry)->trigger();
        if (c.startFilled || c.startRing) {
            logo::LogoGrid g = env.doc().grid();
            if (c.startFilled)
                logo::drawShape(g, logo::Shape::FilledRectangle, {0, 0}, {71, 13}, true);
            if (c.startRing)
                logo::drawShape(g, logo::Shape::Rectangle, {1, 1}, {5, 4}, true);
            env.doc().beginStroke();
            for (const QPoint &p : setCells(g))
                env.doc().paintCell(p.x(), p.y(), true);
            env.doc().endStroke();
        }
        const logo::LogoGrid before = env.doc().grid();
        const int steps = logo::undoStackOf(env.doc())->index();
        drag(grid, c.from, c.to, c.button, c.modifiers);
        EXPECT_TRUE(grid->tools().previewCells().isEmpty()) << "the preview ends with the release";
        const QList<QPoint> expected = c.startRing && c.button == Qt::RightButton ? QList<QPoint>{} : c.expected;
        if (c.button == Qt::RightButton) {
            // The right button fills the outside with the background: the ring stays.
            EXPECT_EQ(setCells(env.doc().grid()), setCells(before));
            EXPECT_EQ(logo::undoStackOf(env.doc())->index(), steps) << "nothing changed, no step";
            continue;
        }
        EXPECT_EQ(setCells(env.doc().grid()), expected);
        if (expected == setCells(before)) {
            EXPECT_EQ(logo::undoStackOf(env.doc())->index(), steps);
            continue;
        }
        EXPECT_EQ(logo::undoStackOf(env.doc())->index(), steps + 1) << "one step";
        env.action("mnuUndo")->trigger();
        EXPECT_EQ(setCells(env.doc().grid()), setCells(before));
    }
}

TEST(QuilletTools, ShapeIsPreviewedWhileDraggingAndAbandonedWithTheTool)
{
    Env env;
    env.start();
    auto *grid = env.grid();
    env.action("mnuToolRectangle")->trigger();
    EXPECT_TRUE(env.action("mnuToolRectangle")->isChecked());
    EXPECT_FALSE(env.action("mnuToolPencil")->isChecked());
    send(grid, QEvent::MouseButtonPress, cellCentre(1, 1), Qt::LeftButton, Qt::LeftButton, {});
    send(grid, QEvent::MouseMove, cellCentre(3, 3), Qt::NoButton, Qt::LeftButton, {});
    EXPECT_EQ(grid->tools().previewCells().size(), 8);
    EXPECT_TRUE(env.doc().grid().isEmpty()) << "the picture changes on release";
    env.action("mnuToolPencil")->trigger();
    EXPECT_TRUE(grid->tools().previewCells().isEmpty());
    send(grid, QEvent::MouseButtonRelease, cellCentre(3, 3), Qt::LeftButton, Qt::NoButton, {});
    EXPECT_TRUE(env.doc().grid().isEmpty());

    // Escape abandons the shape being dragged.
    env.action("mnuToolEllipse")->trigger();
    send(grid, QEvent::MouseButtonPress, cellCentre(1, 1), Qt::LeftButton, Qt::LeftButton, {});
    send(grid, QEvent::MouseMove, cellCentre(6, 6), Qt::NoButton, Qt::LeftButton, {});
    EXPECT_FALSE(grid->tools().previewCells().isEmpty());
    QTest::keyClick(grid, Qt::Key_Escape);
    EXPECT_TRUE(grid->tools().previewCells().isEmpty());
    send(grid, QEvent::MouseButtonRelease, cellCentre(6, 6), Qt::LeftButton, Qt::NoButton, {});
    EXPECT_TRUE(env.doc().grid().isEmpty());
}

TEST(QuilletZoom, CellsUnderThePointerFollowTheZoomAndTheWindow)
{
    Env env;
    auto &w = env.start();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto *grid = env.grid();
    EXPECT_EQ(grid->cellPitch(), 7);
    env.action("mnuZoomIn")->trigger();
    env.action("mnuZoomIn")->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->cellPitch(), 9);
    EXPECT_EQ(grid->size(), QSize(9 * 72 + 1, 9 * 14 + 1));
    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(9 * 10 + 1, 9 * 5 + 8));
    EXPECT_TRUE(env.doc().grid().isSet(10, 5));
    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(9 * 11, 9 * 6));   // the line belongs to the next cell
    EXPECT_TRUE(env.doc().grid().isSet(11, 6));
    EXPECT_EQ(grid->cellSquare(10, 5), QRect(91, 46, 8, 8));

    env.action("mnuZoomReset")->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->cellPitch(), 7);
    EXPECT_EQ(grid->size(), QSize(505, 99));

    // A larger window gives larger cells; the zoom out makes them smaller again.
    w.resize(w.width() + 400, w.height() + 200);
    QCoreApplication::processEvents();
    EXPECT_GT(grid->cellPitch(), 7);
    EXPECT_EQ(grid->cellUnder(QPointF(grid->cellPitch() * 3 + 1, 1)), QPoint(3, 0));
    for (int i = 0; i < 40; ++i) {
        env.action("mnuZoomOut")->trigger();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(grid->cellPitch(), quillet::kMinCellPitch);

    // Without grid lines the cells touch.
    env.action("mnuGridLines")->trigger();
    EXPECT_FALSE(env.action("mnuGridLines")->isChecked());
    EXPECT_EQ(grid->cellSquare(1, 1), QRect(3, 3, 3, 3));
    EXPECT_EQ(env.setting(QStringLiteral("GridLines")), QStringLiteral("0"));
    env.start();
    EXPECT_FALSE(env.action("mnuGridLines")->isChecked()) << "kept for the next start";
    EXPECT_FALSE(env.grid()->gridLinesShown());
}

TEST(QuilletClipboard, CopyPasteMoveCutAndDeleteTheSelection)
{
    Env env;
    env.start();
    auto *grid = env.grid();
    for (const QPoint p : {QPoint(2, 2), QPoint(4, 3), QPoint(5, 4)})
        env.doc().paintCell(p.x(), p.y(), true);
    env.action("mnuToolSelect")->trigger();
    drag(grid, {2, 2}, {5, 4});
    EXPECT_EQ(grid->selection().rect(), QRect(QPoint(2, 2), QPoint(5, 4)));
    env.action("mnuCopy")->trigger();
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), QSize(4, 3));
    EXPECT_EQ(copied.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(copied.pixel(1, 0), qRgb(255, 255, 255));
    EXPECT_EQ(copied.pixel(3, 2), qRgb(0, 0, 0));

    // Moved by dragging inside it: one step, the place it left is clear.
    const int steps = logo::undoStackOf(env.doc())->index();
    drag(grid, {3, 3}, {13, 8});
    EXPECT_EQ(setCells(env.doc().grid()), (QList<QPoint>{{12, 7}, {14, 8}, {15, 9}}));
    EXPECT_EQ(logo::undoStackOf(env.doc())->index(), steps + 1);
    env.action("mnuUndo")->trigger();
    EXPECT_EQ(setCells(env.doc().grid()), (QList<QPoint>{{2, 2}, {4, 3}, {5, 4}}));
    EXPECT_TRUE(grid->selection().isEmpty()) << "undo drops the selection";

    // Paste at the top-left, then moved away: what it covered comes back.
    env.action("mnuPaste")->trigger();
    EXPECT_EQ(grid->selection().rect(), QRect(0, 0, 4, 3));
    EXPECT_EQ(setCells(env.doc().grid()), (QList<QPoint>{{0, 0}, {2, 1}, {3, 2}, {4, 3}, {5, 4}}));
    drag(grid, {0, 0}, {20, 0});
    EXPECT_EQ(setCells(env.doc().grid()), (QList<QPoint>{{20, 0}, {22, 1}, {2, 2}, {23, 2}, {4, 3}, {5, 4}}));

    env.action("mnuCut")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(4, 3));
    EXPECT_EQ(setCells(env.doc().grid()), (QList<QPoint>{{2, 2}, {4, 3}, {5, 4}}));
    drag(grid, {4, 3}, {5, 4});
    env.action("mnuDelete")->trigger();
    EXPECT_EQ(setCells(env.doc().grid()), (QList<QPoint>{{2, 2}}));

    // Any image: dark pixels as Import reads them, transparent ones as the display.
    QImage foreign(100, 20, QImage::Format_ARGB32);
    foreign.fill(Qt::transparent);
    foreign.setPixel(0, 0, qRgb(30, 40, 64));      // dark enough
    foreign.setPixel(1, 0, qRgb(30, 40, 65));      // not
    foreign.setPixel(99, 19, qRgb(0, 0, 0));       // beyond the largest picture
    const logo::LogoGrid pasted = quillet::Selection::gridFromImage(foreign);
    EXPECT_EQ(QSize(pasted.width(), pasted.height()), QSize(72, 14));
    EXPECT_EQ(setCells(pasted), (QList<QPoint>{{0, 0}}));
}

TEST(QuilletExport, SizeDialogGivesTheBlockOfEachPixelAndKeepsTheChoice)
{
    Env env;
    env.start();
    const QSizeF shape(7, 8);
    {
        quillet::ExportSizeDialog dialog(env.box.settings(), QStringLiteral("Quillet Settings"), shape);
        EXPECT_EQ(dialog.pixelSize(), QSize(1, 1)) << "the natural size at first";
        dialog.setScale(5);
        EXPECT_EQ(dialog.pixelSize(), QSize(5, 5));
        dialog.setPhoneShape(true);
        EXPECT_EQ(dialog.pixelSize(), logo::exportPixelSize(5, shape));
        dialog.remember();
    }
    quillet::ExportSizeDialog again(env.box.settings(), QStringLiteral("Quillet Settings"), shape);
    EXPECT_EQ(again.pixelSize(), logo::exportPixelSize(5, shape));
}
