#include "simphone.h"

#include "testsupport.h"

#include <QFileInfo>

namespace logotest {

namespace {

// Starts a simulator and reads the device its first line names.
QString startSimulator(QProcess &process, const QString &tool, const QStringList &args)
{
    process.start(toolPath(tool), args);
    if (!process.waitForReadyRead(10000))
        return {};
    const QString first = QString::fromLatin1(process.readLine()).trimmed();
    return first.startsWith(QStringLiteral("device ")) ? first.mid(7) : QString();
}

void stopSimulator(QProcess &process)
{
    process.kill();
    process.waitForFinished(5000);
}

} // namespace

SimPhone::SimPhone(QStringList args)
{
    log = dir.filePath(QStringLiteral("pdus.txt"));
    transcript = dir.filePath(QStringLiteral("transcript.txt"));
    args << QStringLiteral("--log") << log << QStringLiteral("--transcript") << transcript
         << QStringLiteral("--seconds") << QStringLiteral("120");
    device = startSimulator(process, QStringLiteral("phonesim"), args);
}

SimPhone::~SimPhone()
{
    stopSimulator(process);
}

bool SimPhone::available()
{
    return QFileInfo::exists(toolPath(QStringLiteral("phonesim")));
}

QByteArray SimPhone::logged() const
{
    return readAll(log);
}

QStringList SimPhone::commands() const
{
    return QString::fromLatin1(readAll(transcript)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace logotest

namespace logotest {

SimIrPhone::SimIrPhone(QStringList args)
{
    device = startSimulator(process, QStringLiteral("irsim"), args << QStringLiteral("--seconds") << QStringLiteral("60"));
}

SimIrPhone::~SimIrPhone()
{
    stopSimulator(process);
}

bool SimIrPhone::available()
{
    return QFileInfo::exists(toolPath(QStringLiteral("irsim")));
}

QStringList SimIrPhone::report()
{
    process.waitForReadyRead(200);
    m_said += QString::fromLatin1(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return m_said;
}

} // namespace logotest
