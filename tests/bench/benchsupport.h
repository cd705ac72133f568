#pragma once
// What the benchmarks share: starting a simulated phone built next to them.
#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <cstdio>

namespace bench {

// Starts the simulator tool (phonesim, irsim) with the arguments and returns
// the device it serves; empty after saying why.
inline QString startSimulator(QProcess &sim, const QString &tool, const QStringList &args)
{
    QStringList dirs;
    const QString env = QString::fromLocal8Bit(qgetenv("LOGO_BINARY_DIR"));
    if (!env.isEmpty())
        dirs << env;
    const QString here = QCoreApplication::applicationDirPath();
    dirs << here << here + QStringLiteral("/..");
    QString path;
    for (const QString &d : dirs) {
        const QFileInfo candidate(d + QLatin1Char('/') + tool);
        if (candidate.isExecutable()) {
            path = candidate.canonicalFilePath();
            break;
        }
    }
    if (path.isEmpty()) {
        std::fprintf(stderr, "%s not found (set LOGO_BINARY_DIR)\n", qPrintable(tool));
        return {};
    }
    sim.start(path, args);
    if (!sim.waitForReadyRead(10000)) {
        std::fprintf(stderr, "%s did not start\n", qPrintable(tool));
        return {};
    }
    const QString first = QString::fromLatin1(sim.readLine()).trimmed();
    if (!first.startsWith(QStringLiteral("device "))) {
        std::fprintf(stderr, "%s said %s\n", qPrintable(tool), qPrintable(first));
        return {};
    }
    return first.mid(7);
}

} // namespace bench
