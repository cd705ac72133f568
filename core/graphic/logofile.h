#pragma once
// NOL (operator logo) and NGG (group graphic) files, and NCG read like NGG:
// a 16- or 20-byte little-endian header, one "0"/"1" byte per pixel, and a text
// trailer that nothing reads.
#include "desktop/safewrite.h"   // writeFileAtomically, for the files written here
#include "graphic/logogrid.h"

#include <QByteArray>
#include <QString>

namespace logo {

struct LogoFileContent {
    QByteArray magic;      // "NOL", "NGG" or "NCG"
    bool isNol = false;
    QString mcc;           // formatted with at least three digits (NOL only)
    QString mnc;           // at least two digits (NOL only)
    int width = 0;         // absolute value, limited to 72
    int height = 0;        // absolute value, limited to 14
    QString bits;          // width x height characters; missing bytes read as clear
};

enum class LogoParse { Ok, Refused };

// The most bytes a read uses: the NOL header and a 72 x 14 picture.
inline constexpr int LogoFileReadLimit = 20 + LogoGrid::MaxWidth * LogoGrid::MaxHeight;

// Parses a whole file. Refused: wrong magic or version, or too short to hold
// its own header.
LogoParse parseLogoFile(const QByteArray &bytes, LogoFileContent &out);

// NOL when the file name names NOL (nativeTypeOf: ".nol" anywhere, so
// "picture.nol.bak" too, unless a later ".ngg" follows it), else NGG; the
// folders above it never count.
bool isNolPath(const QString &path);
// True when the bytes start with the magic of a NOL, NGG or NCG file ("NOL",
// "NGG" or "NCG" and a zero byte): such a file is read as one whatever its
// name suggests.
bool hasNativeHeader(const QByteArray &start);

// "###000" / "##00": at least three / two digits.
QString formatMcc(int mcc);
QString formatMnc(int mnc);

// Trailer text: kind, credit, ", Made by ", author, CR.
QByteArray logoTrailer(bool nol, const QString &credit, const QString &author);

// The bytes of a file for the grid. filler must lie in 45..99.
QByteArray buildLogoFile(const LogoGrid &grid, bool nol, qint16 mcc, qint16 mnc, int filler,
                         const QString &credit, const QString &author);

// A random filler value from 45 to 99.
int randomFiller();

} // namespace logo
