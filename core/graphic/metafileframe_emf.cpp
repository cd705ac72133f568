// The EMF half of the frame readers: the header, and the copy of the file
// that the converter is given.
#include "graphic/metafileframe.h"
#include "graphic/metafilebytes.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace logo {

using namespace metafilebytes;

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
