// logotool on pictures and foreign files: the same rules as the windows.
#include "common/testsupport.h"
#include "graphic/metafile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>

using logotest::fixture;
using logotest::Sandbox;
using logotest::logotool;
using logotest::ToolRun;

TEST(LogotoolFormats, ShowImportsPicturesAndReadsForeignFiles)
{
    // Top-left of the pattern: colours 0, 3, 6, 1, 4, 7, 2, 5 along row 0.
    for (const char *f : {"bmp/pattern_rle8.bmp", "rle/pattern.rle", "gif/pattern.gif", "i61/pattern.i61"}) {
        const ToolRun r = logotool({QStringLiteral("show"), fixture(QString::fromLatin1(f))});
        ASSERT_EQ(r.code, 0) << f;
        ASSERT_EQ(r.lines.size(), 16) << f;
        EXPECT_TRUE(r.lines[2].startsWith(QStringLiteral("#..#..#."))) << f << qPrintable(r.lines[2]);
    }
    Sandbox sb;
    logotest::writeAll(sb.path(QStringLiteral("x.otb")), QByteArray("\x02\x48\x0E\x01", 4) + QByteArray(126, '\0'));
    EXPECT_NE(logotool({QStringLiteral("show"), sb.path(QStringLiteral("x.otb"))}).code, 0);
}

TEST(LogotoolFormats, ConvertWritesTheExportedBitmap)
{
    Sandbox sb;
    const QString out = sb.path(QStringLiteral("out.BMP"));
    ASSERT_EQ(logotool({QStringLiteral("convert"), fixture(QStringLiteral("png/pattern.png")), out}).code, 0);
    QImage back(out, "BMP");
    ASSERT_EQ(back.size(), QSize(72, 14));
    EXPECT_EQ(back.pixel(0, 0) & 0xFFFFFF, 0u);
    EXPECT_EQ(back.pixel(1, 0) & 0xFFFFFF, 0x78BE6Eu);

    const ToolRun f = logotool({QStringLiteral("formats")});
    EXPECT_EQ(f.code, 0);
    EXPECT_TRUE(f.lines.join(QLatin1Char('\n')).contains(QStringLiteral(".rle")));
}

// ---------------------------------------------------------------- metafile module

namespace {

const QString kModuleFile = QStringLiteral("liblogometafile.so");

QProcessEnvironment environment(const char *name, const QString &value)
{
    QProcessEnvironment env;
    env.insert(QString::fromLatin1(name), value);
    return env;
}

} // namespace

TEST(MetafileModule, LoadedOnlyWhenAMetafileIsImported)
{
    if (!logo::canDrawWmf())
        GTEST_SKIP() << "built without libwmf";
    // The dynamic loader names every library it maps on stderr.
    const QProcessEnvironment trace = environment("LD_DEBUG", QStringLiteral("files"));
    const QStringList drawing = {kModuleFile, QStringLiteral("libwmf"), QStringLiteral("libemf2svg"),
                                 QStringLiteral("libQt6Svg")};
    Sandbox sb;
    const QString ngg = sb.path(QStringLiteral("logo.ngg"));
    ASSERT_EQ(logotool({QStringLiteral("convert"), fixture(QStringLiteral("png/pattern.png")), ngg}).code, 0);
    // (Not to a bitmap: writing any picture, Qt loads all its image plugins,
    // its own SVG one among them.)
    const ToolRun plain = logotool({QStringLiteral("convert"), ngg, sb.path(QStringLiteral("logo.nol")),
                                    QStringLiteral("--mcc"), QStringLiteral("262"), QStringLiteral("--mnc"),
                                    QStringLiteral("01")},
                                   trace);
    ASSERT_EQ(plain.code, 0) << qPrintable(plain.err.right(500));
    for (const QString &library : drawing)
        EXPECT_FALSE(plain.err.contains(library)) << qPrintable(library);

    const ToolRun metafile = logotool({QStringLiteral("show"), fixture(QStringLiteral("wmf/frame.wmf"))}, trace);
    ASSERT_EQ(metafile.code, 0) << qPrintable(metafile.err.right(500));
    for (const QString &library : drawing)
        EXPECT_TRUE(metafile.err.contains(library)) << qPrintable(library);
}

TEST(MetafileModule, FoundBesideTheProgramAboveItOrInItsLibraryFolderElseMetafilesDoNotImport)
{
    if (!logo::canDrawWmf())
        GTEST_SKIP() << "built without libwmf";
    const QString built = logotest::toolPath(QStringLiteral("logotool"));
    const QString module = logotest::toolPath(kModuleFile);
    const QStringList show = {QStringLiteral("show"), fixture(QStringLiteral("wmf/frame.wmf"))};
    // Where the program is and where its module is, inside a scratch folder.
    const struct { const char *program, *module; } layouts[] = {
        {"bin/logotool", "bin/"},
        {"build/tests/logotool", "build/"},
        {"usr/bin/logotool", "usr/lib/brisvane-quillet/"},
    };
    for (const auto &layout : layouts) {
        Sandbox sb;
        const QString program = sb.path(QString::fromLatin1(layout.program));
        const QString moduleDir = sb.path(QString::fromLatin1(layout.module));
        ASSERT_TRUE(QDir().mkpath(QFileInfo(program).path()) && QDir().mkpath(moduleDir));
        ASSERT_TRUE(QFile::copy(built, program));
        const ToolRun without = logotest::runTool(program, show);
        EXPECT_EQ(without.code, 1) << layout.program;
        EXPECT_TRUE(without.err.contains(QStringLiteral("can't read this file"))) << qPrintable(without.err);
        ASSERT_TRUE(QFile::copy(module, moduleDir + kModuleFile));
        const ToolRun with = logotest::runTool(program, show);
        EXPECT_EQ(with.code, 0) << layout.program << qPrintable(with.err);
    }
    // The environment variable names the one file to use.
    const QString nowhere = QStringLiteral("/nowhere/") + kModuleFile;
    EXPECT_EQ(logotool(show, environment("LOGO_METAFILE_MODULE", nowhere)).code, 1);
    EXPECT_EQ(logotool(show, environment("LOGO_METAFILE_MODULE", module)).code, 0);
}
