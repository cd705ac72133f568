#include "handover/handovername.h"

#include "desktop/appfolders.h"
#include "desktop/profile.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace logo {

namespace {

QString userTag()
{
#ifdef Q_OS_UNIX
    return QString::number(::getuid());
#else
    QString user = qEnvironmentVariable("USERNAME");
    user.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")), QStringLiteral("_"));
    return user;
#endif
}

} // namespace

QString handOverServerName(const ProgramProfile &profile)
{
    const QString base = profile.desktopEntry + QLatin1Char('-') + userTag();
#ifdef Q_OS_UNIX
    // The runtime folder, else a folder of the user's own in the temporary
    // folder. Another user may have taken that name first (the temporary
    // folder is everyone's); then a folder in the user's cache, which nobody
    // else can create.
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!isPrivateFolder(folder)) {
        folder = temporaryFolder() + QStringLiteral("/vornhal-") + userTag();
        if (!makePrivateFolder(folder)) {
            const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
            folder = cache + QStringLiteral("/vornhal-") + userTag();
            if (cache.isEmpty() || !QDir().mkpath(cache) || !makePrivateFolder(folder))
                return {};
        }
    }
    return folder + QLatin1Char('/') + base + QStringLiteral(".socket");
#else
    return QStringLiteral("vornhal-") + base;
#endif
}

QString handOverLockPath(const QString &serverName)
{
    if (serverName.isEmpty())
        return {};
#ifdef Q_OS_UNIX
    return serverName + QStringLiteral(".lock");
#else
    return QDir::tempPath() + QLatin1Char('/') + serverName + QStringLiteral(".lock");
#endif
}

} // namespace logo
