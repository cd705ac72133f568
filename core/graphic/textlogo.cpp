#include "graphic/textlogo.h"

#include "graphic/pixelfonts.h"

namespace logo {

namespace {

const PixelFont &fontOf(TextFont font)
{
    return font == TextFont::Bold ? boldPixelFont() : tinyPixelFont();
}

bool isBlank(const QString &line)
{
    return line.trimmed().isEmpty();
}

// The character as a message shows it: itself in quotes, or its code when it
// can't be seen.
QString shown(char32_t ch)
{
    const QString text = QString::fromUcs4(&ch, 1);
    if (QChar::isPrint(ch) && !QChar::isSpace(ch))
        return QLatin1Char('"') + text + QLatin1Char('"');
    return QStringLiteral("U+%1").arg(uint(ch), 4, 16, QLatin1Char('0')).toUpper();
}

// The characters of a line the font doesn't have, each once, in order.
QList<char32_t> missingCharacters(const QString &line, const PixelFont &font)
{
    QList<char32_t> missing;
    for (char32_t ch : line.toUcs4())
        if (!font.glyph(ch) && !missing.contains(ch))
            missing << ch;
    return missing;
}

int columnsOf(const QList<uint> &chars, const PixelFont &font)
{
    int columns = 0;
    for (char32_t ch : chars)
        columns += font.glyph(ch)->width;
    return chars.isEmpty() ? 0 : columns + font.letterGap * int(chars.size() - 1);
}

// Sets the glyphs of one line with its top-left corner at (left, top).
void drawLine(LogoGrid &g, const QList<uint> &chars, const PixelFont &font, int left, int top)
{
    int x = left;
    for (char32_t ch : chars) {
        const PixelGlyph &glyph = *font.glyph(ch);
        for (int r = 0; r < font.height; ++r)
            for (int c = 0; c < glyph.width; ++c)
                if (glyph.isSet(c, r) && LogoGrid::inPlane(x + c, top + r))
                    g.setPixel(x + c, top + r, true);
        x += glyph.width + font.letterGap;
    }
}

// Moves the set pixels so that the rows they take are centred from top to
// bottom (an odd row left over goes below).
LogoGrid centredVertically(const LogoGrid &g)
{
    int first = -1, last = -1;
    for (int r = 0; r < LogoGrid::MaxHeight; ++r)
        for (int c = 0; c < LogoGrid::MaxWidth; ++c)
            if (g.isSet(c, r)) {
                if (first < 0)
                    first = r;
                last = r;
            }
    LogoGrid out;
    if (first < 0)
        return out;
    const int shift = (LogoGrid::MaxHeight - (last - first + 1)) / 2 - first;
    for (int r = first; r <= last; ++r)
        for (int c = 0; c < LogoGrid::MaxWidth; ++c)
            if (g.isSet(c, r))
                out.setPixel(c, r + shift, true);
    return out;
}

} // namespace

std::optional<TextFont> textFontByName(const QString &name)
{
    const QString n = name.toLower();
    if (n == QLatin1String("tiny"))
        return TextFont::Tiny;
    if (n == QLatin1String("bold"))
        return TextFont::Bold;
    return std::nullopt;
}

QString textFontName(TextFont font)
{
    return fontOf(font).name;
}

std::optional<int> textColumns(const QString &line, TextFont font)
{
    const PixelFont &f = fontOf(font);
    if (!missingCharacters(line, f).isEmpty())
        return std::nullopt;
    return columnsOf(line.toUcs4(), f);
}

TextLogo renderTextLogo(const QStringList &input, TextFont font)
{
    const PixelFont &f = fontOf(font);
    TextLogo result;
    result.font = font;

    qsizetype from = 0, to = input.size();
    while (from < to && isBlank(input[from]))
        ++from;
    while (to > from && isBlank(input[to - 1]))
        --to;
    const QStringList lines = input.mid(from, to - from);

    QStringList refusals;
    if (lines.isEmpty())
        refusals << QStringLiteral("There is no text to draw.");
    if (lines.size() > f.maxLines())
        refusals << QStringLiteral("The %1 font fits %2 lines; this text has %3.")
                        .arg(f.name).arg(f.maxLines()).arg(lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QList<char32_t> missing = missingCharacters(lines[i], f);
        if (!missing.isEmpty()) {
            QStringList names;
            for (char32_t ch : missing)
                names << shown(ch);
            refusals << QStringLiteral("Line %1: the %2 font has no %3.")
                            .arg(i + 1).arg(f.name, names.join(QStringLiteral(", ")));
            continue;
        }
        const int columns = columnsOf(lines[i].toUcs4(), f);
        if (columns > LogoGrid::MaxWidth)
            refusals << QStringLiteral("Line %1 needs %2 columns; the picture is %3 wide.")
                            .arg(i + 1).arg(columns).arg(LogoGrid::MaxWidth);
    }
    if (!refusals.isEmpty()) {
        result.refusal = refusals.join(QLatin1Char('\n'));
        return result;
    }

    LogoGrid block;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QList<uint> chars = lines[i].toUcs4();
        drawLine(block, chars, f, (LogoGrid::MaxWidth - columnsOf(chars, f)) / 2, int(i) * f.linePitch);
    }
    result.grid = centredVertically(block);
    result.ok = true;
    return result;
}

TextLogo renderTextLogoInBestFont(const QStringList &lines)
{
    TextLogo bold = renderTextLogo(lines, TextFont::Bold);
    return bold.ok ? bold : renderTextLogo(lines, TextFont::Tiny);
}

} // namespace logo
