// The module's one exported function.
#include "graphic/metafile/module.h"

#include "graphic/metafile/renderers.h"
#include "graphic/metafileframe.h"

#include <QtGlobal>

namespace {

QImage render(const QByteArray &data, const QSize &limit)
{
    if (limit.isEmpty())
        return {};
    switch (logo::metafileKind(data)) {
    case logo::MetafileKind::Wmf:
        return logo::renderWmf(data, limit);
    case logo::MetafileKind::Emf:
        return logo::renderEmf(data, limit);
    case logo::MetafileKind::None:
        break;
    }
    return {};
}

} // namespace

extern "C" Q_DECL_EXPORT const logo::MetafileModule *logoMetafileModule()
{
    static const logo::MetafileModule module{logo::MetafileModuleAbi, QT_VERSION, logo::WmfRendererBuilt,
                                             logo::EmfRendererBuilt, &render};
    return &module;
}
