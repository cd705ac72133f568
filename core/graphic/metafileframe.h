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

// A placeable WMF. Windows draws it with the viewport on the frame and the
// logical window as the file sets it before its first drawing record (else the
// header's box), in the file's mapping mode: stretched over the frame
// (MM_ANISOTROPIC, the default), kept in proportion from the frame's top-left
// corner (MM_ISOTROPIC), or one pixel (MM_TEXT) or a fixed length per unit.
struct WmfLayout {
    QSize natural;          // the box at 96 px/inch (units per inch from the header)
    QRect window;           // logical window: origin and (signed) extent
    int mapMode = 8;        // MM_ANISOTROPIC unless the file sets another
    // The logical extent, from the window origin, that covers the whole frame.
    QPointF frameExtent;
    // Copies of the file's mapping records followed by one line from the window
    // origin to origin + probeExtent (probe) and to origin + probeExtent / 2
    // (halfProbe, integer halves): where a renderer puts the two lines tells
    // where it puts the frame, whatever margin it adds for the pen.
    QPoint probeExtent;
    QByteArray probe;
    QByteArray halfProbe;
};
// False for a WMF without a placeable header (it has no frame), a zero box or
// units per inch, or records that run past the end of the file.
bool parsePlaceableWmf(const QByteArray &data, WmfLayout &layout);

struct EmfLayout {
    QSize natural;          // rclFrame (0.01 mm) at 96 px/inch
    QRectF frameDevice;     // the frame in reference-device pixels
    QPoint boundsOrigin;    // top-left of rclBounds (device pixels)
    QPointF pixelsPerMillimetre; // of the reference device
};
// False unless the header record is complete and signed, and the frame and
// the reference device are not empty.
bool parseEmfHeader(const QByteArray &data, EmfLayout &layout);

// What a real picture never needs, refused before the drawing libraries see
// the file: they would spend minutes or gigabytes on it.
inline constexpr qsizetype MaxMetafileSize = 2 << 20;
inline constexpr int MaxMetafileRecords = 20000;
inline constexpr int MaxMetafileSaveDepth = 64;
// The metafile as the drawing libraries get it, or false when it is refused:
// every record must lie inside the file, there may be at most
// MaxMetafileRecords of them and at most MaxMetafileSaveDepth states saved at
// once (SaveDC, each RestoreDC counted as taking back one). What follows the end record is left off, and a WMF header's
// size fields (the file's and its largest record's) are set to what the
// records really are.
bool boundMetafile(const QByteArray &data, QByteArray &bounded);

// A copy of the EMF for a converter that follows only part of GDI's mapping:
// MM_ISOTROPIC becomes MM_ANISOTROPIC with the extents GDI settles on, and
// every pen gets its width in reference-device pixels, mapped like the
// coordinates in force when it is first selected, and is marked geometric so
// that the converter draws it that wide. Cosmetic and null pens stay as they
// are; a mapped width is at least one pixel. False when the records are unsound.
bool prepareEmfForConverter(const QByteArray &data, const EmfLayout &layout, QByteArray &prepared);

} // namespace logo
