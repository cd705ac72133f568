// logotool test-port / read-smsc / phonebook: the options dialog's port test
// and message-centre read, and the send dialog's phonebook read, through the
// same jobs and engine as the windows, over the serial link.
#include "logotool.h"

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
// settings.
struct Link {
    explicit Link(const logo::ProgramProfile &program) : profile(program) {}
    const logo::ProgramProfile &profile;
    logo::SettingsStore settings;
    SetupPrompt prompt;
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

// Runs the job until it has ended; it may also have ended at once.
void waitFor(logo::DeliveryJob &job)
{
    QEventLoop loop;
    QObject::connect(&job, &logo::DeliveryJob::finished, &loop, &QEventLoop::quit);
    job.start();
    if (job.isRunning())
        loop.exec();
}

// The port test or the message-centre read, as the options dialog starts
// them; report prints the result and gives the exit code.
int runPortJob(const QStringList &argv, const char *command, logo::PortTestJob::Kind kind,
               const std::function<int(Link &, const logo::PortTestJob &, const QString &status)> &report)
{
    Args a({});
    logo::LinkOverrides link;
    bool help = false;
    if (const int code = parse(argv, usage(command), {}, a, link, help); code || help)
        return code;
    Link l(logo::ProgramProfile::quillet());
    if (!resolvePort(l, link))
        return 1;
    logo::PortTestJob job(kind, logo::readLinkSettings(l.settings, link), l.engine, l.prompt, l.settings);
    QString status;
    QObject::connect(&job, &logo::DeliveryJob::finished,
                     [&](logo::JobOutcome, const QString &text) { status = text; });
    waitFor(job);
    return report(l, job, status);
}

} // namespace

int testPortCommand(const QStringList &argv)
{
    return runPortJob(argv, kTestCommand, logo::PortTestJob::Kind::TestPort,
                      [](Link &, const logo::PortTestJob &job, const QString &status) {
                          const bool nokia = job.testResult() == logo::TestResult::Nokia;
                          say(nokia ? stdout : stderr, status);
                          return nokia ? 0 : 1;
                      });
}

int readSmscCommand(const QStringList &argv)
{
    return runPortJob(argv, kReadCommand, logo::PortTestJob::Kind::ReadMessageCentre,
                      [](Link &l, const logo::PortTestJob &job, const QString &status) {
                          const logo::ReadResult result = job.readResult();
                          const bool read =
                              result == logo::ReadResult::International || result == logo::ReadResult::National;
                          say(read ? stdout : stderr, status);
                          if (read)
                              say(stdout, QStringLiteral("Message Center Number: +%1")
                                              .arg(l.settings.read(logo::kSharedSection, QStringLiteral("SMSC"))));
                          const QString message = result == logo::ReadResult::NotStored
                                                      ? l.settings.writeFailedMessage()
                                                      : logo::PortTestJob::readMessage(result);
                          if (!message.isEmpty())
                              say(stderr, message);
                          l.settings.sync();
                          return read ? 0 : 1;
                      });
}

int phonebookCommand(const QStringList &argv)
{
    Args a({});
    logo::PhonebookOverrides link;
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
    logo::PhonebookJob job(book, logo::readPhonebookSettings(l.settings, QString(), link), l.engine, l.prompt);
    QObject::connect(&job, &logo::PhonebookJob::statusLine, [](int line) {
        static const char *const kLines[] = {"- Initializing", "- Reading from SIM", "- Reading from Phone"};
        say(stderr, QString::fromLatin1(kLines[qBound(0, line, 2)]));
    });
    const QString title = l.profile.productName;
    QObject::connect(&job, &logo::DeliveryJob::finished, [&](logo::JobOutcome outcome, const QString &text) {
        logo::showJobEnd(l.prompt, title, outcome, text);
    });
    waitFor(job);
    if (job.outcome() != logo::JobOutcome::Completed)
        return 1;
    for (const logo::PhonebookEntry &e : book.entries())
        say(stdout, logo::Phonebook::cacheLine(e));
    l.prompt.printSuccess();
    if (job.cacheWriteFailed())
        return err(QStringLiteral("error: can't write %1").arg(a.value(QStringLiteral("--cache"))));
    return 0;
}

} // namespace logotool
