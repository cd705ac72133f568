#include "graphic/logodocument.h"

namespace logo {

void LogoDocument::importCommand() {}
void LogoDocument::exportCommand() {}
bool LogoDocument::importPicture(const QString &) { return false; }
bool LogoDocument::exportBitmap(const QString &) const { return false; }

} // namespace logo
