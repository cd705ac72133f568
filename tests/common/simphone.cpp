#include "simphone.h"

#include "testsupport.h"

#include <QFileInfo>

namespace logotest {

SimPhone::SimPhone(QStringList args)
{
    log = dir.filePath(QStringLiteral("pdus.txt"));
    transcript = dir.filePath(QStringLiteral("transcript.txt"));
    args << QStringLiteral("--log") << log << QStringLiteral("--transcript") << transcript
         << QStringLiteral("--seconds") << QStringLiteral("120");
    process.start(toolPath(QStringLiteral("phonesim")), args);
    if (!process.waitForReadyRead(10000))
        return;
    const QString first = QString::fromLatin1(process.readLine()).trimmed();
    if (first.startsWith(QStringLiteral("device ")))
        device = first.mid(7);
}

SimPhone::~SimPhone()
{
    process.kill();
    process.waitForFinished(5000);
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
