// logotool text: one to three lines of text drawn into the picture with one of
// the pixel fonts, written like convert writes.
#include "logotool.h"

#include "graphic/savenames.h"
#include "graphic/textlogo.h"

namespace logotool {

namespace {

const char *kTextUsage =
    "usage: logotool text LINE [LINE [LINE]] OUT [--font tiny|bold] [--mcc M --mnc N]\n"
    "Draws the lines into the 72 x 14 picture, each centred, and writes OUT: NOL when\n"
    "its name contains \".nol\" (then --mcc and --mnc are needed), a picture for .bmp\n"
    "or .png, else NGG.\n"
    "  --font tiny   about 3 x 4 pixels a letter, up to three lines\n"
    "  --font bold   about 5 x 7 pixels a letter, up to two lines\n"
    "  without --font the bold font is used when the text fits it, else the tiny one.\n"
    "Letters a-z and A-Z, digits, the space and . , : ; ! ? ' \" - + = / ( ) & * % _ # @\n"
    "Text that doesn't fit is refused, never cut. OUT must name a .ngg, .nol, .bmp or .png file.\n"
    "Put -- before lines that start with --.";

} // namespace

int textCommand(const QStringList &argv)
{
    Args a(argv);
    if (a.has(QStringLiteral("--help"))) {
        out(QString::fromLatin1(kTextUsage));
        return 0;
    }
    const QStringList bad = a.unknown({QStringLiteral("--font"), QStringLiteral("--mcc"), QStringLiteral("--mnc")});
    if (a.positional.size() < 2 || !bad.isEmpty())
        return err(QString::fromLatin1(kTextUsage), 2);
    std::optional<logo::TextFont> chosen;
    if (a.has(QStringLiteral("--font"))) {
        chosen = logo::textFontByName(a.value(QStringLiteral("--font")));
        if (!chosen)
            return err(QStringLiteral("error: --font takes tiny or bold"), 2);
    }
    Session s(logo::ProgramProfile::quillet());
    if (!networkOption(a, *s.doc))
        return err(QStringLiteral("error: --mcc and --mnc take decimal digits"), 2);

    // The last word is where the picture goes; a forgotten OUT would otherwise
    // write a file named after the last line.
    const QString target = a.positional.last();
    if (logo::savedTypeOf(target) == logo::SavedType::None)
        return err(QStringLiteral("error: OUT, the last word, must name a .ngg, .nol, .bmp or .png file: %1").arg(target), 2);
    const QStringList lines = a.positional.mid(0, a.positional.size() - 1);
    const logo::TextLogo logo = chosen ? logo::renderTextLogo(lines, *chosen) : logo::renderTextLogoInBestFont(lines);
    if (!logo.ok)
        return err(logo.refusal);
    s.doc->grid() = logo.grid;

    QString wrote;
    if (writeOutput(s, target, &wrote) != 0)
        return 1;
    out(QStringLiteral("wrote %1 in the %2 font").arg(wrote, logo::textFontName(logo.font)));
    return 0;
}

} // namespace logotool
