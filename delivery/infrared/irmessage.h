#pragma once
// The picture as the one message a 61xx phone takes over infrared:
//
//   14 7F 00 12 00 len | 0C 0C 06 05 04 | kind (4) | [network code (3)] |
//   00 48 0E 01 | 126 bitmap octets | DB A5
//
// len counts the octets after the first six (0x90 for an operator logo, 0x8D
// for a group graphic). The kind octets come from the program's profile; the
// network code goes in for programs whose pictures carry one (Brisvane).
#include "desktop/profile.h"
#include "graphic/logogrid.h"

#include <QByteArray>

namespace logo {

// M1 M2 N1: the MCC with at least three digits, its first two digits in
// semi-octet order, then 0xF0 with its last digit; the MNC with at least two
// digits, its first two in semi-octet order. 262/01 -> 62 F2 10.
QByteArray irNetworkCode(const QString &mcc, const QString &mnc);

// The bitmap as the header announces it, 72 x 14: nine octets a row, the
// leftmost pixel in the top bit, a set pixel 1. A smaller picture sits at the
// top left, the rest clear.
QByteArray irBitmap(const LogoGrid &grid);

// The whole message: 150 octets with a network code, 147 without.
QByteArray buildIrMessage(const ProgramProfile &profile, const LogoGrid &grid,
                          const QString &mcc = QString(), const QString &mnc = QString());

} // namespace logo
