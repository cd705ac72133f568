#include "desktop/appfolders.h"
#include "desktop/branding.h"
#include "common/testsupport.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {
// The program's folder as an installed program sees it (tests may run as root,
// who can write anywhere).
struct ReadOnlyProgram : logo::AppFolders {
    using AppFolders::AppFolders;
    bool readOnly = false;
    bool canWrite(const QString &path) const override
    {
        return !(readOnly && path.startsWith(programFolder())) && AppFolders::canWrite(path);
    }
};
} // namespace

// What the user saves goes to the data folder when the program's folder can't
// be written, and is found again there ahead of the installed copy.
TEST(AppFolders, ProgramFolderFirstUserFolderWhenReadOnly)
{
    logotest::Sandbox box;
    const QString prog = box.path(QStringLiteral("prog/")), user = box.path(QStringLiteral("user/"));
    const QString name = QStringLiteral("NGGPBOOK.CSV");
    QDir().mkpath(prog);
    ReadOnlyProgram folders(prog, user);

    EXPECT_TRUE(folders.find(name).isEmpty());
    EXPECT_EQ(folders.writable(name), prog + name);
    ASSERT_TRUE(logotest::writeAll(prog + name, "installed"));
    EXPECT_EQ(folders.find(name), prog + name);

    folders.readOnly = true;
    EXPECT_EQ(folders.writable(name), user + name);
    EXPECT_TRUE(QDir(user).exists());
    EXPECT_EQ(folders.find(name), prog + name);   // nothing saved yet: the installed copy
    ASSERT_TRUE(logotest::writeAll(user + name, "saved"));
    EXPECT_EQ(folders.find(name), user + name);
}

// The folder the programs are installed into is never written, whoever runs them.
TEST(AppFolders, TheInstalledProgramsFolderIsTheSystems)
{
    logotest::Sandbox box;
    const QString installed = logo::AppFolders::installedFolder();
    ASSERT_FALSE(installed.isEmpty());
    if (!QDir(installed).exists())
        GTEST_SKIP() << installed.toStdString() << " does not exist here";
    const logo::AppFolders folders(installed, box.path(QStringLiteral("user/")));
    EXPECT_EQ(folders.writable(QStringLiteral("DEFAULT")), box.path(QStringLiteral("user/DEFAULT")));
}

// The branding file of an installed program lives in the user's data folder;
// one beside the program wins.
TEST(AppFolders, BrandingFileBesideTheProgramThenInTheUserFolder)
{
    logotest::Sandbox box;
    const QString prog = box.path(QStringLiteral("prog/")), user = box.path(QStringLiteral("user/"));
    QDir().mkpath(prog);
    QDir().mkpath(user);
    const logo::AppFolders folders(prog, user);
    ASSERT_TRUE(logotest::writeAll(user + QStringLiteral("quillet.ini"), "[Branding]\nSendViaSMS=no\n"));
    logo::BrandingFile found = logo::BrandingFile::locate(folders, QStringLiteral("QUILLET.INI"));
    EXPECT_EQ(found.folder(), user);
    EXPECT_TRUE(found.hides(QStringLiteral("SendViaSMS")));

    ASSERT_TRUE(logotest::writeAll(prog + QStringLiteral("QUILLET.INI"), "[Branding]\n"));
    found = logo::BrandingFile::locate(folders, QStringLiteral("QUILLET.INI"));
    EXPECT_EQ(found.folder(), prog);
    EXPECT_FALSE(found.hides(QStringLiteral("SendViaSMS")));
}
