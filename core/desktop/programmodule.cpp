#include "desktop/programmodule.h"

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

QStringList moduleCandidates(const char *envVar, const QString &fileName)
{
    const QString named = qEnvironmentVariable(envVar);
    if (!named.isEmpty())
        return {named};
    if (!QCoreApplication::instance() || fileName.isEmpty())
        return {};
    const QDir programDir(QCoreApplication::applicationDirPath());
#ifdef LOGO_MODULE_DIR
    return {programDir.filePath(fileName), programDir.filePath(QStringLiteral("../" LOGO_MODULE_DIR "/") + fileName)};
#else
    return {programDir.filePath(fileName)};
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

ModuleEntry loadProgramModule(const char *envVar, const QString &fileName, const char *entryName,
                              const std::function<bool(ModuleEntry)> &accept)
{
    for (const QString &path : moduleCandidates(envVar, fileName)) {
        if (!isTrustedModuleFile(path))
            continue;
        auto *library = new QLibrary(QDir::cleanPath(path)); // kept loaded for the life of the process
        const auto entry = reinterpret_cast<ModuleEntry>(library->resolve(entryName));
        if (entry && accept(entry))
            return entry;
        library->unload();
        delete library;
    }
    return nullptr;
}

} // namespace logo
