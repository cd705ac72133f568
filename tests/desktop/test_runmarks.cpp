// The run marks are a main window's: marks that are off (the command-line
// tool's, a test's) must neither set nor clear a running window's marks.
#include "common/testsupport.h"
#include "desktop/runmarks.h"
#include "desktop/settingsstore.h"

#include <gtest/gtest.h>

using namespace logo;
using logotest::Sandbox;

TEST(RunMarks, WrittenAndDeletedOnlyWhenTheWindowAsks)
{
    Sandbox sb;
    SettingsStore &s = sb.settings();
    const QString section = QStringLiteral("Quillet Settings");
    RunMarks marks(s, section);
    s.writeBool(section, QStringLiteral("CurrentBusy"), true);
    s.write(section, QStringLiteral("CurrentAppname"), QStringLiteral("Quillet [a.ngg]"));
    marks.setBusy(true);
    marks.showTitle(QStringLiteral("Quillet [Untitled]"));
    marks.setBusy(false);
    EXPECT_FALSE(marks.isBusy());
    EXPECT_TRUE(s.readBool(section, QStringLiteral("CurrentBusy"), false));
    EXPECT_EQ(s.read(section, QStringLiteral("CurrentAppname")), QStringLiteral("Quillet [a.ngg]"));

    marks.setEnabled(true);
    marks.showTitle(QStringLiteral("Quillet [Untitled]"));
    EXPECT_EQ(s.read(section, QStringLiteral("CurrentAppname")), QStringLiteral("Quillet [Untitled]"));
    marks.setBusy(false);
    EXPECT_FALSE(s.contains(section, QStringLiteral("CurrentBusy")));
    marks.setBusy(true);
    EXPECT_TRUE(s.readBool(section, QStringLiteral("CurrentBusy"), false));
    marks.remove();
    EXPECT_FALSE(s.contains(section, QStringLiteral("CurrentBusy")));
    EXPECT_FALSE(s.contains(section, QStringLiteral("CurrentAppname")));
}
