#pragma once
// Text logos: one to three lines of text drawn into the 72 x 14 picture with
// one of the two pixel fonts, each line centred across the picture and the
// lines together centred from top to bottom.
#include "graphic/logogrid.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace logo {

enum class TextFont { Tiny, Bold };

// "tiny" or "bold" (any case); nothing for other names.
std::optional<TextFont> textFontByName(const QString &name);
QString textFontName(TextFont font);

struct TextLogo {
    bool ok = false;
    LogoGrid grid;      // 72 x 14, the text set on a clear picture (when ok)
    QString refusal;    // why the text can't be drawn (when not ok)
    TextFont font = TextFont::Bold;   // the font it was drawn (or refused) with
};

// Columns a line takes: its characters' widths and one blank column between
// two characters. Spaces count as typed. Nothing when a character is missing
// from the font.
std::optional<int> textColumns(const QString &line, TextFont font);

// Draws the lines. Empty lines before the first and after the last line of
// text are ignored (a form with three boxes may pass them all); an empty line
// between two lines leaves its room blank. Refuses, saying why, a character
// the font doesn't have, a line wider than 72 columns (with the columns it
// needs), more lines than the font fits, or no text at all; nothing is ever
// cut off.
TextLogo renderTextLogo(const QStringList &lines, TextFont font);

// The font chosen for the user: the bold one when the text fits it, else the
// tiny one, whose refusal (it takes the most text) is the one given.
TextLogo renderTextLogoInBestFont(const QStringList &lines);

} // namespace logo
