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

const char *kTestCommand = "test-port";
const char *kReadCommand = "read-smsc";
const char *kBookCommand = "phonebook";
const char *kBookOptions = " [--program quillet|brisvane] [--cache FILE]";

QString usage(const char *command, const char *extra = "")
{
    return QStringLiteral("usage: logotool %1 %2%3\n%4")
        .arg(QLatin1String(command), QLatin1String(kLinkOptionsUsage), QLatin1String(extra),
             QLatin1String(kLinkOptionsHelp));
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
            say(stderr, text);
        return ScriptedPrompt::message(title, text, icon, buttons);
    }
    void printSuccess()
    {
        for (const QString &text : std::as_const(success))
            say(stdout, text);
        success.clear();
    }
    QStringList success;
};

// The link, the job timer and the engine of one command, on the user's
// settings, with a document for the jobs' context.
struct Link {
    explicit Link(const logo::ProgramProfile &profile) : doc(profile, prompt, settings) {}
    logo::SettingsStore settings;
    SetupPrompt prompt;
    logo::LogoDocument doc;
    logo::SerialLink serial;
    logo::TimerTicks ticks{1000};
    logo::AtEngine engine{serial, ticks};
};

// Parses the options; 0 to go on, else the exit code (--help: 0 after the
// usage, so check `help`).
int parse(const QStringList &argv, const QString &usageText, const QStringList &extra, Args &a,
          logo::LinkOverrides &link, bool &help)
{
    a = Args(argv);
    help = a.has(QStringLiteral("--help"));
    if (help) {
        out(usageText);
        return 0;
    }
    const QStringList known = linkOptionNames() + extra;
    if (!a.positional.isEmpty() || !a.unknown(known).isEmpty())
        return err(usageText, 2);
    return linkOptions(a, link) ? 0 : 2;
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
bool resolvePort(Link &l, logo::LinkOverrides &link)
{
    link.port = portNumber(l, link.port, link.device);
    if (link.port <= 0) {
        say(stderr, logo::AtEngine::linkErrorText(logo::LinkError::PortNotConfigured, 0));
        return false;
    }
    if (link.device.isEmpty())
        link.device = l.settings.portDevice(link.port);
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
int runPortJob(const QStringList &argv, const char *command, bool read,
               const std::function<int(Link &, const logo::PortTest &, int code, int port)> &report)
{
    Args a({});
    logo::LinkOverrides link;
    bool help = false;
    if (const int code = parse(argv, usage(command), {}, a, link, help); code || help)
        return code;
    Link l(logo::ProgramProfile::quillet());
    if (!resolvePort(l, link))
        return 1;
    logo::PortTest jobs(l.doc, l.engine);
    jobs.setQuickLink(link.quickLink);
    const auto done = read ? &logo::PortTest::readSMSCDone : &logo::PortTest::testDone;
    int result = 0;
    QObject::connect(&jobs, done, [&](int code) { result = code; });
    if (read)
        jobs.readMessageCentre(link.port, link.device);
    else
        jobs.testPort(link.port, link.device);
    waitFor(&jobs, done, [&] { return jobs.jobRunning(); });
    return report(l, jobs, result, link.port);
}

} // namespace

int cmdTestPort(const QStringList &argv)
{
    return runPortJob(argv, kTestCommand, false, [](Link &, const logo::PortTest &jobs, int code, int port) {
        const bool nokia = code == logo::PortTest::TestNokia;
        say(nokia ? stdout : stderr, jobs.testStatus(code, port));
        return nokia ? 0 : 1;
    });
}

int cmdReadSmsc(const QStringList &argv)
{
    return runPortJob(argv, kReadCommand, true, [](Link &l, const logo::PortTest &jobs, int code, int) {
        const bool read = code == logo::PortTest::ReadInternational || code == logo::PortTest::ReadNational;
        say(read ? stdout : stderr, jobs.readStatus(code));
        if (read)
            say(stdout, QStringLiteral("Message Center Number: +%1")
                              .arg(l.settings.read(logo::kSharedSection, QStringLiteral("SMSC"))));
        const QString message = code == logo::PortTest::ReadNotStored ? l.settings.writeFailedMessage()
                                                                      : logo::PortTest::readMessage(code);
        if (!message.isEmpty())
            say(stderr, message);
        l.settings.sync();
        return read ? 0 : 1;
    });
}

int phonebookButton(const QStringList &argv)
{
    Args a({});
    logo::PhonebookJob::Overrides link;
    bool help = false;
    const QStringList extra{QStringLiteral("--program"), QStringLiteral("--cache")};
    if (const int code = parse(argv, usage(kBookCommand, kBookOptions), extra, a, link, help); code || help)
        return code;
    const logo::ProgramProfile *profile = nullptr;
    if (!programOption(a, profile))
        return err(QStringLiteral("error: --program takes quillet or brisvane"), 2);
    if (a.has(QStringLiteral("--cache")) && a.value(QStringLiteral("--cache")).isEmpty())
        return err(QStringLiteral("error: --cache takes a file"), 2);
    link.cacheFile = a.value(QStringLiteral("--cache"));
    Link l(profile ? *profile : logo::ProgramProfile::quillet());
    // Without a port the job itself says so, as the window does.
    link.port = portNumber(l, link.port, link.device);

    logo::Phonebook book;
    logo::PhonebookJob job(l.doc, l.engine, book);
    job.setOverrides(link);
    QObject::connect(&job, &logo::PhonebookJob::statusLine, [](int line) {
        static const char *const kLines[] = {"- Initializing", "- Reading from SIM", "- Reading from Phone"};
        say(stderr, QString::fromLatin1(kLines[qBound(0, line, 2)]));
    });
    job.readPhonebook();
    waitFor(&job, &logo::PhonebookJob::jobEnded, [&] { return job.jobRunning(); });
    if (job.lastOutcome() != logo::JobOutcome::Completed)
        return 1;
    for (const logo::PhonebookEntry &e : book.entries())
        say(stdout, logo::Phonebook::cacheLine(e));
    l.prompt.printSuccess();
    if (job.cacheWriteFailed())
        return err(QStringLiteral("error: can't write %1").arg(a.value(QStringLiteral("--cache"))));
    return 0;
}

} // namespace logotool
