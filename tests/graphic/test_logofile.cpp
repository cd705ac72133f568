// NOL / NGG / NCG files: the exact bytes written and what the reader accepts.
#include "common/testsupport.h"
#include "common/documentsandbox.h"
#include "graphic/logodocument.h"
#include "graphic/logofile.h"
#include "graphic/pathutil.h"

#include <QDir>

#include <QFile>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace logo;
using logotest::Sandbox;

namespace {

QByteArray le(qint16 v)
{
    char b[2];
    qToLittleEndian<qint16>(v, b);
    return QByteArray(b, 2);
}

// A file as another tool writes it: no trailer, filler 0.
QByteArray foreignNgg(const QByteArray &magic, qint16 version, qint16 w, qint16 h, const QByteArray &pixels)
{
    return magic + QByteArray(1, '\0') + le(version) + le(w) + le(h) + le(1) + le(1) + le(0) + pixels;
}

QByteArray foreignNol(qint16 mcc, qint16 mnc, qint16 w, qint16 h, const QByteArray &pixels)
{
    return QByteArray("NOL\0", 4) + le(1) + le(mcc) + le(mnc) + le(w) + le(h) + le(1) + le(1) + le(0) + pixels;
}

struct DocFixture {
    Sandbox sb;
    ScriptedPrompt prompt;
    LogoDocument doc{ProgramProfile::quillet()};
    logotest::FilePieces pieces{doc, prompt, sb.settings()};
    FileCommands &files = pieces.files;
    RecentFiles &recent = pieces.recent;
};

} // namespace

TEST(LogoFileWriter, NggHeaderPixelsTrailer)
{
    LogoGrid g;
    g.setPixel(0, 0, true);
    g.setPixel(71, 13, true);
    const QByteArray b = buildLogoFile(g, false, 0, 0, 77, QStringLiteral(", credit"), QStringLiteral("me"));
    EXPECT_EQ(b.left(14), QByteArray::fromHex("4E4747000100480" "00E000100" "0100"));
    EXPECT_EQ(b.mid(14, 2), QByteArray::fromHex("4D00"));
    EXPECT_EQ(b.mid(16, 1008), g.grid2bits().toLatin1());
    EXPECT_EQ(b.mid(16 + 1008), QByteArray("Group-Graphic File, v1.0, credit, Made by me\r"));
}

TEST(LogoFileWriter, NolCarriesNetworkCode)
{
    LogoGrid g;
    const QByteArray b = buildLogoFile(g, true, 262, 1, 45, QString(), QString());
    EXPECT_EQ(b.left(20), QByteArray::fromHex("4E4F4C0001000601010048000E00010001002D00"));
    EXPECT_TRUE(b.endsWith(QByteArray("Operator-Logo File, v1.0, Made by \r")));
}

TEST(LogoFileWriter, FillerStaysInRange)
{
    for (int i = 0; i < 2000; ++i) {
        const int f = randomFiller();
        ASSERT_GE(f, 45);
        ASSERT_LE(f, 99);
    }
}

TEST(LogoFileReader, AcceptsOtherToolsFiles)
{
    QByteArray pixels(1008, '0');
    pixels[0] = '1';
    pixels[1007] = '1';
    pixels[5] = '2';   // anything but "1" is clear
    LogoFileContent c;
    ASSERT_EQ(parseLogoFile(foreignNgg("NGG", 1, 72, 14, pixels), c), LogoParse::Ok);
    EXPECT_EQ(c.width, 72);
    EXPECT_EQ(c.height, 14);
    EXPECT_FALSE(c.isNol);
    LogoGrid g;
    g.bits2grid(c.bits);
    EXPECT_TRUE(g.isSet(0, 0));
    EXPECT_TRUE(g.isSet(71, 13));
    EXPECT_FALSE(g.isSet(5, 0));

    ASSERT_EQ(parseLogoFile(foreignNgg("NCG", 1, 72, 14, pixels), c), LogoParse::Ok);
    ASSERT_EQ(parseLogoFile(foreignNol(1, 1, 72, 14, pixels), c), LogoParse::Ok);
    EXPECT_EQ(c.mcc, QStringLiteral("001"));
    EXPECT_EQ(c.mnc, QStringLiteral("01"));
    ASSERT_EQ(parseLogoFile(foreignNol(262, 12, 72, 14, pixels), c), LogoParse::Ok);
    EXPECT_EQ(c.mcc, QStringLiteral("262"));
    EXPECT_EQ(c.mnc, QStringLiteral("12"));
}

TEST(LogoFileReader, DimensionsAbsoluteAndLimited)
{
    LogoFileContent c;
    ASSERT_EQ(parseLogoFile(foreignNgg("NGG", 1, -20, 14, QByteArray(280, '1')), c), LogoParse::Ok);
    EXPECT_EQ(c.width, 20);
    EXPECT_EQ(c.bits.size(), 280);
    // Width 100 reads as 72 and consumes only 72 x height bytes.
    ASSERT_EQ(parseLogoFile(foreignNgg("NGG", 1, 100, 2, QByteArray(200, '1')), c), LogoParse::Ok);
    EXPECT_EQ(c.width, 72);
    EXPECT_EQ(c.bits.size(), 144);
    // Missing pixel bytes read as clear: the text is short, the grid clears the rest.
    ASSERT_EQ(parseLogoFile(foreignNgg("NGG", 1, 72, 14, QByteArray(10, '1')), c), LogoParse::Ok);
    EXPECT_EQ(c.bits.size(), 10);
}

TEST(LogoFileReader, RefusesWrongMagicVersionOrTruncatedHeader)
{
    LogoFileContent c;
    EXPECT_EQ(parseLogoFile(foreignNgg("NGG", 2, 72, 14, {}), c), LogoParse::Refused);
    EXPECT_EQ(parseLogoFile(foreignNgg("NGX", 1, 72, 14, {}), c), LogoParse::Refused);
    EXPECT_EQ(parseLogoFile(QByteArray("NGG1") + le(1) + le(72), c), LogoParse::Refused);
    EXPECT_EQ(parseLogoFile(QByteArray("NGG\0", 4) + le(1) + le(72), c), LogoParse::Refused);
    EXPECT_EQ(parseLogoFile(QByteArray(), c), LogoParse::Refused);
    EXPECT_EQ(parseLogoFile(foreignNol(262, 1, 72, 14, {}).left(18), c), LogoParse::Refused);
}

TEST(LogoDocumentFiles, ReadSetsEverythingTogether)
{
    DocFixture f;
    const QString path = f.sb.path(QStringLiteral("op.nol"));
    ASSERT_TRUE(logotest::writeAll(path, foreignNol(262, 1, 16, 8, QByteArray(128, '1'))));
    ASSERT_TRUE(f.files.readLogoFile(path));
    EXPECT_EQ(f.doc.currentMCC(), QStringLiteral("262"));
    EXPECT_EQ(f.doc.currentMNC(), QStringLiteral("01"));
    EXPECT_EQ(f.doc.grid().width(), 16);
    EXPECT_EQ(f.doc.grid().height(), 8);
    EXPECT_EQ(f.doc.currentFile(), path);
    EXPECT_EQ(f.recent.files().front(), path);
    EXPECT_EQ(f.doc.state(), LogoDocument::State::Clean);
    EXPECT_EQ(f.doc.grid().grid2hex(), QString(32, QLatin1Char('F')));
    // New starts a full-size picture, whatever the last file read had.
    f.doc.newDocument();
    EXPECT_EQ(f.doc.grid().width(), 72);
    EXPECT_EQ(f.doc.grid().height(), 14);
    EXPECT_TRUE(f.doc.currentMCC().isEmpty());
}

TEST(LogoDocumentFiles, RefusedFileChangesNothing)
{
    DocFixture f;
    f.doc.paintCell(3, 3, true);
    f.doc.setNetworkCode(QStringLiteral("262"), QStringLiteral("07"));
    const QString path = f.sb.path(QStringLiteral("bad.ngg"));
    ASSERT_TRUE(logotest::writeAll(path, foreignNgg("NGG", 2, 72, 14, QByteArray(1008, '1'))));
    EXPECT_FALSE(f.files.openFile(path));
    EXPECT_EQ(f.prompt.lastMessage(), QStringLiteral("Can't read this file. Try another file."));
    EXPECT_EQ(f.prompt.shown.back().icon, Icon::Exclamation);
    EXPECT_EQ(f.prompt.shown.back().title, QStringLiteral("Quillet"));
    EXPECT_EQ(f.doc.grid().setCount(), 1);
    EXPECT_EQ(f.doc.currentMCC(), QStringLiteral("262"));
    EXPECT_EQ(f.doc.currentFile(), QStringLiteral("Untitled"));
    // A missing file ends silently.
    f.prompt.clear();
    EXPECT_FALSE(f.files.openFile(f.sb.path(QStringLiteral("missing.ngg"))));
    EXPECT_TRUE(f.prompt.shown.empty());
}

TEST(LogoDocumentFiles, WriteThenReadBack)
{
    DocFixture f;
    f.doc.paintCell(0, 0, true);
    f.doc.paintCell(40, 7, true);
    const QString ngg = f.sb.path(QStringLiteral("a.ngg"));
    EXPECT_EQ(f.files.writeLogoFile(ngg), FileCommands::WriteResult::Written);
    const QByteArray bytes = logotest::readAll(ngg);
    EXPECT_EQ(bytes.left(4), QByteArray("NGG\0", 4));
    EXPECT_EQ(bytes.mid(16, 1008), f.doc.grid().grid2bits().toLatin1());
    EXPECT_TRUE(bytes.endsWith('\r'));
    EXPECT_EQ(f.doc.currentFile(), ngg);
    EXPECT_EQ(f.doc.title(), QStringLiteral("Quillet [") + logo::shortenPath(ngg, 38) + QStringLiteral("]"));

    // ".nol" anywhere in the name makes a NOL file, which needs a network code.
    const QString bak = f.sb.path(QStringLiteral("picture.nol.bak"));
    EXPECT_EQ(f.files.writeLogoFile(bak), FileCommands::WriteResult::NoNetworkCode);
    EXPECT_FALSE(QFile::exists(bak));
    f.doc.setNetworkCode(QStringLiteral("262"), QStringLiteral("01"));
    EXPECT_EQ(f.files.writeLogoFile(bak), FileCommands::WriteResult::Written);
    LogoFileContent c;
    ASSERT_EQ(parseLogoFile(logotest::readAll(bak), c), LogoParse::Ok);
    EXPECT_TRUE(c.isNol);
    EXPECT_EQ(c.mcc, QStringLiteral("262"));
    EXPECT_EQ(c.mnc, QStringLiteral("01"));
}

TEST(LogoDocumentFiles, FailedWriteLeavesOldFileIntact)
{
    DocFixture f;
    f.doc.paintCell(1, 1, true);
    const QString path = f.sb.path(QStringLiteral("keep.ngg"));
    const QByteArray old("old contents");
    ASSERT_TRUE(logotest::writeAll(path, old));
    {
        // The disk "fills up" after 200 bytes: the write fails half-way.
        logotest::FileSizeLimit limit(200);
        EXPECT_EQ(f.files.writeLogoFile(path), FileCommands::WriteResult::IoError);
    }
    EXPECT_EQ(logotest::readAll(path), old);
    EXPECT_EQ(f.doc.currentFile(), QStringLiteral("Untitled"));
    EXPECT_EQ(f.doc.state(), LogoDocument::State::Modified);
    // A name that is a folder fails the same way, without a message.
    EXPECT_EQ(f.files.writeLogoFile(f.sb.dir()), FileCommands::WriteResult::IoError);
    EXPECT_TRUE(f.prompt.shown.empty());
}

TEST(LogoDocumentFiles, EmptyPictureAsksBeforeWriting)
{
    DocFixture f;
    const QString path = f.sb.path(QStringLiteral("empty.ngg"));
    f.prompt.answers = {Answer::No};
    EXPECT_EQ(f.files.writeLogoFile(path), FileCommands::WriteResult::Declined);
    EXPECT_EQ(f.prompt.lastMessage(),
              QStringLiteral("The graphic is empty.\r\n\r\nDo you want to continue anyway?"));
    EXPECT_EQ(f.prompt.shown.back().icon, Icon::Question);
    EXPECT_EQ(f.prompt.shown.back().buttons, Buttons::YesNo);
    EXPECT_FALSE(QFile::exists(path));
    f.prompt.answers = {Answer::Yes};
    EXPECT_EQ(f.files.writeLogoFile(path), FileCommands::WriteResult::Written);
}
