#include "graphic/logogrid.h"

#include <cmath>
#include <cstdlib>

namespace logo {

LogoGrid::LogoGrid() = default;

void LogoGrid::setSize(int width, int height)
{
    m_width = std::min(std::abs(width), MaxWidth);
    m_height = std::min(std::abs(height), MaxHeight);
}

void LogoGrid::clear()
{
    for (int r = 0; r < m_height; ++r)
        for (int c = 0; c < m_width; ++c)
            setCell(c, r, 0);
}

void LogoGrid::clearPlane()
{
    m_cells.fill(0);
}

bool LogoGrid::isEmpty() const
{
    // Sum of the cells, as a person counting them would; only 0/1 are stored.
    long sum = 0;
    for (int r = 0; r < m_height; ++r)
        for (int c = 0; c < m_width; ++c)
            sum += cell(c, r);
    return sum == 0;
}

int LogoGrid::setCount() const
{
    int n = 0;
    for (int r = 0; r < m_height; ++r)
        for (int c = 0; c < m_width; ++c)
            n += isSet(c, r) ? 1 : 0;
    return n;
}

QString LogoGrid::grid2bits() const
{
    QString out;
    out.reserve(m_width * m_height);
    for (int r = 0; r < m_height; ++r)
        for (int c = 0; c < m_width; ++c)
            out += isSet(c, r) ? QLatin1Char('1') : QLatin1Char('0');
    return out;
}

void LogoGrid::bits2grid(const QString &bits)
{
    int p = 0;
    for (int r = 0; r < m_height; ++r)
        for (int c = 0; c < m_width; ++c, ++p)
            setCell(c, r, (p < bits.size() && bits.at(p) == QLatin1Char('1')) ? 1 : 0);
}

void LogoGrid::bits2plane(const QString &bits)
{
    int p = 0;
    for (int r = 0; r < MaxHeight; ++r)
        for (int c = 0; c < MaxWidth; ++c, ++p)
            setCell(c, r, (p < bits.size() && bits.at(p) == QLatin1Char('1')) ? 1 : 0);
}

int octetsPerRow(int width)
{
    // Last octet index is width / 8 - 1 rounded half to even; count is one more.
    const double last = std::nearbyint(double(width) / 8.0 - 1.0); // FE_TONEAREST: half to even
    return int(last) + 1;
}

QByteArray LogoGrid::grid2octets() const
{
    QByteArray out;
    const int n = octetsPerRow(m_width);
    for (int r = 0; r < m_height; ++r) {
        for (int k = 0; k < n; ++k) {
            int v = 0;
            for (int b = 0; b < 8; ++b) {
                const int c = 8 * k + b;
                if (inPlane(c, r) && isSet(c, r))
                    v += 1 << (7 - b);
            }
            out.append(char(v));
        }
    }
    return out;
}

QString LogoGrid::grid2hex() const
{
    QString out;
    for (char ch : grid2octets())
        out += hexByte(quint8(ch));
    return out;
}

QString hexByte(int value)
{
    QString s = QString::number(value, 16).toUpper();
    if (value >= 0 && value <= 15)
        s.prepend(QLatin1Char('0'));
    return s;
}

qint16 hex2dec(const QString &text)
{
    static const QString digits = QStringLiteral("0123456789ABCDEF");
    if (text.isEmpty())
        return 0;
    const QString up = text.toUpper();
    const int hi = std::max<qsizetype>(digits.indexOf(up.front()), 0);
    const int lo = std::max<qsizetype>(digits.indexOf(up.back()), 0);
    return qint16(hi * 16 + lo);
}

QString dec2bits(int value, bool *overflow)
{
    if (overflow)
        *overflow = false;
    if (value >= 256) {
        if (overflow)
            *overflow = true;
        value = 255;
    }
    QString out;
    out.reserve(8);
    for (int weight = 128; weight >= 2; weight /= 2) {
        if (value >= weight) {
            out += QLatin1Char('1');
            value -= weight;
        } else {
            out += QLatin1Char('0');
        }
    }
    out += value >= 1 ? QLatin1Char('1') : QLatin1Char('0');
    return out;
}

QString bytes2bits(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size() * 8);
    for (char ch : bytes)
        out += dec2bits(quint8(ch));
    return out;
}

QString hex2bits(const QString &hex)
{
    QString out;
    for (qsizetype i = 0; i + 1 < hex.size(); i += 2)
        out += dec2bits(hex2dec(hex.mid(i, 2)));
    return out;
}

} // namespace logo
