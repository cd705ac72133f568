// The web upload from Quillet's window: "Send via Internet...".
#include "quillettest.h"
#include "webupload/webupload.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <gtest/gtest.h>

using namespace logo;

// "Send via Internet...": the empty-picture question, then the page in the
// temporary folder opened in the browser; the window's exit removes it.
TEST(WebUploadWindow, SendViaInternetWritesAndOpensThePage)
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
    const QString page = QUrl(env.openedUrls[0]).toLocalFile();
    EXPECT_EQ(page, QDir(QDir::tempPath()).filePath(QStringLiteral("QLTMP000.HTM")));
    const QString address = WebUpload::uploadAddress(ProgramProfile::quillet(), env.doc().grid(),
                                                     QStringLiteral("262"), QStringLiteral("03"), w.webHost());
    EXPECT_EQ(QString::fromLatin1(logotest::readAll(page)), WebUpload::pageText(address, w.webHost()));

    w.close();
    EXPECT_FALSE(QFileInfo::exists(page));
}
