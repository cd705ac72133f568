#include "graphic/metafile.h"

#include "graphic/metafile/module.h"
#include "graphic/metafileframe.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

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
    return {programDir.filePath(file), programDir.filePath(QStringLiteral("../" LOGO_METAFILE_MODULE_DIR "/") + file)};
#else
    return {};
#endif
}

#ifdef Q_OS_UNIX
// Owned by the user or the system, and writable by no one else.
bool isPrivate(const QString &path, bool folder)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    if (folder ? !S_ISDIR(st.st_mode) : !S_ISREG(st.st_mode))
        return false;
    return (st.st_uid == ::geteuid() || st.st_uid == 0) && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}
#endif

} // namespace

bool isTrustedModuleFile(const QString &path)
{
#ifdef Q_OS_UNIX
    // The module runs as the user's own code: neither the file nor the folder
    // it is in (nor, for a link, the file and folder it leads to) may be open
    // to anyone else, who could otherwise put their own code there.
    const QFileInfo given(path);
    const QString real = given.canonicalFilePath();
    if (real.isEmpty())
        return false;
    return isPrivate(given.absolutePath(), true) && isPrivate(real, false) &&
           isPrivate(QFileInfo(real).absolutePath(), true);
#else
    return QFileInfo(path).isFile();
#endif
}

namespace {

const MetafileModule *loadModule()
{
    for (const QString &path : moduleCandidates()) {
        if (!isTrustedModuleFile(path))
            continue;
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
