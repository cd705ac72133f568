// Quillet's main window and its files: the save-changes question through the
// window's commands, the recent-file menu, dropped files.
#include "quillettest.h"

#include "graphic/pathutil.h"

#include <QImage>
#include <QMimeData>
#include <gtest/gtest.h>

using namespace quillettest;
using logo::Answer;
using logo::ShownPrompt;

namespace {

void dropFile(QWidget *target, const QString &path)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    const QPointF at(5, 5);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
}

} // namespace

// ---------------------------------------------------------------- save changes

TEST(QuilletSaveChanges, NewAsksOnlyWhenModified)
{
    Env env;
    auto &w = env.start();
    env.action("mnuNew")->trigger();
    EXPECT_TRUE(env.prompt.shown.empty());

    env.doc().paintCell(3, 3, true);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Quillet [Untitled*]"));

    env.prompt.answers = {Answer::Cancel};
    env.action("mnuNew")->trigger();
    ASSERT_EQ(env.prompt.messages().size(), 1);
    const logo::ShownPrompt &q = env.prompt.shown.back();
    EXPECT_EQ(q.title, QStringLiteral("Quillet"));
    EXPECT_EQ(q.icon, logo::Icon::Exclamation);
    EXPECT_EQ(q.buttons, logo::Buttons::YesNoCancel);
    EXPECT_EQ(q.text, QStringLiteral("Untitled\r\nhas not been saved yet.\r\n\r\nDo you want to save it now?"));
    EXPECT_TRUE(env.doc().grid().isSet(3, 3)) << "Cancel keeps the picture";
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Quillet [Untitled*]"));

    env.prompt.answers = {Answer::No};
    w.runToolbarButton(QStringLiteral("New"));
    EXPECT_TRUE(env.doc().grid().isEmpty()) << "No clears";
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Quillet [Untitled]"));
    EXPECT_FALSE(env.display()->isPixelSet(3, 3));
}

TEST(QuilletSaveChanges, YesThenCancelInSaveAsCancelsNewAndExit)
{
    Env env;
    auto &w = env.start();
    w.show();
    env.doc().paintCell(3, 3, true);
    env.prompt.answers = {Answer::Yes};
    env.action("mnuNew")->trigger();   // the Save As dialog gets no file: cancelled
    EXPECT_EQ(env.prompt.count(ShownPrompt::Kind::SaveFile), 1);
    EXPECT_TRUE(env.doc().grid().isSet(3, 3));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Quillet [Untitled*]"));

    env.prompt.answers = {Answer::Yes};
    env.action("mnuExit")->trigger();
    EXPECT_EQ(env.prompt.count(ShownPrompt::Kind::SaveFile), 2);
    EXPECT_TRUE(w.isVisible()) << "the picture is not thrown away";
}

TEST(QuilletSaveChanges, YesSavesUnderTheChosenNameBeforeClearing)
{
    Env env;
    env.start();
    env.doc().paintCell(3, 3, true);
    const QString target = env.box.path(QStringLiteral("kept.ngg"));
    env.prompt.answers = {Answer::Yes};
    env.prompt.files = {target};
    env.action("mnuNew")->trigger();
    ASSERT_TRUE(QFile::exists(target));
    EXPECT_TRUE(env.doc().grid().isEmpty());
    EXPECT_EQ(env.window->recentFiles().files().front(), target);

    env.window->openReceivedFile(target);
    EXPECT_TRUE(env.doc().grid().isSet(3, 3));
}

TEST(QuilletSaveChanges, SaveMenuWritesAndClearsTheMark)
{
    Env env;
    auto &w = env.start();
    env.doc().paintCell(0, 0, true);
    const QString target = env.box.path(QStringLiteral("saved.ngg"));
    env.prompt.files = {target};
    env.action("mnuSave")->trigger();   // Untitled: Save goes through Save As
    EXPECT_TRUE(QFile::exists(target));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Quillet [") + logo::shortenPath(target, 38) + QStringLiteral("]"));
    EXPECT_EQ(visibleRecentCaptions(env), QStringList{QStringLiteral("&1 saved.ngg")});

    env.doc().paintCell(1, 0, true);
    EXPECT_TRUE(w.windowTitle().endsWith(QStringLiteral("*]")));
    w.runToolbarButton(QStringLiteral("Save"));
    EXPECT_FALSE(w.windowTitle().endsWith(QStringLiteral("*]")));
    EXPECT_EQ(env.prompt.count(ShownPrompt::Kind::SaveFile), 1) << "a named file is saved without a dialog";
}

// ---------------------------------------------------------------- recent menu

TEST(QuilletRecentMenu, CaptionsVisibilityAndOrder)
{
    Env env;
    auto &w = env.start();
    EXPECT_FALSE(env.action("mnuRecentSep")->isVisible());
    EXPECT_TRUE(visibleRecentCaptions(env).isEmpty());

    QStringList files;
    for (const char *name : {"one.ngg", "two.ngg", "three.ngg", "four.ngg"})
        files << env.ngg(QString::fromLatin1(name));
    for (const QString &f : files)
        w.openReceivedFile(f);
    EXPECT_TRUE(env.action("mnuRecentSep")->isVisible());
    EXPECT_EQ(visibleRecentCaptions(env),
              (QStringList{QStringLiteral("&1 four.ngg"), QStringLiteral("&2 three.ngg"),
                           QStringLiteral("&3 two.ngg"), QStringLiteral("&4 one.ngg")}));

    w.openReceivedFile(files[3]);   // entry 1 again: nothing moves
    w.openReceivedFile(files[0]);   // entry 4 comes to the front without a duplicate
    EXPECT_EQ(visibleRecentCaptions(env),
              (QStringList{QStringLiteral("&1 one.ngg"), QStringLiteral("&2 four.ngg"),
                           QStringLiteral("&3 three.ngg"), QStringLiteral("&4 two.ngg")}));

    env.action("mnuRecent3")->trigger();   // opens the full path of entry 3
    EXPECT_EQ(env.doc().currentFile(), files[2]);
    EXPECT_EQ(visibleRecentCaptions(env).front(), QStringLiteral("&1 three.ngg"));
}

TEST(QuilletRecentMenu, EntriesAfterAGapKeepTheirNumbers)
{
    Env env;
    env.box.settings().write(kRecent, QStringLiteral("File2"), QStringLiteral("/x/second.ngg"));
    env.box.settings().write(kRecent, QStringLiteral("File4"), QStringLiteral("/x/fourth.ngg"));
    env.start();
    EXPECT_EQ(visibleRecentCaptions(env),
              (QStringList{QStringLiteral("&2 second.ngg"), QStringLiteral("&4 fourth.ngg")}));
    EXPECT_TRUE(env.action("mnuRecentSep")->isVisible());
}

TEST(QuilletRecentMenu, ARecentEntryAsksBeforeReplacingAModifiedPicture)
{
    Env env;
    const QString f = env.ngg(QStringLiteral("r.ngg"), {{9, 9}});
    auto &w = env.start();
    w.openReceivedFile(f);
    w.runToolbarButton(QStringLiteral("New"));
    env.doc().paintCell(1, 1, true);
    env.prompt.answers = {Answer::Cancel};
    env.action("mnuRecent1")->trigger();
    EXPECT_TRUE(env.doc().grid().isSet(1, 1));
    EXPECT_EQ(env.doc().currentFile(), QStringLiteral("Untitled"));
    EXPECT_FALSE(env.box.settings().contains(kSection, QStringLiteral("CurrentBusy")));
}

// ---------------------------------------------------------------- drop

TEST(QuilletDrop, FileDroppedOnGridOrPreviewIsOpened)
{
    Env env;
    const QString a = env.ngg(QStringLiteral("dropped.ngg"), {{10, 4}});
    const QString b = env.ngg(QStringLiteral("second.ngg"), {{11, 5}});
    auto &w = env.start();
    w.show();
    dropFile(env.grid(), a);
    EXPECT_EQ(env.doc().currentFile(), a);
    EXPECT_TRUE(env.doc().grid().isSet(10, 4));
    EXPECT_EQ(env.window->dialogFolders().openFolder, logo::folderOf(a));

    env.doc().paintCell(0, 0, true);
    env.prompt.answers = {Answer::Cancel};
    dropFile(env.display(), b);
    EXPECT_EQ(env.doc().currentFile(), a) << "Cancel to the save question keeps the picture";

    env.prompt.answers = {Answer::No};
    dropFile(env.display(), b);
    EXPECT_EQ(env.doc().currentFile(), b);
    EXPECT_TRUE(env.display()->isPixelSet(11, 5));

    // A picture Import reads is imported, as Import brings it; one that
    // can't be read says so and keeps the picture.
    QImage picture(72, 14, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setPixel(30, 7, qRgb(0, 0, 0));
    const QString png = env.box.path(QStringLiteral("photo.png"));
    ASSERT_TRUE(picture.save(png));
    dropFile(env.grid(), png);
    EXPECT_EQ(env.doc().currentFile(), env.box.path(QStringLiteral("photo.ngg")));
    EXPECT_TRUE(env.doc().grid().isSet(30, 7));
    EXPECT_EQ(env.doc().grid().setCount(), 1);
    EXPECT_EQ(env.window->dialogFolders().importFolder, logo::folderOf(png));

    const QString broken = env.box.path(QStringLiteral("broken.png"));
    logotest::writeAll(broken, "not a picture");
    env.prompt.shown.clear();
    env.prompt.answers = {Answer::No};
    dropFile(env.grid(), broken);
    EXPECT_TRUE(env.doc().grid().isSet(30, 7));
    EXPECT_EQ(env.prompt.lastMessage(), QStringLiteral("Can't read this file. Try another file."));
}
