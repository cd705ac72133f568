// EMF: libemf2svg, on a copy of the file with its isotropic mapping and pen
// widths spelled out (it takes MM_ISOTROPIC for MM_ANISOTROPIC and a pen's
// width as pixels whatever the mapping).
#include "graphic/metafile/renderers.h"

#ifdef LOGO_HAVE_EMF2SVG

#include "graphic/metafileframe.h"

#include <cstdlib>
#include <emf2svg.h>

namespace logo {

QImage renderEmf(const QByteArray &data, const QSize &limit)
{
    EmfLayout layout;
    if (!parseEmfHeader(data, layout))
        return {};
    QByteArray bytes;
    if (!prepareEmfForConverter(data, layout, bytes))
        return {};
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
    // The converter draws in reference-device pixels on a page the size of
    // rclBounds (what the drawing covers), moved to that page's corner; look
    // at the frame instead.
    const QRectF frame = layout.frameDevice.translated(-QPointF(layout.boundsOrigin));
    const QSizeF unitsPerPixel(frame.width() / layout.natural.width(), frame.height() / layout.natural.height());
    const QByteArray fitted = fitToGdi(document, SvgWriter::Libemf2svg, unitsPerPixel);
    return fitted.isEmpty() ? QImage() : drawSvg(fitted, frame, layout.natural, limit);
}

} // namespace logo

#else

namespace logo {
QImage renderEmf(const QByteArray &, const QSize &) { return {}; }
} // namespace logo

#endif // LOGO_HAVE_EMF2SVG
