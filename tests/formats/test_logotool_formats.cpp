// logotool on pictures and foreign files: the same rules as the windows.
#include "common/testsupport.h"

#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>

using logotest::fixture;
using logotest::Sandbox;
using logotest::logotool;
using logotest::ToolRun;

namespace {


} // namespace

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
