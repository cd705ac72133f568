#pragma once
// Digit helpers of phone numbers and network codes.
#include <QString>

namespace logo {

// Keeps only the characters "0" to "9".
QString digitsOnly(const QString &text);
// Exchanges characters 1 and 2, 3 and 4, ... (a last odd character stays):
// the semi-octets of a number in a PDU.
QString swapDigitPairs(const QString &text);

} // namespace logo
