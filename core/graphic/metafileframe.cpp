#include "graphic/metafileframe.h"
#include "graphic/metafilebytes.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace logo {

using namespace metafilebytes;

namespace {

constexpr quint32 PlaceableKey = 0x9AC6CDD7u;
constexpr qsizetype PlaceableSize = 22;
constexpr qsizetype WmfHeaderSize = 18;


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

// Keeps a probe line's far end inside 16-bit coordinates from any origin.
constexpr qint64 ProbeLimit = 16384;

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

} // namespace logo
