// bench_irupload: how long a whole infrared upload takes through the raw
// serial line against irsim on a pseudo-terminal, beside what the upload is
// told to wait: the configured delays it asks for (IRDelay1..3, defaults 100,
// 100 and 5 ms) plus the read time-outs of the silent line at its end (one
// second each). The goal is to stay within 10 % of that sum: everything else
// (framing, the system calls of one octet each, the thread) should be small.
//
// Usage: bench_irupload [RUNS] [DELAY1 DELAY2 DELAY3]     (defaults 5, 100 100 5)
#include "benchtools.h"
#include "infrared/irmessage.h"
#include "infrared/iruploadrunner.h"
#include "infrared/rawserialport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace logo;

namespace {

struct Run {
    double ms = -1;         // wall time, -1 when the upload failed
    double waitsMs = 0;     // delays asked for plus one second per silent read
};

// One upload, the engine on this thread.
Run timeOneUpload(const QString &device, const IrDelays &delays, const QByteArray &message)
{
    RawSerialPort line;
    ThreadClock clock;
    IrUploadEngine::Options o;
    o.delays = delays;
    IrUploadEngine engine(line, clock, o);
    QElapsedTimer t;
    t.start();
    const QString result = engine.upload(message, 1, device);
    Run r;
    r.waitsMs = double(engine.stats().delayMs) + 1000.0 * engine.stats().timedOutReads;
    if (result.isEmpty())
        r.ms = double(t.nsecsElapsed()) / 1e6;
    return r;
}

// One upload as the windows run it: on the worker thread, the result by signal.
double timeThroughRunner(const QString &device, const IrDelays &delays, const QByteArray &message)
{
    IrUploadRunner runner;
    QEventLoop loop;
    QString result = QStringLiteral("(none)");
    QObject::connect(&runner, &IrUploadRunner::finished, &loop, [&](const QString &r) {
        result = r;
        loop.quit();
    });
    IrUploadRequest request;
    request.message = message;
    request.port = 1;
    request.device = device;
    request.options.delays = delays;
    QElapsedTimer t;
    t.start();
    runner.start(request);
    loop.exec();
    return result.isEmpty() ? double(t.nsecsElapsed()) / 1e6 : -1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    IrDelays delays;
    if (argc > 4) {
        delays.betweenBursts = std::max(0, atoi(argv[2]));
        delays.slowFrame = std::max(0, atoi(argv[3]));
        delays.fast = std::max(0, atoi(argv[4]));
    }
    QProcess sim;
    const QString device =
        logobench::startSimulator(sim, QStringLiteral("irsim"), {QStringLiteral("--seconds"), QStringLiteral("600")});
    if (device.isEmpty())
        return 1;
    LogoGrid grid;
    for (int c = 0; c < 72; ++c)
        grid.setPixel(c, (c * 3) % 14, true);
    const QByteArray message = buildIrMessage(ProgramProfile::brisvane(), grid, QStringLiteral("262"),
                                              QStringLiteral("01"));

    std::vector<double> overs;
    double worst = 0;
    int failed = 0;
    std::printf("bench_irupload: a whole upload (discovery to the phone's UA and the silence after it),\n"
                "                operator logo, against irsim; delays %d/%d/%d ms\n",
                delays.betweenBursts, delays.slowFrame, delays.fast);
    for (int i = 0; i < runs; ++i) {
        const Run r = timeOneUpload(device, delays, message);
        if (r.ms < 0) {
            ++failed;
            continue;
        }
        const double over = (r.ms - r.waitsMs) / r.waitsMs * 100.0;
        overs.push_back(over);
        worst = std::max(worst, over);
        std::printf("  run %d: %.1f ms, waits asked for %.1f ms (%+.1f %%)\n", i + 1, r.ms, r.waitsMs, over);
    }
    const double threaded = timeThroughRunner(device, delays, message);
    sim.kill();
    sim.waitForFinished();

    if (!overs.empty()) {
        std::sort(overs.begin(), overs.end());
        std::printf("  median %+.1f %%, worst %+.1f %% over the waits (goal: within 10 %%): %s\n",
                    overs[overs.size() / 2], worst, worst <= 10.0 ? "met" : "MISSED");
    }
    if (threaded >= 0)
        std::printf("  on the worker thread (IrUploadRunner): %.1f ms\n", threaded);
    if (failed || threaded < 0)
        std::printf("  %d uploads did not end with success\n", failed + (threaded < 0 ? 1 : 0));
    return failed || threaded < 0 ? 1 : 0;
}
