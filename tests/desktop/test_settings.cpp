// The settings store and the branding file.
#include "common/testsupport.h"
#include "desktop/branding.h"
#include "desktop/pixelaspect.h"
#include "desktop/settingsstore.h"

#include <QFile>
#include <QSettings>
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

// A batch of writes reaches the file once, at its end, and none is lost.
TEST(SettingsStore, ABatchWritesTheFileOnceAtItsEnd)
{
    Sandbox sb;
    {
        SettingsStore first(sb.settingsFile());
        SettingsBatch batch(first);
        for (int i = 0; i < 5; ++i)
            EXPECT_TRUE(first.writeInt(QStringLiteral("Quillet Settings"), QStringLiteral("K%1").arg(i), i));
        EXPECT_TRUE(first.remove(QStringLiteral("Quillet Settings"), QStringLiteral("K0")));
        EXPECT_FALSE(QFile::exists(sb.settingsFile()));
        EXPECT_TRUE(batch.finish());
    }
    SettingsStore again(sb.settingsFile());
    EXPECT_FALSE(again.contains(QStringLiteral("Quillet Settings"), QStringLiteral("K0")));
    EXPECT_EQ(again.readInt(QStringLiteral("Quillet Settings"), QStringLiteral("K4"), 0), 4);
}

TEST(SettingsStore, SectionsAreWrittenAsNamedAndOldEscapedFilesStillRead)
{
    Sandbox sb;
    {
        // A file as earlier versions wrote it.
        QSettings old(sb.settingsFile(), QSettings::IniFormat);
        old.setValue(QStringLiteral("Quillet Settings/UserDir"), QStringLiteral("C:\\a b\\"));
        old.setValue(QStringLiteral("Quillet Recent File List/File1"), QStringLiteral("/p/x, y.ngg"));
        old.setValue(QStringLiteral("Settings/COMPort"), QStringLiteral("2"));
    }
    ASSERT_TRUE(logotest::readAll(sb.settingsFile()).contains("[Quillet%20Settings]"));
    sb.restartSettings();
    SettingsStore &s = sb.settings();
    EXPECT_EQ(s.read(QStringLiteral("Quillet Settings"), QStringLiteral("UserDir")), QStringLiteral("C:\\a b\\"));
    EXPECT_EQ(s.read(QStringLiteral("Quillet Recent File List"), QStringLiteral("File1")), QStringLiteral("/p/x, y.ngg"));

    s.writeInt(QStringLiteral("Quillet Settings"), QStringLiteral("Left"), 1500);
    const QString text = QString::fromUtf8(logotest::readAll(sb.settingsFile()));
    EXPECT_TRUE(text.contains(QStringLiteral("[Quillet Settings]\n"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("[Quillet Recent File List]\nFile1=/p/x, y.ngg\n"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("UserDir=C:\\a b\\\n"))) << qPrintable(text);
    EXPECT_FALSE(text.contains(QLatin1Char('%'))) << qPrintable(text);

    // A file edited by hand the way the README shows it.
    logotest::writeAll(sb.settingsFile(), "; my phone\n[Settings]\nCOMPort = 1\nDevice1=/dev/ttyUSB0\n");
    sb.restartSettings();
    EXPECT_EQ(sb.settings().portDevice(sb.settings().readInt(kSharedSection, QStringLiteral("COMPort"), 0)),
              QStringLiteral("/dev/ttyUSB0"));
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

TEST(SettingsStore, PixelAspectIsReadFromTheSharedSectionWithinSaneShapes)
{
    Sandbox sb;
    const struct {
        const char *stored;
        QSizeF shape;   // what is used
    } cases[] = {
        {nullptr, {7, 8}},   {"3:4", {3, 4}},      {" 10 : 12 ", {10, 12}}, {"1.5:2", {1.5, 2}},
        {"4:1", {4, 1}},     {"1:5", {7, 8}},      {"0:8", {7, 8}},         {"-7:8", {7, 8}},
        {"7", {7, 8}},       {"7:8:9", {7, 8}},    {"a:b", {7, 8}},         {"nan:1", {7, 8}},
    };
    for (const auto &c : cases) {
        if (c.stored)
            sb.settings().write(kSharedSection, QStringLiteral("PixelAspect"), QString::fromLatin1(c.stored));
        EXPECT_EQ(pixelAspect(sb.settings()), c.shape) << (c.stored ? c.stored : "(unset)");
    }
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
    EXPECT_EQ(none.value(QStringLiteral("Branding"), QStringLiteral("SendViaSMS")), QString());
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
