#pragma once
// Drawing a Windows metafile (WMF through libwmf, EMF through libemf2svg, both
// drawn by Qt SVG) at its natural size: its own frame at 96 pixels per inch,
// whatever area the drawing happens to cover. The drawing libraries live in a
// module of their own, loaded on the first metafile (graphic/metafile/module.h),
// looked for in this order:
//   - the file named by the environment variable LOGO_METAFILE_MODULE (only it),
//   - next to the program (the build folder),
//   - in ../lib/brisvane-quillet/ from the program (the installed layout;
//     ../lib/<multiarch>/brisvane-quillet/ when installed under /usr on Debian).
// A module file, or its folder, that anyone but the user or the system may
// change is passed over. Without a module no metafile imports, like any
// picture that can't be loaded.
#include <QByteArray>
#include <QImage>
#include <QSize>

namespace logo {

// True when the kind of metafile can be drawn (the module is there and was
// built with that kind's library). Loads the module.
bool canDrawWmf();
bool canDrawEmf();

// The top-left part of the metafile's picture, at most `limit` pixels, drawn
// without smoothing (every pixel fully drawn or not at all, as GDI draws):
// opaque where the drawing paints, transparent elsewhere. A null image when
// the data is no metafile that can be drawn, or one that asks for more than a
// real picture needs (boundMetafile, graphic/metafileframe.h). Loads the
// module for a metafile only.
QImage renderMetafile(const QByteArray &data, const QSize &limit);

} // namespace logo
