// The recent-file list and the dialogs' folders: their rules and their
// settings.
#include "common/testsupport.h"
#include "desktop/dialogfolders.h"
#include "desktop/recentfiles.h"
#include "desktop/settingsstore.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace logo;
using logotest::Sandbox;

TEST(RecentFiles, OrderingRules)
{
    RecentFiles recent(ProgramProfile::quillet());
    QSignalSpy spy(&recent, &RecentFiles::changed);
    recent.add(QStringLiteral("Untitled"));
    EXPECT_EQ(recent.files(), QStringList({"", "", "", ""}));
    for (const char *p : {"/d", "/c", "/b", "/a"})
        recent.add(QString::fromLatin1(p));
    EXPECT_EQ(recent.files(), QStringList({"/a", "/b", "/c", "/d"}));
    recent.add(QStringLiteral("/a"));
    EXPECT_EQ(recent.files(), QStringList({"/a", "/b", "/c", "/d"}));
    recent.add(QStringLiteral("/c"));
    EXPECT_EQ(recent.files(), QStringList({"/c", "/a", "/b", "/d"}));
    recent.add(QStringLiteral("/d"));   // the fourth moves to the front, no duplicate
    EXPECT_EQ(recent.files(), QStringList({"/d", "/c", "/a", "/b"}));
    recent.add(QStringLiteral("/e"));
    EXPECT_EQ(recent.files(), QStringList({"/e", "/d", "/c", "/a"}));
    recent.add(QStringLiteral("/E"));   // compared exactly, case included
    EXPECT_EQ(recent.files().front(), QStringLiteral("/E"));
    EXPECT_GE(spy.count(), 7);
}

TEST(RecentFiles, PersistAcrossARestart)
{
    Sandbox sb;
    RecentFiles recent(ProgramProfile::quillet());
    recent.setFiles({QStringLiteral("/one.ngg"), QStringLiteral("/two.nol")});
    DialogFolders folders{QStringLiteral("/u/"), QStringLiteral("/s/"), QStringLiteral("/i/"), QStringLiteral("/e/")};
    recent.save(sb.settings());
    folders.save(sb.settings(), ProgramProfile::quillet());
    sb.restartSettings();
    RecentFiles again(ProgramProfile::quillet());
    again.load(sb.settings());
    EXPECT_EQ(again.files(), QStringList({"/one.ngg", "/two.nol", "", ""}));
    DialogFolders read;
    read.load(sb.settings(), ProgramProfile::quillet());
    EXPECT_EQ(read.openFolder, QStringLiteral("/u/"));
    EXPECT_EQ(read.saveFolder, QStringLiteral("/s/"));
    EXPECT_EQ(read.importFolder, QStringLiteral("/i/"));
    EXPECT_EQ(read.exportFolder, QStringLiteral("/e/"));
    // Each program keeps its own list.
    RecentFiles other(ProgramProfile::brisvane());
    other.load(sb.settings());
    EXPECT_EQ(other.files(), QStringList({"", "", "", ""}));
}
