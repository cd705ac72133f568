// The cover shown two or three times larger, crisp, and kept in the settings.
#include "brisvane/coverview.h"
#include "brisvanetest.h"
#include "picture/pictureimage.h"

#include <QAction>

#include <gtest/gtest.h>

using namespace brisvanetest;

TEST(BrisvaneCoverZoom, CoverIsShownInCrispBlocksAndTheZoomIsKept)
{
    WindowEnv env;
    const auto entry = [&env](const char *name) { return env.window->findChild<QAction *>(QLatin1String(name)); };
    {
        auto &w = env.open();
        EXPECT_TRUE(entry("mnuCoverZoom1")->isChecked());
        const QSize natural = w.coverView()->size();
        w.document().paintCell(3, 4, true);
        entry("mnuCoverZoom3")->trigger();
        EXPECT_EQ(w.coverView()->size(), natural * 3);
        EXPECT_EQ(env.setting(QStringLiteral("CoverZoom")), QStringLiteral("3"));
        const QImage shown = w.coverView()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QPoint pixel = 3 * QPoint(42 + 3, 85 + 4);
        for (int dy = 0; dy < 3; ++dy)
            for (int dx = 0; dx < 3; ++dx)
                EXPECT_EQ(shown.pixel(pixel + QPoint(dx, dy)), qRgb(0, 0, 0)) << dx << "," << dy;
        EXPECT_EQ(shown.pixel(pixel + QPoint(3, 0)), logo::DisplayGreen) << "no smoothing into the neighbour";
        EXPECT_EQ(shown.pixel(pixel - QPoint(1, 0)), logo::DisplayGreen);
        // The cover is copied in one blend, not handed to the thread pool.
        EXPECT_LE(logotest::threadsStartedBy([&w] { w.coverView()->grab(); }), 0);
    }
    {
        auto &w = env.open();
        EXPECT_TRUE(entry("mnuCoverZoom3")->isChecked());
        EXPECT_FALSE(entry("mnuCoverZoom1")->isChecked());
        EXPECT_EQ(w.coverView()->zoom(), 3);
        entry("mnuCoverZoom2")->trigger();
        EXPECT_EQ(w.coverView()->size(), brisvane::CoverView::kRoom * 2);
    }
}
