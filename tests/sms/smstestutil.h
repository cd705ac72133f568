#pragma once
// Pictures and numbers shared by the smart-message suites.
#include "common/testsupport.h"
#include "graphic/logogrid.h"

#include <QString>
#include <QtGlobal>

namespace smstest {

// A 72 x 14 picture whose octets differ from row to row and column to column,
// so that a shifted or mirrored bitmap cannot pass.
inline logo::LogoGrid patternGrid(int width = 72, int height = 14)
{
    logo::LogoGrid g;
    g.setSize(width, height);
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c)
            g.setPixel(c, r, (c * 7 + r * 3) % 5 == 0 || c == r);
    return g;
}

// Twelve-digit numbers d1..d12 / c1..c12 with every digit different in a pair.
inline const QString kDestination = QStringLiteral("491711234567");
inline const QString kCentre = QStringLiteral("491710760000");

// A program built beside the tests (logotool, phonesim).
inline QString toolPath(const char *name)
{
    return logotest::toolPath(QString::fromLatin1(name));
}

} // namespace smstest
