// Brisvane's main window and its operator list: the list driving the labels,
// the title and the display, and the default logos through the menu and the
// mark.
#include "brisvanetest.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <gtest/gtest.h>

using namespace brisvane;
using namespace brisvanetest;
using logo::Answer;

// ---------------------------------------------------------------- the list

TEST(BrisvaneWindow, TheListDrivesLabelsTitleAndDisplay)
{
    WindowEnv env;
    auto &w = env.open();
    choose(env, QStringLiteral(" Clear Operator-Logo"));
    EXPECT_EQ(label(env, "lblCountry"), QStringLiteral("CLEAR"));
    EXPECT_EQ(label(env, "lblMCCMNC"), QStringLiteral("CLEAR"));
    EXPECT_EQ(label(env, "lblOp1"), QStringLiteral("Clear Operator-Logo"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Brisvane [Clear Logo]"));
    EXPECT_EQ(displayMismatch(clientArea(env), {42, 85}, clearPicture()), QString());
    EXPECT_FALSE(env.action("mnuSaveDefault")->isEnabled());

    choose(env, kSfr);
    EXPECT_TRUE(env.wdoc().grid().isEmpty()) << "leaving the clear entry empties the logo";
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Brisvane [Untitled]"));
    EXPECT_EQ(displayMismatch(clientArea(env), {42, 85}, logo::LogoGrid()), QString());
    EXPECT_EQ(label(env, "lblCountry"), QStringLiteral("FRANCE"));
    EXPECT_EQ(label(env, "lblMCCMNC"), QStringLiteral("208-10"));
    EXPECT_EQ(label(env, "lblOp1"), QStringLiteral("SFR"));
    EXPECT_EQ(label(env, "lblOp2"), QStringLiteral("France"));
    EXPECT_EQ(label(env, "lblOpURL"), QStringLiteral("www.sfr.fr"));
    EXPECT_EQ(env.action("mnuSaveDefault")->text(), QStringLiteral("Save as default for SFR"));
    EXPECT_TRUE(env.action("mnuSaveDefault")->isEnabled());
    EXPECT_TRUE(env.window->recentFiles().files().join(QString()).isEmpty()) << "no pseudo-name is listed";

    // A logo of a network the list doesn't have: no operator, its own code.
    const QString unknown = writeNol(env.box.path(QStringLiteral("far.nol")), pattern(), 999, 99);
    w.openReceivedFile(unknown);
    EXPECT_EQ(env.widget<QComboBox>("cmbOperator")->currentText(), QStringLiteral(" Select your operator..."));
    EXPECT_EQ(label(env, "lblMCCMNC"), QStringLiteral("999-99"));
    EXPECT_TRUE(label(env, "lblOp1").isEmpty());
    EXPECT_EQ(env.wdoc().currentMCC(), QStringLiteral("999"));
    EXPECT_EQ(displayMismatch(clientArea(env), {42, 85}, pattern()), QString());
}

TEST(BrisvaneWindow, DefaultLogoThroughTheMenuAndTheMark)
{
    WindowEnv env;
    auto &w = env.open();
    const QString file = writeNol(env.box.path(QStringLiteral("d1.nol")), pattern(), 262, 1);
    w.openReceivedFile(file);
    env.action("mnuSaveDefault")->trigger();
    const QString saved = env.prog(QStringLiteral("DEFAULT/262_01.NOL"));
    ASSERT_TRUE(QFile::exists(saved)) << "DEFAULT is created";
    auto *mark = env.widget<QLabel>("lblDef");
    EXPECT_EQ(mark->text(), QStringLiteral("\u00B0"));
    EXPECT_EQ(mark->toolTip(), QStringLiteral("Default logo for operator available"));
    EXPECT_TRUE(mark->isEnabled());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Brisvane [Default]"));
    EXPECT_EQ(env.action("mnuLoadDefault")->text(), QStringLiteral("Load default for T-Mobile D1"));

    // Another operator: no mark, and the default logo goes with its name.
    choose(env, kSfr);
    EXPECT_TRUE(mark->text().isEmpty());
    EXPECT_FALSE(env.action("mnuLoadDefault")->isEnabled());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Brisvane [Untitled]"));
    EXPECT_TRUE(env.wdoc().grid().isEmpty());

    // Back: a click on the mark loads it, named "Default", not listed.
    choose(env, kTMobile);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(mark, &press);
    QCoreApplication::sendEvent(mark, &release);
    EXPECT_EQ(env.wdoc().grid(), pattern());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Brisvane [Default]"));
    EXPECT_EQ(env.window->recentFiles().files(), (QStringList{file, QString(), QString(), QString()}));

    // Save As into DEFAULT is refused with its message; nothing is written.
    env.prompt.files = {env.prog(QStringLiteral("DEFAULT/mine.nol"))};
    env.action("mnuSaveAs")->trigger();
    EXPECT_TRUE(env.prompt.lastMessage().startsWith(QStringLiteral("Can't save your file here. Try another path.")));
    EXPECT_FALSE(QFile::exists(env.prog(QStringLiteral("DEFAULT/mine.nol"))));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Brisvane [Default]"));
}
