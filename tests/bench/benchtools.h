#pragma once
// Shared by the benchmarks: finding the built programs they run.
#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

namespace logobench {

// A program built next to the benchmarks (logotool, phonesim): looked for in
// LOGO_BINARY_DIR, then beside this executable and one folder up. Empty when
// it is nowhere.
inline QString findTool(const QString &name)
{
    QStringList dirs;
    const QString env = QString::fromLocal8Bit(qgetenv("LOGO_BINARY_DIR"));
    if (!env.isEmpty())
        dirs << env;
    const QString here = QCoreApplication::applicationDirPath();
    dirs << here << here + QStringLiteral("/..");
    for (const QString &d : dirs) {
        const QFileInfo f(d + QLatin1Char('/') + name);
        if (f.isExecutable())
            return f.canonicalFilePath();
    }
    return {};
}

} // namespace logobench
