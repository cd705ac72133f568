// The document: undo and redo of every kind of change, the title and its
// modified mark, and when New and a read start the history afresh.
#include "common/documentsandbox.h"
#include "graphic/logodocument.h"
#include "graphic/logofile.h"
#include "picture/undohistory.h"

#include <QSignalSpy>
#include <functional>
#include <gtest/gtest.h>

using namespace logo;
using logotest::Sandbox;

namespace {

struct Doc : logotest::QuilletDocument {
    // A file with an asymmetric picture, so that every tool changes it.
    QString file(const QString &name, int width = 72, int height = 14, bool nol = false)
    {
        LogoGrid g;
        g.setSize(width, height);
        for (const auto &[c, r] : {std::pair{0, 0}, {1, 0}, {2, 1}, {5, 3}})
            g.setPixel(c, r, true);
        const QString p = sb.path(name);
        logotest::writeAll(p, buildLogoFile(g, nol, 262, 1, 50, QString(), QString()));
        return p;
    }
    // The document as it is after opening a saved file: clean, one step (the read).
    Doc() { EXPECT_TRUE(files.openFile(file(QStringLiteral("start.ngg")))); }

    struct State {
        LogoGrid grid;
        QString file, mcc, title;
        bool operator==(const State &) const = default;
    };
    State state() const { return {doc.grid(), doc.currentFile(), doc.currentMCC(), doc.title()}; }
};

std::ostream &operator<<(std::ostream &os, const Doc::State &s)
{
    return os << qPrintable(s.title) << " mcc " << qPrintable(s.mcc) << "\n" << qPrintable(s.grid.grid2bits());
}

struct Kind {
    const char *name;
    std::function<void(Doc &)> change;
    // New, reads and imports name the document: undo keeps that name, so the
    // picture before comes back modified under it.
    bool renames;
};

const Kind kKinds[] = {
    {"drag",
     [](Doc &d) {
         d.doc.beginStroke();
         for (int c = 10; c < 20; ++c)
             d.doc.paintCell(c, 7, true);
         d.doc.paintCell(0, 0, false);
         d.doc.endStroke();
     },
     false},
    {"move up", [](Doc &d) { d.doc.moveUp(); }, false},
    {"move down", [](Doc &d) { d.doc.moveDown(); }, false},
    {"move left", [](Doc &d) { d.doc.moveLeft(); }, false},
    {"move right", [](Doc &d) { d.doc.moveRight(); }, false},
    {"flip horizontal", [](Doc &d) { d.doc.flipHorizontal(); }, false},
    {"flip vertical", [](Doc &d) { d.doc.flipVertical(); }, false},
    {"invert", [](Doc &d) { d.doc.invert(); }, false},
    {"text", [](Doc &d) { ASSERT_TRUE(d.doc.insertText({QStringLiteral("Hi")}, TextFont::Bold).ok); }, false},
    {"new", [](Doc &d) { d.doc.newDocument(); }, true},
    // A smaller NOL file: the size and the network code come back too.
    {"read", [](Doc &d) { ASSERT_TRUE(d.files.openFile(d.file(QStringLiteral("b.nol"), 16, 8, true))); }, true},
    {"foreign read",
     [](Doc &d) { ASSERT_TRUE(d.files.openFile(logotest::fixture(QStringLiteral("nlm/diagonal.nlm")))); }, true},
    {"import",
     [](Doc &d) { ASSERT_TRUE(d.files.importPicture(logotest::fixture(QStringLiteral("png/pattern.png")))); }, true},
};

} // namespace

TEST(History, EveryKindOfChangeUndoesAndRedoesAsOneStep)
{
    for (const Kind &k : kKinds) {
        SCOPED_TRACE(k.name);
        Doc d;
        const Doc::State before = d.state();
        const int steps = logo::undoStackOf(d.doc)->index();
        k.change(d);
        const Doc::State after = d.state();
        ASSERT_NE(after.grid, before.grid);
        EXPECT_EQ(logo::undoStackOf(d.doc)->index(), steps + 1);

        logo::undoStackOf(d.doc)->undo();
        Doc::State undone = before;
        if (k.renames) {
            undone.file = after.file;
            undone.title = after.title.endsWith(QStringLiteral("*]")) ? after.title
                                                                      : after.title.chopped(1) + QStringLiteral("*]");
        }
        EXPECT_EQ(d.state(), undone);
        EXPECT_EQ(d.doc.state(), k.renames ? LogoDocument::State::Modified : LogoDocument::State::Clean);

        logo::undoStackOf(d.doc)->redo();
        EXPECT_EQ(d.state(), after);

        // A new change after an undo drops what could have been redone.
        logo::undoStackOf(d.doc)->undo();
        d.doc.paintCell(40, 10, true);
        EXPECT_FALSE(logo::undoStackOf(d.doc)->canRedo());
        EXPECT_TRUE(d.doc.grid().isSet(40, 10));
    }
}

TEST(History, HoldsAHundredStepsAndTheTitleIsCleanExactlyAtTheSavedOne)
{
    Doc d;
    const LogoGrid start = d.doc.grid();
    const int steps = logo::undoStackOf(d.doc)->count();
    d.doc.paintCell(0, 0, true);   // already set: no step, no mark
    EXPECT_EQ(logo::undoStackOf(d.doc)->count(), steps);
    EXPECT_EQ(d.doc.state(), LogoDocument::State::Clean);

    for (int i = 1; i <= 120; ++i) {   // single clicks, a step each; saved after the 60th
        d.doc.paintCell(10 + i % 60, 6 + i / 60, true);
        if (i == 60) {
            ASSERT_EQ(d.files.writeLogoFile(d.doc.currentFile()), FileCommands::WriteResult::Written);
        }
    }
    for (int i = 120; i > 0; --i) {
        EXPECT_EQ(d.doc.state() == LogoDocument::State::Clean, i == 60) << i;
        logo::undoStackOf(d.doc)->undo();
    }
    EXPECT_EQ(d.doc.grid(), start);
}

// New, Open and Import after the save-changes question: an answered question
// starts the history afresh; without a question the load is a step.
TEST(History, LoadsClearItOnlyAfterAnAnsweredQuestion)
{
    const std::function<void(Doc &)> loads[] = {
        [](Doc &d) {
            if (d.files.askSaveChanges() == FileCommands::SaveAnswer::Proceed)
                d.doc.newDocument();
        },
        [](Doc &d) { d.files.openFileReceived(d.file(QStringLiteral("other.ngg"), 20, 5)); },
        [](Doc &d) {
            d.prompt.files = {logotest::fixture(QStringLiteral("png/pattern.png"))};
            d.files.importCommand();
        },
    };
    for (const Answer answer : {Answer::Ok /* not asked */, Answer::No, Answer::Yes /* saves first */})
        for (int n = 0; n < 3; ++n) {
            SCOPED_TRACE(testing::Message() << "answer " << int(answer) << ", load " << n);
            Doc d;
            const bool asked = answer != Answer::Ok;
            if (asked)
                d.doc.paintCell(50, 2, true);
            const LogoGrid before = d.doc.grid();
            d.prompt.answers = {answer};
            loads[n](d);
            EXPECT_EQ(d.prompt.count(ShownPrompt::Kind::Message), asked ? 1 : 0);
            ASSERT_NE(d.doc.grid(), before);
            EXPECT_EQ(logo::undoStackOf(d.doc)->canUndo(), !asked);
            if (!asked) {
                logo::undoStackOf(d.doc)->undo();
                EXPECT_EQ(d.doc.grid(), before);
            }
        }
}

// A closing window takes its run marks away before its document goes; the
// history emptying itself then must not write the title back.
TEST(History, ADocumentGoingAwayLeavesNoRunMarkBehind)
{
    Sandbox sb;
    ScriptedPrompt prompt;
    RunMarks marks(sb.settings(), QStringLiteral("Quillet Settings"));
    marks.setEnabled(true);
    {
        LogoDocument doc(ProgramProfile::quillet());
        // As a window wires them.
        QObject::connect(&doc, &LogoDocument::titleChanged, &marks, &RunMarks::showTitle);
        doc.invert();
        ASSERT_TRUE(sb.settings().contains(QStringLiteral("Quillet Settings"), QStringLiteral("CurrentAppname")));
        marks.remove();
    }
    EXPECT_FALSE(sb.settings().contains(QStringLiteral("Quillet Settings"), QStringLiteral("CurrentAppname")));
}

// ---------------------------------------------------------------- title

TEST(DocumentTitle, CleanAndModifiedMarks)
{
    logotest::QuilletDocument d;
    QSignalSpy spy(&d.doc, &LogoDocument::titleChanged);
    d.doc.setTitle(true);
    EXPECT_EQ(d.doc.title(), QStringLiteral("Quillet [Untitled]"));
    d.doc.paintCell(5, 5, true);
    EXPECT_EQ(d.doc.title(), QStringLiteral("Quillet [Untitled*]"));
    EXPECT_EQ(d.doc.state(), LogoDocument::State::Modified);
    EXPECT_EQ(spy.count(), 2);
    d.doc.paintCell(6, 5, true);   // already modified: the title is not set again
    EXPECT_EQ(spy.count(), 2);
    d.doc.paintCell(80, 5, true);  // outside: nothing
    EXPECT_EQ(d.doc.grid().setCount(), 2);

    d.doc.setCurrentFile(QStringLiteral("/home/someone/pictures/2026/friends/caller-groups/a.ngg"));
    d.doc.setTitle(true);
    EXPECT_EQ(d.doc.title(), QStringLiteral("Quillet [/ho...") +
                                 d.doc.currentFile().right(35) + QStringLiteral("]"));
}

TEST(DocumentTitle, EveryToolMarksModified)
{
    logotest::QuilletDocument d;
    using Tool = void (LogoDocument::*)();
    const Tool tools[] = {&LogoDocument::moveUp, &LogoDocument::moveDown, &LogoDocument::moveLeft,
                          &LogoDocument::moveRight, &LogoDocument::flipHorizontal,
                          &LogoDocument::flipVertical, &LogoDocument::invert};
    for (Tool t : tools) {
        d.doc.setTitle(true);
        QSignalSpy repaint(&d.doc, &LogoDocument::pictureChanged);
        (d.doc.*t)();
        EXPECT_EQ(d.doc.state(), LogoDocument::State::Modified);
        EXPECT_TRUE(d.doc.title().endsWith(QStringLiteral("*]")));
        EXPECT_EQ(repaint.count(), 1);
    }
}
