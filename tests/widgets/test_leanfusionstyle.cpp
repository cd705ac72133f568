// The window's style draws Fusion's toolbars and group boxes on the painting
// thread, pixel for pixel as Fusion does, and without Qt's image plugins.
#include "common/testsupport.h"
#include "widgets/leanfusionstyle.h"

#include <QApplication>
#include <QGroupBox>
#include <QMainWindow>
#include <QStyleFactory>
#include <QToolBar>
#include <QVBoxLayout>
#include <gtest/gtest.h>

TEST(LeanFusionStyle, SamePixelsAsFusionWithoutThePoolsThreads)
{
    const auto paint = [] {
        QMainWindow window;
        window.addToolBar(QStringLiteral("Tools"))->addAction(QStringLiteral("Go"));
        auto *central = new QWidget;
        auto *column = new QVBoxLayout(central);
        column->addWidget(new QGroupBox(QStringLiteral("Preview")));
        column->addWidget(new QGroupBox);
        window.setCentralWidget(central);
        window.resize(500, 400);
        // The whole window, and a repaint of a part across tiles.
        return std::make_pair(window.grab().toImage(), window.grab(QRect(50, 100, 90, 150)).toImage());
    };
    QApplication::setStyle(QStringLiteral("fusion"));
    logo::LeanFusionStyle::installOverFusion();
    std::pair<QImage, QImage> tiled;
    const int started = logotest::threadsStartedBy([&] { tiled = paint(); });
    EXPECT_LE(started, 0);
    QApplication::setStyle(QStringLiteral("fusion"));
    const auto fusion = paint();
    EXPECT_EQ(tiled.first, fusion.first);
    EXPECT_EQ(tiled.second, fusion.second);
}

TEST(LeanFusionStyle, ExtensionButtonsShowFusionsPictures)
{
    std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("fusion")));
    const logo::LeanFusionStyle own(QStyleFactory::create(QStringLiteral("fusion")));
    for (const auto icon : {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton}) {
        const QIcon expected = fusion->standardIcon(icon);
        ASSERT_FALSE(expected.availableSizes().isEmpty());
        EXPECT_EQ(own.standardIcon(icon).availableSizes(), expected.availableSizes());
        for (const QSize size : expected.availableSizes())
            EXPECT_EQ(own.standardIcon(icon).pixmap(size).toImage(), expected.pixmap(size).toImage()) << icon;
    }
}
