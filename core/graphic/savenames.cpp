#include "graphic/savenames.h"

#include "graphic/fileformats.h"
#include "graphic/pathutil.h"

#include <algorithm>

namespace logo {

namespace {

// The written types of a role, each with its extension, in the table's order.
struct Written {
    SavedType type;
    QString extension;
};

QList<Written> writtenOf(FormatRole role)
{
    QList<Written> out;
    for (const FileFormat *f : formatsOf(role))
        if (f->written != SavedType::None)
            out.append({f->written, QString::fromLatin1(f->extension)});
    return out;
}

} // namespace

SavedType nativeTypeOf(const QString &path)
{
    const QString name = fileNameOf(path);
    SavedType last = SavedType::None;
    qsizetype lastAt = -1;
    for (const Written &w : writtenOf(FormatRole::Native)) {
        const qsizetype at = name.lastIndexOf(w.extension, -1, Qt::CaseInsensitive);
        if (at > lastAt) {
            last = w.type;
            lastAt = at;
        }
    }
    return last;
}

SavedType pictureTypeOf(const QString &path)
{
    const QString name = fileNameOf(path);
    for (const Written &w : writtenOf(FormatRole::Picture))
        if (name.endsWith(w.extension, Qt::CaseInsensitive))
            return w.type;
    return SavedType::None;
}

SavedType savedTypeOf(const QString &path)
{
    const SavedType picture = pictureTypeOf(path);
    return picture != SavedType::None ? picture : nativeTypeOf(path);
}

bool isNativeType(SavedType type)
{
    const FileFormat *f = formatOf(type);
    return f && f->role == FormatRole::Native;
}

QString savedExtension(SavedType type)
{
    const FileFormat *f = formatOf(type);
    return f ? QString::fromLatin1(f->extension) : QString();
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
    const QList<Written> natives = writtenOf(FormatRole::Native);
    const bool endsNative = std::any_of(natives.begin(), natives.end(), [&](const Written &w) {
        return name.endsWith(w.extension, Qt::CaseInsensitive);
    });
    if (endsNative) {
        if (name.endsWith(extension, Qt::CaseInsensitive))
            return name;
        return name.chopped(extension.size()) + extension;
    }
    return nativeTypeOf(name) == type ? name : name + extension;
}

} // namespace logo
