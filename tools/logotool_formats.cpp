// logotool formats: what the tool (and the programs) read and write.
#include "tools/logotool.h"

#include "graphic/metafile.h"
#include "graphic/pictureimport.h"

namespace logotool {

namespace {

// One row of the table: what, then its note, in two aligned columns.
void row(const char *what, const QString &note)
{
    out(QStringLiteral("  %1  %2").arg(QString::fromLatin1(what), -20).arg(note));
}

} // namespace

int cmdFormats(const QStringList &argv)
{
    const QString usage = QStringLiteral("usage: logotool formats");
    if (argv == QStringList{QStringLiteral("--help")})
        return help(usage);
    if (!argv.isEmpty())
        return err(usage, 2);
    QStringList pictures;
    for (const QString &e : logo::importPictureExtensions()) {
        if ((e == QLatin1String(".wmf") && !logo::canDrawWmf()) || (e == QLatin1String(".emf") && !logo::canDrawEmf()))
            continue;
        pictures << e;
    }
    out(QStringLiteral("Reads"));
    row("NGG NCG NOL", QStringLiteral("group graphics and operator logos, told by their content"));
    row("NLM NSL NGL OTB WBMP", QStringLiteral("other Nokia tools' logos, told by the file name (.nlm .nsl .ngl .otb .wbmp)"));
    row("I61", QStringLiteral("a picture under its own name (.i61), imported like the pictures below"));
    out(QStringLiteral("Imports pictures"));
    out(QStringLiteral("  ") + pictures.join(QLatin1Char(' ')));
    out(QStringLiteral("  a pixel is set where red, green and blue are all 64 or less;"));
    out(QStringLiteral("  the top-left 72 x 14 of the picture is taken, never scaled"));
    out(QStringLiteral("Writes"));
    row("NGG NOL", QStringLiteral("by the file name (\".nol\" anywhere in it writes NOL, which needs a network code)"));
    row("BMP", QStringLiteral("the 72 x 14 picture, black on the display green (.bmp)"));
    return 0;
}

} // namespace logotool
