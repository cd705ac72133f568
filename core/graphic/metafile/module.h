#pragma once
// The metafile drawing module: libwmf, libemf2svg and Qt SVG live in their own
// loadable library, so that nothing else carries them. The core loads it on
// the first metafile import (graphic/metafile.cpp) and asks it for this table
// through its one exported function.
#include <QByteArray>
#include <QImage>
#include <QSize>

namespace logo {

// Raised whenever the table below changes; a module of another number is not used.
inline constexpr int MetafileModuleAbi = 1;

struct MetafileModule {
    int abi;         // MetafileModuleAbi when the module was built
    int qtVersion;   // QT_VERSION it was built against
    bool drawsWmf;   // built with libwmf
    bool drawsEmf;   // built with libemf2svg
    // renderMetafile (graphic/metafile.h) for the kinds above.
    QImage (*render)(const QByteArray &data, const QSize &limit);
};

using MetafileModuleEntry = const MetafileModule *(*)();
inline constexpr char MetafileModuleEntryName[] = "logoMetafileModule";

} // namespace logo
