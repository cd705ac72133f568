// logotool draw end to end: the real executable draws what the tools' code
// draws, and refuses bad operations without writing anything.
#include "common/testsupport.h"
#include "graphic/editing.h"
#include "graphic/logofile.h"
#include "graphic/shapes.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace logo;
using logotest::Sandbox;
using logotest::ToolRun;

namespace {

ToolRun logotool(const QStringList &args)
{
    return logotest::logotool(args, QProcessEnvironment());
}

QString readBits(const QString &path, LogoFileContent &c)
{
    EXPECT_EQ(parseLogoFile(logotest::readAll(path), c), LogoParse::Ok) << qPrintable(path);
    return c.bits;
}

} // namespace

TEST(LogotoolDraw, DrawsTheOperationsInOrderAndRefusesBadOnesWritingNothing)
{
    Sandbox sb;
    LogoGrid start;
    start.setPixel(5, 5, true);
    const QString in = sb.path(QStringLiteral("in.ngg"));
    logotest::writeAll(in, buildLogoFile(start, false, 0, 0, 60, QString(), QString()));

    // The same operations through the shared code.
    LogoGrid expected = start;
    drawShape(expected, Shape::Rectangle, {71, 13}, {0, 0}, true);
    drawShape(expected, Shape::FilledEllipse, {30, 3}, {41, 10}, true);
    drawShape(expected, Shape::Line, {2, 11}, {20, 2}, true);
    floodFill(expected, {5, 5}, false);
    flipHorizontal(expected);
    floodFill(expected, {60, 4}, true);

    const QString out = sb.path(QStringLiteral("out.ngg"));
    ToolRun r = logotool({QStringLiteral("draw"), in, out, QStringLiteral("rect"), QStringLiteral("71"),
                          QStringLiteral("13"), QStringLiteral("0"), QStringLiteral("0"),
                          QStringLiteral("fillellipse"), QStringLiteral("30"), QStringLiteral("3"),
                          QStringLiteral("41"), QStringLiteral("10"), QStringLiteral("line"), QStringLiteral("2"),
                          QStringLiteral("11"), QStringLiteral("20"), QStringLiteral("2"), QStringLiteral("white"),
                          QStringLiteral("fill"), QStringLiteral("5"), QStringLiteral("5"), QStringLiteral("fliph"),
                          QStringLiteral("black"), QStringLiteral("fill"), QStringLiteral("60"), QStringLiteral("4")});
    ASSERT_EQ(r.code, 0) << qPrintable(r.err);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("wrote ") + out)) << qPrintable(r.out);
    LogoFileContent c;
    EXPECT_EQ(readBits(out, c), expected.grid2bits());

    // A NOL file takes IN's network code or --mcc and --mnc, as convert does.
    const QString nol = sb.path(QStringLiteral("out.nol"));
    r = logotool({QStringLiteral("draw"), in, nol, QStringLiteral("invert")});
    EXPECT_EQ(r.code, 1);
    EXPECT_FALSE(QFile::exists(nol));
    r = logotool({QStringLiteral("draw"), in, nol, QStringLiteral("invert"), QStringLiteral("--mcc"),
                  QStringLiteral("262"), QStringLiteral("--mnc"), QStringLiteral("1")});
    ASSERT_EQ(r.code, 0) << qPrintable(r.err);
    LogoGrid inverted = start;
    invert(inverted);
    EXPECT_EQ(readBits(nol, c), inverted.grid2bits());
    EXPECT_EQ(c.mcc, QStringLiteral("262"));

    const struct {
        QStringList ops;
        int code;
        const char *said;
    } refused[] = {
        {{"line", "0", "0", "72", "3"}, 1, "X 72 is outside the 72 x 14 picture"},
        {{"clear", "fill", "3", "-1"}, 1, "fill 3 -1: Y -1 is outside"},
        {{"circle", "1", "1", "4", "4"}, 2, "unknown operation 'circle'"},
        {{"rect", "1", "1", "4"}, 2, "rect takes 4 whole numbers"},
        {{"fill", "2", "x"}, 2, "'x' is not a whole number"},
    };
    const QString none = sb.path(QStringLiteral("refused.ngg"));
    for (const auto &t : refused) {
        r = logotool(QStringList{QStringLiteral("draw"), in, none} + t.ops);
        EXPECT_EQ(r.code, t.code) << qPrintable(t.ops.join(' '));
        EXPECT_TRUE(r.err.contains(QLatin1String(t.said))) << qPrintable(r.err);
        EXPECT_TRUE(r.out.isEmpty()) << qPrintable(r.out);
        EXPECT_FALSE(QFile::exists(none));
    }
    // A forgotten OUT: the first operation is not taken for a file name.
    EXPECT_EQ(logotool({QStringLiteral("draw"), in, QStringLiteral("clear"), QStringLiteral("invert")}).code, 2);

    const ToolRun help = logotool({QStringLiteral("draw"), QStringLiteral("--help")});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("usage: logotool draw"))) << qPrintable(help.out);
}
