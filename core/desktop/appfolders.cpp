#include "desktop/appfolders.h"

#include "desktop/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace logo {

static QString withSlash(QString folder)
{
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')) && !folder.endsWith(QLatin1Char('\\')))
        folder += QLatin1Char('/');
    return folder;
}

AppFolders::AppFolders(const QString &programFolder, const QString &userFolder)
    : m_program(withSlash(programFolder)), m_user(withSlash(userFolder.isEmpty() ? defaultUserFolder() : userFolder))
{
}

QString AppFolders::defaultUserFolder()
{
    const QString env = qEnvironmentVariable("LOGO_DATA_DIR");
    if (!env.isEmpty())
        return withSlash(env);
    return withSlash(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QLatin1Char('/') +
                     kApplicationName);
}

QString AppFolders::installedFolder()
{
#ifdef LOGO_INSTALL_BINDIR
    return withSlash(QStringLiteral(LOGO_INSTALL_BINDIR));
#else
    return {};
#endif
}

QString AppFolders::find(const QString &name) const
{
    const QString own = m_program + name, user = m_user + name;
    if (!m_program.isEmpty() && QFileInfo::exists(own) && (canWrite(own) || !QFileInfo::exists(user)))
        return own;
    return QFileInfo::exists(user) ? user : QString();
}

QString AppFolders::writable(const QString &name) const
{
    if (!m_program.isEmpty() && canWrite(m_program + name))
        return m_program + name;
    QDir().mkpath(m_user);
    return m_user + name;
}

bool AppFolders::canWrite(const QString &path) const
{
    const QString installed = installedFolder();
    if (!installed.isEmpty() && !m_program.isEmpty() && path.startsWith(m_program) &&
        QFileInfo(m_program).canonicalFilePath() == QFileInfo(installed).canonicalFilePath())
        return false;
    const QFileInfo info(path);
    return info.exists() ? info.isWritable() : QFileInfo(info.absolutePath()).isWritable();
}

QString temporaryFolder()
{
    // A stale TMPDIR names a folder that is gone: QDir would then mean the
    // working folder.
    const QString system = QDir::tempPath();
    if (!system.isEmpty() && QFileInfo(system).isDir())
        return QDir::cleanPath(system);
#ifdef Q_OS_UNIX
    if (QFileInfo(QStringLiteral("/tmp")).isDir())
        return QStringLiteral("/tmp");
#endif
    return {};
}

bool isPrivateFolder(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat st {};
    return !path.isEmpty() && ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
#else
    return !path.isEmpty() && QFileInfo(path).isDir();
#endif
}

bool makePrivateFolder(const QString &path)
{
#ifdef Q_OS_UNIX
    if (!path.isEmpty())
        ::mkdir(QFile::encodeName(path).constData(), 0700);   // never follows a link, never changes modes
#else
    QDir().mkdir(path);
#endif
    return isPrivateFolder(path);
}

} // namespace logo
