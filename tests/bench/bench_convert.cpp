// bench_convert: what logotool convert costs.
//   1. One file per call, beside a bare `cat` of the same file: the ratio is
//      the price of starting the tool (libraries, toolkit, scratch settings)
//      over merely starting a process and reading the file.
//   2. FILES files in one batch call against FILES single calls: a batch
//      starts the tool once, so it must be far faster.
//
// Usage: bench_convert [RUNS] [FILES]     (defaults 20 and 200)
#include "benchtools.h"
#include "graphic/logofile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Milliseconds of one run of a program to its end; -1 when it failed.
double timeRun(const QString &program, const QStringList &args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return -1;
    return double(t.nsecsElapsed()) / 1e6;
}

// Median milliseconds of runs calls; -1 when any failed.
double median(int runs, const QString &program, const QStringList &args)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double ms = timeRun(program, args);
        if (ms < 0)
            return -1;
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

QString writePicture(const QDir &dir, int i)
{
    logo::LogoGrid g;
    for (int c = 0; c < 72; ++c)
        g.setPixel(c, (c + i) % 14, true);
    const QString path = dir.filePath(QStringLiteral("logo%1.ngg").arg(i, 3, 10, QLatin1Char('0')));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write(logo::buildLogoFile(g, false, 0, 0, 50, QString(), QString()));
    return path;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
    const int files = argc > 2 ? std::max(1, atoi(argv[2])) : 200;

    const QString logotool = logobench::findTool(QStringLiteral("logotool"));
    if (logotool.isEmpty()) {
        std::fprintf(stderr, "bench_convert: logotool not found (set LOGO_BINARY_DIR)\n");
        return 1;
    }
    QTemporaryDir tmp;
    QDir dir(tmp.path());
    if (!dir.mkpath(QStringLiteral("in")) || !dir.mkpath(QStringLiteral("out"))) {
        std::fprintf(stderr, "bench_convert: no scratch folder\n");
        return 1;
    }
    const QDir in(dir.filePath(QStringLiteral("in")));
    QStringList inputs;
    for (int i = 0; i < files; ++i)
        inputs << writePicture(in, i);
    if (inputs.contains(QString())) {
        std::fprintf(stderr, "bench_convert: could not write the pictures\n");
        return 1;
    }
    const QString outDir = dir.filePath(QStringLiteral("out"));

    const double cat = median(runs, QStringLiteral("cat"), {inputs.front()});
    const double one = median(runs, logotool,
                              {QStringLiteral("convert"), inputs.front(), outDir + QStringLiteral("/one.nol"),
                               QStringLiteral("--mcc"), QStringLiteral("262"), QStringLiteral("--mnc"),
                               QStringLiteral("1")});
    std::printf("bench_convert: logotool convert of one 72 x 14 NGG to NOL, median of %d runs\n", runs);
    if (cat < 0 || one < 0) {
        std::printf("  a run failed\n");
        return 1;
    }
    std::printf("  logotool convert %.1f ms, cat of the same file %.1f ms: %.1f times as long\n", one, cat,
                one / cat);

    QStringList batch = QStringList{QStringLiteral("convert")} + inputs;
    batch << QStringLiteral("--to") << QStringLiteral("nol") << QStringLiteral("--out-dir") << outDir
          << QStringLiteral("--mcc") << QStringLiteral("262") << QStringLiteral("--mnc") << QStringLiteral("1");
    const double together = timeRun(logotool, batch);
    QElapsedTimer t;
    t.start();
    bool singlesOk = true;
    for (const QString &input : inputs)
        singlesOk = singlesOk && timeRun(logotool, {QStringLiteral("convert"), input,
                                                    outDir + QStringLiteral("/single.ngg")}) >= 0;
    const double apart = double(t.nsecsElapsed()) / 1e6;
    std::printf("bench_convert: %d files\n", files);
    if (together < 0 || !singlesOk) {
        std::printf("  a conversion failed\n");
        return 1;
    }
    std::printf("  one batch call %.0f ms (%.2f ms a file), %d single calls %.0f ms: the batch is %.1f times as fast\n",
                together, together / files, files, apart, apart / together);
    return 0;
}
