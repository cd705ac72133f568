#include "graphic/foreignformats.h"

#include "graphic/fileformats.h"
#include "graphic/pathutil.h"

#include <algorithm>

namespace logo {

namespace {

constexpr int PlaneBits = LogoGrid::MaxWidth * LogoGrid::MaxHeight;

quint8 octet(const QByteArray &b, qsizetype i)
{
    return quint8(b.at(i));
}

bool hasMark(const QByteArray &b, qsizetype offset, QByteArrayView mark)
{
    return b.size() >= offset + mark.size() && QByteArrayView(b).sliced(offset, mark.size()) == mark;
}

// The picture as a plane bit text; only called once a file has been accepted.
void fillPlane(LogoGrid &grid, const QString &bits)
{
    grid.bits2plane(bits.left(PlaneBits));
}

} // namespace

ForeignFormat foreignFormatOf(const QString &path)
{
    // Upper-cased as a whole, so that letters which only upper-case into the
    // Latin ones ("ı") count as they always have.
    const QString up = fileNameOf(path).toUpper();
    for (const FileFormat *f : foreignFormatsByName())
        if (up.contains(QString::fromLatin1(f->extension).toUpper()))
            return f->foreign;
    return ForeignFormat::None;
}

bool readNLM(const QByteArray &buffer, LogoGrid &grid, bool *wrongVersion)
{
    if (wrongVersion)
        *wrongVersion = false;
    constexpr qsizetype Header = 10;
    if (!hasMark(buffer, 0, "NLM ") || buffer.size() < 5)
        return false;
    if (octet(buffer, 4) != 1) {
        if (wrongVersion)
            *wrongVersion = true;
        return false;
    }
    if (buffer.size() < Header)
        return false;
    const int type = octet(buffer, 5);
    const int width = octet(buffer, 7);
    const int height = octet(buffer, 8);

    struct Layout { int width, height, octets; };
    static const Layout layouts[] = {{72, 14, 126}, {72, 14, 126}, {84, 48, 504}, {72, 28, 252}};
    if (type < 0 || type > 3)
        return false;
    const Layout &l = layouts[type];
    if (width != l.width || height != l.height || buffer.size() < Header + l.octets)
        return false;

    const QString bits = bytes2bits(buffer.mid(Header, l.octets));
    if (type == 2) {
        // Rows of 84 pixels, each starting on an octet boundary (88 bits apart);
        // the first 72 pixels of the first 14 rows.
        QString plane;
        plane.reserve(PlaneBits);
        for (int r = 0; r < LogoGrid::MaxHeight; ++r)
            plane += bits.mid(88 * r, LogoGrid::MaxWidth);
        fillPlane(grid, plane);
    } else {
        fillPlane(grid, bits); // types 0, 1 whole; type 3 its first 14 rows
    }
    return true;
}

bool readNSL(const QByteArray &buffer, LogoGrid &grid)
{
    constexpr qsizetype Bitmap = 70;
    constexpr qsizetype BandOctets = 84;
    constexpr qsizetype BitmapOctets = 6 * BandOctets;
    if (!hasMark(buffer, 0, "FORM") || !hasMark(buffer, 64, "NSLD") || buffer.size() < Bitmap + BitmapOctets)
        return false;
    QString plane;
    plane.reserve(PlaneBits);
    for (int r = 0; r < LogoGrid::MaxHeight; ++r) {
        for (int c = 0; c < LogoGrid::MaxWidth; ++c) {
            const quint8 column = octet(buffer, Bitmap + BandOctets * (r / 8) + c);
            plane += (column >> (r % 8)) & 1 ? QLatin1Char('1') : QLatin1Char('0');
        }
    }
    fillPlane(grid, plane);
    return true;
}

bool readNGL(const QByteArray &buffer, LogoGrid &grid)
{
    static const char marks[] = "\x20\x07\x20\x06\x20\x05\x20\x04\x20\x03\x20\x07\x20\x06\x06\x3E";
    constexpr qsizetype HexOffset = 20;
    constexpr qsizetype HexChars = 252;
    if (!hasMark(buffer, 0, "NGL ") || !hasMark(buffer, 4, QByteArrayView(marks, 16)) ||
        buffer.size() < HexOffset + HexChars)
        return false;
    fillPlane(grid, hex2bits(QString::fromLatin1(buffer.mid(HexOffset, HexChars))));
    return true;
}

bool readOTB(const QByteArray &buffer, LogoGrid &grid)
{
    constexpr qsizetype Header = 4;
    constexpr qsizetype Octets = 126;
    if (buffer.size() < Header + Octets)
        return false;
    // The first octet is the OTA info field: 0 is what a phone (and these
    // programs) send, 1 what some editors write. Anything else is another layout.
    const int info = octet(buffer, 0);
    if ((info != 0 && info != 1) || octet(buffer, 1) != 72 || octet(buffer, 2) != 14 || octet(buffer, 3) != 1)
        return false;
    fillPlane(grid, bytes2bits(buffer.mid(Header, Octets)));
    return true;
}

bool readWBMP(const QByteArray &buffer, LogoGrid &grid)
{
    constexpr qsizetype Header = 4;
    if (buffer.size() < Header || octet(buffer, 0) != 0 || octet(buffer, 1) != 0)
        return false;
    const int width = octet(buffer, 2);
    const int height = octet(buffer, 3);
    if (width % 2 != 0)
        return false;
    const qsizetype rowOctets = (width + 7) / 8;
    if (buffer.size() < Header + rowOctets * height)
        return false;

    const int rows = std::min(height, LogoGrid::MaxHeight);
    const int cols = std::min(width, LogoGrid::MaxWidth);
    QString plane(PlaneBits, QLatin1Char('0'));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const quint8 o = octet(buffer, Header + r * rowOctets + c / 8);
            const bool white = (o >> (7 - c % 8)) & 1;
            if (!white) // WBMP marks dark pixels with 0
                plane[r * LogoGrid::MaxWidth + c] = QLatin1Char('1');
        }
    }
    fillPlane(grid, plane);
    return true;
}

bool readForeign(ForeignFormat format, const QByteArray &buffer, LogoGrid &grid, bool *wrongVersion)
{
    if (wrongVersion)
        *wrongVersion = false;
    const FileFormat *f = formatOf(format);
    return f && f->read && f->read(buffer, grid, wrongVersion);
}

QString foreignReadMessage(ForeignFormat format)
{
    const FileFormat *f = formatOf(format);
    if (f && *f->refusal)
        return QString::fromLatin1(f->refusal);
    return QStringLiteral("Can't read this file. Try another file.");
}

} // namespace logo
