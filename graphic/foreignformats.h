#pragma once
// The logo files of other Nokia tools, only read: chosen by name, each reader
// works on the whole file and fills the 72 x 14 area.
#include "graphic/logogrid.h"

#include <QByteArray>
#include <QString>

namespace logo {

enum class ForeignFormat { None = 0, NLM, NSL, NGL, OTB, WBMP, I61 };

// Tests the upper-cased path for ".NLM", ".NSL", ".NGL", ".OTB", ".WBMP", ".I61"
// anywhere, in that order; None sends the file to the NOL/NGG reader.
ForeignFormat foreignFormatOf(const QString &path);

} // namespace logo
