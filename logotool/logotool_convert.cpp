// logotool convert: read a picture the way Open (or Import) does and write it
// the way Save or Export does; one file, or many in one run.
//
//   logotool convert IN OUT [--mcc M --mnc N] [--scale N] [--aspect]
//   logotool convert IN... --to ngg|nol|bmp|png --out-dir DIR [--mcc M --mnc N] [--scale N] [--aspect]
#include "logotool.h"

#include "desktop/pixelaspect.h"
#include "graphic/fileformats.h"
#include "graphic/logofile.h"
#include "graphic/pathutil.h"
#include "graphic/pictureimport.h"
#include "graphic/savenames.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace logotool {

namespace {

const char *kConvertUsage =
    "usage: logotool convert IN OUT [--mcc M --mnc N] [--scale N] [--aspect]\n"
    "       logotool convert IN... --to ngg|nol|bmp|png --out-dir DIR [--mcc M --mnc N] [--scale N] [--aspect]\n"
    "  --scale N   a .bmp or .png picture N times larger (1 to 64), for sharing\n"
    "  --aspect    pixels with the phone's shape: N wide and N x 8 / 7 high (the\n"
    "              PixelAspect setting of the shared Settings section, 7:8 by default)";

QStringList withoutDots(const QStringList &extensions)
{
    QStringList out;
    for (const QString &e : extensions)
        out << e.mid(1);
    return out;
}

// The files the tool writes (the written types of the table of formats), by
// the windows' rule for the output's name (logo::savedTypeOf): BMP and PNG as
// Export writes them for a name ending in ".bmp" or ".png", else NOL or NGG as
// Save writes them for a name with ".nol" or ".ngg" in it ("picture.nol.bak"
// is NOL).
const QStringList kWritten = withoutDots(logo::writtenExtensions());
const QStringList kPictures = withoutDots(logo::writtenExtensions(logo::FormatRole::Picture));

// The extension of what the name is written as, without the dot; empty for a
// name neither program writes.
QString extensionOf(const QString &path)
{
    return logo::savedExtension(logo::savedTypeOf(path)).mid(1);
}

QString writtenList()
{
    const QStringList dotted = logo::writtenExtensions();
    return dotted.mid(0, dotted.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") + dotted.back();
}

bool writesTo(const QString &path)
{
    return kWritten.contains(extensionOf(path));
}

// "--scale N" and "--aspect": the block of each pixel of an exported picture.
// Only pictures are scaled; false after printing what is wrong.
bool pictureSizeOptions(const Args &a, const QString &extension, Session &s)
{
    const bool scaled = a.has(QStringLiteral("--scale")) || a.has(QStringLiteral("--aspect"));
    if (!scaled)
        return true;
    if (!kPictures.contains(extension)) {
        err(QStringLiteral("error: --scale and --aspect apply to .bmp and .png pictures only"));
        return false;
    }
    int scale = 1;
    if (a.has(QStringLiteral("--scale"))) {
        bool ok = false;
        scale = a.value(QStringLiteral("--scale")).toInt(&ok);
        if (!ok || scale < 1 || scale > logo::MaxExportScale) {
            err(QStringLiteral("error: --scale takes a whole number from 1 to %1").arg(logo::MaxExportScale));
            return false;
        }
    }
    QSizeF shape;
    if (a.has(QStringLiteral("--aspect"))) {
        // Read from the user's settings, never written.
        const logo::SettingsStore settings;
        shape = logo::pixelAspect(settings);
    }
    s.exportPixel = logo::exportPixelSize(scale, shape);
    return true;
}

// One conversion on a fresh document, so that nothing of an earlier file (its
// size, its network code) carries over. who ("in.otb: ") starts every message
// of a run over many files. False after printing why.
bool convertOne(Session &s, const Args &a, const QString &in, const QString &target, const QString &who)
{
    s.prompt.prefix = who;
    s.prompt.clear();
    s.newDocument(logo::ProgramProfile::quillet());
    if (!openInput(s, in))
        return false;
    networkOption(a, *s.doc);   // checked before the first file
    return writeOutput(s, target, nullptr, who) == 0;
}

} // namespace

int writeOutput(Session &s, const QString &target, QString *wrote, const QString &who)
{
    const QString fail = who.isEmpty() ? QStringLiteral("error: ") : who;
    const QString extension = extensionOf(target);
    if (kPictures.contains(extension)) {
        if (!s.files->exportPicture(target, s.exportPixel))
            return err(fail + QStringLiteral("can't write %1").arg(target));
        if (wrote) {
            const QSize size(logo::LogoGrid::MaxWidth * s.exportPixel.width(),
                             logo::LogoGrid::MaxHeight * s.exportPixel.height());
            *wrote = QStringLiteral("%1 (%2 %3 x %4)")
                         .arg(target, extension == QLatin1String("png") ? QStringLiteral("PNG picture")
                                                                        : QStringLiteral("bitmap"))
                         .arg(size.width())
                         .arg(size.height());
        }
        return 0;
    }
    switch (s.files->writeLogoFile(target)) {
    case logo::FileCommands::WriteResult::Written:
        if (wrote) {
            const logo::LogoGrid &g = s.doc->grid();
            const QString size = QStringLiteral("%1 x %2").arg(g.width()).arg(g.height());
            *wrote = logo::isNolPath(target)
                         ? QStringLiteral("%1 (operator logo %2, network %3 %4)")
                               .arg(target, size, s.doc->currentMCC(), s.doc->currentMNC())
                         : QStringLiteral("%1 (group graphic %2)").arg(target, size);
        }
        return 0;
    case logo::FileCommands::WriteResult::Declined:
        return err(fail + QStringLiteral("nothing written"));
    case logo::FileCommands::WriteResult::NoNetworkCode:
        return err(fail + QStringLiteral("%1 is a NOL file and needs a network code (--mcc M --mnc N)").arg(target));
    case logo::FileCommands::WriteResult::IoError:
        break;
    }
    return err(fail + QStringLiteral("can't write %1").arg(target));
}

namespace {

// Every input to DIR under its own name with the new extension. A file that
// fails is reported and the others go on; two inputs that would give the same
// output name convert once, the later one fails.
int convertMany(const Args &a)
{
    const QString to = a.value(QStringLiteral("--to")).toLower();
    const QString dir = a.value(QStringLiteral("--out-dir"));
    if (a.positional.isEmpty() || !kWritten.contains(to) || dir.isEmpty())
        return err(QString::fromLatin1(kConvertUsage), 2);
    if (!QFileInfo(dir).isDir())
        return err(QStringLiteral("error: %1 is not a folder").arg(dir), 2);
    Session s(logo::ProgramProfile::quillet());
    if (!networkOption(a, *s.doc))
        return err(QStringLiteral("error: --mcc and --mnc take decimal digits"), 2);
    if (!pictureSizeOptions(a, to, s))
        return 2;

    const QDir outDir(dir);
    QSet<QString> written;
    int failed = 0;
    for (const QString &in : a.positional) {
        const QString target = outDir.filePath(logo::stripExtension(logo::fileNameOf(in)) + QLatin1Char('.') + to);
        const QString who = in + QStringLiteral(": ");
        bool ok = false;
        if (written.contains(QDir::cleanPath(target)))
            err(who + QStringLiteral("%1 was already written from another file; not converted").arg(target));
        else
            ok = convertOne(s, a, in, target, who);
        if (ok) {
            written.insert(QDir::cleanPath(target));
            out(QStringLiteral("%1 -> %2").arg(in, target));
        } else {
            ++failed;
        }
    }
    if (failed)
        return err(QStringLiteral("%1 of %2 files not converted").arg(failed).arg(a.positional.size()));
    return 0;
}

} // namespace

int convertCommand(const QStringList &argv)
{
    Args a(argv);
    if (a.has(QStringLiteral("--help"))) {
        out(QString::fromLatin1(kConvertUsage));
        return 0;
    }
    const QStringList bad = a.unknown({QStringLiteral("--mcc"), QStringLiteral("--mnc"), QStringLiteral("--to"),
                                       QStringLiteral("--out-dir"), QStringLiteral("--scale"),
                                       QStringLiteral("--aspect")});
    if (!bad.isEmpty())
        return err(QString::fromLatin1(kConvertUsage), 2);
    if (a.has(QStringLiteral("--to")) || a.has(QStringLiteral("--out-dir")))
        return convertMany(a);
    if (a.positional.size() != 2)
        return err(QString::fromLatin1(kConvertUsage), 2);
    const QString target = a.positional[1];
    // Refused before anything is read: no file appears under a name that
    // promises another format.
    if (!writesTo(target))
        return err(QStringLiteral("error: can't write %1: logotool writes %2 files").arg(target, writtenList()), 2);
    Session s(logo::ProgramProfile::quillet());
    if (!networkOption(a, *s.doc))
        return err(QStringLiteral("error: --mcc and --mnc take decimal digits"), 2);
    if (!pictureSizeOptions(a, extensionOf(target), s))
        return 2;
    return convertOne(s, a, a.positional[0], target, QString()) ? 0 : 1;
}

} // namespace logotool
