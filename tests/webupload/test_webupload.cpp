// The web upload: the address and the page byte for byte, the page files in
// the temporary folder, the window's command and logotool's two commands.
#include "common/testsupport.h"
#include "quillet/quillettest.h"
#include "desktop/appfolders.h"
#include "graphic/logofile.h"
#include "webupload/webupload.h"

#include <QDir>
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

// "Send via Internet...": the empty-picture question, then the browser gets
// the upload address itself (a confined browser can't see our /tmp); on
// Windows it gets the page, which stays for a slow browser: the window's
// exit leaves it, the next start removes it.
TEST(WebUploadWindow, SendViaInternetOpensTheAddressOrThePage)
{
    quillettest::Env env;
    auto &w = env.start();
    QAction *internet = env.action("mnuInternet");
    env.prompt.answers = {Answer::No};
    internet->trigger();
    EXPECT_TRUE(env.openedUrls.empty());
    EXPECT_EQ(env.prompt.count(ShownPrompt::Kind::Message), 1);

    env.doc().setNetworkCode(QStringLiteral("262"), QStringLiteral("03"));
    env.prompt.answers = {Answer::Yes};
    internet->trigger();
    ASSERT_EQ(env.openedUrls.size(), 1u);
    const QString address = WebUpload::uploadAddress(ProgramProfile::quillet(), env.doc().grid(),
                                                     QStringLiteral("262"), QStringLiteral("03"), w.webHost());
    if (WebUpload::PlatformHandover == WebUpload::Handover::Address) {
        EXPECT_EQ(QUrl(env.openedUrls[0]).toString(), address);
    } else {
        const QString page = QUrl(env.openedUrls[0]).toLocalFile();
        EXPECT_EQ(QString::fromLatin1(logotest::readAll(page)), WebUpload::pageText(address, w.webHost()));
        w.close();
        EXPECT_TRUE(QFileInfo::exists(page));
    }

    // The page way, as on Windows.
    logotest::Sandbox box;
    WebUpload pages(ProgramProfile::quillet(), box.dir(), WebUpload::Handover::Page);
    std::vector<QUrl> opened;
    env.prompt.answers = {Answer::Yes};
    ASSERT_TRUE(pages.mnuInternet_Click(env.doc(), w.webHost(), [&](const QUrl &url) { opened.push_back(url); }));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].toLocalFile(), box.path(QStringLiteral("QLTMP000.HTM")));
    EXPECT_EQ(QString::fromLatin1(logotest::readAll(opened[0].toLocalFile())),
              WebUpload::pageText(address, w.webHost()));
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
