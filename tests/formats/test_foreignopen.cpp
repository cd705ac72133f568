// Opening foreign files through the document: the dispatcher, the messages of
// every refusal (which change nothing), and what a successful read names.
#include "common/testsupport.h"
#include "common/documentsandbox.h"
#include "graphic/logodocument.h"
#include "graphic/logofile.h"
#include "graphic/pathutil.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace logo;
using logotest::Sandbox;

namespace {

QByteArray otbFile(int firstPixelRow = 0)
{
    QByteArray b("\x00\x48\x0E\x01", 4);
    QByteArray bits(126, '\0');
    bits[firstPixelRow * 9] = char(0x80); // pixel (0, row)
    return b + bits;
}

struct Doc {
    explicit Doc(const ProgramProfile &profile = ProgramProfile::quillet())
        : doc(profile), pieces(doc, prompt, sb.settings())
    {
        // A document with a history: a 16 x 8 NOL picture with a network code.
        LogoGrid g;
        g.setSize(16, 8);
        g.setPixel(3, 3, true);
        nol = sb.path(QStringLiteral("start.nol"));
        logotest::writeAll(nol, buildLogoFile(g, true, 262, 1, 50, QString(), QString()));
        EXPECT_TRUE(files.openFile(nol));
        prompt.clear();
    }
    QString file(const QString &name, const QByteArray &bytes)
    {
        const QString p = sb.path(name);
        logotest::writeAll(p, bytes);
        return p;
    }
    Sandbox sb;
    ScriptedPrompt prompt;
    LogoDocument doc;
    logotest::FilePieces pieces;
    FileCommands &files = pieces.files;
    RecentFiles &recent = pieces.recent;
    QString nol;
};

const QString kWbmpMessage =
    QStringLiteral("Can't read this WBMP file (yet).\r\nTry another file or check for new version of this software.");

} // namespace

TEST(ForeignOpen, RefusedFilesShowTheFormatsMessageAndChangeNothing)
{
    // An NGG file named x.otb is read as NGG: its header decides (see
    // DocumentNames.NamesSaveWritesOpenAgain); anything else is the name's.
    const QByteArray notNgg = QByteArray("NGG", 3) + QByteArray(60, '\x01');
    const struct { const char *name; QByteArray bytes; QString message; } cases[] = {
        {"x.otb", notNgg, QStringLiteral("Can't read this OTB file. Try another file.")}, // decided by name
        {"x.nlm", QByteArray("NLM \x01\x00\x00\x48\x0E\x00", 10), QStringLiteral("Can't read this NLM file. Try another file.")},
        {"x.nsl", QByteArray("FORM"), QStringLiteral("Can't read this NSL file. Try another file.")},
        {"x.ngl", QByteArray("NGL "), QStringLiteral("Can't read this NGL file. Try another file.")},
        {"x.otb.bak", otbFile().left(129), QStringLiteral("Can't read this OTB file. Try another file.")},
        {"x.wbmp", QByteArray("\x00\x00\x47\x0E", 4), kWbmpMessage},
    };
    for (const auto &c : cases) {
        Doc d;
        const LogoGrid before = d.doc.grid();
        const QString title = d.doc.title();
        EXPECT_FALSE(d.files.openFile(d.file(QString::fromLatin1(c.name), c.bytes))) << c.name;
        ASSERT_EQ(d.prompt.shown.size(), 1u) << c.name;
        EXPECT_EQ(d.prompt.shown[0].text, c.message) << c.name;
        EXPECT_EQ(d.prompt.shown[0].title, QStringLiteral("Quillet"));
        EXPECT_EQ(d.prompt.shown[0].icon, Icon::Exclamation);
        EXPECT_EQ(d.prompt.shown[0].buttons, Buttons::Ok);
        EXPECT_EQ(d.doc.grid(), before) << c.name;
        EXPECT_EQ(d.doc.currentMCC(), QStringLiteral("262"));
        EXPECT_EQ(d.doc.currentMNC(), QStringLiteral("01"));
        EXPECT_EQ(d.doc.currentFile(), d.nol);
        EXPECT_EQ(d.recent.files().value(0), d.nol);
        EXPECT_EQ(d.doc.title(), title);
    }
}

TEST(ForeignOpen, OtherNlmVersionBeepsBeforeItsMessage)
{
    Doc d;
    QByteArray v2 = QByteArray("NLM \x02\x00\x00\x48\x0E\x00", 10) + QByteArray(126, '\xFF');
    EXPECT_FALSE(d.files.openFile(d.file(QStringLiteral("v2.nlm"), v2)));
    ASSERT_EQ(d.prompt.shown.size(), 2u);
    EXPECT_EQ(d.prompt.shown[0].kind, ShownPrompt::Kind::Beep);
    EXPECT_EQ(d.prompt.shown[1].text, QStringLiteral("Can't read this NLM file. Try another file."));
}

TEST(ForeignOpen, UnreadableFileHasTheGeneralMessage)
{
    Doc d;
    EXPECT_FALSE(d.files.openFile(d.sb.path(QStringLiteral("missing.ngl"))));
    EXPECT_EQ(d.prompt.messages(), QStringList{QStringLiteral("Can't read this file. Try another file.")});
    ASSERT_TRUE(QDir().mkpath(d.sb.path(QStringLiteral("folder.nsl"))));
    EXPECT_FALSE(d.files.openFile(d.sb.path(QStringLiteral("folder.nsl"))));
    EXPECT_EQ(d.prompt.messages().size(), 2);
    EXPECT_EQ(d.doc.currentMCC(), QStringLiteral("262"));
}

TEST(ForeignOpen, QuilletNamesTheReadFileAsNggAtTheFullSize)
{
    Doc d;
    const QString path = d.file(QStringLiteral("B.OTB"), otbFile(2));
    ASSERT_TRUE(d.files.openFile(path));
    EXPECT_TRUE(d.prompt.shown.empty());
    EXPECT_EQ(d.doc.currentFile(), d.sb.path(QStringLiteral("B.ngg")));
    EXPECT_EQ(d.recent.files().value(0), path);
    EXPECT_EQ(d.recent.files().value(1), d.nol);
    EXPECT_TRUE(d.doc.currentMCC().isEmpty());
    EXPECT_TRUE(d.doc.currentMNC().isEmpty());
    EXPECT_EQ(d.doc.state(), LogoDocument::State::Clean);
    EXPECT_TRUE(d.doc.title().endsWith(QStringLiteral("B.ngg]")));
    EXPECT_EQ(d.doc.grid().width(), 72);   // not the 16 x 8 of the file read before
    EXPECT_EQ(d.doc.grid().height(), 14);
    EXPECT_TRUE(d.doc.grid().isSet(0, 2));
    EXPECT_FALSE(d.doc.grid().isSet(3, 3)); // the read starts from a cleared picture
}

TEST(ForeignOpen, BrisvaneCallsAForeignReadImported)
{
    Doc d(ProgramProfile::brisvane());
    const QString path = d.file(QStringLiteral("logo.otb"), otbFile());
    ASSERT_TRUE(d.files.openFile(path));
    EXPECT_EQ(d.doc.currentFile(), QStringLiteral("Imported"));
    EXPECT_EQ(d.recent.files().value(0), path);
    EXPECT_TRUE(d.doc.currentMCC().isEmpty());
}

TEST(ForeignOpen, I61IsImportedAsAPictureAndNamedLikeAForeignRead)
{
    Doc d;
    const QString path = logotest::fixture(QStringLiteral("i61/pattern.i61"));
    ASSERT_TRUE(d.files.openFile(path));
    EXPECT_TRUE(d.prompt.shown.empty());
    EXPECT_EQ(d.doc.currentFile(), stripExtension(path) + QStringLiteral(".ngg"));
    EXPECT_EQ(d.recent.files().value(0), path);
    EXPECT_EQ(d.doc.state(), LogoDocument::State::Clean);
    EXPECT_TRUE(d.doc.currentMCC().isEmpty());
    EXPECT_TRUE(d.doc.grid().isSet(0, 0));   // colour 0: black
    EXPECT_FALSE(d.doc.grid().isSet(1, 0));  // colour 3: (65, 0, 0)
    EXPECT_TRUE(d.doc.grid().isSet(3, 0));   // colour 1: (64, 64, 64)

    // Content decides, not the name: a GIF inside works too.
    ASSERT_TRUE(d.files.openFile(logotest::fixture(QStringLiteral("i61/gif_inside.I61"))));
    EXPECT_TRUE(d.doc.grid().isSet(3, 0));
}

TEST(ForeignOpen, DamagedI61EndsSilentlyAndChangesNothing)
{
    Doc d;
    const LogoGrid before = d.doc.grid();
    EXPECT_FALSE(d.files.openFile(logotest::fixture(QStringLiteral("i61/damaged.i61"))));
    EXPECT_FALSE(d.files.openFile(d.sb.path(QStringLiteral("missing.i61"))));
    EXPECT_TRUE(d.prompt.shown.empty());
    EXPECT_EQ(d.doc.grid(), before);
    EXPECT_EQ(d.doc.currentFile(), d.nol);
    EXPECT_EQ(d.doc.currentMCC(), QStringLiteral("262"));
}

TEST(ForeignOpen, FoldersWithDotsNeverChooseTheFormat)
{
    Doc d;
    ASSERT_TRUE(QDir().mkpath(d.sb.path(QStringLiteral("logos.otb"))));
    ASSERT_TRUE(QDir().mkpath(d.sb.path(QStringLiteral("my.nol.d"))));
    // A good NGG in a folder named like an OTB file opens as what it is.
    const QString ngg = d.file(QStringLiteral("logos.otb/good.ngg"),
                               buildLogoFile(LogoGrid(), false, 0, 0, 50, QString(), QString()));
    EXPECT_TRUE(d.files.openFile(ngg));
    EXPECT_TRUE(d.prompt.shown.empty());
    EXPECT_EQ(d.doc.currentFile(), ngg);

    // Saving into a folder named like a NOL file writes NGG, needing no network code.
    d.doc.paintCell(1, 1, true);
    const QString target = d.sb.path(QStringLiteral("my.nol.d/b.ngg"));
    EXPECT_EQ(d.files.writeLogoFile(target), FileCommands::WriteResult::Written);
    EXPECT_EQ(logotest::readAll(target).left(4), QByteArray("NGG\0", 4));
}
