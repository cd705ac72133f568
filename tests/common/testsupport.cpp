#include "testsupport.h"

#include <QFile>

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

} // namespace logotest
