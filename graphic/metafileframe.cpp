#include "graphic/metafileframe.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace logo {

namespace {

constexpr quint32 PlaceableKey = 0x9AC6CDD7u;
constexpr quint32 EmfSignature = 0x464D4520u; // " EMF"
constexpr qsizetype PlaceableSize = 22;
constexpr qsizetype WmfHeaderSize = 18;
constexpr double PixelsPerInch = 96.0;
// Nothing larger is ever needed (only the top-left 72 x 14 is used), and it
// keeps every later computation far from overflow.
constexpr double MaxNatural = 1 << 20;

quint16 u16(const QByteArray &d, qsizetype at) { return qFromLittleEndian<quint16>(d.constData() + at); }
qint16 s16(const QByteArray &d, qsizetype at) { return qFromLittleEndian<qint16>(d.constData() + at); }
quint32 u32(const QByteArray &d, qsizetype at) { return qFromLittleEndian<quint32>(d.constData() + at); }
qint32 s32(const QByteArray &d, qsizetype at) { return qFromLittleEndian<qint32>(d.constData() + at); }

bool naturalLength(double units, double unitsPerInch, int &pixels)
{
    if (unitsPerInch <= 0)
        return false;
    const double px = std::round(std::abs(units) * PixelsPerInch / unitsPerInch);
    if (px < 1 || px > MaxNatural)
        return false;
    pixels = int(px);
    return true;
}

bool isPlainWmfHeader(const QByteArray &d, qsizetype at)
{
    if (d.size() < at + WmfHeaderSize)
        return false;
    const quint16 type = u16(d, at), words = u16(d, at + 2), version = u16(d, at + 4);
    return (type == 1 || type == 2) && words == 9 && (version == 0x0100 || version == 0x0300);
}

// Record functions that set how logical units map to the device.
bool isMappingRecord(quint16 f)
{
    switch (f) {
    case 0x0103: // SETMAPMODE
    case 0x020B: // SETWINDOWORG
    case 0x020C: // SETWINDOWEXT
    case 0x020D: // SETVIEWPORTORG
    case 0x020E: // SETVIEWPORTEXT
    case 0x020F: // OFFSETWINDOWORG
    case 0x0410: // SCALEWINDOWEXT
    case 0x0211: // OFFSETVIEWPORTORG
    case 0x0412: // SCALEVIEWPORTEXT
    case 0x001E: // SAVEDC
    case 0x0127: // RESTOREDC
        return true;
    default:
        return false;
    }
}

// Record functions that put something on the page.
bool isDrawingRecord(quint16 f)
{
    switch (f) {
    case 0x0213: case 0x0325: case 0x0324: case 0x0538: case 0x041B: case 0x061C:
    case 0x0418: case 0x0817: case 0x081A: case 0x0830: case 0x0521: case 0x0A32:
    case 0x041F: case 0x061D: case 0x0922: case 0x0B23: case 0x0940: case 0x0B41:
    case 0x0F43: case 0x0D33: case 0x0228: case 0x012B: case 0x0429: case 0x012A:
    case 0x0419: case 0x0548:
        return true;
    default:
        return false;
    }
}

void appendRecord(QByteArray &out, quint16 function, std::initializer_list<qint16> params)
{
    char buf[4];
    qToLittleEndian<quint32>(quint32(3 + params.size()), buf);
    out.append(buf, 4);
    qToLittleEndian<quint16>(function, buf);
    out.append(buf, 2);
    for (qint16 p : params) {
        qToLittleEndian<qint16>(p, buf);
        out.append(buf, 2);
    }
}

bool fitsInt16(qint64 v)
{
    return v >= std::numeric_limits<qint16>::min() && v <= std::numeric_limits<qint16>::max();
}

} // namespace

MetafileKind metafileKind(const QByteArray &data)
{
    if (data.size() >= 4 && u32(data, 0) == PlaceableKey)
        return MetafileKind::Wmf;
    if (isPlainWmfHeader(data, 0))
        return MetafileKind::Wmf;
    if (data.size() >= 44 && u32(data, 0) == 1 && u32(data, 40) == EmfSignature)
        return MetafileKind::Emf;
    return MetafileKind::None;
}

bool parsePlaceableWmf(const QByteArray &data, WmfLayout &layout)
{
    if (data.size() < PlaceableSize + WmfHeaderSize || u32(data, 0) != PlaceableKey ||
        !isPlainWmfHeader(data, PlaceableSize))
        return false;
    const int left = s16(data, 6), top = s16(data, 8), right = s16(data, 10), bottom = s16(data, 12);
    const int inch = u16(data, 14);
    WmfLayout out;
    int w = 0, h = 0;
    if (!naturalLength(right - left, inch, w) || !naturalLength(bottom - top, inch, h))
        return false;
    out.natural = QSize(w, h);

    // Follow the mapping records up to the first drawing record: the window
    // they leave is what Windows stretches over the frame.
    struct Window { qint64 x, y, w, h; };
    Window win{left, top, right - left, bottom - top};
    std::vector<Window> saved;
    QByteArray mapping;
    qsizetype at = PlaceableSize + qsizetype(u16(data, PlaceableSize + 2)) * 2;
    while (at + 6 <= data.size()) {
        const quint32 words = u32(data, at);
        const quint16 function = u16(data, at + 4);
        if (words < 3 || qint64(words) * 2 > data.size() - at)
            return false;
        if ((words == 3 && function == 0) || isDrawingRecord(function))
            break;
        if (isMappingRecord(function)) {
            const qsizetype p = at + 6;
            const qsizetype params = qsizetype(words - 3);
            auto param = [&](int i) -> qint64 { return i < params ? s16(data, p + 2 * i) : 0; };
            switch (function) {
            case 0x020B: win.y = param(0); win.x = param(1); break;
            case 0x020C: win.h = param(0); win.w = param(1); break;
            case 0x020F: win.y += param(0); win.x += param(1); break;
            case 0x0410:
                if (param(0) == 0 || param(2) == 0)
                    return false;
                win.h = win.h * param(1) / param(0);
                win.w = win.w * param(3) / param(2);
                break;
            case 0x001E: saved.push_back(win); break;
            case 0x0127: {
                const qint64 n = param(0);
                const qint64 keep = n < 0 ? qint64(saved.size()) + n : n - 1;
                if (keep >= 0 && keep < qint64(saved.size())) {
                    win = saved[size_t(keep)];
                    saved.resize(size_t(keep));
                }
                break;
            }
            default: break;
            }
            if (!fitsInt16(win.x) || !fitsInt16(win.y) || !fitsInt16(win.w) || !fitsInt16(win.h))
                return false;
            mapping.append(data.constData() + at, qsizetype(words) * 2);
        }
        at += qsizetype(words) * 2;
    }
    if (win.w == 0 || win.h == 0 || !fitsInt16(win.x + win.w) || !fitsInt16(win.y + win.h))
        return false;
    out.window = QRect(int(win.x), int(win.y), int(win.w), int(win.h));

    // The probe: the same placeable and metafile headers, the mapping records,
    // then MOVETO to one corner of the window and LINETO to the other.
    QByteArray records = mapping;
    appendRecord(records, 0x0214, {qint16(win.y), qint16(win.x)});
    appendRecord(records, 0x0213, {qint16(win.y + win.h), qint16(win.x + win.w)});
    appendRecord(records, 0x0000, {});
    quint32 maxRecord = 0;
    for (qsizetype i = 0; i + 6 <= records.size();) {
        const quint32 words = u32(records, i);
        maxRecord = std::max(maxRecord, words);
        i += qsizetype(words) * 2;
    }
    QByteArray probe = data.left(PlaceableSize);
    char header[WmfHeaderSize];
    qToLittleEndian<quint16>(1, header);
    qToLittleEndian<quint16>(9, header + 2);
    qToLittleEndian<quint16>(0x0300, header + 4);
    qToLittleEndian<quint32>(quint32((WmfHeaderSize + records.size()) / 2), header + 6);
    qToLittleEndian<quint16>(0, header + 10);
    qToLittleEndian<quint32>(maxRecord, header + 12);
    qToLittleEndian<quint16>(0, header + 16);
    probe.append(header, WmfHeaderSize);
    probe.append(records);
    out.probe = probe;
    layout = out;
    return true;
}

bool parseEmfHeader(const QByteArray &data, EmfLayout &layout)
{
    constexpr qsizetype MinHeader = 88;
    if (data.size() < MinHeader || u32(data, 0) != 1 || u32(data, 40) != EmfSignature)
        return false;
    const quint32 headerSize = u32(data, 4);
    if (headerSize < MinHeader || headerSize > quint64(data.size()))
        return false;
    const qint64 fl = s32(data, 24), ft = s32(data, 28), fr = s32(data, 32), fb = s32(data, 36);
    const qint64 devW = s32(data, 72), devH = s32(data, 76);
    const qint64 mmW = s32(data, 80), mmH = s32(data, 84);
    if (fr <= fl || fb <= ft || devW <= 0 || devH <= 0 || mmW <= 0 || mmH <= 0)
        return false;
    EmfLayout out;
    int w = 0, h = 0;
    // The frame is in 0.01 mm: 2540 units to the inch.
    if (!naturalLength(double(fr - fl), 2540.0, w) || !naturalLength(double(fb - ft), 2540.0, h))
        return false;
    out.natural = QSize(w, h);

    // Reference-device pixels per 0.01 mm; the micrometre size, when the header
    // has it, is the finer measure of the same device.
    double sx = double(devW) / double(mmW * 100);
    double sy = double(devH) / double(mmH * 100);
    if (headerSize >= 108) {
        const qint64 umW = s32(data, 100), umH = s32(data, 104);
        if (umW > 0 && umH > 0) {
            sx = double(devW) / (double(umW) / 10.0);
            sy = double(devH) / (double(umH) / 10.0);
        }
    }
    out.frameDevice = QRectF(double(fl) * sx, double(ft) * sy, double(fr - fl) * sx, double(fb - ft) * sy);
    out.boundsOrigin = QPoint(s32(data, 8), s32(data, 12));
    layout = out;
    return true;
}

} // namespace logo
