// Text logos: the two pixel fonts and the lines laid out in the picture.
#include "graphic/pixelfonts.h"
#include "graphic/textlogo.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

using namespace logo;

namespace {

const QString kLetters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
const QString kDigits = QStringLiteral("0123456789");
const QString kPunctuation = QStringLiteral(".,:;!?'\"-+=/()&*%_#@");

const PixelFont &fontOf(TextFont f)
{
    return f == TextFont::Bold ? boldPixelFont() : tinyPixelFont();
}

// The rows of a glyph holding a set pixel, and whether its first and last
// columns do.
struct Ink {
    int top = -1, bottom = -1;
    bool firstColumn = false, lastColumn = false;
};

Ink inkOf(const PixelGlyph &g, int height)
{
    Ink ink;
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < g.width; ++c)
            if (g.isSet(c, r)) {
                ink.top = ink.top < 0 ? r : ink.top;
                ink.bottom = r;
                ink.firstColumn |= c == 0;
                ink.lastColumn |= c == g.width - 1;
            }
    return ink;
}

// Pictures to look at: set cells black on the display green, enlarged ten times.
QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(120, 190, 110));
    return image;
}

void saveEnlarged(const QImage &image, const QString &path)
{
    image.scaled(image.size() * 10).save(path);
}

QImage fontSheet(const PixelFont &font, const QString &chars)
{
    constexpr int perRow = 12, pitch = 9;
    QImage sheet = canvas(perRow * pitch, int(chars.size() + perRow - 1) / perRow * (font.height + 2));
    for (qsizetype i = 0; i < chars.size(); ++i) {
        const PixelGlyph &g = *font.glyph(chars[i].unicode());
        const int left = int(i % perRow) * pitch + 1, top = int(i / perRow) * (font.height + 2) + 1;
        for (int r = 0; r < font.height; ++r)
            for (int c = 0; c < g.width; ++c)
                if (g.isSet(c, r))
                    sheet.setPixel(left + c, top + r, qRgb(0, 0, 0));
    }
    return sheet;
}

QImage logoImage(const LogoGrid &g)
{
    QImage image = canvas(LogoGrid::MaxWidth, LogoGrid::MaxHeight);
    for (int r = 0; r < LogoGrid::MaxHeight; ++r)
        for (int c = 0; c < LogoGrid::MaxWidth; ++c)
            if (g.isSet(c, r))
                image.setPixel(c, r, qRgb(0, 0, 0));
    return image;
}

} // namespace

// The layout relies on these: every glyph's ink spans its whole width (so a
// line's columns are its ink), capitals and digits stand on the baseline and
// reach the top, and every character a user is promised is there.
TEST(TextLogoFonts, TablesAreSoundAndComplete)
{
    for (TextFont f : {TextFont::Tiny, TextFont::Bold}) {
        const PixelFont &font = fontOf(f);
        SCOPED_TRACE(qPrintable(font.name));
        EXPECT_TRUE(font.tableFaults.isEmpty()) << qPrintable(font.tableFaults.join(QLatin1Char('\n')));
        for (QChar ch : kLetters + kDigits + kPunctuation) {
            const PixelGlyph *g = font.glyph(ch.unicode());
            ASSERT_NE(g, nullptr) << "missing " << ch.toLatin1();
            const Ink ink = inkOf(*g, font.height);
            EXPECT_TRUE(ink.firstColumn && ink.lastColumn) << "blank edge column in " << ch.toLatin1();
            if (ch.isUpper() || ch.isDigit()) {
                EXPECT_TRUE(ink.top == 0 && ink.bottom == font.baseline) << ch.toLatin1();
            } else if (ch.isLower()) {
                EXPECT_GE(ink.bottom, font.baseline) << ch.toLatin1();
            }
        }
        const PixelGlyph *space = font.glyph(U' ');
        ASSERT_NE(space, nullptr);
        EXPECT_EQ(inkOf(*space, font.height).top, -1);
    }
    EXPECT_EQ(tinyPixelFont().maxLines(), 3);
    EXPECT_EQ(boldPixelFont().maxLines(), 2);

    // LOGO_FONT_SHEET=folder writes the fonts and a few logos as pictures to look at.
    const QString dir = qEnvironmentVariable("LOGO_FONT_SHEET");
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        const QString order = kLetters + kDigits + kPunctuation;
        saveEnlarged(fontSheet(tinyPixelFont(), order), dir + QStringLiteral("/tiny.png"));
        saveEnlarged(fontSheet(boldPixelFont(), order), dir + QStringLiteral("/bold.png"));
        const std::pair<QStringList, TextFont> samples[] = {
            {{QStringLiteral("Northwind"), QStringLiteral("go team!")}, TextFont::Bold},
            {{QStringLiteral("The quick brown fox"), QStringLiteral("jumps over the lazy"),
              QStringLiteral("dog. 0123456789?")},
             TextFont::Tiny},
        };
        for (const auto &[lines, f] : samples)
            saveEnlarged(logoImage(renderTextLogo(lines, f).grid),
                         dir + QStringLiteral("/sample-%1.png").arg(textFontName(f)));
    }
}

namespace {

struct Box {
    int left = LogoGrid::MaxWidth, right = -1, top = LogoGrid::MaxHeight, bottom = -1;
};

Box boxOf(const LogoGrid &g)
{
    Box b;
    for (int r = 0; r < LogoGrid::MaxHeight; ++r)
        for (int c = 0; c < LogoGrid::MaxWidth; ++c)
            if (g.isSet(c, r)) {
                b.left = std::min(b.left, c);
                b.right = std::max(b.right, c);
                b.top = std::min(b.top, r);
                b.bottom = std::max(b.bottom, r);
            }
    return b;
}

// Compares the picture with the glyphs of a line drawn from (left, top), one
// blank column between them; returns the pixels that differ, set ones counted.
int differencesFromLine(const LogoGrid &g, const QString &line, const PixelFont &font, int left, int top,
                        int *inkCount)
{
    int differences = 0, x = left;
    for (QChar ch : line) {
        const PixelGlyph &glyph = *font.glyph(ch.unicode());
        for (int r = 0; r < font.height; ++r)
            for (int c = 0; c < glyph.width; ++c) {
                *inkCount += glyph.isSet(c, r);
                differences += g.isSet(x + c, top + r) != glyph.isSet(c, r);
            }
        x += glyph.width + 1;
    }
    return differences;
}

int widthOf(const QString &line, const PixelFont &font)
{
    int columns = -1;
    for (QChar ch : line)
        columns += font.glyph(ch.unicode())->width + 1;
    return columns;
}

} // namespace

TEST(TextLogo, AWordIsItsGlyphsCentredInThePicture)
{
    // "Logo": a capital and small letters with and without a descender.
    const QString word = QStringLiteral("Logo");
    for (TextFont f : {TextFont::Tiny, TextFont::Bold}) {
        const PixelFont &font = fontOf(f);
        SCOPED_TRACE(qPrintable(font.name));
        const TextLogo logo = renderTextLogo({word}, f);
        ASSERT_TRUE(logo.ok) << qPrintable(logo.refusal);
        EXPECT_EQ(logo.grid.width(), 72);
        EXPECT_EQ(logo.grid.height(), 14);

        const int columns = widthOf(word, font);
        EXPECT_EQ(textColumns(word, f), columns);
        const Box box = boxOf(logo.grid);
        EXPECT_EQ(box.right - box.left + 1, columns);
        EXPECT_EQ(box.left, (72 - columns) / 2);
        const int above = box.top, below = 13 - box.bottom;
        EXPECT_TRUE(above == below || above + 1 == below) << above << " above, " << below << " below";

        // "L" reaches the top row of the cell, so the cell starts at the box.
        int ink = 0;
        EXPECT_EQ(differencesFromLine(logo.grid, word, font, box.left, box.top, &ink), 0);
        EXPECT_EQ(logo.grid.setCount(), ink);
    }
}

TEST(TextLogo, LinesKeepTheirPitchAndOnlyOuterEmptyLinesVanish)
{
    const PixelFont &tiny = tinyPixelFont();
    const QStringList three{QStringLiteral("ABC"), QStringLiteral("DEF"), QStringLiteral("GHI")};
    const TextLogo logo = renderTextLogo(three, TextFont::Tiny);
    ASSERT_TRUE(logo.ok) << qPrintable(logo.refusal);
    const Box box = boxOf(logo.grid);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.bottom, 13);   // three lines of four rows and two blank rows fill the height
    int ink = 0;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(differencesFromLine(logo.grid, three[i], tiny, (72 - widthOf(three[i], tiny)) / 2, 5 * i, &ink), 0)
            << "line " << i + 1;
    EXPECT_EQ(logo.grid.setCount(), ink);

    // Empty lines around the text are what a form with three boxes passes.
    const TextLogo padded = renderTextLogo({QString(), QStringLiteral("ABC"), QStringLiteral("  ")}, TextFont::Bold);
    ASSERT_TRUE(padded.ok) << qPrintable(padded.refusal);
    EXPECT_EQ(padded.grid, renderTextLogo({QStringLiteral("ABC")}, TextFont::Bold).grid);

    // An empty line between two lines keeps its room.
    const TextLogo gap = renderTextLogo({QStringLiteral("AB"), QString(), QStringLiteral("CD")}, TextFont::Tiny);
    ASSERT_TRUE(gap.ok) << qPrintable(gap.refusal);
    ink = 0;
    EXPECT_EQ(differencesFromLine(gap.grid, QStringLiteral("CD"), tiny, (72 - widthOf(QStringLiteral("CD"), tiny)) / 2,
                                  10, &ink), 0);
}

TEST(TextLogo, RefusesWhatDoesNotFitAndSaysWhy)
{
    const QString ms(14, QLatin1Char('M'));
    const int msColumns = 14 * tinyPixelFont().glyph(U'M')->width + 13;
    ASSERT_GT(msColumns, 72);
    const struct {
        QStringList lines;
        TextFont font;
        QStringList said;
    } cases[] = {
        {{QStringLiteral("ONE"), QStringLiteral("TWO"), QStringLiteral("SIX")}, TextFont::Bold, {QStringLiteral("fits 2 lines")}},
        {{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}, TextFont::Tiny,
         {QStringLiteral("fits 3 lines")}},
        {{QStringLiteral("ok"), ms}, TextFont::Tiny,
         {QStringLiteral("Line 2 needs %1 columns").arg(msColumns), QStringLiteral("72")}},
        {{QStringLiteral("Grüße")}, TextFont::Bold, {QStringLiteral("\"ü\""), QStringLiteral("\"ß\"")}},
        {{QStringLiteral("A\tB")}, TextFont::Tiny, {QStringLiteral("U+0009")}},
        {{QStringLiteral("smile ") + QString::fromUcs4(U"\U0001F600")}, TextFont::Tiny,
         {QString::fromUcs4(U"\"\U0001F600\"")}},
        {{QString(), QStringLiteral("   ")}, TextFont::Tiny, {QStringLiteral("no text")}},
        {{}, TextFont::Bold, {QStringLiteral("no text")}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(qPrintable(c.lines.join(QLatin1Char('/'))));
        const TextLogo logo = renderTextLogo(c.lines, c.font);
        EXPECT_FALSE(logo.ok);
        for (const QString &part : c.said)
            EXPECT_TRUE(logo.refusal.contains(part)) << qPrintable(logo.refusal);
    }
}
