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

constexpr int MapText = 1;
constexpr int MapIsotropic = 7;
constexpr int MapAnisotropic = 8;
// Keeps a probe line's far end inside 16-bit coordinates from any origin.
constexpr qint64 ProbeLimit = 16384;

// Logical units per inch of the fixed mapping modes (MM_LOMETRIC to MM_TWIPS);
// their y axis points up.
double fixedUnitsPerInch(int mode)
{
    switch (mode) {
    case 2: return 254.0;
    case 3: return 2540.0;
    case 4: return 100.0;
    case 5: return 1000.0;
    case 6: return 1440.0;
    default: return 0.0;
    }
}

// The logical extent from the window origin that the frame of `natural`
// pixels covers in `mode` (the viewport being the frame).
bool frameExtent(const QRect &window, int mode, const QSizeF &natural, QPointF &extent)
{
    const double ww = window.width(), wh = window.height();
    if (mode == MapText) {
        extent = QPointF(natural.width(), natural.height());
        return true;
    }
    if (const double units = fixedUnitsPerInch(mode); units > 0) {
        extent = QPointF(natural.width() * units / PixelsPerInch, -natural.height() * units / PixelsPerInch);
        return true;
    }
    if (ww == 0 || wh == 0)
        return false;
    if (mode == MapIsotropic) {
        // One scale for both axes, the smaller: the window fills the frame
        // along one axis and starts at its top-left corner along the other.
        const double scale = std::min(natural.width() / std::abs(ww), natural.height() / std::abs(wh));
        extent = QPointF(ww * natural.width() / (std::abs(ww) * scale),
                         wh * natural.height() / (std::abs(wh) * scale));
        return true;
    }
    extent = QPointF(ww, wh); // MM_ANISOTROPIC, and what Windows treats as it
    return true;
}

// A placeable WMF of the header of `data`, the mapping records, and a line
// from `origin` to `origin + extent`.
QByteArray wmfProbe(const QByteArray &data, const QByteArray &mapping, QPoint origin, QPoint extent)
{
    QByteArray records = mapping;
    appendRecord(records, 0x0214, {qint16(origin.y()), qint16(origin.x())});
    appendRecord(records, 0x0213, {qint16(origin.y() + extent.y()), qint16(origin.x() + extent.x())});
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
    return probe;
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
    // and mapping mode they leave are what Windows puts on the frame.
    struct State { qint64 x, y, w, h; int mode; };
    State win{left, top, right - left, bottom - top, MapAnisotropic};
    std::vector<State> saved;
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
            case 0x0103: // a mode GDI doesn't know is refused: the mode stays
                if (param(0) >= MapText && param(0) <= MapAnisotropic)
                    win.mode = int(param(0));
                break;
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
    out.window = QRect(int(win.x), int(win.y), int(win.w), int(win.h));
    out.mapMode = win.mode;
    if (!frameExtent(out.window, win.mode, QSizeF(out.natural), out.frameExtent))
        return false;

    // The probe line: the frame's extent where it fits the 16-bit coordinates,
    // else a part of it (the renderer's mapping is linear), away from the
    // origin on whichever side stays in range.
    auto probeLength = [](qint64 origin, double extent) {
        qint64 length = std::clamp<qint64>(qint64(std::round(extent)), -ProbeLimit, ProbeLimit);
        if (length == 0)
            length = extent < 0 ? -1 : 1;
        return fitsInt16(origin + length) ? length : -length;
    };
    out.probeExtent = QPoint(int(probeLength(win.x, out.frameExtent.x())),
                             int(probeLength(win.y, out.frameExtent.y())));
    out.probe = wmfProbe(data, mapping, out.window.topLeft(), out.probeExtent);
    const QPoint half(out.probeExtent.x() / 2, out.probeExtent.y() / 2); // whole units
    out.halfProbe = wmfProbe(data, mapping, out.window.topLeft(), half);
    layout = out;
    return true;
}

bool boundMetafile(const QByteArray &data, QByteArray &bounded)
{
    if (data.size() > MaxMetafileSize)
        return false;
    int records = 0, depth = 0;
    // Counted as one state less whatever its parameter says: a library that
    // takes back fewer never nests deeper than counted.
    auto restore = [&depth] { depth = std::max(0, depth - 1); };
    switch (metafileKind(data)) {
    case MetafileKind::Wmf: {
        const qsizetype start = u32(data, 0) == PlaceableKey ? PlaceableSize : 0;
        if (!isPlainWmfHeader(data, start))
            return false;
        const qsizetype headerSize = qsizetype(u16(data, start + 2)) * 2;
        quint32 largest = 0;
        qsizetype at = start + headerSize;
        bool ended = false;
        while (!ended && at + 6 <= data.size()) {
            const quint32 words = u32(data, at);
            const quint16 function = u16(data, at + 4);
            if (words < 3 || qint64(words) * 2 > data.size() - at || ++records > MaxMetafileRecords)
                return false;
            largest = std::max(largest, words);
            if (function == 0x001E && ++depth > MaxMetafileSaveDepth) // SAVEDC
                return false;
            if (function == 0x0127) // RESTOREDC
                restore();
            ended = function == 0 && words == 3;
            at += qsizetype(words) * 2;
        }
        bounded = data.left(at);
        qToLittleEndian<quint32>(quint32((at - start) / 2), bounded.data() + start + 6);
        qToLittleEndian<quint32>(largest, bounded.data() + start + 12);
        return true;
    }
    case MetafileKind::Emf: {
        constexpr quint32 EmrEof = 14, EmrSaveDc = 33, EmrRestoreDc = 34;
        qsizetype at = 0;
        bool ended = false;
        while (!ended && at + 8 <= data.size()) {
            const quint32 type = u32(data, at), size = u32(data, at + 4);
            if (size < 8 || size % 4 != 0 || size > quint64(data.size() - at) || ++records > MaxMetafileRecords)
                return false;
            if (type == EmrSaveDc && ++depth > MaxMetafileSaveDepth)
                return false;
            if (type == EmrRestoreDc)
                restore();
            ended = type == EmrEof;
            at += qsizetype(size);
        }
        bounded = data.left(at);
        return true;
    }
    case MetafileKind::None:
        break;
    }
    return false;
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
    out.pixelsPerMillimetre = QPointF(sx * 100.0, sy * 100.0);
    layout = out;
    return true;
}

bool prepareEmfForConverter(const QByteArray &data, const EmfLayout &layout, QByteArray &prepared)
{
    constexpr quint32 EmrEof = 14, EmrSetWindowExt = 9, EmrSetViewportExt = 11, EmrSetMapMode = 17,
                      EmrScaleViewportExt = 31, EmrScaleWindowExt = 32, EmrSaveDc = 33, EmrRestoreDc = 34,
                      EmrSelectObject = 37, EmrCreatePen = 38, EmrDeleteObject = 40, EmrExtCreatePen = 95;
    constexpr quint32 PenStyleMask = 0x0F, PenNull = 5, PenGeometric = 0x10000, PenTypeMask = 0xF0000;
    struct Mapping {
        int mode = MapText;
        double wx = 1, wy = 1, vx = 1, vy = 1;
        bool scalable() const { return mode == MapIsotropic || mode == MapAnisotropic; }
    };
    // GDI keeps MM_ISOTROPIC's scales equal by shrinking the viewport on the
    // axis of the larger one.
    auto isotropic = [](Mapping &m) {
        if (m.mode != MapIsotropic || m.wx == 0 || m.wy == 0)
            return;
        const double s = std::min(std::abs(m.vx / m.wx), std::abs(m.vy / m.wy));
        m.vx = std::copysign(std::abs(m.wx) * s, m.vx);
        m.vy = std::copysign(std::abs(m.wy) * s, m.vy);
    };
    // Logical to device scale along x: a pen has one width, and GDI measures
    // it along the x axis.
    auto scaleOf = [&](const Mapping &m) -> double {
        if (m.scalable())
            return m.wx == 0 ? 0 : std::abs(m.vx / m.wx);
        if (const double units = fixedUnitsPerInch(m.mode); units > 0)
            return layout.pixelsPerMillimetre.x() * 25.4 / units;
        return 1.0;
    };
    auto append = [](QByteArray &out, quint32 type, std::initializer_list<qint32> params) {
        char buf[4];
        qToLittleEndian<quint32>(type, buf);
        out.append(buf, 4);
        qToLittleEndian<quint32>(quint32(8 + 4 * params.size()), buf);
        out.append(buf, 4);
        for (qint32 p : params) {
            qToLittleEndian<qint32>(p, buf);
            out.append(buf, 4);
        }
    };
    auto extent = [](double v) { return qint32(std::clamp(std::round(v), -2147483647.0, 2147483647.0)); };

    // Pens by handle: where their record is in the output, and whether their
    // width is mapped yet (at their first selection).
    struct Pen { qsizetype at = -1; bool mapped = false; };
    std::vector<Pen> pens;
    auto pen = [&](quint32 handle) -> Pen * {
        if (handle & 0x80000000u || handle >= 0x10000u) // stock objects; no real table is that large
            return nullptr;
        if (handle >= pens.size())
            pens.resize(handle + 1);
        return &pens[handle];
    };

    QByteArray out;
    out.reserve(data.size());
    Mapping map;
    std::vector<Mapping> saved;
    quint32 records = 0;
    qsizetype at = 0;
    while (at + 8 <= data.size()) {
        const quint32 type = u32(data, at), size = u32(data, at + 4);
        if (size < 8 || size % 4 != 0 || size > quint64(data.size() - at))
            return false;
        auto param = [&](int i) -> qint32 { return 12 + 4 * quint32(i) <= size ? s32(data, at + 8 + 4 * i) : 0; };
        const qsizetype written = out.size();
        out.append(data.constData() + at, size);
        ++records;
        bool mappingChanged = false;
        switch (type) {
        case EmrSetMapMode:
            if (param(0) < MapText || param(0) > MapAnisotropic)
                break; // refused by GDI: the mode stays
            map.mode = param(0);
            if (!map.scalable()) {
                // The fixed modes bring their own extents, which the two
                // scalable modes start from.
                const double s = scaleOf(map);
                map.wx = map.wy = 1;
                map.vx = s;
                map.vy = fixedUnitsPerInch(map.mode) > 0 ? -s : s;
            }
            mappingChanged = true;
            break;
        case EmrSetWindowExt:
        case EmrSetViewportExt:
            if (map.scalable()) {
                (type == EmrSetWindowExt ? map.wx : map.vx) = param(0);
                (type == EmrSetWindowExt ? map.wy : map.vy) = param(1);
                mappingChanged = true;
            }
            break;
        case EmrScaleWindowExt:
        case EmrScaleViewportExt:
            if (map.scalable() && param(1) != 0 && param(3) != 0) {
                double &x = type == EmrScaleWindowExt ? map.wx : map.vx;
                double &y = type == EmrScaleWindowExt ? map.wy : map.vy;
                x = std::trunc(x * param(0) / param(1));
                y = std::trunc(y * param(2) / param(3));
                mappingChanged = true;
            }
            break;
        case EmrSaveDc: saved.push_back(map); break;
        case EmrRestoreDc: {
            const qint64 n = param(0);
            const qint64 keep = n < 0 ? qint64(saved.size()) + n : -1;
            if (keep >= 0 && keep < qint64(saved.size())) {
                map = saved[size_t(keep)];
                saved.resize(size_t(keep));
            }
            break;
        }
        case EmrCreatePen:
        case EmrExtCreatePen:
            if (Pen *p = pen(quint32(param(0))); p && size >= (type == EmrCreatePen ? 28u : 52u))
                *p = Pen{written, false};
            break;
        case EmrDeleteObject:
            if (Pen *p = pen(quint32(param(0))))
                *p = Pen{};
            break;
        case EmrSelectObject: {
            Pen *p = pen(quint32(param(0)));
            if (!p || p->at < 0 || p->mapped)
                break;
            p->mapped = true;
            const bool extended = u32(out, p->at) == EmrExtCreatePen;
            const qsizetype styleAt = p->at + (extended ? 28 : 12), widthAt = styleAt + 4;
            quint32 style = u32(out, styleAt);
            const qint64 width = s32(out, widthAt);
            if ((style & PenStyleMask) == PenNull || width <= 0)
                break; // no line, or the one-pixel pen
            if (extended && (style & PenTypeMask) != PenGeometric)
                break; // cosmetic: one pixel whatever the mapping
            const qint32 device = qint32(std::clamp(std::round(double(width) * scaleOf(map)), 1.0, 1e9));
            if (!extended) {
                // A plain pen wider than a pixel is always solid.
                if (device > 1 && (style & PenStyleMask) >= 1 && (style & PenStyleMask) <= 4)
                    style &= ~PenStyleMask;
                style = (style & ~PenTypeMask) | PenGeometric;
            }
            qToLittleEndian<quint32>(style, out.data() + styleAt);
            qToLittleEndian<qint32>(device, out.data() + widthAt);
            break;
        }
        default: break;
        }
        if (map.mode == MapIsotropic && mappingChanged) {
            // The converter sees MM_ANISOTROPIC and the extents GDI settles on.
            isotropic(map);
            if (type == EmrSetMapMode)
                qToLittleEndian<qint32>(MapAnisotropic, out.data() + written + 8);
            // Only the ratios count: whole numbers near a million keep them.
            const double k = 1048576.0 / std::max({std::abs(map.wx), std::abs(map.wy), std::abs(map.vx),
                                                    std::abs(map.vy), 1.0});
            append(out, EmrSetWindowExt, {extent(map.wx * k), extent(map.wy * k)});
            append(out, EmrSetViewportExt, {extent(map.vx * k), extent(map.vy * k)});
            records += 2;
        }
        at += qsizetype(size);
        if (type == EmrEof)
            break;
    }
    if (out.size() < 88 || out.size() > std::numeric_limits<qint32>::max())
        return false;
    qToLittleEndian<quint32>(quint32(out.size()), out.data() + 48); // nBytes
    qToLittleEndian<quint32>(records, out.data() + 52);             // nRecords
    prepared = out;
    return true;
}

} // namespace logo
