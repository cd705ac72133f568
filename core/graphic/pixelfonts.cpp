// The glyph tables of the two text-logo fonts, drawn by hand pixel by pixel.
//
// A table is a series of sheets. A sheet's first text names its characters,
// separated by spaces; the next texts (one per row of the font's cell) hold
// the glyphs side by side in the same order, each a run of '#' (set) and '.'
// (clear), separated by spaces. A glyph is as wide as its run.
#include "graphic/pixelfonts.h"

#include <QList>

namespace logo {

namespace {

// 4 rows. Capitals and digits use all four; small letters rows 1 to 3.
const char *const kTiny[] = {
    "A   B   C   D   E   F   G   H   I   J   K   L   M     N    O",
    ".#. ##. .## ##. ### ### .## #.# ### ..# #.# #.. #...# #..# .##.",
    "#.# ### #.. #.# ##. #.. #.. ### .#. ..# ##. #.. ##.## ##.# #..#",
    "### #.# #.. #.# #.. ##. #.# #.# .#. #.# #.# #.. #.#.# #.## #..#",
    "#.# ### .## ##. ### #.. .## #.# ### .#. #.# ### #...# #..# .##.",

    "P   Q    R   S   T   U   V   W     X   Y   Z",
    "### .##. ##. .## ### #.# #.# #...# #.# #.# ###",
    "#.# #..# #.# ##. .#. #.# #.# #.#.# .#. #.# .##",
    "### #.#. ##. ..# .#. #.# #.# #.#.# #.# .#. #..",
    "#.. .#.# #.# ##. .#. ### .#. .#.#. #.# .#. ###",

    "a   b   c   d   e   f   g   h   i j  k   l m     n   o",
    "... #.. ... ..# ... .## .## #.. # .# #.. # ..... ... ...",
    ".## ##. .## .## ### .#. #.# ##. . .. #.# # ####. ##. ###",
    "#.# #.# #.. #.# ##. ### .## #.# # .# ##. # #.#.# #.# #.#",
    ".## ##. .## .## ### .#. ### #.# # ## #.# # #.#.# #.# ###",

    "p   q   r   s   t   u   v   w     x   y   z",
    "##. .## ... ... .#. ... ... ..... ... #.# ...",
    "#.# #.# .## .## ### #.# #.# #...# #.# #.# ##.",
    "##. .## #.. .#. .#. #.# #.# #.#.# .#. .## .#.",
    "#.. ..# #.. ##. .## .## .#. .#.#. #.# ##. .##",

    "0   1   2   3   4   5   6   7   8   9",
    "### .#. ##. ### #.# ### #.. ### .#. ###",
    "#.# ##. ..# .## #.# ##. ### ..# ### #.#",
    "#.# .#. .#. ..# ### ..# #.# .#. #.# ###",
    "### ### ### ### ..# ##. ### .#. ### ..#",

    ". , : ; ! ?   ' \" - + = /   ( ) & * % _ # @",
    ". . . .. # ### # #.# ... ... ... ..# .# #. .#.. #.# #..# ... .#.# .###",
    ". . # .# # .## # #.# ... .#. ### .#. #. .# #.#. .#. ..#. ... #### #.##",
    ". # . .. . ... . ... ### ### ... .#. #. .# .#.# #.# .#.. ... .#.# #.##",
    "# # # #. # .#. . ... ... .#. ### #.. .# #. #.#. ... #..# ### #### .##.",
};

// 7 rows. Capitals and digits use rows 0 to 5, small letters rows 2 to 5 with
// ascenders from row 0; row 6 is for descenders.
const char *const kBold[] = {
    "A     B     C     D     E     F     G     H     I    J     K      L",
    ".###. ####. .#### ####. ##### ##### .#### ##.## #### ...## ##..## ##...",
    "##.## ##.## ##... ##.## ##... ##... ##... ##.## .##. ...## ##.##. ##...",
    "##.## ####. ##... ##.## ####. ####. ##... ##### .##. ...## ####.. ##...",
    "##### ##.## ##... ##.## ##... ##... ##.## ##.## .##. ...## ####.. ##...",
    "##.## ##.## ##... ##.## ##... ##... ##.## ##.## .##. ##.## ##.##. ##...",
    "##.## ####. .#### ####. ##### ##... .#### ##.## #### .###. ##..## #####",
    "..... ..... ..... ..... ..... ..... ..... ..... .... ..... ...... .....",

    "M       N      O      P     Q      R     S     T      U     V      W",
    "##...## ##..## .####. ####. .####. ####. .#### ###### ##.## ##..## ##...##",
    "###.### ###.## ##..## ##.## ##..## ##.## ##... ..##.. ##.## ##..## ##...##",
    "####### ###### ##..## ##.## ##..## ##.## .###. ..##.. ##.## ##..## ##.#.##",
    "##.#.## ##.### ##..## ####. ##..## ####. ...## ..##.. ##.## .####. #######",
    "##...## ##..## ##..## ##... ##.##. ##.## ...## ..##.. ##.## .####. ###.###",
    "##...## ##..## .####. ##... .##.## ##.## ####. ..##.. .###. ..##.. ##...##",
    "....... ...... ...... ..... ...... ..... ..... ...... ..... ...... .......",

    "X      Y      Z",
    "##..## ##..## #####",
    ".####. ##..## ...##",
    "..##.. .####. ..##.",
    ".####. ..##.. .##..",
    "##..## ..##.. ##...",
    "##..## ..##.. #####",
    "...... ...... .....",

    "a     b     c    d     e     f    g     h     i  j    k     l  m",
    "..... ##... .... ...## ..... .### ..... ##... ## ..## ##... ## .......",
    "..... ##... .... ...## ..... .##. ..... ##... .. .... ##... ## .......",
    ".#### ####. .### .#### .###. #### .#### ####. ## ..## ##.## ## ######.",
    "##.## ##.## ##.. ##.## ##### .##. ##.## ##.## ## ..## ####. ## ##.#.##",
    "##.## ##.## ##.. ##.## ##... .##. .#### ##.## ## ..## ####. ## ##.#.##",
    ".#### ####. .### .#### .###. .##. ...## ##.## ## ..## ##.## ## ##.#.##",
    "..... ..... .... ..... ..... .... ####. ..... .. ###. ..... .. .......",

    "n     o     p     q     r     s     t    u     v     w       x     y     z",
    "..... ..... ..... ..... ..... ..... .##. ..... ..... ....... ..... ..... .....",
    "..... ..... ..... ..... ..... ..... .##. ..... ..... ....... ..... ..... .....",
    "####. .###. ####. .#### ##.## .#### #### ##.## ##.## ##...## ##.## ##.## #####",
    "##.## ##.## ##.## ##.## ###.. ###.. .##. ##.## ##.## ##.#.## .###. ##.## ..##.",
    "##.## ##.## ##.## ##.## ##... ..### .##. ##.## .###. ##.#.## .###. .#### .##..",
    "##.## .###. ####. .#### ##... ####. ..## .#### ..#.. .##.##. ##.## ...## #####",
    "..... ..... ##... ...## ..... ..... .... ..... ..... ....... ..... ####. .....",

    "0     1    2     3     4     5     6     7     8     9",
    ".###. .##. .###. ####. ..### ##### .###. ##### .###. .###.",
    "##.## ###. ##.## ...## .#### ##... ##... ...## ##.## ##.##",
    "##.## .##. ...## .###. ##.## ####. ####. ..##. .###. ##.##",
    "##.## .##. ..##. ...## ##### ...## ##.## .##.. ##.## .####",
    "##.## .##. .##.. ...## ...## ...## ##.## .##.. ##.## ...##",
    ".###. #### ##### ####. ...## ####. .###. .##.. .###. .###.",
    "..... .... ..... ..... ..... ..... ..... ..... ..... .....",

    ". , : ; ! ?     ' \"    -    +      =     /     (   )   &      *     %      _     #     @",
    ".. .. .. .. ## .###. ## ##.## .... ...... ..... ...## .## ##. .##... ..... ##...# ..... .#.#. .####.",
    ".. .. ## ## ## ##.## ## ##.## .... ..##.. ..... ...## ##. .## ##.##. #.#.# ##..## ..... ##### ##..##",
    ".. .. ## ## ## ...## .. ..... #### ###### ##### ..##. ##. .## .###.. .###. ...##. ..... .#.#. ##.###",
    ".. .. .. .. ## ..##. .. ..... .... ..##.. ..... .##.. ##. .## ##.### #.#.# ..##.. ..... ##### ##.###",
    "## ## ## ## .. ..... .. ..... .... ...... ##### ##... ##. .## ##..## ..... .##.## ..... .#.#. ##....",
    "## ## ## ## ## ..##. .. ..... .... ...... ..... ##... .## ##. .###.# ..... #...## ..... ..... .####.",
    ".. #. .. #. .. ..... .. ..... .... ...... ..... ..... ... ... ...... ..... ...... ##### ..... ......",
};

// How wide the space is, before the gaps on either side.
constexpr int kTinySpace = 1;
constexpr int kBoldSpace = 2;

template <size_t N>
PixelFont readFont(const QString &name, int height, int baseline, int linePitch, int space,
                   const char *const (&table)[N])
{
    PixelFont font;
    font.name = name;
    font.height = height;
    font.baseline = baseline;
    font.linePitch = linePitch;
    const size_t sheet = size_t(height) + 1;
    if (N % sheet != 0)
        font.tableFaults << QStringLiteral("the table does not divide into sheets of %1 texts").arg(sheet);
    for (size_t s = 0; s + sheet <= N; s += sheet) {
        const QList<QByteArray> chars = QByteArray(table[s]).simplified().split(' ');
        std::vector<QList<QByteArray>> rows;
        for (int r = 0; r < height; ++r)
            rows.push_back(QByteArray(table[s + 1 + size_t(r)]).simplified().split(' '));
        for (qsizetype i = 0; i < chars.size(); ++i) {
            const QByteArray &ch = chars[i];
            PixelGlyph g;
            for (int r = 0; r < height; ++r) {
                const QByteArray run = i < rows[size_t(r)].size() ? rows[size_t(r)][i] : QByteArray();
                if (r == 0)
                    g.width = int(run.size());
                if (run.isEmpty() || run.size() != g.width || run.count('#') + run.count('.') != run.size())
                    font.tableFaults << QStringLiteral("'%1' row %2: \"%3\"")
                                            .arg(QString::fromLatin1(ch)).arg(r).arg(QString::fromLatin1(run));
                g.rows.push_back(run);
            }
            if (ch.size() != 1 || font.glyphs.contains(char32_t(ch[0])))
                font.tableFaults << QStringLiteral("'%1' named twice or not one character").arg(QString::fromLatin1(ch));
            font.glyphs.insert(char32_t(uchar(ch[0])), g);
        }
        for (const auto &row : rows)
            if (row.size() != chars.size())
                font.tableFaults << QStringLiteral("sheet of '%1': a row with %2 glyphs for %3 characters")
                                        .arg(QString::fromLatin1(chars.value(0)))
                                        .arg(row.size())
                                        .arg(chars.size());
    }
    PixelGlyph blank;
    blank.width = space;
    blank.rows.assign(size_t(height), QByteArray(space, '.'));
    font.glyphs.insert(U' ', blank);
    return font;
}

} // namespace

const PixelGlyph *PixelFont::glyph(char32_t ch) const
{
    const auto it = glyphs.constFind(ch);
    return it == glyphs.constEnd() ? nullptr : &*it;
}

int PixelFont::maxLines() const
{
    // n lines take (n - 1) pitches plus one line's height.
    return (14 - height) / linePitch + 1;
}

const PixelFont &tinyPixelFont()
{
    static const PixelFont font = readFont(QStringLiteral("tiny"), 4, 3, 5, kTinySpace, kTiny);
    return font;
}

const PixelFont &boldPixelFont()
{
    static const PixelFont font = readFont(QStringLiteral("bold"), 7, 5, 7, kBoldSpace, kBold);
    return font;
}

} // namespace logo
