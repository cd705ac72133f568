#pragma once
// The picture as the user data of one smart message: a user-data header that
// addresses a port on the phone (16-bit application ports), for operator logos
// the network code, then the picture as an over-the-air bitmap.
//
//   group graphic:  06 05 04 | dst port | org port | 00 ww hh 01 | pixels
//   operator logo:  06 05 04 | dst port | org port | MCC MCC MNC | 00 ww hh 01 | pixels
//
// The ports and whether the network code goes in come from the ProgramProfile:
// Quillet sends caller-group graphics (1583/1583), Brisvane operator logos
// (1582/0000, with the code).
#include "desktop/profile.h"
#include "graphic/logogrid.h"

#include <QString>

namespace logo {

struct UserData {
    QString hex;     // upper-case hex text, two characters per octet
    int length = 0;  // octets of user data: the TP-UDL of the message
};

// Three octets of network code: MCC as three BCD digits plus filler F, then
// MNC as two digits, both in semi-octet order. ("262", "01") -> "62F210".
// Texts are read as decimal numbers; an MNC of three or more digits keeps its
// first and last digit only.
QString encodeOperatorCode(const QString &mcc, const QString &mnc);

// Pixel octets of the bitmap: the pixels in picture order, eight to an octet,
// the leftmost pixel in the most significant bit, a set pixel 1. For widths that
// are a multiple of 8 this is grid2hex; other widths are packed as one stream
// with only the last octet padded.
QString otaBitmapHex(const LogoGrid &grid);

// The user data of the program's smart message for the picture. The network
// code is used only by programs whose pictures carry one (Brisvane).
UserData buildUserData(const ProgramProfile &profile, const LogoGrid &grid,
                       const QString &mcc = QString(), const QString &mnc = QString());

// The same, named by kind.
UserData groupGraphicUserData(const LogoGrid &grid);
UserData operatorLogoUserData(const LogoGrid &grid, const QString &mcc, const QString &mnc);

} // namespace logo
