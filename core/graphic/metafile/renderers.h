#pragma once
// The two renderers of the module and what they share: a metafile's picture
// comes out of its converter as SVG, is moved onto GDI's pixel grid and drawn
// at the frame's natural size.
#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QSizeF>

namespace logo {

#ifdef LOGO_HAVE_LIBWMF
inline constexpr bool WmfRendererBuilt = true;
#else
inline constexpr bool WmfRendererBuilt = false;
#endif
#ifdef LOGO_HAVE_EMF2SVG
inline constexpr bool EmfRendererBuilt = true;
#else
inline constexpr bool EmfRendererBuilt = false;
#endif

// The top-left part (at most `limit`) of the picture; null when the data is no
// sound metafile of the kind or the renderer is not built.
QImage renderWmf(const QByteArray &data, const QSize &limit);
QImage renderEmf(const QByteArray &data, const QSize &limit);

// Who wrote the SVG, for undoing what each converter gets wrong: libwmf
// places a picture twice (by its box and again by a transform), libemf2svg
// outlines a figure drawn without pen in its fill colour.
enum class SvgWriter { Libwmf, Libemf2svg };

// GDI draws a pen's line over the pixels whose centres its coordinates name,
// a pen at least one whole pixel wide, and leaves a figure's right and bottom
// edge out; SVG draws lines centred on pixel edges. Moves every outline of the
// SVG by half a pixel, down and right, and pulls the outlines of rectangles and
// ellipses in by half a pixel on each side; fills alone stay where they are.
// `unitsPerPixel`: the SVG's own units in one pixel of the picture. Empty when
// the SVG is not well-formed.
QByteArray fitToGdi(const QByteArray &svg, SvgWriter writer, const QSizeF &unitsPerPixel);

// Draws the SVG (`viewBox` if not null, else its own) over a picture of
// `natural` pixels and keeps the top-left part, at most `limit`: every pixel
// fully drawn in its colour or transparent, as GDI draws without smoothing.
QImage drawSvg(const QByteArray &svg, const QRectF &viewBox, const QSize &natural, const QSize &limit);

} // namespace logo
