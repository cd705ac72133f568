#include "picture/metafile.h"

#include "graphic/metafile/module.h"
#include "graphic/metafileframe.h"

#include "desktop/programmodule.h"

namespace logo {

namespace {

const MetafileModule *loadModule()
{
#ifdef LOGO_METAFILE_MODULE_FILE
    const QString file = QStringLiteral(LOGO_METAFILE_MODULE_FILE);
#else
    const QString file;
#endif
    return loadModuleTable<MetafileModule>("LOGO_METAFILE_MODULE", file, MetafileModuleEntryName, MetafileModuleAbi,
                                           [](const MetafileModule &m) { return m.render != nullptr; });
}

// Loaded once, on first use; null when there is no usable module.
const MetafileModule *module()
{
    static const MetafileModule *const loaded = loadModule();
    return loaded;
}

} // namespace

bool canDrawWmf()
{
    return module() && module()->drawsWmf;
}

bool canDrawEmf()
{
    return module() && module()->drawsEmf;
}

QImage renderMetafile(const QByteArray &data, const QSize &limit)
{
    if (limit.isEmpty())
        return {};
    QByteArray bounded;
    switch (metafileKind(data)) {
    case MetafileKind::Wmf:
        return canDrawWmf() && boundMetafile(data, bounded) ? module()->render(bounded, limit) : QImage();
    case MetafileKind::Emf:
        return canDrawEmf() && boundMetafile(data, bounded) ? module()->render(bounded, limit) : QImage();
    case MetafileKind::None:
        break;
    }
    return {};
}

} // namespace logo
