#include "graphic/metafile.h"

#include "graphic/metafileframe.h"

#include <QPainter>
#include <QRectF>
#include <algorithm>
#include <cstdlib>

#ifdef LOGO_HAVE_LIBWMF
#include <libwmf/api.h>
#include <libwmf/gd.h>
#endif
#ifdef LOGO_HAVE_EMF2SVG
#include <QSvgRenderer>
#include <emf2svg.h>
#endif

namespace logo {

namespace {

// The part of the natural picture that is kept.
QSize keptSize(const QSize &natural, const QSize &limit)
{
    return QSize(std::min(natural.width(), limit.width()), std::min(natural.height(), limit.height()));
}

#ifdef LOGO_HAVE_LIBWMF

// One libwmf instance on a private copy of the file, drawing through the
// library's own raster device (no smoothing).
class WmfPlayer {
public:
    explicit WmfPlayer(const QByteArray &data) : m_bytes(data)
    {
        m_bytes.detach();
        wmfAPI_Options options{};
        options.function = wmf_gd_function;
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

    // The area the records draw on, in the library's device units.
    bool scan(QRectF &area)
    {
        if (!m_open)
            return false;
        wmfD_Rect box{};
        if (wmf_scan(m_api, 0, &box) != wmf_E_None)
            return false;
        area = QRectF(QPointF(box.TL.x, box.TL.y), QPointF(box.BR.x, box.BR.y)).normalized();
        return true;
    }

    // Draws the device area `source` stretched over a picture of `size`.
    QImage play(const QRectF &source, const QSize &size)
    {
        wmf_gd_t *device = WMF_GD_GetData(m_api);
        device->type = wmf_gd_image;
        device->bbox.TL.x = float(source.left());
        device->bbox.TL.y = float(source.top());
        device->bbox.BR.x = float(source.right());
        device->bbox.BR.y = float(source.bottom());
        device->width = unsigned(size.width());
        device->height = unsigned(size.height());
        wmfD_Rect box{};
        if (wmf_play(m_api, 0, &box) != wmf_E_None || !device->gd_image)
            return {};
        const int *pixels = wmf_gd_image_pixels(device->gd_image);
        if (!pixels)
            return {};
        QImage image(size, QImage::Format_ARGB32);
        for (int y = 0; y < size.height(); ++y) {
            QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < size.width(); ++x) {
                // gd: 7-bit alpha on top, 0 opaque and 127 fully transparent.
                const unsigned p = unsigned(pixels[y * size.width() + x]);
                const bool clear = ((p >> 24) & 0x7F) >= 64;
                line[x] = clear ? qRgba(0, 0, 0, 0) : (0xFF000000u | (p & 0xFFFFFFu));
            }
        }
        return image;
    }

private:
    QByteArray m_bytes;
    wmfAPI *m_api = nullptr;
    bool m_open = false;
};

QImage renderWmf(const QByteArray &data, const QSize &limit)
{
    WmfLayout layout;
    if (!parsePlaceableWmf(data, layout))
        return {};
    // libwmf stretches whatever area it is given over the picture, and left to
    // itself gives the area the drawing covers. Find where it puts the file's
    // window (the probe draws one line across it) and hand it that instead.
    QRectF window;
    {
        WmfPlayer probe(layout.probe);
        if (!probe.scan(window) || window.width() <= 0 || window.height() <= 0)
            return {};
    }
    const QSize size = keptSize(layout.natural, limit);
    const QRectF kept(window.left(), window.top(),
                      window.width() * size.width() / layout.natural.width(),
                      window.height() * size.height() / layout.natural.height());
    WmfPlayer player(data);
    QRectF drawn;
    if (!player.scan(drawn))
        return {};
    return player.play(kept, size);
}

#endif // LOGO_HAVE_LIBWMF

#ifdef LOGO_HAVE_EMF2SVG

// Hardens smoothed edges: a pixel at least half covered is fully drawn in its
// own colour, anything less is not drawn.
QImage withoutSmoothing(const QImage &premultiplied)
{
    QImage image = premultiplied.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qAlpha(line[x]) >= 128 ? (line[x] | 0xFF000000u) : qRgba(0, 0, 0, 0);
    }
    return image;
}

QImage renderEmf(const QByteArray &data, const QSize &limit)
{
    EmfLayout layout;
    if (!parseEmfHeader(data, layout))
        return {};
    QByteArray bytes = data;
    bytes.detach();
    generatorOptions options{};
    char noNamespace[] = "";
    options.nameSpace = noNamespace;
    options.verbose = false;
    options.emfplus = false;
    options.svgDelimiter = true;
    char *svg = nullptr;
    size_t svgLength = 0;
    const int ok = emf2svg(bytes.data(), size_t(bytes.size()), &svg, &svgLength, &options);
    const QByteArray document = svg ? QByteArray(svg, qsizetype(svgLength)) : QByteArray();
    std::free(svg);
    if (!ok || document.isEmpty())
        return {};
    QSvgRenderer renderer(document);
    if (!renderer.isValid())
        return {};
    // The converter sizes its page to rclBounds (what the drawing covers) and
    // moves the drawing to that page's corner; look at the frame instead.
    renderer.setViewBox(layout.frameDevice.translated(-QPointF(layout.boundsOrigin)));
    const QSize size = keptSize(layout.natural, limit);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(layout.natural)));
    }
    return withoutSmoothing(image);
}

#endif // LOGO_HAVE_EMF2SVG

} // namespace

bool canDrawWmf()
{
#ifdef LOGO_HAVE_LIBWMF
    return true;
#else
    return false;
#endif
}

bool canDrawEmf()
{
#ifdef LOGO_HAVE_EMF2SVG
    return true;
#else
    return false;
#endif
}

QImage renderMetafile(const QByteArray &data, const QSize &limit)
{
    if (limit.isEmpty())
        return {};
    switch (metafileKind(data)) {
    case MetafileKind::Wmf:
#ifdef LOGO_HAVE_LIBWMF
        return renderWmf(data, limit);
#else
        break;
#endif
    case MetafileKind::Emf:
#ifdef LOGO_HAVE_EMF2SVG
        return renderEmf(data, limit);
#else
        break;
#endif
    case MetafileKind::None:
        break;
    }
    return {};
}

} // namespace logo
