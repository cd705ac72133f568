// The file commands: save-changes question, New, Save As, Open, the recent
// files, the busy mark and the empty-picture question.
#include "common/documentsandbox.h"
#include "graphic/logodocument.h"
#include "graphic/logofile.h"
#include "graphic/pathutil.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace logo;
using logotest::Sandbox;

namespace {

struct Doc : logotest::QuilletDocument {
    QString savedNgg(const QString &name)
    {
        LogoGrid g;
        g.setPixel(2, 2, true);
        const QString p = sb.path(name);
        logotest::writeAll(p, buildLogoFile(g, false, 0, 0, 50, QString(), QString()));
        return p;
    }
};

const QString kSaveQuestion = QStringLiteral("\r\nhas not been saved yet.\r\n\r\nDo you want to save it now?");

} // namespace

TEST(SaveChanges, AsksOnlyWhenModified)
{
    Doc d;
    EXPECT_EQ(d.files.askSaveChanges(), FileCommands::SaveAnswer::Proceed);
    EXPECT_TRUE(d.prompt.shown.empty());

    d.doc.paintCell(1, 1, true);
    d.prompt.answers = {Answer::Cancel};
    EXPECT_EQ(d.files.askSaveChanges(), FileCommands::SaveAnswer::Cancel);
    const ShownPrompt &q = d.prompt.shown.back();
    EXPECT_EQ(q.text, QStringLiteral("Untitled") + kSaveQuestion);
    EXPECT_EQ(q.icon, Icon::Exclamation);
    EXPECT_EQ(q.buttons, Buttons::YesNoCancel);
    EXPECT_EQ(q.title, QStringLiteral("Quillet"));

    d.prompt.answers = {Answer::No};
    EXPECT_EQ(d.files.askSaveChanges(), FileCommands::SaveAnswer::Proceed);
}

TEST(SaveChanges, NewCancelNoYes)
{
    Doc d;
    d.doc.paintCell(1, 1, true);
    d.prompt.answers = {Answer::Cancel};
    if (d.files.askSaveChanges() == FileCommands::SaveAnswer::Proceed)
        d.doc.newDocument();
    EXPECT_EQ(d.doc.grid().setCount(), 1);

    d.prompt.answers = {Answer::No};
    if (d.files.askSaveChanges() == FileCommands::SaveAnswer::Proceed)
        d.doc.newDocument();
    EXPECT_EQ(d.doc.grid().setCount(), 0);
    EXPECT_EQ(d.doc.title(), QStringLiteral("Quillet [Untitled]"));

    // Yes on an untitled picture opens Save As; cancelling it cancels the
    // command, as a failed save does: the picture stays.
    d.doc.paintCell(1, 1, true);
    d.prompt.answers = {Answer::Yes};
    const auto before = d.prompt.count(ShownPrompt::Kind::SaveFile);
    if (d.files.askSaveChanges() == FileCommands::SaveAnswer::Proceed)
        d.doc.newDocument();
    EXPECT_EQ(d.prompt.count(ShownPrompt::Kind::SaveFile), before + 1);
    EXPECT_EQ(d.doc.grid().setCount(), 1);
    EXPECT_EQ(d.doc.state(), LogoDocument::State::Modified);
}

TEST(SaveChanges, YesSavesANamedFileInPlace)
{
    Doc d;
    const QString p = d.savedNgg(QStringLiteral("named.ngg"));
    ASSERT_TRUE(d.files.openFile(p));
    d.doc.paintCell(10, 10, true);
    d.prompt.answers = {Answer::Yes};
    EXPECT_EQ(d.files.askSaveChanges(), FileCommands::SaveAnswer::Proceed);
    EXPECT_EQ(d.prompt.count(ShownPrompt::Kind::SaveFile), 0);
    EXPECT_EQ(logotest::readAll(p).at(16 + 10 * 72 + 10), '1');
    EXPECT_EQ(d.doc.state(), LogoDocument::State::Clean);
}

TEST(SaveChanges, AFailedSaveKeepsThePictureAndSaysSo)
{
    Doc d;
    d.doc.paintCell(4, 4, true);

    // The folder has gone since the file was named: the write fails.
    const QString gone = d.sb.path(QStringLiteral("gone/picture.ngg"));
    d.doc.setCurrentFile(gone);
    d.prompt.answers = {Answer::Yes};
    EXPECT_EQ(d.files.askSaveChanges(), FileCommands::SaveAnswer::Cancel);
    EXPECT_EQ(d.prompt.shown.back().icon, Icon::Critical);
    EXPECT_EQ(d.prompt.lastMessage(), gone + QStringLiteral("\r\ncould not be saved."));
    EXPECT_EQ(d.doc.state(), LogoDocument::State::Modified);
    EXPECT_TRUE(d.doc.grid().isSet(4, 4));

    // A name containing ".nol" with no network code writes nothing either.
    const QString nol = d.sb.path(QStringLiteral("picture.nol"));
    d.doc.setCurrentFile(nol);
    d.prompt.answers = {Answer::Yes};
    EXPECT_EQ(d.files.askSaveChanges(), FileCommands::SaveAnswer::Cancel);
    EXPECT_FALSE(QFile::exists(nol));

    // Declining to save an empty picture is the user's choice: go on.
    d.doc.paintCell(4, 4, false);
    d.prompt.answers = {Answer::Yes, Answer::No};
    EXPECT_EQ(d.files.askSaveChanges(), FileCommands::SaveAnswer::Proceed);
}

TEST(SaveAs, FiltersNameAndFolders)
{
    Doc d;
    d.doc.paintCell(0, 0, true);
    d.folders.openFolder = QStringLiteral("/opened/");
    d.files.saveAs();   // cancelled
    ASSERT_EQ(d.prompt.count(ShownPrompt::Kind::SaveFile), 1);
    FileRequest r = d.prompt.shown.back().request;
    EXPECT_EQ(r.filter, QStringLiteral("Nokia Group Graphic (*.ngg)|*.ngg"));
    EXPECT_EQ(r.filterIndex, 1);
    EXPECT_EQ(r.defaultExt, QStringLiteral("ngg"));
    EXPECT_EQ(r.fileName, QString());
    EXPECT_EQ(r.initialDir, QStringLiteral("/opened/"));
    EXPECT_EQ(d.doc.currentFile(), QStringLiteral("Untitled"));
    EXPECT_FALSE(d.pieces.marks.isBusy());

    // With a network code, NOL is offered and preselected.
    d.doc.setNetworkCode(QStringLiteral("262"), QStringLiteral("01"));
    const QString target = d.sb.path(QStringLiteral("logo.nol"));
    d.prompt.files = {target};
    d.files.saveAs();
    r = d.prompt.shown.back().request;
    EXPECT_EQ(r.filter, QStringLiteral("Nokia Group Graphic (*.ngg)|*.ngg|Nokia Operator Logo (*.nol)|*.nol"));
    EXPECT_EQ(r.filterIndex, 2);
    EXPECT_EQ(r.defaultExt, QStringLiteral("nol"));
    EXPECT_EQ(logotest::readAll(target).left(4), QByteArray("NOL\0", 4));
    EXPECT_EQ(d.folders.saveFolder, d.sb.dir());
    EXPECT_EQ(d.doc.currentFile(), target);

    // Next time: the whole name proposed, the saved-files folder first.
    d.files.saveAs();
    r = d.prompt.shown.back().request;
    EXPECT_EQ(r.fileName, QStringLiteral("logo.nol"));
    EXPECT_EQ(r.initialDir, d.sb.dir());
}

TEST(SaveAs, SaveOnUntitledRunsSaveAs)
{
    Doc d;
    d.doc.paintCell(0, 0, true);
    d.prompt.files = {d.sb.path(QStringLiteral("x.ngg"))};
    d.files.save();
    EXPECT_TRUE(QFile::exists(d.sb.path(QStringLiteral("x.ngg"))));
    EXPECT_EQ(d.doc.title(), QStringLiteral("Quillet [") + shortenPath(d.sb.path(QStringLiteral("x.ngg")), 38) +
                                 QStringLiteral("]"));
}

TEST(SaveAs, ANameMadeFromAReadNeverReplacesAnExistingFileUnasked)
{
    Doc d;
    // Import B.png next to an unrelated B.ngg: Save asks through Save As,
    // proposing the name in its folder.
    QDir(d.sb.dir()).mkdir(QStringLiteral("pics"));
    const QString png = d.sb.path(QStringLiteral("pics/B.png"));
    ASSERT_TRUE(QFile::copy(logotest::fixture(QStringLiteral("png/pattern.png")), png));
    const QString other = d.savedNgg(QStringLiteral("pics/B.ngg"));
    const QByteArray otherBytes = logotest::readAll(other);
    ASSERT_TRUE(d.files.importPicture(png));
    EXPECT_EQ(d.doc.currentFile(), other);
    EXPECT_EQ(d.files.save(), FileCommands::SaveResult::Cancelled);
    ASSERT_EQ(d.prompt.count(ShownPrompt::Kind::SaveFile), 1);
    EXPECT_EQ(d.prompt.shown.back().request.fileName, QStringLiteral("B.ngg"));
    EXPECT_EQ(d.prompt.shown.back().request.initialDir, folderOf(other));
    EXPECT_EQ(logotest::readAll(other), otherBytes);

    // The foreign file just read carries the very name (an NLM file named
    // LOGO.NLM.NGG is read as NLM).
    const QString nlm = d.sb.path(QStringLiteral("logo.nlm.ngg"));
    ASSERT_TRUE(QFile::copy(logotest::fixture(QStringLiteral("nlm/diagonal.nlm")), nlm));
    const QByteArray nlmBytes = logotest::readAll(nlm);
    ASSERT_TRUE(d.files.openFile(nlm));
    EXPECT_EQ(d.doc.currentFile(), nlm);
    d.doc.paintCell(0, 13, true);
    d.prompt.answers = {Answer::Yes};
    EXPECT_EQ(d.files.askSaveChanges(), FileCommands::SaveAnswer::Cancel) << "cancelling the dialog keeps the picture";
    EXPECT_EQ(d.prompt.count(ShownPrompt::Kind::SaveFile), 2);
    EXPECT_EQ(logotest::readAll(nlm), nlmBytes);

    // Where no file has the name, Save writes it; from then on it is the document's own.
    QFile::remove(other);
    ASSERT_TRUE(d.files.importPicture(png));
    EXPECT_EQ(d.files.save(), FileCommands::SaveResult::Saved);
    d.doc.paintCell(5, 5, true);
    EXPECT_EQ(d.files.save(), FileCommands::SaveResult::Saved);
    EXPECT_EQ(d.prompt.count(ShownPrompt::Kind::SaveFile), 2);
    EXPECT_EQ(logotest::readAll(other).at(16 + 5 * 72 + 5), '1');
}

TEST(OpenCommand, DialogAndFolder)
{
    Doc d;
    const QString p = d.savedNgg(QStringLiteral("o.ngg"));
    d.folders.openFolder = QStringLiteral("/start/");
    d.prompt.files = {p};
    d.files.openCommand();
    const FileRequest r = d.prompt.shown.back().request;
    EXPECT_EQ(r.filter, QStringLiteral("Nokia Graphics|*.ngg;*.nol;*.nlm;*.nsl;*.otb;*.ngl;*.i61;*.wbmp|"
                                       "Nokia Group Graphic (*.ngg)|*.ngg|Nokia Operator Logo (*.nol)|*.nol"));
    EXPECT_EQ(r.filterIndex, 1);
    EXPECT_EQ(r.initialDir, QStringLiteral("/start/"));
    EXPECT_EQ(d.folders.openFolder, d.sb.dir());
    EXPECT_EQ(d.doc.currentFile(), p);
    EXPECT_FALSE(d.pieces.marks.isBusy());
    EXPECT_FALSE(d.sb.settings().contains(QStringLiteral("Quillet Settings"), QStringLiteral("CurrentBusy")));

    // Cancel in the save question ends the command before the dialog.
    d.doc.paintCell(9, 9, true);
    d.prompt.answers = {Answer::Cancel};
    const auto dialogs = d.prompt.count(ShownPrompt::Kind::OpenFile);
    d.files.openCommand();
    EXPECT_EQ(d.prompt.count(ShownPrompt::Kind::OpenFile), dialogs);
}

TEST(RecentFiles, OpeningTheSameFileTwiceKeepsOneEntry)
{
    Doc d;
    const QString p = d.savedNgg(QStringLiteral("same.ngg"));
    ASSERT_TRUE(d.files.openFile(p));
    ASSERT_TRUE(d.files.openFile(p));
    EXPECT_EQ(d.recent.files(), QStringList({p, "", "", ""}));
}

TEST(RecentFiles, AnEntryWhoseFileIsGoneSaysSoAndLeaves)
{
    Doc d;
    const QString kept = d.savedNgg(QStringLiteral("kept.ngg"));
    const QString gone = d.sb.path(QStringLiteral("gone.otb"));
    d.recent.setFiles({gone, kept});
    d.doc.paintCell(3, 3, true);
    d.files.openRecent(1);
    EXPECT_EQ(d.prompt.messages(), QStringList{QStringLiteral("Can't read this file. Try another file.")});
    EXPECT_EQ(d.recent.files(), QStringList({kept, "", "", ""}));
    EXPECT_TRUE(d.doc.grid().isSet(3, 3));
    EXPECT_FALSE(d.pieces.marks.isBusy());
}

TEST(EmptyQuestion, BrisvaneNeedsAnOperatorFirst)
{
    Sandbox sb;
    ScriptedPrompt prompt;
    LogoDocument doc(ProgramProfile::brisvane());
    logotest::FilePieces pieces(doc, prompt, sb.settings());
    FileCommands &files = pieces.files;
    doc.paintCell(1, 1, true);
    EXPECT_FALSE(files.askIfEmpty());
    EXPECT_EQ(prompt.lastMessage(), QStringLiteral("Select an operator first."));
    EXPECT_EQ(prompt.shown.back().icon, Icon::None);
    EXPECT_TRUE(files.askIfEmpty(false));   // the web upload doesn't need one
    doc.setNetworkCode(QStringLiteral("262"), QStringLiteral("01"));
    doc.grid().clear();
    prompt.answers = {Answer::No};
    EXPECT_FALSE(files.askIfEmpty());
    EXPECT_EQ(prompt.lastMessage(),
              QStringLiteral("The operator logo is empty.\r\n\r\nDo you want to continue anyway?"));
}
