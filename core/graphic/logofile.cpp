#include "graphic/logofile.h"

#include "graphic/pathutil.h"
#include "graphic/savenames.h"

#include <QRandomGenerator>
#include <QtEndian>

namespace logo {

static qint16 le16(const QByteArray &b, int offset)
{
    return qFromLittleEndian<qint16>(b.constData() + offset);
}

LogoParse parseLogoFile(const QByteArray &bytes, LogoFileContent &out)
{
    if (bytes.size() < 6)
        return LogoParse::Refused;
    const QByteArray magic = bytes.left(4);
    if (!hasNativeHeader(bytes) || le16(bytes, 4) != 1)
        return LogoParse::Refused;

    LogoFileContent c;
    c.magic = magic.left(3);
    c.isNol = c.magic == "NOL";
    int pos = 6;
    const int headerSize = c.isNol ? 20 : 16;
    if (bytes.size() < headerSize)
        return LogoParse::Refused;
    if (c.isNol) {
        c.mcc = formatMcc(le16(bytes, 6));
        c.mnc = formatMnc(le16(bytes, 8));
        pos = 10;
    }
    c.width = std::min(std::abs(int(le16(bytes, pos))), LogoGrid::MaxWidth);
    c.height = std::min(std::abs(int(le16(bytes, pos + 2))), LogoGrid::MaxHeight);
    const QByteArray pixels = bytes.mid(headerSize, c.width * c.height);
    c.bits = QString::fromLatin1(pixels);
    out = c;
    return LogoParse::Ok;
}

bool isNolPath(const QString &path)
{
    return nativeTypeOf(path) == SavedType::Nol;
}

bool hasNativeHeader(const QByteArray &start)
{
    const QByteArray magic = start.left(4);
    return magic == QByteArray("NGG\0", 4) || magic == QByteArray("NCG\0", 4) || magic == QByteArray("NOL\0", 4);
}

static QString zeroPadded(int value, int digits)
{
    const QString body = QStringLiteral("%1").arg(std::abs(value), digits, 10, QLatin1Char('0'));
    return value < 0 ? QStringLiteral("-") + body : body;
}

QString formatMcc(int mcc) { return zeroPadded(mcc, 3); }
QString formatMnc(int mnc) { return zeroPadded(mnc, 2); }

QByteArray logoTrailer(bool nol, const QString &credit, const QString &author)
{
    QByteArray t = nol ? QByteArray("Operator-Logo File, v1.0") : QByteArray("Group-Graphic File, v1.0");
    t += credit.toLatin1();
    t += ", Made by ";
    t += author.toLatin1();
    t += '\r';
    return t;
}

static void putLe16(QByteArray &b, qint16 v)
{
    char buf[2];
    qToLittleEndian<qint16>(v, buf);
    b.append(buf, 2);
}

QByteArray buildLogoFile(const LogoGrid &grid, bool nol, qint16 mcc, qint16 mnc, int filler,
                         const QString &credit, const QString &author)
{
    QByteArray b;
    b.append(nol ? QByteArray("NOL\0", 4) : QByteArray("NGG\0", 4));
    putLe16(b, 1);
    if (nol) {
        putLe16(b, mcc);
        putLe16(b, mnc);
    }
    putLe16(b, qint16(grid.width()));
    putLe16(b, qint16(grid.height()));
    putLe16(b, 1);
    putLe16(b, 1);
    putLe16(b, qint16(filler));
    b.append(grid.grid2bits().toLatin1());
    b.append(logoTrailer(nol, credit, author));
    return b;
}

int randomFiller()
{
    // Whole part of 55 times a number in [0, 1), plus 45.
    return 45 + int(QRandomGenerator::global()->generateDouble() * 55.0);
}

} // namespace logo
