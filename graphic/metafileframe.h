#pragma once
// What a metafile says about its own frame: the natural size it is shown at
// (96 pixels per inch) and where its drawing goes inside that frame. Only the
// headers and the mapping records are looked at; drawing is the renderer's job
// (graphic/metafile.h).
#include <QByteArray>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>

namespace logo {

enum class MetafileKind { None, Wmf, Emf };

// Picks the kind by content: the placeable key (or a plain WMF header) or an
// EMF header record with its " EMF" signature.
MetafileKind metafileKind(const QByteArray &data);

// A placeable WMF. Windows draws it by mapping the logical window (as the file
// sets it before its first drawing record, else the header's box) onto the frame.
struct WmfLayout {
    QSize natural;          // the box at 96 px/inch (units per inch from the header)
    QRect window;           // logical window: origin and (signed) extent
    // A copy of the file's mapping records followed by one line across the
    // window, for finding where a renderer puts the window in its own units.
    QByteArray probe;
};
// False for a WMF without a placeable header (it has no frame), a zero box or
// units per inch, or records that run past the end of the file.
bool parsePlaceableWmf(const QByteArray &data, WmfLayout &layout);

struct EmfLayout {
    QSize natural;          // rclFrame (0.01 mm) at 96 px/inch
    QRectF frameDevice;     // the frame in reference-device pixels
    QPoint boundsOrigin;    // top-left of rclBounds (device pixels)
};
// False unless the header record is complete and signed, and the frame and
// the reference device are not empty.
bool parseEmfHeader(const QByteArray &data, EmfLayout &layout);

} // namespace logo
