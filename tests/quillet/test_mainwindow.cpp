// Quillet's main window: start-up and closing, title, settings across a
// restart, menus, branding, help links.
#include "quillettest.h"

#include "graphic/pathutil.h"
#include "desktop/placement.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMap>
#include <QMimeData>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

using namespace quillettest;
using logo::Answer;
using logo::ShownPrompt;

// ---------------------------------------------------------------- start-up

TEST(QuilletStartUp, EmptyCleanPictureAndVersionMarks)
{
    Env env;
    auto &w = env.start();
    EXPECT_EQ(w.objectName(), QStringLiteral("frmEdit"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Quillet [Untitled]"));
    EXPECT_EQ(env.setting(QStringLiteral("CurrentAppname")), QStringLiteral("Quillet [Untitled]"));
    EXPECT_EQ(env.doc().state(), logo::LogoDocument::State::Clean);
    EXPECT_TRUE(env.doc().grid().isEmpty());
    EXPECT_EQ(env.doc().grid().width(), 72);
    EXPECT_EQ(env.doc().grid().height(), 14);
    EXPECT_FALSE(w.isAnimating());
    EXPECT_TRUE(env.prompt.shown.empty()) << "a first start asks nothing";

    auto twoDigits = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    EXPECT_EQ(env.setting(QStringLiteral("VerMajor")), twoDigits(LOGO_VERSION_MAJOR));
    EXPECT_EQ(env.setting(QStringLiteral("VerMinor")), twoDigits(LOGO_VERSION_MINOR));
    EXPECT_EQ(env.setting(QStringLiteral("VerRevision")), twoDigits(LOGO_VERSION_PATCH));
    EXPECT_EQ(env.setting(QStringLiteral("VerIR")), QStringLiteral("02"));
    EXPECT_EQ(env.setting(QStringLiteral("VerCable")), QStringLiteral("00"));

    EXPECT_EQ(env.grid()->size(), QSize(505, 99));
    EXPECT_EQ(env.display()->size(), QSize(102, 79));
    EXPECT_EQ(env.hiddenCopy()->size(), QSize(72, 14));
    EXPECT_TRUE(env.hiddenCopy()->isHidden());
    EXPECT_EQ(env.widget<QLineEdit>("txtPos")->toolTip(), QStringLiteral("Position of cursor"));
    auto *url = env.widget<QLabel>("lblURL");
    EXPECT_EQ(url->text(), QStringLiteral("logos.example"));
    EXPECT_EQ(url->toolTip(), QStringLiteral("Click here to open the URL in your browser."));
    EXPECT_EQ(url->palette().color(QPalette::WindowText), QColor(0, 0, 192));
}

TEST(QuilletStartUp, CommandLineFileIsOpened)
{
    Env env;
    const QString file = env.ngg(QStringLiteral("start.ngg"), {{4, 5}});
    auto &w = env.start(file);
    EXPECT_TRUE(env.doc().grid().isSet(4, 5));
    EXPECT_EQ(env.doc().currentFile(), file);
    EXPECT_EQ(env.window->dialogFolders().openFolder, logo::folderOf(file));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Quillet [") + logo::shortenPath(file, 38) + QStringLiteral("]"));
    EXPECT_EQ(env.window->recentFiles().files().front(), file);
    EXPECT_TRUE(env.display()->isPixelSet(4, 5));
}

TEST(QuilletStartUp, CommandLineFileGoesToTheFrontOfTheStoredList)
{
    Env env;
    env.box.settings().write(kRecent, QStringLiteral("File1"), QStringLiteral("/x/old1.ngg"));
    env.box.settings().write(kRecent, QStringLiteral("File2"), QStringLiteral("/x/old2.ngg"));
    const QString file = env.ngg(QStringLiteral("cmd.ngg"));
    env.start(file);
    const QStringList recent = env.window->recentFiles().files();
    EXPECT_EQ(recent, (QStringList{file, QStringLiteral("/x/old1.ngg"), QStringLiteral("/x/old2.ngg"), QString()}));
}

TEST(QuilletStartUp, ARelativeOrForeignCommandLineFileIsListedByItsFullPath)
{
    Env env;
    QDir(env.box.dir()).mkdir(QStringLiteral("logos.d"));
    const QString diag = env.box.path(QStringLiteral("logos.d/diag.otb"));
    QByteArray otb("\x00\x48\x0E\x01", 4);
    otb += QByteArray(126, '\x0F');
    logotest::writeAll(diag, otb);
    env.ngg(QStringLiteral("logos.d/test2.ngg"));
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(env.box.path(QStringLiteral("logos.d"))));
    auto &w = env.start(QStringLiteral("test2.ngg"));
    QDir::setCurrent(before);
    const QString full = env.box.path(QStringLiteral("logos.d/test2.ngg"));
    EXPECT_EQ(env.window->recentFiles().files().front(), full);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Quillet [") + logo::shortenPath(full, 38) + QStringLiteral("]"));
    EXPECT_EQ(env.window->dialogFolders().openFolder, logo::folderOf(full));
    ASSERT_TRUE(w.close());

    // A foreign file: the file read is listed, never the .ngg name it gives the picture.
    env.start(diag);
    EXPECT_EQ(env.doc().currentFile(), env.box.path(QStringLiteral("logos.d/diag.ngg")));
    EXPECT_EQ(env.window->recentFiles().files().mid(0, 2), (QStringList{diag, full}));
    EXPECT_EQ(visibleRecentCaptions(env).front(), QStringLiteral("&1 diag.otb"));
}

TEST(QuilletStartUp, OldWebUploadPagesAreDeleted)
{
    Env env;
    const QByteArray oldTmp = qgetenv("TMPDIR");
    QDir(env.box.dir()).mkdir(QStringLiteral("tmp"));
    const QString tmp = env.box.path(QStringLiteral("tmp"));
    qputenv("TMPDIR", tmp.toLocal8Bit());
    logotest::writeAll(tmp + QStringLiteral("/QLTMP123.HTM"), "x");
    // Only the names the program writes go: not the other program's, nor the user's.
    const QStringList others = {QStringLiteral("BVTMP001.HTM"), QStringLiteral("QLTMP1.txt"),
                                QStringLiteral("QLTMP1234.HTM"), QStringLiteral("qltmp_notes.htm")};
    for (const QString &name : others)
        logotest::writeAll(tmp + QLatin1Char('/') + name, "x");
    env.start();
    EXPECT_FALSE(QFile::exists(tmp + QStringLiteral("/QLTMP123.HTM")));
    for (const QString &name : others)
        EXPECT_TRUE(QFile::exists(tmp + QLatin1Char('/') + name)) << qPrintable(name);

    // A page of this run stays at exit, for a browser that starts slowly.
    logotest::writeAll(tmp + QStringLiteral("/QLTMP077.HTM"), "x");
    env.window->close();
    EXPECT_TRUE(QFile::exists(tmp + QStringLiteral("/QLTMP077.HTM")));
    if (oldTmp.isEmpty())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", oldTmp);
}

// ---------------------------------------------------------------- position

TEST(QuilletPlacement, KeepOnScreenPullsBackThenClampsAtZero)
{
    using logo::keepOnScreen;
    const QSize win(500, 300), screen(1024, 768);
    EXPECT_EQ(keepOnScreen({13, 20}, win, screen), QPoint(13, 20));
    EXPECT_EQ(keepOnScreen({900, 700}, win, screen), QPoint(524, 468)) << "ends at the right and bottom edge";
    EXPECT_EQ(keepOnScreen({-40, -5}, win, screen), QPoint(0, 0));
    EXPECT_EQ(keepOnScreen({524, 468}, win, screen), QPoint(524, 468)) << "exactly fitting stays";
    EXPECT_EQ(keepOnScreen({300, 300}, QSize(1200, 900), screen), QPoint(0, 0)) << "too large: top left";
}

TEST(QuilletPlacement, SavedPositionInTwipsWithDefaultsAndOffScreenValues)
{
    {
        Env env;
        auto &w = env.start();
        EXPECT_EQ(w.pos(), QPoint(200 / 15, 300 / 15)) << "defaults 200 and 300 twips";
    }
    {
        Env env;
        env.box.settings().write(kSection, QStringLiteral("Left"), QStringLiteral("abc"));
        env.box.settings().write(kSection, QStringLiteral("Top"), QStringLiteral(""));
        auto &w = env.start();
        EXPECT_EQ(w.pos(), QPoint(200 / 15, 300 / 15)) << "unreadable values fall back to the defaults";
    }
    {
        Env env;
        env.box.settings().writeInt(kSection, QStringLiteral("Left"), 15 * 100000);
        env.box.settings().writeInt(kSection, QStringLiteral("Top"), 15 * 100000);
        auto &w = env.start();
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        EXPECT_EQ(w.frameGeometry().right() + 1, screen.width());
        EXPECT_EQ(w.frameGeometry().bottom() + 1, screen.height());
    }
}

TEST(QuilletPlacement, ABrandingPictureDoesNotMoveTheWindowFromStartToStart)
{
    Env env;
    QImage pic(120, 90, QImage::Format_RGB32);
    pic.fill(Qt::blue);
    ASSERT_TRUE(pic.save(env.box.path(QStringLiteral("brand.bmp"))));
    logotest::writeAll(env.box.path(QStringLiteral("QUILLET.INI")), "[Branding]\nBackgroundPic=brand.bmp\n");
    env.box.settings().writeInt(kSection, QStringLiteral("Left"), 3000);
    env.box.settings().writeInt(kSection, QStringLiteral("Top"), 3000);
    for (int start = 0; start < 4; ++start) {
        auto &w = env.start();
        // Placed at its final size: growing after the placement moves it
        // under some window managers by the height of the title bar.
        const QSize placed = w.size();
        w.show();
        QCoreApplication::processEvents();
        EXPECT_EQ(w.size(), placed);
        ASSERT_TRUE(w.close());
        env.window.reset();
        env.box.restartSettings();
        EXPECT_EQ(env.setting(QStringLiteral("Left")), QStringLiteral("3000")) << "start " << start;
        EXPECT_EQ(env.setting(QStringLiteral("Top")), QStringLiteral("3000")) << "start " << start;
    }
}

// ---------------------------------------------------------------- closing, settings

TEST(QuilletSettings, PositionFoldersAndRecentFilesSurviveARestart)
{
    Env env;
    const QString a = env.ngg(QStringLiteral("a.ngg"));
    const QString b = env.ngg(QStringLiteral("b.ngg"));
    {
        auto &w = env.start();
        w.openReceivedFile(a);
        w.openReceivedFile(b);
        env.window->dialogFolders().importFolder = QStringLiteral("/pictures/in/");
        env.window->dialogFolders().exportFolder = QStringLiteral("/pictures/out/");
        w.move(150, 90);
        w.show();
        ASSERT_TRUE(w.close());
    }
    EXPECT_EQ(env.setting(QStringLiteral("Left")), QStringLiteral("2250"));
    EXPECT_EQ(env.setting(QStringLiteral("Top")), QStringLiteral("1350"));
    EXPECT_FALSE(env.box.settings().contains(kSection, QStringLiteral("CurrentAppname")));
    EXPECT_FALSE(env.box.settings().contains(kSection, QStringLiteral("CurrentBusy")));

    env.window.reset();
    env.box.restartSettings();
    auto &w = env.start();
    EXPECT_EQ(w.pos(), QPoint(150, 90));
    EXPECT_EQ(env.window->recentFiles().files(), (QStringList{b, a, QString(), QString()}));
    EXPECT_EQ(visibleRecentCaptions(env), (QStringList{QStringLiteral("&1 b.ngg"), QStringLiteral("&2 a.ngg")}));
    EXPECT_EQ(env.window->dialogFolders().openFolder, logo::folderOf(b));
    EXPECT_EQ(env.window->dialogFolders().importFolder, QStringLiteral("/pictures/in/"));
    EXPECT_EQ(env.window->dialogFolders().exportFolder, QStringLiteral("/pictures/out/"));
    EXPECT_EQ(env.doc().currentFile(), QStringLiteral("Untitled")) << "the last file is not reopened";
}

TEST(QuilletSettings, CancelAtCloseKeepsTheWindowAndSavesNothing)
{
    Env env;
    auto &w = env.start();
    w.show();
    env.doc().paintCell(1, 1, true);
    env.prompt.answers = {Answer::Cancel};
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(env.box.settings().contains(kSection, QStringLiteral("Left")));
    EXPECT_TRUE(env.box.settings().contains(kSection, QStringLiteral("CurrentAppname")));

    env.prompt.answers = {Answer::No};
    env.action("mnuExit")->trigger();
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(env.box.settings().contains(kSection, QStringLiteral("Left")));
    EXPECT_EQ(env.prompt.count(ShownPrompt::Kind::Message), 2);
}

// ---------------------------------------------------------------- menus and toolbar

TEST(QuilletMenus, EveryCommandIsLiveAndButtonsRunTheirEntries)
{
    Env env;
    auto &w = env.start();
    for (const char *name : {"mnuSend", "mnuStore", "mnuInternet", "mnuIR", "mnuOptions", "mnuImport", "mnuExport",
                             "mnuNew", "mnuOpen", "mnuSave", "mnuSaveAs"})
        EXPECT_TRUE(env.action(name)->isEnabled()) << name;
    for (const char *key : {"Send", "Store", "Internet", "IR", "Options"})
        EXPECT_TRUE(w.toolbarAction(QString::fromLatin1(key))->isEnabled()) << key;

    w.setDeliveryEnabled(false);
    EXPECT_FALSE(w.toolbarAction(QStringLiteral("Options"))->isEnabled());
    w.setDeliveryEnabled(true);
    int sent = 0;
    QObject::connect(env.action("mnuSend"), &QAction::triggered, [&] { ++sent; });
    w.runToolbarButton(QStringLiteral("Send"));
    EXPECT_EQ(sent, 1) << "a toolbar button runs the menu entry of its key";
    w.runToolbarButton(QStringLiteral("Nothing"));
    EXPECT_EQ(sent, 1);
}

TEST(QuilletMenus, QuilletsEntriesJoinTheSharedMenusInTheirPlaces)
{
    Env env;
    auto &w = env.start();
    auto names = [](const QList<QAction *> &actions) {
        QStringList out;
        for (const QAction *a : actions)
            out << (a->isSeparator() ? QStringLiteral("-")
                                     : (a->objectName() + QLatin1Char(' ') +
                                        a->shortcut().toString(QKeySequence::PortableText))
                                           .trimmed());
        return out;
    };
    QStringList bar;
    for (const QAction *a : w.menuBar()->actions())
        bar << a->text();
    EXPECT_EQ(bar, (QStringList{"&File", "&Edit", "&View", "&Tools", "&Help"}));
    EXPECT_EQ(names(env.widget<QMenu>("mnuFile")->actions()),
              (QStringList{"mnuNew Ctrl+N", "-", "mnuOpen Ctrl+O", "mnuSave Ctrl+S", "mnuSaveAs", "-",
                           "mnuSend Ctrl+D", "mnuStore Ctrl+R", "mnuInternet Ctrl+T", "mnuIR Ctrl+U", "-",
                           "mnuImport Ctrl+P", "mnuExport Ctrl+E", "-", "mnuRecent1", "mnuRecent2", "mnuRecent3",
                           "mnuRecent4", "-", "mnuExit Ctrl+Q"}));
    // No key runs two entries.
    QMap<QString, QString> keys;
    for (const QAction *a : w.findChildren<QAction *>())
        for (const QKeySequence &k : a->shortcuts()) {
            const QString key = k.toString(QKeySequence::PortableText);
            EXPECT_FALSE(keys.contains(key)) << key.toStdString() << ": " << keys.value(key).toStdString() << " and "
                                             << a->objectName().toStdString();
            keys.insert(key, a->objectName());
        }
    EXPECT_EQ(env.action("mnuInternet")->text(), QStringLiteral("Send via Internet..."));
    QStringList buttons;
    for (const QAction *a : env.widget<QToolBar>("Toolbar1")->actions())
        buttons << (a->isSeparator() ? QStringLiteral("-") : a->data().toString());
    EXPECT_EQ(buttons, (QStringList{"New", "Open", "Save", "-", "Send", "Store", "Internet", "IR", "-", "Options"}));
}

// ---------------------------------------------------------------- branding

TEST(QuilletBranding, NoHidesMethodsAndBackgroundPicIsShown)
{
    Env env;
    QDir(env.box.dir()).mkdir(QStringLiteral("brand"));
    QImage pic(40, 30, QImage::Format_RGB32);
    pic.fill(Qt::red);
    ASSERT_TRUE(pic.save(env.box.path(QStringLiteral("brand/logo.bmp"))));
    logotest::writeAll(env.box.path(QStringLiteral("QUILLET.INI")),
                       "[Branding]\r\nSendViaSMS=no\r\nStoreToInbox = Yes\r\nSendViaInternet=No\r\n"
                       "SendViaIR=NO\r\nBackgroundPic=brand\\logo.bmp\r\n");
    auto &w = env.start();
    EXPECT_TRUE(w.branding().hideSendViaSMS);
    EXPECT_FALSE(w.branding().hideStoreToInbox);
    EXPECT_TRUE(w.branding().hideSendViaInternet);
    EXPECT_TRUE(w.branding().hideSendViaIR);
    EXPECT_FALSE(env.action("mnuSend")->isVisible());
    EXPECT_TRUE(env.action("mnuStore")->isVisible());
    EXPECT_FALSE(env.action("mnuInternet")->isVisible());
    EXPECT_FALSE(env.action("mnuIR")->isVisible());
    EXPECT_FALSE(w.toolbarAction(QStringLiteral("Send"))->isVisible());
    EXPECT_TRUE(w.toolbarAction(QStringLiteral("Store"))->isVisible());
    EXPECT_FALSE(w.toolbarAction(QStringLiteral("Internet"))->isVisible());
    EXPECT_FALSE(w.toolbarAction(QStringLiteral("IR"))->isVisible());
    // Nor do their shortcuts or buttons run them (without IRPort the upload would complain).
    env.doc().grid().setPixel(1, 1, true);
    EXPECT_FALSE(env.action("mnuIR")->isEnabled());
    w.runToolbarButton(QStringLiteral("IR"));
    EXPECT_TRUE(env.prompt.shown.empty());

    auto *branding = env.widget<QLabel>("picBranding");
    EXPECT_FALSE(branding->isHidden());
    EXPECT_EQ(branding->pixmap().size(), QSize(40, 30));
    EXPECT_TRUE(w.branding().backgroundShown);
}

TEST(QuilletBranding, WithoutFileOrWithMissingPictureNothingChanges)
{
    {
        Env env;
        auto &w = env.start();
        EXPECT_TRUE(env.action("mnuSend")->isVisible());
        EXPECT_TRUE(w.toolbarAction(QStringLiteral("IR"))->isVisible());
        EXPECT_TRUE(env.widget<QLabel>("picBranding")->isHidden());
    }
    {
        Env env;
        logotest::writeAll(env.box.path(QStringLiteral("QUILLET.INI")),
                           "[Branding]\nSendViaSMS=nope\nBackgroundPic=missing.bmp\n");
        auto &w = env.start();
        EXPECT_FALSE(w.branding().hideSendViaSMS);
        EXPECT_TRUE(env.action("mnuSend")->isVisible());
        EXPECT_TRUE(env.widget<QLabel>("picBranding")->isHidden());
        EXPECT_TRUE(env.prompt.shown.empty());
    }
}

// ---------------------------------------------------------------- help

TEST(QuilletHelp, LinksOpenTheirAddresses)
{
    Env env;
    auto &w = env.start();
    env.action("mnuHelpFAQ")->trigger();
    env.action("mnuHelpSamples")->trigger();
    env.action("mnuHelpUpdates")->trigger();
    auto *url = env.widget<QLabel>("lblURL");
    sendMouse(url, QEvent::MouseButtonPress, {3, 3}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(url->palette().color(QPalette::WindowText), QColor(192, 0, 0)) << "red while pressed";
    EXPECT_EQ(env.openedUrls.size(), 3u) << "opens on release, not on press";
    sendMouse(url, QEvent::MouseButtonRelease, {3, 3}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(url->palette().color(QPalette::WindowText), QColor(0, 0, 192));

    const QString ver = QStringLiteral("%1%2%3")
                            .arg(LOGO_VERSION_MAJOR, 2, 10, QLatin1Char('0'))
                            .arg(LOGO_VERSION_MINOR, 2, 10, QLatin1Char('0'))
                            .arg(LOGO_VERSION_PATCH, 3, 10, QLatin1Char('0'));
    const std::vector<QString> expected{
        QStringLiteral("http://logos.example/wireless/faq.phtml?media=pellorin"),
        QStringLiteral("http://logos.example/wireless/samples.phtml?media=pellorin"),
        QStringLiteral("http://logos.example/wireless/update.phtml?app=qlt&ver=") + ver +
            QStringLiteral("&media=pellorin"),
        QStringLiteral("http://logos.example/wireless/index.phtml?media=pellorin"),
    };
    EXPECT_EQ(env.openedUrls, expected);
    EXPECT_EQ(ver.size(), 7);

    // Released outside the label: no page.
    sendMouse(url, QEvent::MouseButtonPress, {3, 3}, Qt::LeftButton, Qt::LeftButton);
    sendMouse(url, QEvent::MouseButtonRelease, {-20, -20}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(env.openedUrls.size(), 4u);
    (void)w;
}

TEST(QuilletHelp, HostFromSettingsAndInformationBox)
{
    Env env;
    env.box.settings().write(kSection, QStringLiteral("WebHost"), QStringLiteral("mirror.test"));
    auto &w = env.start();
    EXPECT_EQ(w.webHost(), QStringLiteral("mirror.test"));
    EXPECT_EQ(env.widget<QLabel>("lblURL")->text(), QStringLiteral("mirror.test"));
    env.action("mnuHelpFAQ")->trigger();
    EXPECT_EQ(env.openedUrls.back(), QStringLiteral("http://mirror.test/wireless/faq.phtml?media=pellorin"));

    env.action("mnuHelpInformation")->trigger();
    ASSERT_EQ(env.prompt.shown.size(), 1u);
    const auto &box = env.prompt.shown.back();
    EXPECT_EQ(box.title, QStringLiteral("Quillet"));
    EXPECT_EQ(box.icon, logo::Icon::None);
    EXPECT_EQ(box.buttons, logo::Buttons::Ok);
    EXPECT_EQ(box.text, QStringLiteral("All important objects of this program support 'ToolTips'.\r\n\r\n"
                                       "Move your mouse over an object and wait a while, then\r\n"
                                       "a small yellow box with a short explanation will appear."));

    env.action("mnuAbout")->trigger();
    EXPECT_TRUE(env.prompt.lastMessage().contains(QStringLiteral("Quillet")));
    EXPECT_TRUE(env.prompt.lastMessage().contains(
        QStringLiteral("%1.%2.%3").arg(LOGO_VERSION_MAJOR).arg(LOGO_VERSION_MINOR).arg(LOGO_VERSION_PATCH)));
}
