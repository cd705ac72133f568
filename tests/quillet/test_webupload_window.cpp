// The web upload from Quillet's window: "Send via Internet...".
#include "quillettest.h"
#include "webupload/webupload.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <gtest/gtest.h>

using namespace logo;

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
    ASSERT_TRUE(env.window->fileCommands().askIfEmpty(false));
    ASSERT_TRUE(pages.openUploadPage(env.doc().grid(), env.doc().currentMCC(), env.doc().currentMNC(), env.prompt,
                                     w.webHost(), [&](const QUrl &url) { opened.push_back(url); }));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].toLocalFile(), box.path(QStringLiteral("QLTMP000.HTM")));
    EXPECT_EQ(QString::fromLatin1(logotest::readAll(opened[0].toLocalFile())),
              WebUpload::pageText(address, w.webHost()));
}
