// logotool end to end: the real executable on real files.
#include "common/testsupport.h"
#include "graphic/logofile.h"
#include "graphic/textlogo.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace logo;
using logotest::Sandbox;
using logotest::ToolRun;

namespace {

ToolRun logotool(const QStringList &args, const QString &settingsFile = QString())
{
    QProcessEnvironment env;
    if (!settingsFile.isEmpty())
        env.insert(QStringLiteral("LOGO_SETTINGS_FILE"), settingsFile);
    return logotest::logotool(args, env);
}

QString writeLogo(Sandbox &sb, const QString &name, bool nol, int w, int h)
{
    LogoGrid g;
    g.setSize(w, h);
    g.setPixel(0, 0, true);
    g.setPixel(w - 1, h - 1, true);
    const QString p = sb.path(name);
    logotest::writeAll(p, buildLogoFile(g, nol, 262, 1, 60, QString(), QString()));
    return p;
}

} // namespace

TEST(LogotoolShow, PrintsSizeNetworkAndPixels)
{
    Sandbox sb;
    const ToolRun r = logotool({QStringLiteral("show"), writeLogo(sb, QStringLiteral("a.nol"), true, 8, 3)});
    EXPECT_EQ(r.code, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, QStringLiteral("size 8x3\nnetwork 262 01\n#.......\n........\n.......#\n"));

    const ToolRun g = logotool({QStringLiteral("show"), writeLogo(sb, QStringLiteral("b.ngg"), false, 72, 14)});
    EXPECT_EQ(g.code, 0);
    const QStringList lines = g.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 16);
    EXPECT_EQ(lines[0], QStringLiteral("size 72x14"));
    EXPECT_EQ(lines[1], QStringLiteral("network none"));
    EXPECT_EQ(lines[2], QStringLiteral("#") + QString(71, QLatin1Char('.')));
}

TEST(LogotoolShow, RefusedAndMissingFilesFail)
{
    Sandbox sb;
    const QString bad = sb.path(QStringLiteral("bad.ngg"));
    logotest::writeAll(bad, "not a logo at all");
    const ToolRun r = logotool({QStringLiteral("show"), bad});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Can't read this file. Try another file."))) << qPrintable(r.err);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_NE(logotool({QStringLiteral("show"), sb.path(QStringLiteral("none.ngg"))}).code, 0);
    EXPECT_NE(logotool({QStringLiteral("show")}).code, 0);
}

TEST(LogotoolConvert, WritesByNameAndNeedsANetworkForNol)
{
    Sandbox sb;
    const QString in = writeLogo(sb, QStringLiteral("in.ngg"), false, 72, 14);
    const QString nol = sb.path(QStringLiteral("out.nol"));
    ToolRun r = logotool({QStringLiteral("convert"), in, nol});
    EXPECT_NE(r.code, 0);
    EXPECT_FALSE(QFile::exists(nol));
    EXPECT_FALSE(r.err.isEmpty());

    r = logotool({QStringLiteral("convert"), in, nol, QStringLiteral("--mcc"), QStringLiteral("232"),
                  QStringLiteral("--mnc"), QStringLiteral("3")});
    EXPECT_EQ(r.code, 0) << qPrintable(r.err);
    LogoFileContent c;
    ASSERT_EQ(parseLogoFile(logotest::readAll(nol), c), LogoParse::Ok);
    EXPECT_TRUE(c.isNol);
    EXPECT_EQ(c.mcc, QStringLiteral("232"));
    EXPECT_EQ(c.mnc, QStringLiteral("03"));

    // NOL back to NGG keeps the pixels and drops the code.
    const QString ngg = sb.path(QStringLiteral("back.ngg"));
    r = logotool({QStringLiteral("convert"), nol, ngg});
    EXPECT_EQ(r.code, 0);
    ASSERT_EQ(parseLogoFile(logotest::readAll(ngg), c), LogoParse::Ok);
    EXPECT_FALSE(c.isNol);
    EXPECT_EQ(c.bits, logotest::readAll(in).mid(16, 1008));

    EXPECT_NE(logotool({QStringLiteral("convert"), in, sb.path(QStringLiteral("no/such/dir/x.ngg"))}).code, 0);
    EXPECT_NE(logotool({QStringLiteral("convert"), in, nol, QStringLiteral("--mcc"), QStringLiteral("2x2"),
                        QStringLiteral("--mnc"), QStringLiteral("1")}).code, 0);
}

TEST(LogotoolText, WritesTheDrawnTextOrSaysWhyNot)
{
    Sandbox sb;
    const QString nol = sb.path(QStringLiteral("club.nol"));
    ToolRun r = logotool({QStringLiteral("text"), QStringLiteral("FC Quillet"), QStringLiteral("go team!"), nol,
                          QStringLiteral("--mcc"), QStringLiteral("262"), QStringLiteral("--mnc"), QStringLiteral("1")});
    ASSERT_EQ(r.code, 0) << qPrintable(r.err);
    EXPECT_TRUE(r.out.contains(nol) && r.out.contains(QStringLiteral("bold"))) << qPrintable(r.out);
    LogoFileContent c;
    ASSERT_EQ(parseLogoFile(logotest::readAll(nol), c), LogoParse::Ok);
    EXPECT_TRUE(c.isNol);
    EXPECT_EQ(c.mcc, QStringLiteral("262"));
    const TextLogo expected = renderTextLogo({QStringLiteral("FC Quillet"), QStringLiteral("go team!")}, TextFont::Bold);
    EXPECT_EQ(c.bits, expected.grid.grid2bits());

    // Three lines don't fit the bold font: without --font the tiny one takes them;
    // a line that starts with "--" comes after "--".
    const QString ngg = sb.path(QStringLiteral("three.ngg"));
    r = logotool({QStringLiteral("text"), QStringLiteral("--"), QStringLiteral("--SALE--"), QStringLiteral("50% off"),
                  QStringLiteral("today"), ngg});
    EXPECT_EQ(r.code, 0) << qPrintable(r.err);
    EXPECT_TRUE(r.out.contains(QStringLiteral("tiny"))) << qPrintable(r.out);
    ASSERT_EQ(parseLogoFile(logotest::readAll(ngg), c), LogoParse::Ok);
    EXPECT_EQ(c.bits,
              renderTextLogo({QStringLiteral("--SALE--"), QStringLiteral("50% off"), QStringLiteral("today")},
                             TextFont::Tiny).grid.grid2bits());

    const QString refused = sb.path(QStringLiteral("long.ngg"));
    r = logotool({QStringLiteral("text"), QStringLiteral("Telecommunications company"), refused,
                  QStringLiteral("--font"), QStringLiteral("bold")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("columns"))) << qPrintable(r.err);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_FALSE(QFile::exists(refused));

    // A forgotten OUT: the last line is not taken for a file name.
    const QString lastLine = sb.path(QStringLiteral("World"));
    EXPECT_EQ(logotool({QStringLiteral("text"), QStringLiteral("Hello"), lastLine}).code, 2);
    EXPECT_FALSE(QFile::exists(lastLine));

    const ToolRun help = logotool({QStringLiteral("text"), QStringLiteral("--help")});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("usage: logotool text"))) << qPrintable(help.out);
}

TEST(LogotoolConvert, OnlyTheFileNameChoosesAndUnknownOutputsAreRefused)
{
    Sandbox sb;
    ASSERT_TRUE(QDir(sb.dir()).mkpath(QStringLiteral("my.nol.d")));
    const QString in = writeLogo(sb, QStringLiteral("in.ngg"), false, 72, 14);
    const QString inFolder = sb.path(QStringLiteral("my.nol.d/b.ngg"));
    ToolRun r = logotool({QStringLiteral("convert"), in, inFolder});
    EXPECT_EQ(r.code, 0) << qPrintable(r.err);
    EXPECT_EQ(logotest::readAll(inFolder).left(4), QByteArray("NGG\0", 4));

    for (const char *name : {"y.gif", "y.txt", "y", "y.otb"}) {
        const QString target = sb.path(QString::fromLatin1(name));
        r = logotool({QStringLiteral("convert"), in, target});
        EXPECT_NE(r.code, 0) << name;
        EXPECT_FALSE(QFile::exists(target)) << name;
        EXPECT_TRUE(r.err.contains(QStringLiteral(".ngg, .nol, .bmp and .png"))) << qPrintable(r.err);
    }

    // The names the windows save, as they save them: a ".nol" or ".ngg"
    // anywhere in the name, the last one deciding; ".bmp" and ".png" at the end.
    const std::pair<const char *, QByteArray> written[] = {
        {"picture.nol.bak", QByteArray("NOL\0", 4)},
        {"logo.nol.ngg", QByteArray("NGG\0", 4)},
        {"backup.ngg.old", QByteArray("NGG\0", 4)},
        {"shot.ngg.bmp", QByteArray("BM")},
    };
    for (const auto &[name, start] : written) {
        const QString target = sb.path(QString::fromLatin1(name));
        r = logotool({QStringLiteral("convert"), in, target, QStringLiteral("--mcc"), QStringLiteral("262"),
                      QStringLiteral("--mnc"), QStringLiteral("1")});
        EXPECT_EQ(r.code, 0) << name << qPrintable(r.err);
        EXPECT_EQ(logotest::readAll(target).left(start.size()), start) << name;
    }
}

TEST(LogotoolConvert, ABatchReportsEachFailureByNameAndConvertsTheRest)
{
    Sandbox sb;
    ASSERT_TRUE(QDir(sb.dir()).mkpath(QStringLiteral("out")));
    ASSERT_TRUE(QDir(sb.dir()).mkpath(QStringLiteral("more")));
    const QString a = writeLogo(sb, QStringLiteral("a.ngg"), false, 16, 8);
    const QString bad = sb.path(QStringLiteral("bad.otb"));
    logotest::writeAll(bad, "not an OTB file");
    const QString twin = writeLogo(sb, QStringLiteral("more/a.nol"), true, 72, 14);   // also gives a.nol
    const QString c = writeLogo(sb, QStringLiteral("c.nol"), true, 72, 14);
    const ToolRun r = logotool({QStringLiteral("convert"), a, bad, sb.path(QStringLiteral("gone.ngg")), twin, c,
                                QStringLiteral("--to"), QStringLiteral("nol"), QStringLiteral("--out-dir"),
                                sb.path(QStringLiteral("out")), QStringLiteral("--mcc"), QStringLiteral("232"),
                                QStringLiteral("--mnc"), QStringLiteral("3")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(bad + QStringLiteral(": Can't read this OTB file."))) << qPrintable(r.err);
    EXPECT_TRUE(r.err.contains(QStringLiteral("gone.ngg"))) << qPrintable(r.err);
    EXPECT_TRUE(r.err.contains(twin + QStringLiteral(": "))) << qPrintable(r.err);
    EXPECT_TRUE(r.err.contains(QStringLiteral("3 of 5 files not converted"))) << qPrintable(r.err);
    EXPECT_EQ(r.lines.size(), 2);

    // Each output is its input on its own: a's 16 x 8 size, c's 72 x 14.
    LogoFileContent got;
    ASSERT_EQ(parseLogoFile(logotest::readAll(sb.path(QStringLiteral("out/a.nol"))), got), LogoParse::Ok);
    EXPECT_EQ(got.width, 16);
    EXPECT_EQ(got.mcc, QStringLiteral("232"));
    ASSERT_EQ(parseLogoFile(logotest::readAll(sb.path(QStringLiteral("out/c.nol"))), got), LogoParse::Ok);
    EXPECT_EQ(got.width, 72);
    EXPECT_EQ(QDir(sb.path(QStringLiteral("out"))).entryList(QDir::Files).size(), 2);
}

TEST(LogotoolUsage, HelpAndUnknownCommands)
{
    const ToolRun help = logotool({QStringLiteral("--help")});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("usage: logotool")));
    EXPECT_TRUE(help.err.isEmpty()) << qPrintable(help.err);   // no toolkit warnings either
    const ToolRun none = logotool({});
    EXPECT_EQ(none.code, 2);
    EXPECT_TRUE(none.out.isEmpty());
    EXPECT_EQ(logotool({QStringLiteral("frobnicate")}).code, 2);
    const ToolRun convertHelp = logotool({QStringLiteral("convert"), QStringLiteral("--help")});
    EXPECT_EQ(convertHelp.code, 0);
    EXPECT_TRUE(convertHelp.out.contains(QStringLiteral("--out-dir"))) << qPrintable(convertHelp.out);
    for (const char *command : {"show", "convert", "text", "formats", "pdu", "send", "store", "ir-upload",
                                "operators", "upload-url", "upload-page", "serve"}) {
        const ToolRun r = logotool({QLatin1String(command), QStringLiteral("--help")});
        EXPECT_EQ(r.code, 0) << command;
        EXPECT_TRUE(r.out.startsWith(QStringLiteral("usage: logotool ") + QLatin1String(command))) << command;
    }
}

TEST(LogotoolUsage, AFlagNeverSwallowsTheNextWord)
{
    Sandbox sb;
    const QString in = writeLogo(sb, QStringLiteral("r.ngg"), false, 72, 14);
    const ToolRun r = logotool({QStringLiteral("pdu"), QStringLiteral("submit"), QStringLiteral("--report"), in,
                                QStringLiteral("--to"), QStringLiteral("4917012345678"), QStringLiteral("--smsc"),
                                QStringLiteral("491720000000")});
    EXPECT_EQ(r.code, 0) << qPrintable(r.err);
    ASSERT_EQ(r.lines.size(), 2);
    EXPECT_TRUE(r.lines[1].mid(16, 2) == QStringLiteral("71")) << qPrintable(r.lines[1]);
}

// Without a desktop session logotool makes a private runtime folder in the
// temporary folder; a name another user planted there (a link to a folder of
// theirs, a folder open to others) is neither used nor changed.
TEST(LogotoolRuntime, APlantedRuntimeFolderIsLeftAlone)
{
    logotest::Sandbox box;
    const QString tmp = box.path(QStringLiteral("tmp"));
    QDir().mkpath(tmp);
    const QString runtime = tmp + QStringLiteral("/runtime-") + QString::number(::getuid());
    const QString theirs = box.path(QStringLiteral("theirs"));
    QDir().mkpath(theirs);
    const auto open = QFileDevice::Permissions(0x7755);
    QFile::setPermissions(theirs, open);
    QProcessEnvironment env;
    env.insert(QStringLiteral("TMPDIR"), tmp);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString());

    EXPECT_EQ(logotest::logotool({QStringLiteral("--help")}, env).code, 0);
    EXPECT_EQ(QFileInfo(runtime).permissions() & 0x0077, 0);   // made private
    QDir(runtime).removeRecursively();

    QFile::link(theirs, runtime);
    const logotest::ToolRun r = logotest::logotool({QStringLiteral("--help")}, env);
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(QFileInfo(runtime).isSymLink());
    EXPECT_EQ(QFileInfo(theirs).permissions(), open);
    QFile::remove(runtime);

    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, open);
    logotest::logotool({QStringLiteral("--help")}, env);
    EXPECT_EQ(QFileInfo(runtime).permissions(), open);
}
