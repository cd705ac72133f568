#include "sms/payload.h"

#include "sms/digits.h"

namespace logo {

namespace {

// Header of one smart message: user-data header length 6, element 05
// (application port addressing, 16-bit ports) of length 4, then the ports.
QString portHeader(const QString &destination, const QString &originator)
{
    return QStringLiteral("060504") + destination + originator;
}

// Bitmap header: info field 00, width, height, depth 1.
QString bitmapHeader(const LogoGrid &grid)
{
    return QStringLiteral("00") + hexByte(grid.width()) + hexByte(grid.height()) + QStringLiteral("01");
}

// The decimal value at the start of a text (after blanks), as the number
// formats read it; 0 when there is none.
qint64 leadingNumber(const QString &text)
{
    const QString t = text.trimmed();
    qsizetype n = 0;
    while (n < t.size() && n < 18 && t[n] >= QLatin1Char('0') && t[n] <= QLatin1Char('9'))
        ++n;
    return n ? t.left(n).toLongLong() : 0;
}

UserData finish(QString hex)
{
    UserData ud;
    ud.length = int(hex.size() / 2);
    ud.hex = std::move(hex);
    return ud;
}

} // namespace

QString encodeOperatorCode(const QString &mcc, const QString &mnc)
{
    // A country code has three digits; anything longer would shift every later
    // octet by a semi-octet, so only the last three are kept.
    const QString mccText = QStringLiteral("%1").arg(leadingNumber(mcc) % 1000, 3, 10, QLatin1Char('0'));
    const QString mncText = QStringLiteral("%1").arg(leadingNumber(mnc), 2, 10, QLatin1Char('0'));
    return swapDigitPairs(mccText + QLatin1Char('F')) + mncText.right(1) + mncText.left(1);
}

QString otaBitmapHex(const LogoGrid &grid)
{
    if (grid.width() % 8 == 0)
        return grid.grid2hex();
    QString hex;
    int acc = 0, bits = 0;
    for (int r = 0; r < grid.height(); ++r) {
        for (int c = 0; c < grid.width(); ++c) {
            acc = (acc << 1) | (grid.isSet(c, r) ? 1 : 0);
            if (++bits == 8) {
                hex += hexByte(acc);
                acc = bits = 0;
            }
        }
    }
    if (bits)
        hex += hexByte(acc << (8 - bits));
    return hex;
}

UserData buildUserData(const ProgramProfile &profile, const LogoGrid &grid, const QString &mcc,
                       const QString &mnc)
{
    QString hex = portHeader(profile.smartPort, profile.smartOriginPort);
    // Programs whose pictures belong to a network send the code in front of
    // the bitmap, with no separator.
    if (profile.requiresOperator)
        hex += encodeOperatorCode(mcc, mnc);
    hex += bitmapHeader(grid);
    hex += otaBitmapHex(grid);
    // The length is counted from the octets themselves, so that it always
    // agrees with the data: 72 x 14 gives 137 (group) and 140 (operator).
    return finish(std::move(hex));
}

UserData groupGraphicUserData(const LogoGrid &grid)
{
    return buildUserData(ProgramProfile::quillet(), grid);
}

UserData operatorLogoUserData(const LogoGrid &grid, const QString &mcc, const QString &mnc)
{
    return buildUserData(ProgramProfile::brisvane(), grid, mcc, mnc);
}

} // namespace logo
