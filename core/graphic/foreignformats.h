#pragma once
// The logo files of other Nokia tools, only read: chosen by name, each reader
// works on the whole file and fills the 72 x 14 area.
#include "graphic/logogrid.h"

#include <QByteArray>
#include <QString>

namespace logo {

enum class ForeignFormat { None = 0, NLM, NSL, NGL, OTB, WBMP, I61 };

// Tests the upper-cased file name (never its folders) for ".NLM", ".NSL",
// ".NGL", ".OTB", ".WBMP", ".I61" anywhere, in that order; None sends the file
// to the NOL/NGG reader.
ForeignFormat foreignFormatOf(const QString &path);

// The readers. Each takes the whole file and, when it accepts it, sets the whole
// 72 x 14 plane of the grid (the dimensions stay); a refused file leaves the grid
// untouched. Every octet a reader looks at must be inside the buffer: a file cut
// short is refused, never read past its end.

// "NLM " mark, version 1, picture types 0 to 3 with their fixed sizes.
// wrongVersion (optional) tells a refusal for the version alone: the program beeps.
bool readNLM(const QByteArray &buffer, LogoGrid &grid, bool *wrongVersion = nullptr);
// "FORM" at 0 and "NSLD" at 64; an 84 x 48 picture in bands of eight rows at 70.
bool readNSL(const QByteArray &buffer, LogoGrid &grid);
// "NGL " and its sixteen mark octets; the picture as 252 hex characters at 20.
bool readNGL(const QByteArray &buffer, LogoGrid &grid);
// Info field 0 (what the programs send) or 1, then 72, 14 and depth 1; 126 octets.
bool readOTB(const QByteArray &buffer, LogoGrid &grid);
// Type 0, header 0, an even one-octet width and a one-octet height; 0 bits are
// dark. The top-left 72 x 14 of the picture is taken, the rest stays clear.
bool readWBMP(const QByteArray &buffer, LogoGrid &grid);

// The reader of a format (None and I61 have none and give false).
bool readForeign(ForeignFormat format, const QByteArray &buffer, LogoGrid &grid, bool *wrongVersion = nullptr);

// The message shown when the reader of a format refuses a file.
QString foreignReadMessage(ForeignFormat format);

} // namespace logo
