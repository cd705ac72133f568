#pragma once
// Shared by the benchmarks: finding the built programs they run, and starting
// a simulated phone built next to them.
#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <cstdio>

namespace logobench {

// A program built next to the benchmarks (logotool, phonesim, irsim): looked
// for in LOGO_BINARY_DIR, then beside this executable and one folder up. Empty
// when it is nowhere.
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

// The benchmarks are built in a folder of their own, away from the serial
// port module that the programs find beside themselves.
inline void useSerialModule()
{
#ifdef LOGO_SERIAL_MODULE_PATH
    if (qEnvironmentVariableIsEmpty("LOGO_SERIAL_MODULE"))
        qputenv("LOGO_SERIAL_MODULE", LOGO_SERIAL_MODULE_PATH);
#endif
}

// Starts the simulator tool (phonesim, irsim) with the arguments and returns
// the device it serves; empty after saying why.
inline QString startSimulator(QProcess &sim, const QString &tool, const QStringList &args)
{
    const QString path = findTool(tool);
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

} // namespace logobench
