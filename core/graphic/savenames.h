#pragma once
// The names the programs write and what each name is written as: one rule for
// the windows' Save, Save As and Export and for logotool, so that a file
// written under any of these names is read back as what was written.
#include <QString>

namespace logo {

enum class SavedType { None, Ngg, Nol, Bmp, Png };

// The native type a file name names: the last ".ngg" or ".nol" in it (any
// case) decides, so "picture.nol.bak" names NOL and "logo.nol.ngg" NGG; None
// when it has neither. The folders above the name never count. A native file
// written under a name of neither ("logo.bak", the name it was opened by) is NGG.
SavedType nativeTypeOf(const QString &path);
// The picture type a name ends in: ".bmp" or ".png" (any case); else None.
SavedType pictureTypeOf(const QString &path);
// What a file of this name is written as: a picture when the name ends in
// ".bmp" or ".png", else the native type it names; None for a name that
// neither program's Save As or Export gives.
SavedType savedTypeOf(const QString &path);
bool isNativeType(SavedType type);
// ".ngg", ".nol", ".bmp", ".png"; empty for None.
QString savedExtension(SavedType type);

// The name written for a name typed in a save dialog whose chosen filter
// writes chosen: the typed name when it already names a type of the same kind
// (native for Save As, a picture for Export), else the typed name with the
// chosen type's extension ("op2" with NGG gives "op2.ngg", "Vodafone.de" gives
// "Vodafone.de.ngg").
QString completeSavedName(const QString &typed, SavedType chosen);
// The name Save As proposes for the document's name when it will write type
// (native): the whole file name, its native extension at the end made the
// type's, or the type's extension added when the name doesn't name the type
// ("logo.nlm.ngg" stays, "logo.ngg" becomes "logo.nol" for NOL).
QString proposedNativeName(const QString &name, SavedType type);

} // namespace logo
