// bench_send: how long a whole send takes over the serial link against the
// simulated phone answering at once. With the programs' one-second job timer a
// five-step send is bounded by its ticks: 5 x 1000 ms. Here the timer runs
// short, so what is measured is the link, the engine and the PDU building;
// one run with the real timer shows where the bound puts a user, and runs
// with the real timer and the quick link show what the quick link saves.
//
// Usage: bench_send [RUNS] [TICK_MS]     (defaults 20 and 10)
#include "benchtools.h"
#include "desktop/profile.h"
#include "desktop/prompt.h"
#include "desktop/settingsstore.h"
#include "graphic/logodocument.h"
#include "phone/seriallink.h"
#include "phone/smsdelivery.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace logo;

namespace {

// One whole send, from the menu command to the end message; milliseconds, or
// -1 when it did not end with "Data sent.".
double timeOneSend(const QString &device, const QString &settingsFile, int tickMs, bool quick = false)
{
    SettingsStore settings(settingsFile);
    ScriptedPrompt prompt;
    LogoDocument doc(ProgramProfile::quillet());
    for (int c = 0; c < 72; ++c)
        doc.grid().setPixel(c, (c * 3) % 14, true);
    SerialLink link;
    TimerTicks ticks(tickMs);
    AtEngine engine(link, ticks);
    SmsOverrides o;
    o.port = 1;
    o.device = device;
    o.hasSmsc = true;
    o.smsc = QStringLiteral("491710760000");
    o.quickLink = quick;

    QElapsedTimer t;
    t.start();
    // The checks, the number, the job and its message, as the menu command.
    if (!checkSendSettings(SmsKind::Send, readSendSettings(settings, doc.profile().settingsSection, o), prompt, QString()))
        return -1;
    saveDestination(settings, doc.profile().settingsSection, acceptDestination(QStringLiteral("491711234567"), prompt, QString()));
    const SendSettings s = readSendSettings(settings, doc.profile().settingsSection, o);
    SmsJob job(SmsKind::Send, smsPdu(SmsKind::Send, {&doc.profile(), doc.grid(), {}, {}}, s), s.link, engine, prompt);
    QEventLoop loop;
    QObject::connect(&job, &DeliveryJob::finished, [&](JobOutcome outcome, const QString &text) {
        showJobEnd(prompt, QString(), outcome, text);
        loop.quit();
    });
    job.start();
    if (job.isRunning())
        loop.exec();
    const double ms = double(t.nsecsElapsed()) / 1e6;
    return prompt.lastMessage() == QStringLiteral("Data sent.") ? ms : -1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    logobench::useSerialModule();
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
    const int tickMs = argc > 2 ? std::max(1, atoi(argv[2])) : 10;

    QTemporaryDir dir;
    QProcess sim;
    const QString device = logobench::startSimulator(
        sim, QStringLiteral("phonesim"),
        {QStringLiteral("--no-echo"), QStringLiteral("--seconds"), QStringLiteral("600")});
    if (device.isEmpty())
        return 1;
    const QString settingsFile = dir.filePath(QStringLiteral("settings.ini"));

    int failed = 0;
    // Sorted times of the runs that ended with "Data sent.".
    auto timeRuns = [&](int tick, bool quick) {
        std::vector<double> times;
        for (int i = 0; i < runs; ++i) {
            const double ms = timeOneSend(device, settingsFile, tick, quick);
            if (ms < 0)
                ++failed;
            else
                times.push_back(ms);
        }
        std::sort(times.begin(), times.end());
        return times;
    };
    const std::vector<double> times = timeRuns(tickMs, false);
    const std::vector<double> quickTimes = timeRuns(1000, true);
    const double real = timeOneSend(device, settingsFile, 1000);
    sim.kill();
    sim.waitForFinished();

    std::printf("bench_send: a whole send (menu command to \"Data sent.\", 5 AT steps, group graphic)\n"
                "            against phonesim answering at once\n");
    auto report = [](const char *what, const std::vector<double> &t) {
        if (!t.empty())
            std::printf("  %s: %zu runs, min %.1f ms, median %.1f ms, max %.1f ms\n", what, t.size(), t.front(),
                        t[t.size() / 2], t.back());
    };
    const QByteArray shortTicks = QStringLiteral("ticks of %1 ms").arg(tickMs).toLatin1();
    report(shortTicks.constData(), times);
    if (!times.empty())
        std::printf("    of which the 5 ticks are %d ms; port, settings, PDU and link take the other %.1f ms\n",
                    5 * tickMs, times[times.size() / 2] - 5 * tickMs);
    if (real >= 0)
        std::printf("  ticks of 1000 ms, quick link off: %.1f ms against the ticks' bound of 5000 ms\n", real);
    else
        std::printf("  ticks of 1000 ms, quick link off: the send did not end with \"Data sent.\"\n");
    report("ticks of 1000 ms, quick link on", quickTimes);
    if (failed)
        std::printf("  %d runs did not end with \"Data sent.\"\n", failed);
    return failed || real < 0 ? 1 : 0;
}
