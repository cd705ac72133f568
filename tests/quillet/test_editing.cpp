// Quillet's editor view: the grid's geometry and colours, painting with the
// mouse, the position box, arrow keys and move buttons, and the blinking
// preview driven tick by tick.
#include "quillettest.h"

#include "graphic/editing.h"

#include <QMenu>
#include <QSet>
#include <QWindow>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace quillettest;
using quillet::kDisplayGreen;
using quillet::kGridLineColour;
using quillet::kOctetLineColour;

namespace {

QRgb at(const QImage &img, int x, int y)
{
    return img.pixel(x, y) & 0xFFFFFF;
}
QRgb rgb(QRgb c)
{
    return c & 0xFFFFFF;
}
constexpr QRgb kBlack = 0;

// The logo area of picDisplay as drawn on screen.
bool shownOnDisplay(Env &env, int c, int r)
{
    return at(env.display()->grab().toImage(), 15 + c, 31 + r) == kBlack;
}

} // namespace

// ---------------------------------------------------------------- geometry

TEST(QuilletGrid, CellsLinesAndOctetBoundaries)
{
    Env env;
    env.start();
    env.doc().paintCell(0, 0, true);
    env.doc().paintCell(9, 8, true);
    const QImage img = env.grid()->grab().toImage();
    ASSERT_EQ(img.size(), QSize(505, 99));

    for (int y = 1; y <= 6; ++y)
        for (int x = 1; x <= 6; ++x)
            ASSERT_EQ(at(img, x, y), kBlack) << x << "," << y;
    EXPECT_EQ(at(img, 7 * 9 + 1, 7 * 8 + 1), kBlack);
    EXPECT_EQ(at(img, 7 * 9 + 6, 7 * 8 + 6), kBlack);
    EXPECT_EQ(at(img, 7 * 9 + 7, 7 * 8 + 6), rgb(kGridLineColour));
    EXPECT_EQ(at(img, 10, 10), rgb(kDisplayGreen)) << "a clear cell";

    EXPECT_EQ(at(img, 0, 3), rgb(kGridLineColour));
    EXPECT_EQ(at(img, 7, 3), rgb(kGridLineColour));
    EXPECT_EQ(at(img, 3, 7), rgb(kGridLineColour));
    EXPECT_EQ(at(img, 504, 50), rgb(kGridLineColour)) << "last vertical line";
    EXPECT_EQ(at(img, 50, 98), rgb(kGridLineColour)) << "last horizontal line";
    // Octet boundaries after every eighth column (x = 56 .. 448) and below row 7.
    for (int d = 1; d <= 8; ++d)
        EXPECT_EQ(at(img, 56 * d, 20), rgb(kOctetLineColour)) << d;
    EXPECT_EQ(at(img, 56 * 9, 20), rgb(kGridLineColour)) << "no boundary at the right edge";
    EXPECT_EQ(at(img, 30, 56), rgb(kOctetLineColour));
    EXPECT_EQ(at(img, 30, 49), rgb(kGridLineColour));
}

TEST(QuilletGrid, SmallerPictureShrinksTheGrid)
{
    Env env;
    const QString f = env.ngg(QStringLiteral("small.ngg"), {{15, 7}}, 16, 8);
    auto &w = env.start();
    w.openReceivedFile(f);
    EXPECT_EQ(env.grid()->size(), QSize(7 * 16 + 1, 7 * 8 + 1));
    const QImage img = env.grid()->grab().toImage();
    EXPECT_EQ(at(img, 7 * 15 + 3, 7 * 7 + 3), kBlack);
    EXPECT_EQ(at(img, 56, 20), rgb(kOctetLineColour)) << "one boundary in the middle of 16 columns";

    // Painting beyond the picture's 16 columns does nothing.
    QTest::mouseClick(env.grid(), Qt::LeftButton, {}, cellCentre(20, 2));
    EXPECT_EQ(env.doc().grid().setCount(), 1);
    w.runToolbarButton(QStringLiteral("New"));
    EXPECT_EQ(env.grid()->size(), QSize(7 * 72 + 1, 7 * 14 + 1)) << "New starts the full size";
}

TEST(QuilletGrid, OctetLinesForNarrowWidthsRoundHalfToEven)
{
    // The vertical boundaries run for d = 0 .. width / 8 - 2 rounded half to
    // even: 20 columns and 12 columns get one line (x = 56), 28 gets three.
    EXPECT_EQ(quillet::GridView::lastOctetLine(72), 7);
    EXPECT_EQ(quillet::GridView::lastOctetLine(20), 0);
    EXPECT_EQ(quillet::GridView::lastOctetLine(12), 0);
    EXPECT_EQ(quillet::GridView::lastOctetLine(28), 2);
    EXPECT_LT(quillet::GridView::lastOctetLine(8), 0);

    Env env;
    const QString f = env.ngg(QStringLiteral("narrow.ngg"), {{0, 0}}, 20, 10);
    env.start(f);
    const QImage img = env.grid()->grab().toImage();
    ASSERT_EQ(img.size(), QSize(7 * 20 + 1, 7 * 10 + 1));
    EXPECT_EQ(at(img, 56, 20), rgb(kOctetLineColour));
    EXPECT_EQ(at(img, 112, 20), rgb(kGridLineColour)) << "no second boundary at width 20";
    EXPECT_EQ(at(img, 30, 56), rgb(kOctetLineColour)) << "the line below row 7";
}

// ---------------------------------------------------------------- mouse

TEST(QuilletMouse, LeftSetsRightClearsOthersNothing)
{
    Env env;
    auto &w = env.start();
    auto *grid = env.grid();
    QTest::mouseClick(grid, Qt::LeftButton, {}, cellCentre(5, 3));
    EXPECT_TRUE(env.doc().grid().isSet(5, 3));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Quillet [Untitled*]"));
    EXPECT_TRUE(env.display()->isPixelSet(5, 3));
    EXPECT_TRUE(env.hiddenCopy()->isPixelSet(5, 3));
    EXPECT_TRUE(shownOnDisplay(env, 5, 3));

    QTest::mouseClick(grid, Qt::MiddleButton, {}, cellCentre(6, 3));
    EXPECT_FALSE(env.doc().grid().isSet(6, 3));

    QTest::mouseClick(grid, Qt::RightButton, {}, cellCentre(5, 3));
    EXPECT_FALSE(env.doc().grid().isSet(5, 3));
    EXPECT_FALSE(env.display()->isPixelSet(5, 3));
    EXPECT_FALSE(shownOnDisplay(env, 5, 3));

    // The last grid line at the right edge belongs to no cell.
    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(504, 50));
    EXPECT_TRUE(env.doc().grid().isEmpty());
    EXPECT_FALSE(grid->isPressed());
}

TEST(QuilletMouse, DraggingPaintsEveryCellPassed)
{
    Env env;
    env.start();
    auto *grid = env.grid();
    QTest::mousePress(grid, Qt::LeftButton, {}, cellCentre(2, 4));
    EXPECT_TRUE(grid->isPressed());
    for (int c = 3; c <= 9; ++c)
        QTest::mouseMove(grid, cellCentre(c, 4));
    QTest::mouseMove(grid, QPoint(40, -10));   // out across row 3, column 5: outside paints nothing
    QTest::mouseRelease(grid, Qt::LeftButton, {}, QPoint(40, -10));
    EXPECT_FALSE(grid->isPressed());
    for (int c = 2; c <= 9; ++c)
        EXPECT_TRUE(env.doc().grid().isSet(c, 4)) << c;
    EXPECT_EQ(env.doc().grid().setCount(), 12);

    // Moving without a button after the release paints nothing.
    sendMouse(grid, QEvent::MouseMove, cellCentre(20, 10), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(env.doc().grid().setCount(), 12);

    // Right drag clears.
    QTest::mousePress(grid, Qt::RightButton, {}, cellCentre(2, 4));
    QTest::mouseMove(grid, cellCentre(3, 4));
    QTest::mouseMove(grid, cellCentre(4, 4));
    QTest::mouseRelease(grid, Qt::RightButton, {}, cellCentre(4, 4));
    EXPECT_EQ(env.doc().grid().setCount(), 9);
    EXPECT_FALSE(env.doc().grid().isSet(3, 4));
}

TEST(QuilletMouse, FastDragsLeaveNoGaps)
{
    Env env;
    env.start();
    auto *grid = env.grid();
    const logo::LogoGrid &g = env.doc().grid();
    // One move event across a whole row: every cell between is set.
    QTest::mousePress(grid, Qt::LeftButton, {}, cellCentre(2, 1));
    QTest::mouseMove(grid, cellCentre(70, 1));
    QTest::mouseRelease(grid, Qt::LeftButton, {}, cellCentre(70, 1));
    for (int c = 2; c <= 70; ++c)
        EXPECT_TRUE(g.isSet(c, 1)) << c;
    EXPECT_EQ(g.setCount(), 69);

    // Steep and backwards, bottom right to top left: one cell per row, each
    // touching the one before.
    env.prompt.answers = {logo::Answer::No};
    env.action("mnuNew")->trigger();
    QTest::mousePress(grid, Qt::LeftButton, {}, cellCentre(45, 13));
    QTest::mouseMove(grid, cellCentre(40, 0));
    QTest::mouseRelease(grid, Qt::LeftButton, {}, cellCentre(40, 0));
    ASSERT_EQ(g.setCount(), 14);
    int previous = 45;
    for (int r = 13; r >= 0; --r) {
        int column = -1;
        for (int c = 40; c <= 45; ++c)
            if (g.isSet(c, r))
                column = c;
        ASSERT_GE(column, 0) << "row " << r;
        EXPECT_LE(std::abs(column - previous), 1) << "row " << r;
        previous = column;
    }
    EXPECT_TRUE(g.isSet(40, 0));
}

TEST(QuilletMouse, AFastZigZagThroughTheWindowKeepsEveryCell)
{
    Env env;
    auto &w = env.start();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    // The window system hands over every move of a drag, none merged.
    EXPECT_FALSE(QCoreApplication::testAttribute(Qt::AA_CompressHighFrequencyEvents));

    // A zig-zag between the top and bottom rows, as a hand draws it in a
    // few hundred milliseconds, through the window as the system sends it.
    auto *grid = env.grid();
    QWindow *window = w.windowHandle();
    auto at = [&](QPoint cell) { return grid->mapTo(&w, cellCentre(cell.x(), cell.y())); };
    std::vector<QPoint> corners;
    for (int c = 2; c <= 62; c += 6)
        corners.push_back(QPoint(c, (c / 6) % 2 ? 13 : 0));
    QTest::mousePress(window, Qt::LeftButton, {}, at(corners.front()));
    for (size_t i = 1; i < corners.size(); ++i)
        QTest::mouseMove(window, at(corners[i]), 5);
    QTest::mouseRelease(window, Qt::LeftButton, {}, at(corners.back()));

    const logo::LogoGrid &g = env.doc().grid();
    QSet<QPoint> expected;
    for (size_t i = 1; i < corners.size(); ++i)
        for (const QPoint &p : logo::cellsOnLine(corners[i - 1], corners[i]))
            expected.insert(p);
    for (const QPoint &p : expected)
        EXPECT_TRUE(g.isSet(p.x(), p.y())) << p.x() << "," << p.y();
    EXPECT_EQ(g.setCount(), expected.size());
    EXPECT_GT(expected.size(), 120);
}

TEST(QuilletMouse, DraggingWithBothButtonsChangesNothing)
{
    Env env;
    env.start();
    auto *grid = env.grid();
    sendMouse(grid, QEvent::MouseButtonPress, cellCentre(1, 1), Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(env.doc().grid().isSet(1, 1));
    // The right button joins: its press clears (right alone pressed), the drag with both does nothing.
    sendMouse(grid, QEvent::MouseButtonPress, cellCentre(1, 1), Qt::RightButton, Qt::LeftButton | Qt::RightButton);
    EXPECT_FALSE(env.doc().grid().isSet(1, 1));
    for (int c = 2; c <= 6; ++c)
        sendMouse(grid, QEvent::MouseMove, cellCentre(c, 1), Qt::NoButton, Qt::LeftButton | Qt::RightButton);
    EXPECT_TRUE(env.doc().grid().isEmpty());
    sendMouse(grid, QEvent::MouseButtonRelease, cellCentre(6, 1), Qt::RightButton, Qt::LeftButton);
    // Any release ends the stroke, even with the left button still down.
    sendMouse(grid, QEvent::MouseMove, cellCentre(7, 1), Qt::NoButton, Qt::LeftButton);
    EXPECT_TRUE(env.doc().grid().isEmpty());
}

TEST(QuilletMouse, PositionBoxFollowsTheMouseInsideOnly)
{
    Env env;
    env.start();
    auto *grid = env.grid();
    auto *pos = env.widget<QLineEdit>("txtPos");
    sendMouse(grid, QEvent::MouseMove, QPoint(1, 1), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(pos->text(), QStringLiteral("1/1"));
    sendMouse(grid, QEvent::MouseMove, QPoint(7 * 71 + 6, 7 * 13 + 6), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(pos->text(), QStringLiteral("72/14"));
    sendMouse(grid, QEvent::MouseMove, cellCentre(9, 2), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(pos->text(), QStringLiteral("10/3"));
    sendMouse(grid, QEvent::MouseMove, QPoint(504, 98), Qt::NoButton, Qt::NoButton);
    sendMouse(grid, QEvent::MouseMove, QPoint(-2, 20), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(pos->text(), QStringLiteral("10/3")) << "outside keeps the last inside position";
    EXPECT_TRUE(env.doc().grid().isEmpty());
}

// ---------------------------------------------------------------- moving

TEST(QuilletMove, ArrowKeysButtonsAndMenuWrapAround)
{
    Env env;
    auto &w = env.start();
    auto *grid = env.grid();
    env.doc().paintCell(0, 0, true);

    QTest::keyClick(grid, Qt::Key_Up);
    EXPECT_TRUE(env.doc().grid().isSet(0, 13));
    EXPECT_TRUE(env.display()->isPixelSet(0, 13)) << "the preview follows a move";
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_TRUE(env.doc().grid().isSet(0, 0));
    QTest::keyClick(grid, Qt::Key_Left);
    EXPECT_TRUE(env.doc().grid().isSet(71, 0));
    QTest::keyClick(grid, Qt::Key_Right);
    EXPECT_TRUE(env.doc().grid().isSet(0, 0));
    QTest::keyClick(grid, Qt::Key_A);   // other keys do nothing
    EXPECT_TRUE(env.doc().grid().isSet(0, 0));

    env.widget<QToolButton>("cmdRight")->click();
    EXPECT_TRUE(env.doc().grid().isSet(1, 0));
    env.widget<QToolButton>("cmdDown")->click();
    EXPECT_TRUE(env.doc().grid().isSet(1, 1));
    env.widget<QToolButton>("cmdLeft")->click();
    env.widget<QToolButton>("cmdUp")->click();
    EXPECT_TRUE(env.doc().grid().isSet(0, 0));

    env.action("mnuMoveLeft")->trigger();
    EXPECT_TRUE(env.doc().grid().isSet(71, 0));
    env.action("mnuFlipX")->trigger();
    EXPECT_TRUE(env.doc().grid().isSet(0, 0));
    env.action("mnuFlipY")->trigger();
    EXPECT_TRUE(env.doc().grid().isSet(0, 13));
    env.action("mnuInvert")->trigger();
    EXPECT_EQ(env.doc().grid().setCount(), 72 * 14 - 1);
    EXPECT_FALSE(env.display()->isPixelSet(0, 13));
    EXPECT_TRUE(env.display()->isPixelSet(5, 5));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Quillet [Untitled*]"));
}

// ---------------------------------------------------------------- undo

TEST(QuilletUndo, EditMenuStartsWithUndoAndRedoThatTakeBackADrag)
{
    Env env;
    auto &w = env.start(env.ngg(QStringLiteral("start.ngg"), {{0, 0}}));
    const QString clean = w.windowTitle();
    const QList<QAction *> edit = w.findChild<QMenu *>(QStringLiteral("mnuEdit"))->actions();
    ASSERT_GE(edit.size(), 4);
    QAction *undo = env.action("mnuUndo");
    QAction *redo = env.action("mnuRedo");
    EXPECT_EQ(edit[0], undo);
    EXPECT_EQ(edit[1], redo);
    EXPECT_TRUE(edit[2]->isSeparator());
    EXPECT_EQ(edit[3]->objectName(), QStringLiteral("mnuMove"));
    EXPECT_EQ(undo->text() + undo->shortcut().toString(), QStringLiteral("&UndoCtrl+Z"));
    EXPECT_EQ(redo->text() + QKeySequence::listToString(redo->shortcuts()), QStringLiteral("&RedoCtrl+Shift+Z; Ctrl+Y"));
    EXPECT_FALSE(undo->isEnabled()) << "the file read at start-up is not a step";
    EXPECT_FALSE(redo->isEnabled());

    auto *grid = env.grid();
    QTest::mousePress(grid, Qt::LeftButton, {}, cellCentre(2, 4));
    for (int c = 3; c <= 6; ++c)
        QTest::mouseMove(grid, cellCentre(c, 4));
    QTest::mouseRelease(grid, Qt::LeftButton, {}, cellCentre(6, 4));
    ASSERT_TRUE(undo->isEnabled());

    undo->trigger();
    EXPECT_EQ(env.doc().grid().setCount(), 1) << "the whole drag is one step";
    EXPECT_FALSE(shownOnDisplay(env, 4, 4));
    EXPECT_EQ(w.windowTitle(), clean);
    EXPECT_FALSE(undo->isEnabled());
    ASSERT_TRUE(redo->isEnabled());

    redo->trigger();
    EXPECT_EQ(env.doc().grid().setCount(), 6);
    EXPECT_TRUE(shownOnDisplay(env, 4, 4));
    EXPECT_TRUE(w.windowTitle().endsWith(QStringLiteral("*]")));
}

// ---------------------------------------------------------------- animation

TEST(QuilletAnimation, CheckBoxAndMenuAlwaysAgree)
{
    Env env;
    auto &w = env.start();
    auto *chk = env.widget<QCheckBox>("chkAnimation");
    auto *mnu = env.action("mnuAnimation");
    auto *timer = env.widget<QTimer>("tmrAnimation");
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 500);
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(chk->toolTip(), QStringLiteral("Switch animation on and off"));

    chk->click();
    EXPECT_TRUE(w.isAnimating());
    EXPECT_TRUE(mnu->isChecked());
    EXPECT_TRUE(timer->isActive());

    mnu->trigger();
    EXPECT_FALSE(w.isAnimating());
    EXPECT_FALSE(chk->isChecked());
    EXPECT_FALSE(timer->isActive());

    mnu->trigger();
    EXPECT_TRUE(w.isAnimating());
    EXPECT_TRUE(chk->isChecked());

    chk->click();
    EXPECT_FALSE(w.isAnimating());
    EXPECT_FALSE(mnu->isChecked());
}

TEST(QuilletAnimation, TicksBlinkAndEditsWaitForTheShowingTick)
{
    Env env;
    auto &w = env.start();
    env.doc().paintCell(3, 3, true);
    env.widget<QCheckBox>("chkAnimation")->click();
    EXPECT_EQ(w.blinkPhase(), 0);

    w.onAnimationTick();
    EXPECT_EQ(w.blinkPhase(), 1);
    EXPECT_FALSE(shownOnDisplay(env, 3, 3)) << "first tick hides the picture";
    EXPECT_FALSE(env.hiddenCopy()->isPixelSet(3, 3));

    env.doc().paintCell(4, 3, true);   // while blinking only the grid follows
    EXPECT_FALSE(env.display()->isPixelSet(4, 3));
    EXPECT_FALSE(env.hiddenCopy()->isPixelSet(4, 3));

    w.onAnimationTick();
    EXPECT_EQ(w.blinkPhase(), 0);
    EXPECT_TRUE(shownOnDisplay(env, 3, 3));
    EXPECT_TRUE(shownOnDisplay(env, 4, 3)) << "the showing tick brings the edit";
    EXPECT_TRUE(env.hiddenCopy()->isPixelSet(4, 3));

    env.doc().paintCell(3, 3, false);
    EXPECT_TRUE(env.display()->isPixelSet(3, 3));
    w.onAnimationTick();
    w.onAnimationTick();
    EXPECT_FALSE(env.display()->isPixelSet(3, 3));
}

TEST(QuilletAnimation, SwitchingOffShowsThePictureAndKeepsThePhase)
{
    Env env;
    auto &w = env.start();
    env.doc().paintCell(7, 7, true);
    auto *chk = env.widget<QCheckBox>("chkAnimation");
    chk->click();
    w.onAnimationTick();             // hidden
    env.doc().paintCell(8, 7, true);
    ASSERT_FALSE(env.display()->isPixelSet(7, 7));

    chk->click();                       // off in the hidden phase
    EXPECT_TRUE(shownOnDisplay(env, 7, 7));
    EXPECT_TRUE(shownOnDisplay(env, 8, 7));
    EXPECT_TRUE(env.hiddenCopy()->isPixelSet(8, 7));
    w.onAnimationTick();             // a stray tick after switching off changes nothing
    EXPECT_TRUE(env.display()->isPixelSet(7, 7));
    EXPECT_EQ(w.blinkPhase(), 1);

    env.action("mnuAnimation")->trigger();   // on again: phase 1, so the next tick shows
    w.onAnimationTick();
    EXPECT_EQ(w.blinkPhase(), 0);
    EXPECT_TRUE(env.display()->isPixelSet(7, 7));
    w.onAnimationTick();
    EXPECT_FALSE(env.display()->isPixelSet(7, 7));
}

TEST(QuilletAnimation, AReplacedPictureShowsAtOnceMovesWaitForTheTick)
{
    Env env;
    const QString file = env.ngg(QStringLiteral("blink.ngg"), {{20, 5}});
    auto &w = env.start();
    env.doc().paintCell(2, 2, true);
    env.widget<QCheckBox>("chkAnimation")->click();
    w.onAnimationTick();   // hidden phase
    ASSERT_FALSE(shownOnDisplay(env, 2, 2));

    // Moves and flips leave the blinking preview alone.
    env.action("mnuMoveRight")->trigger();
    env.action("mnuFlipY")->trigger();
    EXPECT_FALSE(env.display()->isPixelSet(3, 11));
    EXPECT_FALSE(env.hiddenCopy()->isPixelSet(3, 11));

    // Invert repaints the whole picture, preview included.
    env.action("mnuInvert")->trigger();
    EXPECT_TRUE(shownOnDisplay(env, 0, 0));
    EXPECT_FALSE(env.display()->isPixelSet(3, 11));
    EXPECT_TRUE(env.hiddenCopy()->isPixelSet(0, 0));

    // So does a file opened while blinking ...
    w.onAnimationTick();
    w.onAnimationTick();   // hidden again
    ASSERT_FALSE(env.display()->isPixelSet(0, 0));
    env.prompt.answers = {logo::Answer::No};
    w.openReceivedFile(file);
    EXPECT_TRUE(shownOnDisplay(env, 20, 5));
    EXPECT_FALSE(env.display()->isPixelSet(0, 0));

    // ... and New, which leaves an empty preview.
    env.doc().paintCell(2, 2, true);
    env.prompt.answers = {logo::Answer::No};
    w.runToolbarButton(QStringLiteral("New"));
    EXPECT_FALSE(env.display()->isPixelSet(20, 5));
    EXPECT_FALSE(env.hiddenCopy()->isPixelSet(20, 5));
    EXPECT_TRUE(w.isAnimating());
}

TEST(QuilletAnimation, BlinkPhasesWithoutWidgets)
{
    quillet::BlinkAnimation blink;
    EXPECT_FALSE(blink.animating());
    EXPECT_EQ(blink.tick(), quillet::BlinkAnimation::Step::HidePicture);
    EXPECT_EQ(blink.tick(), quillet::BlinkAnimation::Step::ShowPicture);
    EXPECT_EQ(blink.tick(), quillet::BlinkAnimation::Step::HidePicture);
    blink.setAnimating(true);
    blink.setAnimating(false);
    EXPECT_EQ(blink.phase(), 1) << "switching does not reset the phase";
}
