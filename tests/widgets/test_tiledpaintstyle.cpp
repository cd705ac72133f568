// The window's style draws Fusion's toolbars and group boxes on the painting
// thread, pixel for pixel as Fusion does.
#include "common/testsupport.h"
#include "widgets/tiledpaintstyle.h"

#include <QApplication>
#include <QGroupBox>
#include <QMainWindow>
#include <QToolBar>
#include <gtest/gtest.h>

TEST(TiledPaintStyle, SamePixelsAsFusionWithoutThePoolsThreads)
{
    const auto paint = [] {
        QMainWindow window;
        window.addToolBar(QStringLiteral("Tools"))->addAction(QStringLiteral("Go"));
        window.setCentralWidget(new QGroupBox(QStringLiteral("Preview")));
        window.resize(500, 400);
        return window.grab().toImage();
    };
    QApplication::setStyle(QStringLiteral("fusion"));
    logo::TiledPaintStyle::installOverFusion();
    QImage tiled;
    const int started = logotest::threadsStartedBy([&] { tiled = paint(); });
    EXPECT_LE(started, 0);
    QApplication::setStyle(QStringLiteral("fusion"));
    EXPECT_EQ(tiled, paint());
}
