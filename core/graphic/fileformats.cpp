#include "graphic/fileformats.h"

#include <algorithm>

namespace logo {

namespace {

// Readers without a version of their own to tell.
template <bool (*Read)(const QByteArray &, LogoGrid &)>
bool withoutVersion(const QByteArray &buffer, LogoGrid &grid, bool *)
{
    return Read(buffer, grid);
}

constexpr FileFormat kFormats[] = {
    {.name = "NGG", .role = FormatRole::Native, .extension = ".ngg", .dialogText = "Nokia Group Graphic",
     .written = SavedType::Ngg, .fileClass = "NokiaGroupGraphic"},
    {.name = "NCG", .role = FormatRole::Native},
    {.name = "NOL", .role = FormatRole::Native, .extension = ".nol", .dialogText = "Nokia Operator Logo",
     .written = SavedType::Nol, .fileClass = "NokiaOperatorLogo"},

    {.name = "NLM", .role = FormatRole::Foreign, .extension = ".nlm", .foreign = ForeignFormat::NLM,
     .read = readNLM, .refusal = "Can't read this NLM file. Try another file.", .nameRank = 1,
     .offeredToClaim = true, .claimedByDefault = true},
    {.name = "NSL", .role = FormatRole::Foreign, .extension = ".nsl", .foreign = ForeignFormat::NSL,
     .read = withoutVersion<readNSL>, .refusal = "Can't read this NSL file. Try another file.", .nameRank = 2,
     .offeredToClaim = true, .claimedByDefault = true},
    {.name = "OTB", .role = FormatRole::Foreign, .extension = ".otb", .foreign = ForeignFormat::OTB,
     .read = withoutVersion<readOTB>, .refusal = "Can't read this OTB file. Try another file.", .nameRank = 4,
     .offeredToClaim = true, .claimedByDefault = true},
    {.name = "NGL", .role = FormatRole::Foreign, .extension = ".ngl", .foreign = ForeignFormat::NGL,
     .read = withoutVersion<readNGL>, .refusal = "Can't read this NGL file. Try another file.", .nameRank = 3,
     .offeredToClaim = true},
    {.name = "I61", .role = FormatRole::Foreign, .extension = ".i61", .foreign = ForeignFormat::I61,
     .nameRank = 6, .offeredToClaim = true, .claimedByDefault = true},
    {.name = "WBMP", .role = FormatRole::Foreign, .extension = ".wbmp", .foreign = ForeignFormat::WBMP,
     .read = withoutVersion<readWBMP>,
     .refusal = "Can't read this WBMP file (yet).\r\nTry another file or check for new version of this software.",
     .nameRank = 5},

    {.name = "BMP", .role = FormatRole::Picture, .extension = ".bmp", .dialogText = "Bitmap",
     .written = SavedType::Bmp, .importGroup = ImportGroup::Classic, .imageFormat = "BMP"},
    {.name = "GIF", .role = FormatRole::Picture, .extension = ".gif", .importGroup = ImportGroup::Classic},
    {.name = "JPG", .role = FormatRole::Picture, .extension = ".jpg", .importGroup = ImportGroup::Classic},
    {.name = "ICO", .role = FormatRole::Picture, .extension = ".ico", .importGroup = ImportGroup::Classic},
    {.name = "RLE", .role = FormatRole::Picture, .extension = ".rle", .importGroup = ImportGroup::Classic},
    {.name = "WMF", .role = FormatRole::Picture, .extension = ".wmf", .importGroup = ImportGroup::Classic},
    {.name = "EMF", .role = FormatRole::Picture, .extension = ".emf", .importGroup = ImportGroup::Classic},
    // Read by the toolkit itself, on every platform it runs on.
    {.name = "JPEG", .role = FormatRole::Picture, .extension = ".jpeg", .importGroup = ImportGroup::Further},
    {.name = "PNG", .role = FormatRole::Picture, .extension = ".png", .dialogText = "PNG picture",
     .written = SavedType::Png, .importGroup = ImportGroup::Further, .imageFormat = "PNG"},
    {.name = "PBM", .role = FormatRole::Picture, .extension = ".pbm", .importGroup = ImportGroup::Further},
    {.name = "PGM", .role = FormatRole::Picture, .extension = ".pgm", .importGroup = ImportGroup::Further},
    {.name = "PPM", .role = FormatRole::Picture, .extension = ".ppm", .importGroup = ImportGroup::Further},
    {.name = "XBM", .role = FormatRole::Picture, .extension = ".xbm", .importGroup = ImportGroup::Further},
    {.name = "XPM", .role = FormatRole::Picture, .extension = ".xpm", .importGroup = ImportGroup::Further},
};

} // namespace

std::span<const FileFormat> fileFormats()
{
    return kFormats;
}

const FileFormat *formatOf(ForeignFormat format)
{
    for (const FileFormat &f : kFormats)
        if (format != ForeignFormat::None && f.foreign == format)
            return &f;
    return nullptr;
}

const FileFormat *formatOf(SavedType type)
{
    for (const FileFormat &f : kFormats)
        if (type != SavedType::None && f.written == type)
            return &f;
    return nullptr;
}

QList<const FileFormat *> formatsOf(FormatRole role)
{
    QList<const FileFormat *> out;
    for (const FileFormat &f : kFormats)
        if (f.role == role)
            out << &f;
    return out;
}

QList<const FileFormat *> foreignFormatsByName()
{
    QList<const FileFormat *> out = formatsOf(FormatRole::Foreign);
    std::stable_sort(out.begin(), out.end(),
                     [](const FileFormat *a, const FileFormat *b) { return a->nameRank < b->nameRank; });
    return out;
}

QStringList extensionsOf(const QList<const FileFormat *> &formats)
{
    QStringList out;
    for (const FileFormat *f : formats)
        if (*f->extension)
            out << QString::fromLatin1(f->extension);
    return out;
}

QStringList importExtensions(ImportGroup group)
{
    QStringList out;
    for (const FileFormat *f : formatsOf(FormatRole::Picture))
        if (f->importGroup == group)
            out << QString::fromLatin1(f->extension);
    return out;
}

QString dialogPatterns(const QStringList &extensions)
{
    QStringList out;
    for (const QString &e : extensions)
        out << QLatin1Char('*') + e;
    return out.join(QLatin1Char(';'));
}

QString dialogEntry(SavedType type)
{
    const FileFormat *f = formatOf(type);
    if (!f)
        return {};
    const QString pattern = QLatin1Char('*') + QString::fromLatin1(f->extension);
    return QStringLiteral("%1 (%2)|%2").arg(QString::fromLatin1(f->dialogText), pattern);
}

QString openDialogFilter()
{
    const QList<const FileFormat *> natives = formatsOf(FormatRole::Native);
    QStringList entries{QStringLiteral("Nokia Graphics|") +
                        dialogPatterns(extensionsOf(natives + formatsOf(FormatRole::Foreign)))};
    for (const FileFormat *f : natives)
        if (f->written != SavedType::None)
            entries << dialogEntry(f->written);
    return entries.join(QLatin1Char('|'));
}

QStringList writtenExtensions()
{
    QStringList out;
    for (const FileFormat &f : kFormats)
        if (f.written != SavedType::None)
            out << QString::fromLatin1(f.extension);
    return out;
}

QStringList writtenExtensions(FormatRole role)
{
    QStringList out;
    for (const FileFormat *f : formatsOf(role))
        if (f->written != SavedType::None)
            out << QString::fromLatin1(f->extension);
    return out;
}

} // namespace logo
