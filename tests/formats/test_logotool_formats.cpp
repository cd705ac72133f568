// logotool on pictures and foreign files: the same rules as the windows.
#include "common/testsupport.h"
#include "desktop/programmodule.h"
#include "picture/metafile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

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

TEST(LogotoolFormats, ConvertWritesPngsScaledAndWithThePhonesPixelShape)
{
    Sandbox sb;
    QProcessEnvironment settings;
    settings.insert(QStringLiteral("LOGO_SETTINGS_FILE"), sb.settingsFile());
    // The words after the input, "@" standing for the sandbox folder.
    auto convert = [&](const char *words) {
        const QStringList args = QString::fromLatin1(words).replace(QLatin1Char('@'), sb.dir()).split(QLatin1Char(' '));
        return logotool(QStringList{QStringLiteral("convert"), fixture(QStringLiteral("png/pattern.png"))} + args,
                        settings);
    };
    // The block of each pixel: plain (batch form), with the default 7:8
    // shape, with the shape of the setting.
    const struct {
        const char *words, *out, *aspect;
        QSize block;
    } cases[] = {
        {"--to png --out-dir @", "pattern.png", "", {1, 1}},
        {"@phone.png --aspect --scale 7", "phone.png", "", {7, 8}},
        {"@tall.bmp --scale 7 --aspect", "tall.bmp", "1:2", {7, 14}},
    };
    for (const auto &c : cases) {
        sb.settings().write(QStringLiteral("Settings"), QStringLiteral("PixelAspect"), QString::fromLatin1(c.aspect));
        sb.settings().sync();
        const ToolRun r = convert(c.words);
        ASSERT_EQ(r.code, 0) << c.words << qPrintable(r.err);
        const QImage back(sb.path(QString::fromLatin1(c.out)));
        ASSERT_EQ(back.size(), QSize(72 * c.block.width(), 14 * c.block.height())) << c.words;
        // The pattern's first pixels: (0, 0) dark, (1, 0) light.
        EXPECT_EQ(back.pixel(c.block.width() - 1, c.block.height() - 1) & 0xFFFFFF, 0u);
        EXPECT_EQ(back.pixel(c.block.width(), 0) & 0xFFFFFF, 0x78BE6Eu);
    }
    EXPECT_EQ(QImageReader(sb.path(QStringLiteral("phone.png"))).format(), "png");

    // Refused before anything is written.
    for (const char *refused : {"@huge.png --scale 65", "@word.png --scale two", "@file.ngg --scale 2"}) {
        const ToolRun r = convert(refused);
        EXPECT_EQ(r.code, 2) << refused;
        EXPECT_TRUE(r.err.contains(QStringLiteral("--scale"))) << qPrintable(r.err);
    }
    EXPECT_EQ(QDir(sb.dir()).entryList(QDir::Files).size(), 4) << "the settings and three pictures";
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

TEST(ToolModules, LoadedOnlyWhenACommandNeedsThem)
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
    // Nor the picture library (the phones' own files need Qt Core alone),
    // nor the serial port, which only the phone commands open.
    for (const char *library : {"liblogopicturemodule", "libQt6Gui", "libQt6SerialPort"})
        EXPECT_FALSE(plain.err.contains(QLatin1String(library))) << library;

    const ToolRun metafile = logotool({QStringLiteral("show"), fixture(QStringLiteral("wmf/frame.wmf"))}, trace);
    ASSERT_EQ(metafile.code, 0) << qPrintable(metafile.err.right(500));
    for (const QString &library : drawing)
        EXPECT_TRUE(metafile.err.contains(library)) << qPrintable(library);
}

TEST(MetafileModule, FoundBesideTheProgramOrInItsLibraryFolderNeverInAFolderOthersMayWrite)
{
    if (!logo::canDrawWmf())
        GTEST_SKIP() << "built without libwmf";
    const QString built = logotest::toolPath(QStringLiteral("logotool"));
    const QString module = logotest::toolPath(kModuleFile);
    const QStringList show = {QStringLiteral("show"), fixture(QStringLiteral("wmf/frame.wmf"))};
    // Where the program is and where its module is, inside a scratch folder.
    // The folder above the program is no place of the module: for a build
    // under /tmp it is a folder everyone may write.
    const struct { const char *program, *module; bool found; } layouts[] = {
        {"bin/logotool", "bin/", true},
        {"usr/bin/logotool", "usr/" LOGO_MODULE_DIR "/", true},
        {"build/tests/logotool", "build/", false},
    };
    for (const auto &layout : layouts) {
        Sandbox sb;
        const QString program = sb.path(QString::fromLatin1(layout.program));
        const QString moduleDir = sb.path(QString::fromLatin1(layout.module));
        ASSERT_TRUE(QDir().mkpath(QFileInfo(program).path()) && QDir().mkpath(moduleDir));
        ASSERT_TRUE(QFile::copy(built, program));
        // The tool reads pictures through its picture module, kept with the others.
        const QString pictures = QStringLiteral("liblogopicturemodule.so");
        ASSERT_TRUE(QFile::copy(logotest::toolPath(pictures), moduleDir + pictures));
        const ToolRun without = logotest::runTool(program, show);
        EXPECT_EQ(without.code, 1) << layout.program;
        EXPECT_TRUE(without.err.contains(QStringLiteral("can't read this file"))) << qPrintable(without.err);
        ASSERT_TRUE(QFile::copy(module, moduleDir + kModuleFile));
        const ToolRun with = logotest::runTool(program, show);
        EXPECT_EQ(with.code, layout.found ? 0 : 1) << layout.program << qPrintable(with.err);
    }
    // The environment variable names the one file to use.
    const QString nowhere = QStringLiteral("/nowhere/") + kModuleFile;
    EXPECT_EQ(logotool(show, environment("LOGO_METAFILE_MODULE", nowhere)).code, 1);
    EXPECT_EQ(logotool(show, environment("LOGO_METAFILE_MODULE", module)).code, 0);

    // Wherever it is found, a module that others may change, or that is in a
    // folder they may write to, is not loaded.
    Sandbox sb;
    const QString copy = sb.path(kModuleFile);
    ASSERT_TRUE(QFile::copy(module, copy));
    const QString folder = sb.dir();
    const auto mode = [](const QString &path, mode_t m) { return ::chmod(QFile::encodeName(path).constData(), m) == 0; };
    const QString link = sb.path(QStringLiteral("link/") + kModuleFile);
    ASSERT_TRUE(QDir().mkpath(sb.path(QStringLiteral("link"))) && QFile::link(copy, link));
    const struct { const char *what; QString path; mode_t file, dir; bool loads; } cases[] = {
        {"private", copy, 0755, 0700, true},
        {"through a private link", link, 0755, 0700, true},
        {"world-writable folder", copy, 0755, 01777, false},
        {"group-writable folder", copy, 0755, 0770, false},
        {"world-writable file", copy, 0777, 0700, false},
        {"link to a world-writable folder", link, 0755, 0777, false},
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(mode(copy, c.file) && mode(folder, c.dir));
        EXPECT_EQ(logotool(show, environment("LOGO_METAFILE_MODULE", c.path)).code, c.loads ? 0 : 1) << c.what;
        EXPECT_EQ(logo::isTrustedModuleFile(c.path), c.loads) << c.what;
    }
    ASSERT_TRUE(mode(folder, 0700) && mode(copy, 0755));
    if (::geteuid() == 0) {
        // Another user's module, as root sees it.
        ASSERT_EQ(::chown(QFile::encodeName(copy).constData(), 65534, 65534), 0);
        EXPECT_EQ(logotool(show, environment("LOGO_METAFILE_MODULE", copy)).code, 1) << "another user's file";
    }
}
