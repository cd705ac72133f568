#pragma once
// The one picture of a main window: a fixed plane of 72 x 14 cells, of which
// the current dimensions (width x height) are in use. A cell holding 1 is a
// set (dark) pixel; any other value is clear.
#include <QString>
#include <array>
#include <cstdint>

namespace logo {

class LogoGrid {
public:
    static constexpr int MaxWidth = 72;
    static constexpr int MaxHeight = 14;

    LogoGrid();

    int width() const { return m_width; }
    int height() const { return m_height; }
    // Sets the current dimensions, taking absolute values and limiting them to 72 x 14.
    void setSize(int width, int height);

    qint16 cell(int c, int r) const { return m_cells[index(c, r)]; }
    bool isSet(int c, int r) const { return cell(c, r) == 1; }
    void setCell(int c, int r, qint16 value) { m_cells[index(c, r)] = value; }
    void setPixel(int c, int r, bool on) { setCell(c, r, on ? 1 : 0); }
    static bool inPlane(int c, int r) { return c >= 0 && c < MaxWidth && r >= 0 && r < MaxHeight; }
    bool inside(int c, int r) const { return c >= 0 && c < m_width && r >= 0 && r < m_height; }

    // Clears the cells inside the current dimensions.
    void clear();
    // Clears the whole 72 x 14 plane.
    void clearPlane();
    // True when no cell inside the current dimensions is set.
    bool isEmpty() const;
    int setCount() const;

    // "1"/"0" per pixel in picture order (rows from the top, each from the left).
    QString grid2bits() const;
    // Sets every pixel inside the dimensions from the text; characters other than
    // "1", and positions past the end of the text, clear their pixel. Runs to the
    // end without yielding, so a load is never interleaved with other events.
    void bits2grid(const QString &bits);
    // Sets the whole 72 x 14 area from a bit text, regardless of the dimensions
    // (what the foreign readers fill).
    void bits2plane(const QString &bits);
    // Upper-case hex text: height rows of (width / 8 rounded half to even) octets.
    QString grid2hex() const;
    // Rows packed as octets, as grid2hex but binary.
    QByteArray grid2octets() const;

    bool operator==(const LogoGrid &o) const = default;

private:
    static int index(int c, int r) { return r * MaxWidth + c; }
    std::array<qint16, MaxWidth * MaxHeight> m_cells{};
    int m_width = MaxWidth;
    int m_height = MaxHeight;
};

// Number of octets per row that grid2hex emits for a width: the last index is
// width / 8 - 1 rounded half to even (72 -> 9 octets, 12 -> 1, 20 -> 3).
int octetsPerRow(int width);

// Two upper-case hex characters, a leading "0" for values up to 15.
QString hexByte(int value);
// Value of a two-character hex text: first and last character, unknown ones count 0.
qint16 hex2dec(const QString &text);
// Eight "0"/"1" characters, most significant first. Values of 256 or more are
// treated as 255 and flag overflow; negative values give "00000000".
QString dec2bits(int value, bool *overflow = nullptr);
// dec2bits of each octet in turn.
QString bytes2bits(const QByteArray &bytes);
// hex2dec of each pair, then dec2bits.
QString hex2bits(const QString &hex);

} // namespace logo
