// logotool test-port / read-smsc / phonebook: the options dialog's port test
// and message-centre read, and the send dialog's phonebook read, through the
// same jobs and engine as the windows, over the serial link.
#include "tools/logotool.h"

#include "phone/phonebookjob.h"
#include "phone/porttest.h"
#include "phone/seriallink.h"

#include <QEventLoop>
#include <cstdio>
#include <functional>

namespace logotool {

namespace {

const char *kTestUsage = "usage: logotool test-port [--port N | --device PATH]";
const char *kReadUsage = "usage: logotool read-smsc [--port N | --device PATH]";
const char *kBookUsage =
    "usage: logotool phonebook [--port N | --device PATH] [--program quillet|brisvane] [--cache FILE]";

void print(std::FILE *stream, const QString &text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fprintf(stream, "%s\n", shown.toUtf8().constData());
    std::fflush(stream);
}

// The windows' message boxes: failures at once on standard error, success
// kept for standard output until the command has printed its result.
class SetupPrompt : public logo::ScriptedPrompt {
public:
    logo::Answer message(const QString &title, const QString &text, logo::Icon icon,
                         logo::Buttons buttons) override
    {
        if (icon == logo::Icon::Information)
            success << text;
        else
            print(stderr, text);
        return ScriptedPrompt::message(title, text, icon, buttons);
    }
    void printSuccess()
    {
        for (const QString &text : std::as_const(success))
            print(stdout, text);
        success.clear();
    }
    QStringList success;
};

// The link, the job timer and the engine of one command, on the user's
// settings, with a document for the jobs' context.
struct Link {
    explicit Link(const logo::ProgramProfile &profile) : doc(profile, prompt, settings)
    {
        // Why the port did not open, ahead of the text the window shows.
        QObject::connect(&engine, &logo::AtEngine::finished, [this](logo::JobOutcome outcome, const QString &) {
            if (outcome == logo::JobOutcome::OpenFailed && !serial.lastError().isEmpty())
                print(stderr, QStringLiteral("%1: %2").arg(engine.state().LinkDevice, serial.lastError()));
        });
    }
    logo::SettingsStore settings;
    SetupPrompt prompt;
    logo::LogoDocument doc;
    logo::SerialLink serial;
    logo::TimerTicks ticks{1000};
    logo::AtEngine engine{serial, ticks};
};

// "--port N" and "--device PATH". port stays 0 without --port; false after
// printing why a value is bad.
bool linkOptions(const Args &a, int &port, QString &device)
{
    port = 0;
    if (a.has(QStringLiteral("--port"))) {
        bool ok = false;
        port = a.value(QStringLiteral("--port")).toInt(&ok);
        if (!ok || port <= 0) {
            err(QStringLiteral("error: --port takes a port number (1 for COM1)"));
            return false;
        }
    }
    device = a.value(QStringLiteral("--device"));
    if (a.has(QStringLiteral("--device")) && device.isEmpty()) {
        err(QStringLiteral("error: --device takes a path"));
        return false;
    }
    return true;
}

// Parses the common options; 0 to go on, else the exit code (--help: 0 after
// the usage, so check `help`).
int parse(const QStringList &argv, const char *usageText, const QStringList &extra, Args &a, int &port,
          QString &device, bool &help)
{
    a = Args(argv);
    help = a.has(QStringLiteral("--help"));
    if (help) {
        out(QString::fromLatin1(usageText));
        return 0;
    }
    QStringList known{QStringLiteral("--port"), QStringLiteral("--device")};
    known << extra;
    if (!a.positional.isEmpty() || !a.unknown(known).isEmpty())
        return err(QString::fromLatin1(usageText), 2);
    return linkOptions(a, port, device) ? 0 : 2;
}

// The port number: the option, else the "COMPort" setting. A device of its
// own needs no configured port; the number then only names it in the texts.
int portNumber(Link &l, int port, const QString &device)
{
    if (port <= 0)
        port = l.settings.readInt(logo::kSharedSection, QStringLiteral("COMPort"), 0);
    if (port <= 0 && !device.isEmpty())
        port = 1;
    return port;
}

// The port number and device a test or read runs on. False (after the
// window's message) when there is none.
bool resolvePort(Link &l, int &port, QString &device)
{
    port = portNumber(l, port, device);
    if (port <= 0) {
        print(stderr, logo::AtEngine::LinkErrorText(6, 0));
        return false;
    }
    if (device.isEmpty())
        device = l.settings.portDevice(port);
    return true;
}

// Runs until the signal comes; the job may also have ended before.
template <class Sender, class Signal>
void waitFor(Sender *sender, Signal signal, const std::function<bool()> &running)
{
    QEventLoop loop;
    QObject::connect(sender, signal, &loop, &QEventLoop::quit);
    if (running())
        loop.exec();
}

// The port test or the message-centre read, as the options dialog starts
// them; report prints the result and gives the exit code.
int runPortJob(const QStringList &argv, const char *usage, bool read,
               const std::function<int(Link &, int code, int port)> &report)
{
    Args a({});
    int port = 0;
    QString device;
    bool help = false;
    if (const int code = parse(argv, usage, {}, a, port, device, help); code || help)
        return code;
    Link l(logo::ProgramProfile::quillet());
    if (!resolvePort(l, port, device))
        return 1;
    logo::PortTest jobs(l.doc, l.engine);
    const auto done = read ? &logo::PortTest::readSMSCDone : &logo::PortTest::testDone;
    int result = 0;
    QObject::connect(&jobs, done, [&](int code) { result = code; });
    if (read)
        jobs.myReadSMSC(port, device);
    else
        jobs.myTestPort(port, device);
    waitFor(&jobs, done, [&] { return jobs.jobRunning(); });
    return report(l, result, port);
}

} // namespace

int cmdTestPort(const QStringList &argv)
{
    return runPortJob(argv, kTestUsage, false, [](Link &, int code, int port) {
        const bool nokia = code == logo::PortTest::TestNokia;
        print(nokia ? stdout : stderr, logo::PortTest::TestStatusText(code, port));
        return nokia ? 0 : 1;
    });
}

int cmdReadSmsc(const QStringList &argv)
{
    return runPortJob(argv, kReadUsage, true, [](Link &l, int code, int) {
        const bool read = code == logo::PortTest::ReadInternational || code == logo::PortTest::ReadNational;
        print(read ? stdout : stderr, logo::PortTest::ReadStatusText(code));
        if (read)
            print(stdout, QStringLiteral("Message Center Number: +%1")
                              .arg(l.settings.read(logo::kSharedSection, QStringLiteral("SMSC"))));
        const QString message = logo::PortTest::ReadMessage(code);
        if (!message.isEmpty())
            print(stderr, message);
        l.settings.sync();
        return read ? 0 : 1;
    });
}

int cmdPhonebook(const QStringList &argv)
{
    Args a({});
    int port = 0;
    QString device;
    bool help = false;
    if (const int code = parse(argv, kBookUsage, {QStringLiteral("--program"), QStringLiteral("--cache")}, a, port,
                               device, help);
        code || help)
        return code;
    const logo::ProgramProfile *profile = nullptr;
    if (!programOption(a, profile))
        return err(QStringLiteral("error: --program takes quillet or brisvane"), 2);
    if (a.has(QStringLiteral("--cache")) && a.value(QStringLiteral("--cache")).isEmpty())
        return err(QStringLiteral("error: --cache takes a file"), 2);
    Link l(profile ? *profile : logo::ProgramProfile::quillet());
    // Without a port the job itself says so, as the window does.
    port = portNumber(l, port, device);

    logo::Phonebook book;
    logo::PhonebookJob job(l.doc, l.engine, book);
    job.setOverrides({port, device, a.value(QStringLiteral("--cache"))});
    QObject::connect(&job, &logo::PhonebookJob::statusLine, [](int line) {
        static const char *const kLines[] = {"- Initializing", "- Reading from SIM", "- Reading from Phone"};
        print(stderr, QString::fromLatin1(kLines[qBound(0, line, 2)]));
    });
    job.myReadPhonebook();
    waitFor(&job, &logo::PhonebookJob::jobEnded, [&] { return job.jobRunning(); });
    if (job.lastOutcome() != logo::JobOutcome::Completed)
        return 1;
    for (const logo::PhonebookEntry &e : book.entries())
        print(stdout, logo::Phonebook::cacheLine(e));
    l.prompt.printSuccess();
    if (job.cacheWriteFailed())
        return err(QStringLiteral("error: can't write %1").arg(a.value(QStringLiteral("--cache"))));
    return 0;
}

} // namespace logotool
