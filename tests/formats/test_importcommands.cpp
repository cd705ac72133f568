// The Import and Export commands with their dialogs, questions and folders.
#include "common/documentsandbox.h"
#include "common/testsupport.h"
#include "graphic/logodocument.h"
#include "graphic/logofile.h"
#include "graphic/pathutil.h"
#include "picture/pictureimage.h"
#include "picture/pngfile.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

using namespace logo;
using logotest::fixture;
using logotest::Sandbox;

namespace {

struct Doc {
    explicit Doc(const ProgramProfile &profile = ProgramProfile::quillet())
        : doc(profile), pieces(doc, prompt, sb.settings())
    {
        doc.setNetworkCode(QStringLiteral("262"), QStringLiteral("01"));
        doc.grid().setPixel(70, 12, true);
    }
    Sandbox sb;
    ScriptedPrompt prompt;
    LogoDocument doc;
    logotest::FilePieces pieces;
    FileCommands &files = pieces.files;
    DialogFolders &folders = pieces.folders;
};

const QString kClassicFilter = QStringLiteral(
    "Pictures (*.bmp;*.gif;*.jpg;*.ico;*.rle;*.wmf;*.emf)|*.bmp;*.gif;*.jpg;*.ico;*.rle;*.wmf;*.emf");

} // namespace

TEST(ImportCommand, DialogOffersTheClassicFilterFirst)
{
    Doc d;
    d.folders.importFolder = QStringLiteral("/pics/");
    d.files.importCommand();
    ASSERT_EQ(d.prompt.count(ShownPrompt::Kind::OpenFile), 1);
    const FileRequest &req = d.prompt.shown.back().request;
    EXPECT_TRUE(req.filter.startsWith(kClassicFilter + QLatin1Char('|'))) << qPrintable(req.filter);
    EXPECT_TRUE(req.filter.contains(QStringLiteral("*.png")));
    EXPECT_EQ(req.filterIndex, 1);
    EXPECT_TRUE(req.fileName.isEmpty());
    EXPECT_EQ(req.initialDir, QStringLiteral("/pics/"));
}

TEST(ImportCommand, NetworkCodeIsEmptiedOnlyWhenTheImportSucceeds)
{
    Doc d;
    const LogoGrid before = d.doc.grid();
    d.files.importCommand(); // cancelled
    logotest::writeAll(d.sb.path(QStringLiteral("junk.gif")), QByteArray("GIF89a garbage"));
    d.prompt.files = {d.sb.path(QStringLiteral("junk.gif"))};
    d.files.importCommand(); // can't be loaded
    EXPECT_EQ(d.doc.currentMCC(), QStringLiteral("262"));
    EXPECT_EQ(d.doc.grid(), before);
    EXPECT_EQ(d.doc.currentFile(), QStringLiteral("Untitled"));
    EXPECT_FALSE(d.pieces.marks.isBusy());
    EXPECT_EQ(d.prompt.count(ShownPrompt::Kind::Message), 0);

    const QString photo = fixture(QStringLiteral("bmp/pattern24.bmp"));
    d.prompt.files = {photo};
    d.files.importCommand();
    EXPECT_TRUE(d.doc.currentMCC().isEmpty());
    EXPECT_TRUE(d.doc.currentMNC().isEmpty());
    EXPECT_EQ(d.folders.importFolder, folderOf(photo));
    EXPECT_EQ(d.doc.currentFile(), stripExtension(photo) + QStringLiteral(".ngg"));
    EXPECT_TRUE(d.doc.title().endsWith(QStringLiteral("*]")));
    EXPECT_EQ(d.doc.state(), LogoDocument::State::Modified);
    EXPECT_TRUE(d.doc.grid().isSet(0, 0));
    EXPECT_FALSE(d.doc.grid().isSet(70, 12)); // was set; light in the picture
}

TEST(ImportCommand, QuilletAsksToSaveFirstBrisvaneDoesNot)
{
    Doc q;
    q.doc.setTitle(false);
    q.prompt.answers = {Answer::Cancel};
    q.files.importCommand();
    EXPECT_EQ(q.prompt.count(ShownPrompt::Kind::OpenFile), 0);
    EXPECT_EQ(q.doc.currentMCC(), QStringLiteral("262"));

    Doc b(ProgramProfile::brisvane());
    b.doc.setTitle(false);
    b.prompt.files = {fixture(QStringLiteral("gif/pattern.gif"))};
    b.files.importCommand();
    EXPECT_EQ(b.prompt.count(ShownPrompt::Kind::Message), 0);
    EXPECT_EQ(b.doc.currentFile(), QStringLiteral("Imported"));
    EXPECT_TRUE(b.doc.currentMCC().isEmpty());
}

TEST(ExportCommand, WritesEachPixelAsABlockOfTheChosenSize)
{
    Doc d;
    d.doc.grid().setPixel(1, 0, true);
    d.prompt.files = {d.sb.path(QStringLiteral("big.png"))};
    d.files.exportCommand(QSize(3, 4));
    QImage back(d.sb.path(QStringLiteral("big.png")));
    ASSERT_EQ(back.size(), QSize(3 * 72, 4 * 14));
    EXPECT_EQ(back.pixel(3, 0) & 0xFFFFFF, 0u);
    EXPECT_EQ(back.pixel(5, 3) & 0xFFFFFF, 0u) << "the last pixel of the block";
    EXPECT_EQ(back.pixel(6, 0) & 0xFFFFFF, 0x78BE6Eu);
    EXPECT_EQ(back.pixel(3, 4) & 0xFFFFFF, 0x78BE6Eu);
}

TEST(ExportCommand, WritesTheGridBlackOnGreenAndReadsBack)
{
    Doc d;
    d.doc.grid().setSize(16, 8);
    d.doc.grid().setPixel(0, 0, true);
    d.doc.grid().setPixel(15, 7, true); // the (70, 12) cell lies outside the dimensions
    d.doc.setCurrentFile(QStringLiteral("/logos/B.ngg"));
    d.folders.exportFolder = QStringLiteral("/out/");
    const QString target = d.sb.path(QStringLiteral("logo.bmp")); // the first filter's extension added
    d.prompt.files = {d.sb.path(QStringLiteral("logo"))};
    d.files.exportCommand();
    ASSERT_EQ(d.prompt.count(ShownPrompt::Kind::SaveFile), 1);
    const FileRequest &req = d.prompt.shown.back().request;
    EXPECT_EQ(req.filter, QStringLiteral("Bitmap (*.bmp)|*.bmp|PNG picture (*.png)|*.png"));
    EXPECT_EQ(req.fileName, QStringLiteral("B.bmp"));
    EXPECT_EQ(req.initialDir, QStringLiteral("/out/"));
    EXPECT_TRUE(req.defaultExt.isEmpty());
    EXPECT_EQ(d.folders.exportFolder, d.sb.dir());

    const QByteArray bytes = logotest::readAll(target);
    ASSERT_TRUE(bytes.startsWith("BM"));
    QImage back;
    ASSERT_TRUE(back.loadFromData(bytes, "BMP"));
    ASSERT_EQ(back.size(), QSize(72, 14));
    for (int r = 0; r < 14; ++r)
        for (int c = 0; c < 72; ++c) {
            const bool set = (c == 0 && r == 0) || (c == 15 && r == 7);
            ASSERT_EQ(back.pixel(c, r) & 0xFFFFFF, set ? 0u : 0x78BE6Eu) << c << "," << r;
        }
    // The exported file imports back to the same picture.
    LogoGrid g;
    g.setSize(16, 8);
    ASSERT_TRUE(convertPicture(target, g));
    EXPECT_EQ(g.grid2bits(), d.doc.grid().grid2bits());
}

TEST(ExportCommand, EmptyPictureAsksAndUntitledProposesNoName)
{
    Doc d;
    d.doc.grid().clearPlane();
    d.prompt.answers = {Answer::No};
    d.files.exportCommand();
    EXPECT_EQ(d.prompt.lastMessage(), QStringLiteral("The graphic is empty.\r\n\r\nDo you want to continue anyway?"));
    EXPECT_EQ(d.prompt.count(ShownPrompt::Kind::SaveFile), 0);

    d.prompt.answers = {Answer::Yes};
    d.files.exportCommand(); // cancelled in the dialog
    ASSERT_EQ(d.prompt.count(ShownPrompt::Kind::SaveFile), 1);
    EXPECT_TRUE(d.prompt.shown.back().request.fileName.isEmpty());
    EXPECT_FALSE(d.pieces.marks.isBusy());
    EXPECT_FALSE(d.files.exportPicture(d.sb.path(QStringLiteral("no/such/folder/x.bmp"))));
}

TEST(ExportCommand, APngNameWritesPngAndScaledPixelsAreWholeBlocks)
{
    // Each pixel N wide; N high, or N x 8 / 7 rounded with the phone's shape.
    EXPECT_EQ(exportPixelSize(4, {7, 8}), QSize(4, 5));
    EXPECT_EQ(exportPixelSize(64, {7, 8}), QSize(64, 73));
    EXPECT_EQ(exportPixelSize(500, {}), QSize(64, 64));

    Doc d;
    d.doc.grid().setPixel(0, 0, true);
    d.doc.grid().setPixel(71, 13, true);
    for (const QSize block : {QSize(1, 1), QSize(4, 5)}) {
        const QString target = d.sb.path(QStringLiteral("logo%1.PNG").arg(block.width()));
        if (block.width() == 1) {   // through the Export command
            d.prompt.files = {target};
            d.files.exportCommand();
        } else {
            ASSERT_TRUE(d.files.exportPicture(target, block));
        }
        ASSERT_TRUE(logotest::readAll(target).startsWith("\x89PNG"));
        const QImage back(target, "PNG");
        ASSERT_EQ(back.size(), QSize(72 * block.width(), 14 * block.height()));
        for (int y = 0; y < back.height(); ++y)
            for (int x = 0; x < back.width(); ++x)
                ASSERT_EQ(back.pixel(x, y) & 0xFFFFFF,
                          d.doc.grid().isSet(x / block.width(), y / block.height()) ? 0u : 0x78BE6Eu)
                    << x << "," << y;
    }
}

// Our PNGs are written without Qt's image plugins or its thread pool, and are
// byte for byte the files Qt's own writer gives: opaque and translucent, with
// a resolution, as large as a window.
TEST(ExportCommand, PngBytesAreQtsOwn)
{
    QImage translucent(9, 5, QImage::Format_ARGB32_Premultiplied);
    translucent.fill(qRgba(40, 80, 120, 128));
    translucent.setPixel(3, 2, qRgba(0, 0, 0, 0));
    for (const QImage &image : {exportImage(LogoGrid(), QSize(2, 3)), translucent, exportImage(LogoGrid(), QSize(8, 30))}) {
        QByteArray ours;
        EXPECT_LE(logotest::threadsStartedBy([&] { ours = encodePng(image); }), 0);
        QByteArray qts;
        QBuffer buffer(&qts);
        ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG"));
        EXPECT_EQ(ours, qts) << image.format();
    }
}

TEST(ImportExportFolders, PersistAcrossARestart)
{
    Doc d;
    d.prompt.files = {fixture(QStringLiteral("png/pattern.png")), d.sb.path(QStringLiteral("out.bmp"))};
    d.files.importCommand();
    d.files.exportCommand();
    d.folders.save(d.sb.settings(), ProgramProfile::quillet());
    d.sb.restartSettings();
    DialogFolders again;
    again.load(d.sb.settings(), ProgramProfile::quillet());
    EXPECT_EQ(again.importFolder, folderOf(fixture(QStringLiteral("png/pattern.png"))));
    EXPECT_EQ(again.exportFolder, d.sb.dir());
}
