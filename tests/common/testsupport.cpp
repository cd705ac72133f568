#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThreadPool>

namespace logotest {

Sandbox::Sandbox()
{
    m_settings = std::make_unique<logo::SettingsStore>(settingsFile());
}

QString Sandbox::path(const QString &name) const
{
    return m_dir.filePath(name);
}

QString Sandbox::dir() const
{
    return m_dir.path() + QLatin1Char('/');
}

void Sandbox::restartSettings()
{
    m_settings.reset();
    m_settings = std::make_unique<logo::SettingsStore>(settingsFile());
}

QString longPath(const QString &root)
{
    QString path = root;
    while (path.size() < 1000)
        path += QStringLiteral("/Grüße aus Åre ünd Ørsted ") + QString(40, QChar(0x00e9));
    return path + QStringLiteral("/pïcture 1.ngg");
}

QString fixture(const QString &relative)
{
    return QStringLiteral(LOGO_TEST_FIXTURES "/") + relative;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    return f.write(bytes) == bytes.size();
}

} // namespace logotest

#include <csignal>
#include <sys/resource.h>

namespace logotest {

FileSizeLimit::FileSizeLimit(long bytes)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    m_oldCur = old.rlim_cur;
    m_oldMax = old.rlim_max;
    rlimit lim{rlim_t(bytes), old.rlim_max};
    setrlimit(RLIMIT_FSIZE, &lim);
}

FileSizeLimit::~FileSizeLimit()
{
    rlimit lim{rlim_t(m_oldCur), rlim_t(m_oldMax)};
    setrlimit(RLIMIT_FSIZE, &lim);
}

int threadsStartedBy(const std::function<void()> &work)
{
    const auto count = [] {
        return QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size();
    };
    if (!QFileInfo::exists(QStringLiteral("/proc/self/task")))
        return -1;
    QThreadPool::globalInstance()->waitForDone();
    const qsizetype before = count();
    work();
    return int(count() - before);
}

} // namespace logotest

#include <QProcess>

namespace logotest {

QString toolPath(const QString &name)
{
    if (QDir::isAbsolutePath(name))
        return name;
    QString dir = QString::fromLocal8Bit(qgetenv("LOGO_BINARY_DIR"));
    if (dir.isEmpty())
        dir = QStringLiteral(LOGO_BINARY_DIR);
    return dir + QLatin1Char('/') + name;
}

ToolRun runTool(const QString &name, const QStringList &args, const QProcessEnvironment &extra)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // A program finds its modules where it is installed or built, not where
    // the test suites are told to look.
    env.remove(QStringLiteral("LOGO_METAFILE_MODULE"));
    env.remove(QStringLiteral("LOGO_SERIAL_MODULE"));
    for (const QString &k : extra.keys())
        env.insert(k, extra.value(k));
    p.setProcessEnvironment(env);
    p.start(toolPath(name), args);
    ToolRun r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    r.lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return r;
}

} // namespace logotest
