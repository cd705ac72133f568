// libFuzzer target: every foreign logo reader of the table of formats, the
// metafile header parsers and the metafile bounds on the same input. Besides
// the sanitizers it checks what the readers promise: a refused file leaves the
// grid as it was, an accepted one stores only 0 and 1 and never touches the
// dimensions.
#include "graphic/fileformats.h"
#include "graphic/metafileframe.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

using namespace logo;

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

LogoGrid patterned()
{
    LogoGrid g;
    g.setSize(16, 8);
    for (int r = 0; r < LogoGrid::MaxHeight; ++r)
        for (int c = 0; c < LogoGrid::MaxWidth; ++c)
            g.setCell(c, r, qint16((c * 7 + r * 3) % 5 == 0 ? 1 : 0));
    return g;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // No copy: a read past the end lands in the fuzzer's own guarded buffer.
    const QByteArray buffer = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));

    static const LogoGrid start = patterned();
    for (const FileFormat *f : formatsOf(FormatRole::Foreign)) {
        if (!f->read)
            continue; // read as a picture, not here
        LogoGrid grid = start;
        bool wrongVersion = false;
        const bool ok = readForeign(f->foreign, buffer, grid, &wrongVersion);
        check(grid.width() == start.width() && grid.height() == start.height());
        if (!ok) {
            check(grid == start);
        } else {
            check(!wrongVersion);
            for (int r = 0; r < LogoGrid::MaxHeight; ++r)
                for (int c = 0; c < LogoGrid::MaxWidth; ++c)
                    check(grid.cell(c, r) == 0 || grid.cell(c, r) == 1);
        }
    }

    (void)metafileKind(buffer);
    QByteArray bounded;
    if (boundMetafile(buffer, bounded)) {
        // What the drawing libraries get is no larger, and passes again unchanged.
        QByteArray again;
        check(bounded.size() <= buffer.size() && boundMetafile(bounded, again) && again == bounded);
    }
    WmfLayout wmf;
    if (parsePlaceableWmf(buffer, wmf)) {
        check(wmf.natural.width() > 0 && wmf.natural.height() > 0);
        WmfLayout again;
        // The probes are themselves sound placeable files with the same window.
        for (const QByteArray &probe : {wmf.probe, wmf.halfProbe}) {
            check(parsePlaceableWmf(probe, again));
            check(again.window == wmf.window && again.mapMode == wmf.mapMode);
        }
        check(wmf.probeExtent.x() != 0 && wmf.probeExtent.y() != 0);
    }
    EmfLayout emf;
    if (parseEmfHeader(buffer, emf)) {
        check(emf.natural.width() > 0 && emf.natural.height() > 0);
        QByteArray prepared;
        if (prepareEmfForConverter(buffer, emf, prepared)) {
            EmfLayout again;
            check(parseEmfHeader(prepared, again) && again.natural == emf.natural);
        }
    }
    return 0;
}
