#pragma once
// What the metafile frame readers share: little-endian fields at an offset
// (the caller has checked the length), and the conversion of a length in
// logical units to pixels.
#include <QByteArray>
#include <QtEndian>
#include <cmath>

namespace logo::metafilebytes {

constexpr quint32 EmfSignature = 0x464D4520u; // " EMF"
// Mapping modes: one logical unit a pixel, and the two that follow the window
// and viewport extents.
constexpr int MapText = 1;
constexpr int MapIsotropic = 7;
constexpr int MapAnisotropic = 8;
constexpr double PixelsPerInch = 96.0;
// Nothing larger is ever needed (only the top-left 72 x 14 is used), and it
// keeps every later computation far from overflow.
constexpr double MaxNatural = 1 << 20;

inline quint16 u16(const QByteArray &d, qsizetype at) { return qFromLittleEndian<quint16>(d.constData() + at); }
inline qint16 s16(const QByteArray &d, qsizetype at) { return qFromLittleEndian<qint16>(d.constData() + at); }
inline quint32 u32(const QByteArray &d, qsizetype at) { return qFromLittleEndian<quint32>(d.constData() + at); }
inline qint32 s32(const QByteArray &d, qsizetype at) { return qFromLittleEndian<qint32>(d.constData() + at); }

// The length in pixels at 96 dpi; false when it is under one pixel or absurdly large.
inline bool naturalLength(double units, double unitsPerInch, int &pixels)
{
    if (unitsPerInch <= 0)
        return false;
    const double px = std::round(std::abs(units) * PixelsPerInch / unitsPerInch);
    if (px < 1 || px > MaxNatural)
        return false;
    pixels = int(px);
    return true;
}

// Logical units per inch of the fixed mapping modes (MM_LOMETRIC to MM_TWIPS);
// their y axis points up.
inline double fixedUnitsPerInch(int mode)
{
    switch (mode) {
    case 2: return 254.0;
    case 3: return 2540.0;
    case 4: return 100.0;
    case 5: return 1000.0;
    case 6: return 1440.0;
    default: return 0.0;
    }
}

} // namespace logo::metafilebytes
