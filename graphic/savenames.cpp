#include "graphic/savenames.h"

#include "graphic/pathutil.h"

namespace logo {

namespace {

const QString kNgg = QStringLiteral(".ngg");
const QString kNol = QStringLiteral(".nol");
const QString kBmp = QStringLiteral(".bmp");
const QString kPng = QStringLiteral(".png");

} // namespace

SavedType nativeTypeOf(const QString &path)
{
    const QString name = fileNameOf(path);
    const qsizetype ngg = name.lastIndexOf(kNgg, -1, Qt::CaseInsensitive);
    const qsizetype nol = name.lastIndexOf(kNol, -1, Qt::CaseInsensitive);
    if (ngg < 0 && nol < 0)
        return SavedType::None;
    return nol > ngg ? SavedType::Nol : SavedType::Ngg;
}

SavedType pictureTypeOf(const QString &path)
{
    const QString name = fileNameOf(path);
    if (name.endsWith(kBmp, Qt::CaseInsensitive))
        return SavedType::Bmp;
    if (name.endsWith(kPng, Qt::CaseInsensitive))
        return SavedType::Png;
    return SavedType::None;
}

SavedType savedTypeOf(const QString &path)
{
    const SavedType picture = pictureTypeOf(path);
    return picture != SavedType::None ? picture : nativeTypeOf(path);
}

bool isNativeType(SavedType type)
{
    return type == SavedType::Ngg || type == SavedType::Nol;
}

QString savedExtension(SavedType type)
{
    switch (type) {
    case SavedType::Ngg: return kNgg;
    case SavedType::Nol: return kNol;
    case SavedType::Bmp: return kBmp;
    case SavedType::Png: return kPng;
    case SavedType::None: break;
    }
    return {};
}

QString completeSavedName(const QString &typed, SavedType chosen)
{
    if (typed.isEmpty() || chosen == SavedType::None)
        return typed;
    const SavedType named = isNativeType(chosen) ? nativeTypeOf(typed) : pictureTypeOf(typed);
    return named != SavedType::None ? typed : typed + savedExtension(chosen);
}

QString proposedNativeName(const QString &name, SavedType type)
{
    const QString extension = savedExtension(type);
    if (name.isEmpty() || !isNativeType(type))
        return name;
    if (name.endsWith(kNgg, Qt::CaseInsensitive) || name.endsWith(kNol, Qt::CaseInsensitive)) {
        if (name.endsWith(extension, Qt::CaseInsensitive))
            return name;
        return name.chopped(extension.size()) + extension;
    }
    return nativeTypeOf(name) == type ? name : name + extension;
}

} // namespace logo
