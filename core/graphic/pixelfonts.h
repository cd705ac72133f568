#pragma once
// The two pixel fonts of the text logos, drawn for the 72 x 14 picture: one
// pixel per cell, no shades. The glyph tables are in pixelfonts.cpp.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

namespace logo {

struct PixelGlyph {
    int width = 0;
    // One entry per row of the font's cell, top first: '#' a set pixel, '.' clear.
    std::vector<QByteArray> rows;
    bool isSet(int c, int r) const { return rows[size_t(r)].at(c) == '#'; }
};

struct PixelFont {
    QString name;           // as the user picks it: "tiny", "bold"
    int height = 0;         // rows of one line, descenders included
    int baseline = 0;       // the lowest row of capitals and digits
    int linePitch = 0;      // rows from the top of one line to the top of the next
    int letterGap = 1;      // blank columns between two characters
    QHash<char32_t, PixelGlyph> glyphs;   // the space included
    // Faults found while reading the tables (rows of unequal width, a glyph
    // without its rows); empty for sound tables.
    QStringList tableFaults;

    const PixelGlyph *glyph(char32_t ch) const;
    // How many lines fit into 14 rows.
    int maxLines() const;
};

// About 3 x 4 pixels a letter: capitals and digits fill the 4 rows; small
// letters use rows 1 to 3, ascenders reach row 0, and g j p q y are drawn
// within the cell. Three lines fit.
const PixelFont &tinyPixelFont();
// About 5 x 7 with 2-pixel stems: capitals and digits fill rows 0 to 5, small
// letters rows 2 to 5 with ascenders from row 0, and row 6 holds descenders.
// Two lines fit.
const PixelFont &boldPixelFont();

} // namespace logo
