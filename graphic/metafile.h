#pragma once
// Drawing a Windows metafile (WMF through libwmf, EMF through libemf2svg and
// Qt SVG) at its natural size: its own frame at 96 pixels per inch, whatever
// area the drawing happens to cover.
#include <QByteArray>
#include <QImage>
#include <QSize>

namespace logo {

// True when this build can draw the kind of metafile (the libraries were found).
bool canDrawWmf();
bool canDrawEmf();

// The top-left part of the metafile's picture, at most `limit` pixels, drawn
// without smoothing (every pixel fully drawn or not at all, as GDI draws):
// opaque where the drawing paints, transparent elsewhere. A null image when
// the data is no metafile this build can draw.
QImage renderMetafile(const QByteArray &data, const QSize &limit);

} // namespace logo
