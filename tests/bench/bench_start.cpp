// bench_start: what a start of Quillet and Brisvane to their first saved frame
// (--screenshot, offscreen) costs beside a bare Qt main window doing the same
// (barewindow, built with the benchmarks; once more at the size of Quillet's
// window, which shows how much of the difference is only the larger frame),
// and what `logotool convert` of one NGG costs beside a bare Qt console
// program on Qt Core and Gui copying it (baretool), beside the same copy
// written safely as the tool writes, beside that copy on Qt Core alone
// (barecoretool), and beside a bare `cat` of it; and the same convert to a
// PNG, which loads the picture library. Runs
// alternate between the programs; the medians of CPU time (user + system) and
// of peak memory are printed with their ratios to the first line of each
// group.
//
// Usage: bench_start [RUNS]     (default 15)
#include "benchtools.h"
#include "graphic/logofile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Cost {
    double cpuMs = -1;
    double peakMiB = -1;
};

// One run to its end, its output thrown away: CPU time and peak memory.
Cost runOnce(const QStringList &command)
{
    std::vector<QByteArray> words;
    for (const QString &w : command)
        words.push_back(QFile::encodeName(w));
    std::vector<char *> argv;
    for (QByteArray &w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    const double cpu = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                       (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    return {cpu, usage.ru_maxrss / 1024.0};
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

struct Subject {
    const char *name;
    QStringList command;
    std::vector<double> cpu, peak;
};

// Runs every subject once per round, in turn, and prints each median beside
// the first subject's (the yardstick). The CPU ratio is the median of each
// round's own ratio: a shared machine's speed drifts from minute to minute,
// and the runs of one round are a fraction of a second apart.
bool compare(std::vector<Subject> &subjects, int runs)
{
    for (int round = 0; round < runs; ++round)
        for (Subject &s : subjects) {
            const Cost c = runOnce(s.command);
            if (c.cpuMs < 0) {
                std::fprintf(stderr, "%s failed: %s\n", s.name, qPrintable(s.command.join(QLatin1Char(' '))));
                return false;
            }
            s.cpu.push_back(c.cpuMs);
            s.peak.push_back(c.peakMiB);
        }
    const Subject &yardstick = subjects.front();
    const double peak0 = median(yardstick.peak);
    for (const Subject &s : subjects) {
        std::vector<double> ratios;
        for (size_t round = 0; round < s.cpu.size(); ++round)
            ratios.push_back(s.cpu[round] / yardstick.cpu[round]);
        std::printf("  %-26s %7.1f ms CPU (%.2fx)  %6.1f MiB peak (%.2fx)\n", s.name, median(s.cpu), median(ratios),
                    median(s.peak), median(s.peak) / peak0);
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    QTemporaryDir sandbox;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LOGO_SETTINGS_FILE", QFile::encodeName(sandbox.filePath(QStringLiteral("settings.ini"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(sandbox.filePath(QStringLiteral("data"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(sandbox.filePath(QStringLiteral("config"))));

    const QString bare = logobench::findTool(QStringLiteral("barewindow"));
    const QString bareTool = logobench::findTool(QStringLiteral("baretool"));
    const QString bareCoreTool = logobench::findTool(QStringLiteral("barecoretool"));
    const QString quillet = logobench::findTool(QStringLiteral("quillet"));
    const QString brisvane = logobench::findTool(QStringLiteral("brisvane"));
    const QString logotool = logobench::findTool(QStringLiteral("logotool"));
    if (bare.isEmpty() || bareTool.isEmpty() || bareCoreTool.isEmpty() || quillet.isEmpty() || brisvane.isEmpty() ||
        logotool.isEmpty()) {
        std::fprintf(stderr, "barewindow, baretool, barecoretool, quillet, brisvane or logotool not found "
                             "(set LOGO_BINARY_DIR)\n");
        return 1;
    }
    const QString shot = sandbox.filePath(QStringLiteral("shot.png"));
    if (runOnce({quillet, QStringLiteral("--screenshot"), shot}).cpuMs < 0)
        return 1;
    const QSize frame = QImage(shot).size();
    const QString frameSize = QStringLiteral("%1x%2").arg(frame.width()).arg(frame.height());
    std::vector<Subject> starts{
        {"bare Qt window", {bare, QStringLiteral("--screenshot"), shot}, {}, {}},
        {"bare Qt window, same size", {bare, QStringLiteral("--screenshot"), shot, frameSize}, {}, {}},
        {"quillet --screenshot", {quillet, QStringLiteral("--screenshot"), shot}, {}, {}},
        {"brisvane --screenshot", {brisvane, QStringLiteral("--screenshot"), shot}, {}, {}},
    };
    std::printf("start to the first saved frame, medians of %d runs:\n", runs);
    if (!compare(starts, runs))
        return 1;

    logo::LogoGrid grid;
    grid.setPixel(3, 3, true);
    const QString in = sandbox.filePath(QStringLiteral("in.ngg"));
    QFile f(in);
    if (!f.open(QIODevice::WriteOnly) || f.write(logo::buildLogoFile(grid, false, 0, 0, 50, QString(), QString())) < 0)
        return 1;
    f.close();
    std::vector<Subject> converts{
        {"bare Qt copy of the file", {bareTool, in, sandbox.filePath(QStringLiteral("copy.ngg"))}, {}, {}},
        {"logotool convert NGG", {logotool, QStringLiteral("convert"), in, sandbox.filePath(QStringLiteral("out.ngg"))}, {}, {}},
        {"bare Qt copy, safe write", {bareTool, QStringLiteral("--safe"), in, sandbox.filePath(QStringLiteral("safe.ngg"))}, {}, {}},
        {"same on Qt Core alone", {bareCoreTool, QStringLiteral("--safe"), in, sandbox.filePath(QStringLiteral("core.ngg"))}, {}, {}},
        {"logotool convert to PNG", {logotool, QStringLiteral("convert"), in, sandbox.filePath(QStringLiteral("out.png"))}, {}, {}},
        {"cat of the file", {QStringLiteral("/bin/cat"), in}, {}, {}},
    };
    std::printf("one NGG copied, medians of %d runs:\n", runs);
    return compare(converts, runs) ? 0 : 1;
}
