#pragma once
// Text helpers shared by every window: path pieces, digits, semi-octets.
// Paths are handled with either separator ("/" or "\"), so that names stored by
// a Windows build read the same on Linux.
#include <QString>

namespace logo {

// A text longer than max becomes its first 3 characters, "..." and its last
// max - 3 characters; shorter texts come back unchanged.
QString shortenPath(const QString &text, int max);
// Text after the last separator; empty when there is none.
QString fileTitle(const QString &path);
// Text up to and including the last separator; empty when there is none.
QString folderOf(const QString &path);
// Text before the last "."; empty when there is none.
QString stripExtension(const QString &path);
// Keeps only the characters "0" to "9".
QString DigitsOnly(const QString &text);
// Exchanges characters 1 and 2, 3 and 4, ... (a last odd character stays).
QString SwapDigitPairs(const QString &text);

} // namespace logo
