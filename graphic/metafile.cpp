#include "graphic/metafile.h"

#include "graphic/metafile/module.h"
#include "graphic/metafileframe.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QStringList>

namespace logo {

namespace {

QStringList moduleCandidates()
{
    const QString named = qEnvironmentVariable("LOGO_METAFILE_MODULE");
    if (!named.isEmpty())
        return {named};
#ifdef LOGO_METAFILE_MODULE_FILE
    if (!QCoreApplication::instance())
        return {};
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString file = QStringLiteral(LOGO_METAFILE_MODULE_FILE);
    return {programDir.filePath(file), programDir.filePath(QStringLiteral("../") + file),
            programDir.filePath(QStringLiteral("../" LOGO_METAFILE_MODULE_DIR "/") + file)};
#else
    return {};
#endif
}

const MetafileModule *loadModule()
{
    for (const QString &path : moduleCandidates()) {
        auto *library = new QLibrary(QDir::cleanPath(path)); // kept loaded for the life of the process
        const auto entry = reinterpret_cast<MetafileModuleEntry>(library->resolve(MetafileModuleEntryName));
        const MetafileModule *module = entry ? entry() : nullptr;
        // A module built for another table or another Qt is of no use.
        if (module && module->abi == MetafileModuleAbi && (module->qtVersion >> 8) == (QT_VERSION >> 8) &&
            module->render)
            return module;
        library->unload();
        delete library;
    }
    return nullptr;
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
    switch (metafileKind(data)) {
    case MetafileKind::Wmf:
        return canDrawWmf() ? module()->render(data, limit) : QImage();
    case MetafileKind::Emf:
        return canDrawEmf() ? module()->render(data, limit) : QImage();
    case MetafileKind::None:
        break;
    }
    return {};
}

} // namespace logo
