#include "infrared/irmessage.h"

namespace logo {

namespace {

// The decimal digits of a number text, zero-filled on the left to at least
// minDigits ("5" -> "05").
QString digitsAtLeast(const QString &text, int minDigits)
{
    return QString::number(qMax(0, text.trimmed().toInt())).rightJustified(minDigits, QLatin1Char('0'));
}

quint8 semiOctets(QChar first, QChar second)
{
    return quint8((second.digitValue() << 4) | first.digitValue());
}

} // namespace

QByteArray irNetworkCode(const QString &mcc, const QString &mnc)
{
    const QString c = digitsAtLeast(mcc, 3);
    const QString n = digitsAtLeast(mnc, 2);
    QByteArray code;
    code.append(char(semiOctets(c[0], c[1])));
    code.append(char(0xF0 | c.back().digitValue()));
    code.append(char(semiOctets(n[0], n[1])));
    return code;
}

QByteArray irBitmap(const LogoGrid &grid)
{
    constexpr int rowOctets = LogoGrid::MaxWidth / 8;
    QByteArray bits(rowOctets * LogoGrid::MaxHeight, '\0');
    for (int r = 0; r < grid.height(); ++r)
        for (int c = 0; c < grid.width(); ++c)
            if (grid.isSet(c, r))
                bits[r * rowOctets + c / 8] = char(quint8(bits[r * rowOctets + c / 8]) | (0x80 >> (c % 8)));
    return bits;
}

QByteArray buildIrMessage(const ProgramProfile &profile, const LogoGrid &grid, const QString &mcc,
                          const QString &mnc)
{
    QByteArray body = QByteArray::fromHex("0C0C060504") + profile.irKindOctets;
    if (profile.requiresOperator)
        body += irNetworkCode(mcc, mnc);
    body += QByteArray::fromHex("00480E01");
    body += irBitmap(grid);
    body += QByteArray::fromHex("DBA5");
    return QByteArray::fromHex("147F001200") + char(body.size()) + body;
}

} // namespace logo
