// logotool formats: what the tool (and the programs) read and write, from the
// table of formats.
#include "logotool.h"

#include "graphic/fileformats.h"
#include "graphic/pictureimport.h"
#include "graphic/picturesupport.h"

namespace logotool {

namespace {

using logo::FileFormat;
using FormatList = QList<const FileFormat *>;

// One row of the table: what, then its note, in two aligned columns.
void row(const QString &what, const QString &note)
{
    out(QStringLiteral("  %1  %2").arg(what, -20).arg(note));
}

QString names(const FormatList &formats)
{
    QStringList out;
    for (const FileFormat *f : formats)
        out << QString::fromLatin1(f->name);
    return out.join(QLatin1Char(' '));
}

// "(.nlm .nsl)"
QString extensions(const FormatList &formats)
{
    return QLatin1Char('(') + logo::extensionsOf(formats).join(QLatin1Char(' ')) + QLatin1Char(')');
}

FormatList where(const FormatList &formats, bool (*keep)(const FileFormat &))
{
    FormatList out;
    for (const FileFormat *f : formats)
        if (keep(*f))
            out << f;
    return out;
}

bool written(const FileFormat &f)
{
    return f.written != logo::SavedType::None;
}

} // namespace

int formatsCommand(const QStringList &argv)
{
    const QString usage = QStringLiteral("usage: logotool formats");
    if (argv == QStringList{QStringLiteral("--help")})
        return help(usage);
    if (!argv.isEmpty())
        return err(usage, 2);
    // Pictures are read by the picture library, metafiles by their module.
    QStringList pictures;
    const logo::PictureSupport *support = logo::pictureSupport();
    for (const QString &e : logo::importPictureExtensions()) {
        if (!support || (e == QLatin1String(".wmf") && !support->canDrawWmf()) ||
            (e == QLatin1String(".emf") && !support->canDrawEmf()))
            continue;
        pictures << e;
    }
    const FormatList natives = logo::formatsOf(logo::FormatRole::Native);
    const FormatList foreign = logo::foreignFormatsByName();
    const FormatList byName = where(foreign, [](const FileFormat &f) { return f.read != nullptr; });
    const FormatList asPictures = where(foreign, [](const FileFormat &f) { return f.read == nullptr; });
    const FormatList exported = where(logo::formatsOf(logo::FormatRole::Picture), written);
    out(QStringLiteral("Reads"));
    row(names(natives), QStringLiteral("group graphics and operator logos, told by their content"));
    row(names(byName), QStringLiteral("other Nokia tools' logos, told by the file name ") + extensions(byName));
    row(names(asPictures), QStringLiteral("a picture under its own name %1, imported like the pictures below")
                               .arg(extensions(asPictures)));
    out(QStringLiteral("Imports pictures"));
    out(QStringLiteral("  ") + pictures.join(QLatin1Char(' ')));
    out(QStringLiteral("  a pixel is set where red, green and blue are all 64 or less;"));
    out(QStringLiteral("  the top-left 72 x 14 of the picture is taken, never scaled"));
    out(QStringLiteral("Writes"));
    row(names(where(natives, written)),
        QStringLiteral("by the file name (\".nol\" anywhere in it writes NOL, which needs a network code)"));
    row(names(exported), QStringLiteral("the 72 x 14 picture, black on the display green ") + extensions(exported));
    return 0;
}

} // namespace logotool
