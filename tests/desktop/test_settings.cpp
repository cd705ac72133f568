// The settings store and the branding file.
#include "common/testsupport.h"
#include "desktop/branding.h"
#include "widgets/qtprompt.h"
#include "desktop/settingsstore.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace logo;
using logotest::Sandbox;

TEST(SettingsStore, DefaultsWhenAbsentOrUnreadable)
{
    Sandbox sb;
    SettingsStore &s = sb.settings();
    EXPECT_EQ(s.readInt(QStringLiteral("Quillet Settings"), QStringLiteral("Left"), 200), 200);
    EXPECT_EQ(s.read(kSharedSection, QStringLiteral("SMSC")), QString());
    EXPECT_TRUE(s.readBool(kSharedSection, QStringLiteral("PBookReadSM"), true));

    // A value that does not convert falls back to the reader's default.
    s.write(QStringLiteral("Quillet Settings"), QStringLiteral("Left"), QStringLiteral("far left"));
    EXPECT_EQ(s.readInt(QStringLiteral("Quillet Settings"), QStringLiteral("Left"), 200), 200);
    s.write(kSharedSection, QStringLiteral("PBookReadME"), QStringLiteral("perhaps"));
    EXPECT_TRUE(s.readBool(kSharedSection, QStringLiteral("PBookReadME"), true));
    s.write(kSharedSection, QStringLiteral("COMPort"), QStringLiteral(" 3 "));
    EXPECT_EQ(s.readInt(kSharedSection, QStringLiteral("COMPort"), 0), 3);
}

TEST(SettingsStore, ValuesSurviveARestartAndSectionsStayApart)
{
    Sandbox sb;
    sb.settings().writeInt(kSharedSection, QStringLiteral("COMPort"), 4);
    sb.settings().writeBool(kSharedSection, QStringLiteral("PBookReadSM"), false);
    sb.settings().writeInt(QStringLiteral("Quillet Settings"), QStringLiteral("Left"), 1500);
    sb.settings().write(QStringLiteral("Quillet Settings"), QStringLiteral("UserDir"), QStringLiteral("C:\\a b\\"));
    sb.restartSettings();
    SettingsStore &s = sb.settings();
    EXPECT_EQ(s.readInt(kSharedSection, QStringLiteral("COMPort"), 0), 4);
    EXPECT_FALSE(s.readBool(kSharedSection, QStringLiteral("PBookReadSM"), true));
    EXPECT_EQ(s.read(kSharedSection, QStringLiteral("PBookReadSM")), QStringLiteral("False"));
    EXPECT_EQ(s.readInt(QStringLiteral("Quillet Settings"), QStringLiteral("Left"), 200), 1500);
    EXPECT_EQ(s.readInt(QStringLiteral("Brisvane Settings"), QStringLiteral("Left"), 200), 200);
    EXPECT_EQ(s.read(QStringLiteral("Quillet Settings"), QStringLiteral("UserDir")), QStringLiteral("C:\\a b\\"));
    s.remove(QStringLiteral("Quillet Settings"), QStringLiteral("Left"));
    EXPECT_FALSE(s.contains(QStringLiteral("Quillet Settings"), QStringLiteral("Left")));
}

TEST(SettingsStore, BothProgramsShareTheLinkSection)
{
    Sandbox sb;
    SettingsStore quillet(sb.settingsFile());
    SettingsStore brisvane(sb.settingsFile());
    quillet.writeInt(kSharedSection, QStringLiteral("COMPort"), 2);
    brisvane.sync();
    EXPECT_EQ(brisvane.readInt(kSharedSection, QStringLiteral("COMPort"), 0), 2);
}

TEST(SettingsStore, PortDevices)
{
    Sandbox sb;
    EXPECT_EQ(sb.settings().portDevice(0), QString());
    EXPECT_EQ(sb.settings().portDevice(1), SettingsStore::defaultPortDevice(1));
#ifndef Q_OS_WIN
    EXPECT_EQ(SettingsStore::defaultPortDevice(3), QStringLiteral("/dev/ttyS2"));
#endif
    sb.settings().write(kSharedSection, QStringLiteral("Device3"), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(sb.settings().portDevice(3), QStringLiteral("/dev/ttyUSB0"));
}

TEST(Branding, ProfileStringSemantics)
{
    const QByteArray ini = "; distributor file\r\n"
                           "[Other]\r\nSendViaSMS=NO\r\n"
                           "[ branding ]\r\n"
                           "  sendviasms =  No  \r\n"
                           "StoreToInbox=\"NO\"\r\n"
                           "SendViaIR=yes\r\n"
                           "BackgroundPic=pics\\back.bmp\r\n"
                           "Long=" + QByteArray(200, 'x') + "\r\n";
    EXPECT_EQ(BrandingFile::lookup(ini, QStringLiteral("Branding"), QStringLiteral("SendViaSMS")), QStringLiteral("No"));
    EXPECT_EQ(BrandingFile::lookup(ini, QStringLiteral("BRANDING"), QStringLiteral("StoreToInbox")), QStringLiteral("NO"));
    EXPECT_EQ(BrandingFile::lookup(ini, QStringLiteral("Branding"), QStringLiteral("SendViaIR")), QStringLiteral("yes"));
    EXPECT_EQ(BrandingFile::lookup(ini, QStringLiteral("Branding"), QStringLiteral("Missing")), QString());
    EXPECT_EQ(BrandingFile::lookup(ini, QStringLiteral("Nowhere"), QStringLiteral("SendViaSMS")), QString());
    EXPECT_EQ(BrandingFile::lookup(ini, QStringLiteral("Branding"), QStringLiteral("Long")).size(), 144);
    EXPECT_EQ(BrandingFile::lookup(ini, QStringLiteral("Branding"), QStringLiteral("BackgroundPic")),
              QStringLiteral("pics\\back.bmp"));
}

TEST(Branding, FileNextToTheProgram)
{
    Sandbox sb;
    BrandingFile none(sb.dir(), QStringLiteral("QUILLET.INI"));
    EXPECT_EQ(none.ReadBrandingValue(QStringLiteral("Branding"), QStringLiteral("SendViaSMS")), QString());
    EXPECT_FALSE(none.hides(QStringLiteral("SendViaSMS")));

    // Found also when its name differs in case, as on a case-blind file system.
    ASSERT_TRUE(logotest::writeAll(sb.path(QStringLiteral("quillet.ini")),
                                   "[Branding]\nSendViaSMS=no\nStoreToInbox=NOPE\nSendViaIR=\n"));
    BrandingFile b(sb.dir(), QStringLiteral("QUILLET.INI"));
    EXPECT_TRUE(b.hides(QStringLiteral("SendViaSMS")));
    EXPECT_FALSE(b.hides(QStringLiteral("StoreToInbox")));
    EXPECT_FALSE(b.hides(QStringLiteral("SendViaIR")));
    EXPECT_FALSE(b.hides(QStringLiteral("SendViaInternet")));
}

TEST(QtPromptFilters, ClassicFilterBecomesQtFilters)
{
    EXPECT_EQ(QtPrompt::toQtFilters(QStringLiteral("Nokia Graphics|*.ngg;*.nol|Nokia Group Graphic (*.ngg)|*.ngg")),
              QStringList({QStringLiteral("Nokia Graphics (*.ngg *.nol)"), QStringLiteral("Nokia Group Graphic (*.ngg)")}));
    EXPECT_EQ(QtPrompt::toQtFilters(QStringLiteral("Pictures (*.bmp;*.gif)|*.bmp;*.gif")),
              QStringList({QStringLiteral("Pictures (*.bmp *.gif)")}));
}
