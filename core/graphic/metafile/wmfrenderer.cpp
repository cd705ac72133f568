// WMF: libwmf's SVG device (its raster device leaves ellipses unfilled).
#include "graphic/metafile/renderers.h"

#ifdef LOGO_HAVE_LIBWMF

#include "graphic/metafileframe.h"

#include <libwmf/api.h>
#include <libwmf/svg.h>

#include <algorithm>
#include <cmath>

namespace logo {

namespace {

// One libwmf instance on a private copy of the file.
class WmfPlayer {
public:
    explicit WmfPlayer(const QByteArray &data) : m_bytes(data)
    {
        m_bytes.detach();
        wmfAPI_Options options{};
        options.function = wmf_svg_function;
        const unsigned long flags =
            WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
        if (wmf_api_create(&m_api, flags, &options) != wmf_E_None) {
            m_api = nullptr;
            return;
        }
        if (wmf_mem_open(m_api, reinterpret_cast<unsigned char *>(m_bytes.data()), long(m_bytes.size())) !=
            wmf_E_None)
            return;
        m_open = true;
    }
    ~WmfPlayer()
    {
        if (!m_api)
            return;
        if (m_open)
            wmf_mem_close(m_api);
        wmf_api_destroy(m_api);
    }
    WmfPlayer(const WmfPlayer &) = delete;
    WmfPlayer &operator=(const WmfPlayer &) = delete;

    // The area the records draw on, in the library's device units, with a
    // margin for the pen. Needed before play().
    bool scan(QRectF &area)
    {
        if (!m_open)
            return false;
        wmfD_Rect box{};
        if (wmf_scan(m_api, 0, &box) != wmf_E_None)
            return false;
        m_scanned = true;
        area = QRectF(QPointF(box.TL.x, box.TL.y), QPointF(box.BR.x, box.BR.y)).normalized();
        return true;
    }

    // The drawing as SVG, the device area `source` stretched over `size`.
    QByteArray play(const QRectF &source, const QSize &size)
    {
        if (!m_scanned)
            return {};
        wmf_svg_t *device = WMF_SVG_GetData(m_api);
        device->out = wmf_stream_create(m_api, nullptr);
        if (!device->out)
            return {};
        device->bbox.TL.x = float(source.left());
        device->bbox.TL.y = float(source.top());
        device->bbox.BR.x = float(source.right());
        device->bbox.BR.y = float(source.bottom());
        device->width = unsigned(size.width());
        device->height = unsigned(size.height());
        device->flags |= WMF_SVG_INLINE_IMAGES; // pictures in the file stay in memory
        wmfD_Rect box{};
        const bool played = wmf_play(m_api, 0, &box) == wmf_E_None;
        char *text = nullptr;
        unsigned long length = 0;
        wmf_stream_destroy(m_api, device->out, &text, &length); // the text belongs to the instance
        device->out = nullptr;
        return played && text ? QByteArray(text, qsizetype(length)) : QByteArray();
    }

private:
    QByteArray m_bytes;
    wmfAPI *m_api = nullptr;
    bool m_open = false;
    bool m_scanned = false;
};

// One axis of locateFrame: the probe line from the origin to the extent `p`
// spans [full0, full1] with the library's margin, the half line [half0, half1].
bool locateAxis(double full0, double full1, double half0, double half1, int p, double frameExtent,
                double &lo, double &hi)
{
    const double k = double(p / 2) / p; // where the half line ends: 0 to 1/2
    const double span = ((full1 - full0) - (half1 - half0)) / (1 - k);
    if (!(span > 0))
        return false;
    const double margin = ((full1 - full0) - span) / 2;
    // Both lines start at the origin: the side they share is its side.
    const bool forward = std::abs(full0 - half0) <= std::abs(full1 - half1);
    const double origin = forward ? full0 + margin : full1 - margin;
    const double end = origin + (forward ? span : -span) * frameExtent / p;
    lo = std::min(origin, end);
    hi = std::max(origin, end);
    return hi > lo && std::isfinite(lo) && std::isfinite(hi);
}

// Where libwmf puts the frame, in its device units.
bool locateFrame(const WmfLayout &layout, QRectF &frame)
{
    QRectF full, half;
    WmfPlayer fullProbe(layout.probe), halfProbe(layout.halfProbe);
    if (!fullProbe.scan(full) || !halfProbe.scan(half))
        return false;
    double left = 0, right = 0, top = 0, bottom = 0;
    if (!locateAxis(full.left(), full.right(), half.left(), half.right(), layout.probeExtent.x(),
                    layout.frameExtent.x(), left, right) ||
        !locateAxis(full.top(), full.bottom(), half.top(), half.bottom(), layout.probeExtent.y(),
                    layout.frameExtent.y(), top, bottom))
        return false;
    frame = QRectF(QPointF(left, top), QPointF(right, bottom));
    return true;
}

} // namespace

QImage renderWmf(const QByteArray &data, const QSize &limit)
{
    WmfLayout layout;
    QRectF frame;
    if (!parsePlaceableWmf(data, layout) || !locateFrame(layout, frame))
        return {};
    WmfPlayer player(data);
    QRectF drawn;
    if (!player.scan(drawn))
        return {};
    const QByteArray svg = fitToGdi(player.play(frame, layout.natural), SvgWriter::Libwmf, QSizeF(1, 1));
    return svg.isEmpty() ? QImage() : drawSvg(svg, QRectF(), layout.natural, limit);
}

} // namespace logo

#else

namespace logo {
QImage renderWmf(const QByteArray &, const QSize &) { return {}; }
} // namespace logo

#endif // LOGO_HAVE_LIBWMF
