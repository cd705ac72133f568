// logotool send / store: the windows' "Sen&d as SMS..." and "Sto&re to
// SMS-Inbox..." on the command line, through the same checks, job and engine,
// over the serial link. The dialogs' answers come from the options.
#include "logotool.h"

#include "graphic/logofile.h"
#include "sms/digits.h"
#include "phone/seriallink.h"
#include "phone/smsdelivery.h"
#include "sms/networkcode.h"

#include <QEventLoop>
#include <cstdio>

namespace logotool {

namespace {

QString deliveryUsage(bool send)
{
    const QString command = send ? QStringLiteral("usage: logotool send ") : QStringLiteral("usage: logotool store ");
    return command + (send ? QStringLiteral("FILE --to DIGITS ") : QStringLiteral("FILE ")) +
           QLatin1String(kLinkOptionsUsage) + QStringLiteral(" [--smsc DIGITS]\n") +
           QString(command.size(), QLatin1Char(' ')) +
           QStringLiteral("[--program quillet|brisvane] [--mcc M --mnc N]\n") + QLatin1String(kLinkOptionsHelp) +
           (send ? QStringLiteral("\n  --smsc   the message centre's number instead of the \"SMSC\" setting")
                 : QStringLiteral("\n  --smsc   the message centre's number instead of the \"SMSC\" setting; a stored\n"
                                  "           message does not carry it, but storing needs one, as in the windows"));
}

// The message boxes of the windows: the outcome of a job on standard output,
// everything else on standard error; questions are answered Yes (the user
// asked for the job on the command line).
class PhonePrompt : public logo::ScriptedPrompt {
public:
    PhonePrompt() { defaultAnswer = logo::Answer::Yes; }
    logo::Answer message(const QString &title, const QString &text, logo::Icon icon,
                         logo::Buttons buttons) override
    {
        const bool outcome = icon == logo::Icon::Information ||
                             (icon == logo::Icon::Critical && jobRan);
        say(outcome ? stdout : stderr, text);
        return ScriptedPrompt::message(title, text, icon, buttons);
    }
    bool jobRan = false;
};

// The menu command with the dialogs answered from the options: the
// destination number of the send dialog, Store in the store dialog.
int deliver(logo::SmsKind kind, const logo::LogoDocument &doc, logo::SettingsStore &settings,
            const logo::OutgoingPicture &picture, const logo::SmsOverrides &overrides, PhonePrompt &prompt,
            const QString &to)
{
    const QString section = doc.profile().settingsSection;
    const QString title = doc.profile().productName;
    if (!logo::pictureMayGo(doc, prompt, logo::DeliveryPath::SmartMessage))
        return 1;
    if (!logo::checkSendSettings(kind, logo::readSendSettings(settings, section, overrides), prompt, title))
        return 1;
    int kept = 0;
    if (kind == logo::SmsKind::Send) {
        const QString digits = logo::acceptDestination(to, prompt, title);
        if (digits.isEmpty())
            return 1;
        logo::saveDestination(settings, section, digits);
    } else {
        kept = logo::storeCount(settings, section);
        say(stderr, QStringLiteral("sender %1").arg(logo::storeNumberText(doc.profile(), kept)));
    }
    const logo::SendSettings sendSettings = logo::readSendSettings(settings, section, overrides);
    logo::SerialLink link;
    logo::TimerTicks jobTimer(1000);
    logo::AtEngine engine(link, jobTimer);
    logo::SmsJob job(kind, logo::smsPdu(kind, picture, sendSettings), sendSettings.link, engine, prompt);
    prompt.jobRan = true;
    runJob(job, prompt, title);
    if (kind == logo::SmsKind::Store)
        logo::advanceStoreCount(settings, section, kept);
    return job.outcome() == logo::JobOutcome::Completed ? 0 : 1;
}

int runDelivery(const QStringList &argv, logo::SmsKind kind)
{
    const bool send = kind == logo::SmsKind::Send;
    const QString usageText = deliveryUsage(send);
    Args a(argv);
    if (a.has(QStringLiteral("--help")))
        return help(usageText);
    QStringList known = linkOptionNames();
    known << QStringLiteral("--smsc") << QStringLiteral("--program") << QStringLiteral("--mcc")
          << QStringLiteral("--mnc");
    if (send)
        known << QStringLiteral("--to");
    if (a.positional.size() != 1 || !a.unknown(known).isEmpty())
        return err(usageText, 2);
    if (send && !a.has(QStringLiteral("--to")))
        return err(usageText, 2);

    logo::SmsOverrides overrides;
    if (!linkOptions(a, overrides))
        return 2;
    if (a.has(QStringLiteral("--smsc"))) {
        overrides.hasSmsc = true;
        overrides.smsc = logo::digitsOnly(a.value(QStringLiteral("--smsc")));
    }

    // The job runs on a document with the real settings.
    DeliveryPicture picture;
    if (const int code = picture.parse(a))
        return code;
    logo::SettingsStore settings;
    PhonePrompt prompt;
    logo::LogoDocument doc(*picture.profile);
    picture.applyTo(doc);
    portForOwnDevice(overrides.port, overrides.device, settings, QStringLiteral("COMPort"));

    const int code = deliver(kind, doc, settings, picture.outgoing(), overrides, prompt,
                             a.value(QStringLiteral("--to")));
    settings.sync();
    return code;
}

} // namespace

// Runs the job to its end: the percentages as they come, the window's message
// at the end.
void runJob(logo::DeliveryJob &job, logo::Prompt &prompt, const QString &title)
{
    QEventLoop loop;
    QObject::connect(&job, &logo::DeliveryJob::progress, [](int percent) {
        say(stdout, QStringLiteral("%1%").arg(percent));
    });
    QObject::connect(&job, &logo::DeliveryJob::finished, [&](logo::JobOutcome outcome, const QString &text) {
        logo::showJobEnd(prompt, title, outcome, text);
        loop.quit();
    });
    job.start();
    if (job.isRunning())
        loop.exec();
}

const char *const kLinkOptionsUsage = "[--port N] [--device PATH] [--quick]";
const char *const kLinkOptionsHelp =
    "  --quick  go on as soon as the phone has answered (the \"QuickLink\" setting)";

QStringList linkOptionNames()
{
    return portOptionNames() << QStringLiteral("--quick");
}

bool linkOptions(const Args &a, logo::LinkOverrides &o)
{
    if (!portOptions(a, o.port, o.device))
        return false;
    o.quickLink = a.has(QStringLiteral("--quick"));
    return true;
}

int sendCommand(const QStringList &args)
{
    return runDelivery(args, logo::SmsKind::Send);
}

int storeCommand(const QStringList &args)
{
    return runDelivery(args, logo::SmsKind::Store);
}

} // namespace logotool
