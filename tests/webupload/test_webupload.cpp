// The web upload: the address and the page byte for byte, the page files in
// the temporary folder and logotool's two commands (the window's command is
// with Quillet's window tests).
#include "common/testsupport.h"
#include "desktop/appfolders.h"
#include "desktop/profile.h"
#include "graphic/logofile.h"
#include "graphic/logogrid.h"
#include "webupload/webupload.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace logo;

namespace {

const QString kHost = QStringLiteral("logos.example");

QString zeros(int n)
{
    return QString(n, QLatin1Char('0'));
}

} // namespace

TEST(WebUploadAddress, PictureNetworkProgramAndVersion)
{
    LogoGrid empty;
    EXPECT_EQ(WebUpload::uploadAddress(ProgramProfile::quillet(), empty, QString(), QString(), kHost),
              QStringLiteral("http://logos.example/wireless/sendsms.phtml?data=00480E01") + zeros(252) +
                  QStringLiteral("&mode=send&mcc=0&mnc=0&app=qlt&ver=0100000&media=pellorin"));

    LogoGrid small;
    small.setSize(16, 2);
    small.setPixel(0, 0, true);
    small.setPixel(15, 1, true);
    EXPECT_EQ(WebUpload::uploadAddress(ProgramProfile::brisvane(), small, QStringLiteral("262"), QStringLiteral("01"),
                                       QStringLiteral("127.0.0.1:8080")),
              QStringLiteral("http://127.0.0.1:8080/wireless/sendsms.phtml?data=001002018000""0001"
                             "&mode=send&mcc=262&mnc=01&app=bvn&ver=0100000&media=pellorin"));
}

TEST(WebUploadPage, ExactlyTheOneLine)
{
    const QString a = QStringLiteral("http://h/x?data=00&mcc=0");
    EXPECT_EQ(WebUpload::pageText(a, QStringLiteral("h")),
              QStringLiteral(
                  "<HTML><HEAD><TITLE>VORNHAL Wireless Design - SMART UPLOAD</TITLE>"
                  "<META HTTP-EQUIV=\"Refresh\" CONTENT=\"0; URL=http://h/x?data=00&mcc=0\"></HEAD>"
                  "<BODY BGCOLOR=\"#FFFFFF\" LINK=\"#224444\" VLINK=\"#224444\" TEXT=\"#444444\">"
                  "<FONT FACE=\"Arial,Helvetica\" SIZE=\"-1\"><B>VORNHAL Wireless Design - SMART UPLOAD in "
                  "progress...</B><HR SIZE=1>Please wait a few seconds or click <A HREF=\"http://h/x?data=00&mcc=0\">"
                  "here</A> for manual upload.<BR>Make sure that a connection to the internet has been established."
                  "<HR SIZE=1><FONT SIZE=\"-2\">Smart upload service of VORNHAL Wireless Design - "
                  "<A HREF=\"http://h/wireless/index.phtml?media=pellorin\">h</A></FONT></FONT></BODY></HTML>"));
}

// Pages are numbered from 000 in each run, never overwrite or follow an
// existing name, and the clean-up at the next start removes only the names
// the program writes: its prefix, three digits, ".HTM" in that case.
TEST(WebUploadPage, NumberedFilesAndTheirCleanUp)
{
    logotest::Sandbox box;
    logotest::writeAll(box.path(QStringLiteral("QLTMP001.HTM")), "the browser still shows this");
    QFile::link(box.path(QStringLiteral("elsewhere")), box.path(QStringLiteral("QLTMP002.HTM")));
    const QStringList users = {QStringLiteral("BVTMP000.HTM"), QStringLiteral("qltmp_notes.htm"),
                               QStringLiteral("QLTMP_notes.HTM"), QStringLiteral("qltmp004.htm"),
                               QStringLiteral("QLTMP05.HTM"), QStringLiteral("QLTMP0006.HTM"),
                               QStringLiteral("QLTMP007.HTML"), QStringLiteral("QLTMP008.htm")};
    for (const QString &name : users)
        logotest::writeAll(box.path(name), "the user's");

    WebUpload upload(ProgramProfile::quillet(), box.dir(), WebUpload::Handover::Page);
    EXPECT_EQ(upload.writePage(QStringLiteral("one")), box.path(QStringLiteral("QLTMP000.HTM")));
    EXPECT_EQ(upload.writePage(QStringLiteral("two")), box.path(QStringLiteral("QLTMP003.HTM")));
    EXPECT_EQ(logotest::readAll(box.path(QStringLiteral("QLTMP000.HTM"))), "one");
    EXPECT_EQ(logotest::readAll(box.path(QStringLiteral("QLTMP001.HTM"))), "the browser still shows this");
    EXPECT_FALSE(QFileInfo::exists(box.path(QStringLiteral("elsewhere"))));

    upload.deleteTemporaryPages();
    QStringList left = QDir(box.dir()).entryList(QDir::Files | QDir::System, QDir::Name);
    left.removeAll(QStringLiteral("settings.ini"));
    QStringList expected = users;
    expected.sort();
    EXPECT_EQ(left, expected);
    EXPECT_TRUE(WebUpload(ProgramProfile::quillet(), box.path(QStringLiteral("missing"))).writePage("x").isEmpty());
}

// A temporary folder that does not exist (a stale TMPDIR): the pages go to
// the platform's temporary folder, never the working folder.
TEST(WebUploadPage, AMissingTemporaryFolderFallsBackToOneThatExists)
{
    logotest::Sandbox box;
    const QByteArray saved = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(box.path(QStringLiteral("gone"))));
    const QString folder = temporaryFolder();
    const QString pages = WebUpload(ProgramProfile::quillet()).folder();
    qputenv("TMPDIR", saved);
    EXPECT_EQ(folder, QStringLiteral("/tmp"));
    EXPECT_EQ(pages, QStringLiteral("/tmp"));

    // logotool writes its page there too; the user's file in the working
    // folder stays.
    LogoGrid g;
    const QString ngg = box.path(QStringLiteral("a.ngg"));
    logotest::writeAll(ngg, buildLogoFile(g, false, 0, 0, 50, QString(), QString()));
    QProcessEnvironment env;
    env.insert(QStringLiteral("TMPDIR"), box.path(QStringLiteral("gone")));
    env.insert(QStringLiteral("LOGO_SETTINGS_FILE"), box.settingsFile());
    const logotest::ToolRun r = logotest::logotool({QStringLiteral("upload-page"), ngg}, env);
    EXPECT_EQ(r.code, 0) << qPrintable(r.err);
    ASSERT_EQ(r.lines.size(), 1);
    EXPECT_TRUE(r.lines[0].startsWith(QStringLiteral("/tmp/QLTMP"))) << qPrintable(r.lines[0]);
    QFile::remove(r.lines[0]);
}

TEST(WebUploadTool, UrlAndPageAsTheWindowMakesThem)
{
    logotest::Sandbox box;
    LogoGrid g;
    g.setPixel(0, 0, true);
    const QString nol = box.path(QStringLiteral("a.nol"));
    logotest::writeAll(nol, buildLogoFile(g, true, 262, 1, 50, QString(), QString()));
    const QString tmp = box.path(QStringLiteral("tmp"));
    QDir().mkpath(tmp);
    logotest::writeAll(box.settingsFile(), "[Brisvane%20Settings]\nWebHost=127.0.0.1:9\n");
    QProcessEnvironment env;
    env.insert(QStringLiteral("TMPDIR"), tmp);
    env.insert(QStringLiteral("LOGO_SETTINGS_FILE"), box.settingsFile());

    // A file with a network code is Brisvane's unless --program says otherwise.
    const QString address = QStringLiteral("http://127.0.0.1:9/wireless/sendsms.phtml?data=00480E0180") + zeros(250) +
                            QStringLiteral("&mode=send&mcc=262&mnc=01&app=bvn&ver=0100000&media=pellorin");
    logotest::ToolRun r = logotest::logotool({QStringLiteral("upload-url"), nol}, env);
    EXPECT_EQ(r.code, 0) << qPrintable(r.err);
    EXPECT_EQ(r.lines, QStringList{address});
    r = logotest::logotool({QStringLiteral("upload-url"), nol, QStringLiteral("--program"), QStringLiteral("quillet")},
                           env);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("http://logos.example/"))) << qPrintable(r.out);
    EXPECT_TRUE(r.out.contains(QStringLiteral("&app=qlt&")));

    r = logotest::logotool({QStringLiteral("upload-page"), nol}, env);
    EXPECT_EQ(r.code, 0) << qPrintable(r.err);
    EXPECT_EQ(r.lines, QStringList{QDir(tmp).filePath(QStringLiteral("BVTMP000.HTM"))});
    EXPECT_EQ(QString::fromLatin1(logotest::readAll(r.lines.value(0))),
              WebUpload::pageText(address, QStringLiteral("127.0.0.1:9")));

    for (const char *command : {"upload-url", "upload-page"}) {
        EXPECT_EQ(logotest::logotool({QLatin1String(command)}, env).code, 2);
        EXPECT_EQ(logotest::logotool({QLatin1String(command), box.path(QStringLiteral("none.ngg"))}, env).code, 1);
    }
}
