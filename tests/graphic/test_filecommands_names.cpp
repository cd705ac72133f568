// The names the file commands give: undo never renames, every name Save,
// Save As and Export give reads back as what was written, the chosen filter
// gives the extension, a failed save says so, and every read, import and New
// has its own size.
#include "common/documentsandbox.h"
#include "graphic/logodocument.h"
#include "graphic/logofile.h"
#include "graphic/pathutil.h"
#include "graphic/savenames.h"
#include "picture/undohistory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <gtest/gtest.h>

using namespace logo;
using logotest::Sandbox;

namespace {

struct Doc : logotest::QuilletDocument {
    QString file(const QString &name, int width = 72, int height = 14, bool nol = false)
    {
        LogoGrid g;
        g.setSize(width, height);
        g.setPixel(1, 1, true);
        g.setPixel(width - 1, height - 1, true);
        const QString p = sb.path(name);
        logotest::writeAll(p, buildLogoFile(g, nol, 262, 1, 50, QString(), QString()));
        return p;
    }
    QByteArray magic(const QString &path) const { return logotest::readAll(path).left(3); }
};

} // namespace

// Save As, then undo and redo across it: the name stays the saved one, the
// mark compares with that save, and Save writes there, never to the file
// opened before. Undoing New or an Open leaves the name of the New or Open.
TEST(DocumentNames, UndoAndRedoNeverTakeTheNameBack)
{
    Doc d;
    const QString diag = d.file(QStringLiteral("diag.ngg"));
    const QByteArray original = logotest::readAll(diag);
    ASSERT_TRUE(d.files.openFile(diag));
    d.doc.paintCell(30, 7, true);
    const QString diag2 = d.sb.path(QStringLiteral("diag2.ngg"));
    d.prompt.files = {diag2};
    ASSERT_EQ(d.files.saveAs(), FileCommands::SaveResult::Saved);

    logo::undoStackOf(d.doc)->undo();
    logo::undoStackOf(d.doc)->undo();
    EXPECT_EQ(d.doc.currentFile(), diag2);
    EXPECT_TRUE(d.doc.title().endsWith(QStringLiteral("diag2.ngg*]"))) << qPrintable(d.doc.title());
    logo::undoStackOf(d.doc)->redo();
    logo::undoStackOf(d.doc)->redo();
    EXPECT_EQ(d.doc.title(), QStringLiteral("Quillet [") + shortenPath(diag2, 38) + QStringLiteral("]"));
    EXPECT_EQ(d.doc.state(), LogoDocument::State::Clean);
    logo::undoStackOf(d.doc)->undo();
    ASSERT_EQ(d.files.save(), FileCommands::SaveResult::Saved);
    EXPECT_EQ(logotest::readAll(diag), original) << "the file opened before is never written";
    EXPECT_FALSE(d.doc.grid().isSet(30, 7));

    // Undoing past New: the picture of box.ngg under the name Untitled, which
    // is not saved; the close question names Untitled, never box.ngg.
    Doc n;
    const QString box = n.file(QStringLiteral("box.ngg"));
    ASSERT_TRUE(n.files.openFile(box));
    n.doc.newDocument();
    logo::undoStackOf(n.doc)->undo();
    EXPECT_EQ(n.doc.currentFile(), QStringLiteral("Untitled"));
    EXPECT_TRUE(n.doc.grid().isSet(1, 1));
    EXPECT_EQ(n.doc.state(), LogoDocument::State::Modified);
    logo::undoStackOf(n.doc)->redo();
    EXPECT_EQ(n.doc.state(), LogoDocument::State::Clean);
    EXPECT_EQ(n.files.askSaveChanges(), FileCommands::SaveAnswer::Proceed);
    EXPECT_TRUE(n.prompt.shown.empty());
}

// What Save As proposes and writes for a name typed and a filter chosen; every
// name written reads back as what it holds.
TEST(DocumentNames, SaveAsProposesTheWholeNameAndTheFilterGivesTheExtension)
{
    struct Case {
        const char *current;   // opened file ("" for Untitled)
        bool nol;              // a NOL picture (a network code): NOL preselected
        const char *proposed;
        const char *typed;     // "" takes the proposal
        int filter;            // 0 keeps the preselected one
        const char *written;
        const char *magic;
    };
    const Case cases[] = {
        {"logo.nlm.ngg", false, "logo.nlm.ngg", "", 0, "logo.nlm.ngg", "NGG"},
        {"Vodafone.de.ngg", false, "Vodafone.de.ngg", "", 0, "Vodafone.de.ngg", "NGG"},
        {"Vodafone.de.ngg", false, "Vodafone.de.ngg", "Vodafone.de", 0, "Vodafone.de.ngg", "NGG"},
        {"op.nol", true, "op.nol", "op2", 1, "op2.ngg", "NGG"},
        {"op.nol", true, "op.nol", "op2", 0, "op2.nol", "NOL"},
        {"op.nol", true, "op.nol", "picture.nol.bak", 0, "picture.nol.bak", "NOL"},
        {"op.nol", true, "op.nol", "picture.nol.bak", 1, "picture.nol.bak", "NOL"},
        {"op.nol", true, "op.nol", "logo.nlm", 1, "logo.nlm.ngg", "NGG"},
        {"backup.bak", false, "backup.bak.ngg", "", 0, "backup.bak.ngg", "NGG"},
        {"", false, "", "plain", 0, "plain.ngg", "NGG"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed[0] ? c.typed : c.current);
        Doc d;
        if (c.current[0])
            ASSERT_TRUE(d.files.openFile(d.file(QString::fromLatin1(c.current), 72, 14, c.nol)));
        else
            d.doc.paintCell(3, 3, true);
        const QString typed = QString::fromLatin1(c.typed[0] ? c.typed : c.proposed);
        d.prompt.files = {d.sb.path(typed)};
        if (c.filter)
            d.prompt.filters = {c.filter};
        d.prompt.answers = {Answer::Yes};   // replacing the file opened ("Vodafone.de" completed)
        ASSERT_EQ(d.files.saveAs(), FileCommands::SaveResult::Saved);
        EXPECT_EQ(d.prompt.shown.front().request.fileName, QString::fromLatin1(c.proposed));
        const QString written = d.sb.path(QString::fromLatin1(c.written));
        EXPECT_EQ(d.doc.currentFile(), written);
        EXPECT_EQ(d.magic(written), QByteArray(c.magic));
        if (typed != QString::fromLatin1(c.written)) {
            EXPECT_FALSE(QFileInfo::exists(d.sb.path(typed)));
        }
        const LogoGrid saved = d.doc.grid();
        Doc again;
        ASSERT_TRUE(again.files.openFile(written));
        EXPECT_EQ(again.doc.grid(), saved);
        EXPECT_TRUE(again.prompt.shown.empty());
    }

    // A name that got its extension only now asks before it replaces a file;
    // No goes back to the dialog.
    Doc d;
    d.doc.paintCell(3, 3, true);
    const QString existing = d.file(QStringLiteral("op2.ngg"));
    const QByteArray before = logotest::readAll(existing);
    d.prompt.files = {d.sb.path(QStringLiteral("op2")), d.sb.path(QStringLiteral("op3"))};
    d.prompt.answers = {Answer::No};
    ASSERT_EQ(d.files.saveAs(), FileCommands::SaveResult::Saved);
    EXPECT_EQ(d.prompt.messages(), QStringList{QStringLiteral("op2.ngg already exists.\r\nDo you want to replace it?")});
    EXPECT_EQ(d.prompt.count(ShownPrompt::Kind::SaveFile), 2);
    EXPECT_EQ(logotest::readAll(existing), before);
    EXPECT_EQ(d.doc.currentFile(), d.sb.path(QStringLiteral("op3.ngg")));
}

// A foreign file under a name with another format's mark: Save writes NGG
// beside it, and that file opens again, its header deciding over the name.
TEST(DocumentNames, NamesSaveWritesOpenAgain)
{
    Doc d;
    const QString bak = d.sb.path(QStringLiteral("logo.nlm.bak"));
    ASSERT_TRUE(QFile::copy(logotest::fixture(QStringLiteral("nlm/diagonal.nlm")), bak));
    ASSERT_TRUE(d.files.openFile(bak));
    d.doc.paintCell(40, 2, true);
    ASSERT_EQ(d.files.save(), FileCommands::SaveResult::Saved);
    const QString ngg = d.sb.path(QStringLiteral("logo.nlm.ngg"));
    ASSERT_EQ(d.doc.currentFile(), ngg);
    const LogoGrid saved = d.doc.grid();

    for (const QString &name : {QStringLiteral("logo.nlm.ngg"), QStringLiteral("x.otb"), QStringLiteral("y.wbmp")}) {
        SCOPED_TRACE(qPrintable(name));
        const QString copy = d.sb.path(QStringLiteral("again/") + name);
        QDir().mkpath(d.sb.path(QStringLiteral("again")));
        ASSERT_TRUE(QFile::copy(ngg, copy));
        Doc again;
        ASSERT_TRUE(again.files.openFile(copy));
        EXPECT_EQ(again.doc.grid(), saved);
        EXPECT_EQ(again.doc.currentFile(), copy);
        EXPECT_TRUE(again.prompt.shown.empty());
    }
}

// A NOL whose network code no message can carry (a negative one) is written
// back as it was read: Save never changes the code behind the user's back.
TEST(DocumentNames, SaveKeepsTheNetworkCodeAsRead)
{
    Doc d;
    LogoGrid g;
    g.setPixel(3, 3, true);
    const QString nol = d.sb.path(QStringLiteral("odd.nol"));
    logotest::writeAll(nol, buildLogoFile(g, true, -5, -1, 50, QString(), QString()));
    ASSERT_TRUE(d.files.openFile(nol));
    d.doc.paintCell(4, 4, true);
    ASSERT_EQ(d.files.save(), FileCommands::SaveResult::Saved);
    const QByteArray saved = logotest::readAll(nol);
    EXPECT_EQ(saved.mid(6, 4), QByteArray::fromHex("fbffffff"));
}

// Export: the filter chosen gives a name typed without a picture extension
// its own; the proposal carries ".bmp".
TEST(DocumentNames, ExportWritesTheTypeOfTheChosenFilter)
{
    struct Case {
        const char *typed;
        int filter;
        const char *written;
        const char *format;
    };
    const Case cases[] = {
        {"pic", 2, "pic.png", "png"},
        {"pic", 1, "pic.bmp", "bmp"},
        {"photo", 0, "photo.bmp", "bmp"},
        {"shot.png", 1, "shot.png", "png"},
        {"logo.ngg", 2, "logo.ngg.png", "png"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        Doc d;
        ASSERT_TRUE(d.files.openFile(d.file(QStringLiteral("photo.ngg"))));
        d.prompt.files = {d.sb.path(QString::fromLatin1(c.typed))};
        if (c.filter)
            d.prompt.filters = {c.filter};
        d.files.exportCommand();
        EXPECT_EQ(d.prompt.shown.front().request.fileName, QStringLiteral("photo.bmp"));
        const QString written = d.sb.path(QString::fromLatin1(c.written));
        ASSERT_TRUE(QFileInfo::exists(written));
        EXPECT_EQ(QImageReader(written).format(), QByteArray(c.format));
    }
}

// Every failed save says so, names the file and leaves the picture unsaved:
// Save into a folder that has gone, Save As there, an export there.
TEST(DocumentNames, AFailedSaveSaysSoAndStaysUnsaved)
{
    Doc d;
    QDir().mkpath(d.sb.path(QStringLiteral("gone")));
    const QString inGone = d.file(QStringLiteral("gone/pic.ngg"));
    ASSERT_TRUE(d.files.openFile(inGone));
    ASSERT_TRUE(QDir(d.sb.path(QStringLiteral("gone"))).removeRecursively());

    // Unchanged since it was opened: the failure still marks it unsaved.
    EXPECT_EQ(d.files.save(), FileCommands::SaveResult::Failed);
    EXPECT_EQ(d.prompt.messages(), QStringList{inGone + QStringLiteral("\r\ncould not be saved.")});
    EXPECT_EQ(d.prompt.shown.back().icon, Icon::Critical);
    EXPECT_EQ(d.doc.state(), LogoDocument::State::Modified);
    EXPECT_TRUE(d.doc.title().endsWith(QStringLiteral("*]")));

    d.prompt.clear();
    const QString other = d.sb.path(QStringLiteral("gone/other.ngg"));
    d.prompt.files = {other};
    EXPECT_EQ(d.files.saveAs(), FileCommands::SaveResult::Failed);
    EXPECT_EQ(d.prompt.lastMessage(), other + QStringLiteral("\r\ncould not be saved."));
    EXPECT_EQ(d.doc.currentFile(), inGone);

    // Through the close question: said once, and the window stays.
    d.prompt.clear();
    d.prompt.answers = {Answer::Yes};
    EXPECT_EQ(d.files.askSaveChanges(), FileCommands::SaveAnswer::Cancel);
    EXPECT_EQ(d.prompt.count(ShownPrompt::Kind::Message), 2);

    d.prompt.clear();
    d.prompt.files = {d.sb.path(QStringLiteral("gone/pic.bmp"))};
    d.files.exportCommand();
    EXPECT_EQ(d.prompt.lastMessage(), d.sb.path(QStringLiteral("gone/pic.bmp")) + QStringLiteral("\r\ncould not be saved."));
}

// A small file read first never crops what comes after it.
TEST(DocumentSizes, ReadsImportsAndNewHaveTheirOwnSize)
{
    const std::pair<const char *, std::function<bool(Doc &)>> after[] = {
        {"import", [](Doc &d) { return d.files.importPicture(logotest::fixture(QStringLiteral("png/pattern.png"))); }},
        {"otb", [](Doc &d) { return d.files.openFile(logotest::fixture(QStringLiteral("otb/diagonal.otb"))); }},
        {"i61", [](Doc &d) { return d.files.openFile(logotest::fixture(QStringLiteral("i61/pattern.i61"))); }},
        {"new", [](Doc &d) { d.doc.newDocument(); return true; }},
    };
    for (const auto &[small, size] : {std::pair{"16 x 8", QSize(16, 8)}, std::pair{"0 x 0", QSize(0, 0)}})
        for (const auto &[what, run] : after) {
            SCOPED_TRACE(testing::Message() << small << " then " << what);
            Doc d;
            ASSERT_TRUE(d.files.openFile(d.file(QStringLiteral("small.nol"), size.width(), size.height(), true)));
            ASSERT_EQ(d.doc.grid().width(), size.width());
            ASSERT_TRUE(run(d));
            EXPECT_EQ(d.doc.grid().width(), LogoGrid::MaxWidth);
            EXPECT_EQ(d.doc.grid().height(), LogoGrid::MaxHeight);
            if (QByteArray(what) != "new") {
                EXPECT_FALSE(d.doc.grid().isEmpty());
            }
            // Undo gives the small picture back with its size.
            logo::undoStackOf(d.doc)->undo();
            EXPECT_EQ(d.doc.grid().width(), size.width());
        }
}

// logotool and the windows share one rule for what a name is written as.
TEST(DocumentNames, OneRuleForTheWrittenType)
{
    const std::pair<const char *, SavedType> cases[] = {
        {"a.ngg", SavedType::Ngg},           {"a.NOL", SavedType::Nol},
        {"picture.nol.bak", SavedType::Nol}, {"logo.nol.ngg", SavedType::Ngg},
        {"logo.nlm.ngg", SavedType::Ngg},    {"x.ngg.png", SavedType::Png},
        {"x.BMP", SavedType::Bmp},           {"out", SavedType::None},
        {"out.jpg", SavedType::None},        {"dir.nol/out", SavedType::None},
    };
    for (const auto &[name, type] : cases)
        EXPECT_EQ(savedTypeOf(QString::fromLatin1(name)), type) << name;
}
