// logotool send / store: the windows' "Sen&d as SMS..." and "Sto&re to
// SMS-Inbox..." on the command line, through the same controller and engine,
// over the serial link. The dialogs' answers come from the options.
#include "logotool.h"

#include "graphic/logofile.h"
#include "sms/digits.h"
#include "phone/seriallink.h"
#include "phone/smsdelivery.h"

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

// The dialogs, answered from the options: the destination number of the send
// dialog, Store in the store dialog, and the progress printed as it comes.
class ToolUi : public logo::DeliveryUi {
public:
    ToolUi(logo::SmsDelivery &delivery, PhonePrompt &prompt, const QString &to)
        : m_delivery(delivery), m_prompt(prompt), m_to(to)
    {
    }
    void showSendDialog() override { m_delivery.sendTo(m_to); }
    void showStoreDialog() override
    {
        const int kept = m_delivery.storeCount();
        say(stderr, QStringLiteral("sender %1").arg(m_delivery.storeNumberText(kept)));
        m_delivery.storeWith(kept);
    }
    void showSendingProgress() override
    {
        m_prompt.jobRan = true;
        ran = true;
        QEventLoop loop;
        const auto progress = QObject::connect(&m_delivery, &logo::SmsDelivery::progress, [](int percent) {
            say(stdout, QStringLiteral("%1%").arg(percent));
        });
        const auto ended = QObject::connect(&m_delivery, &logo::SmsDelivery::jobEnded, &loop, &QEventLoop::quit);
        m_delivery.startSendingJob();
        if (m_delivery.jobRunning())
            loop.exec();
        QObject::disconnect(progress);
        QObject::disconnect(ended);
    }
    bool ran = false;

private:
    logo::SmsDelivery &m_delivery;
    PhonePrompt &m_prompt;
    QString m_to;
};

int runDelivery(const QStringList &argv, int mode)
{
    const bool send = mode == logo::SendingSms;
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

    logo::SmsDelivery::Overrides overrides;
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
    logo::LogoDocument doc(*picture.profile, prompt, settings);
    picture.applyTo(doc);
    portForOwnDevice(overrides.port, overrides.device, settings, QStringLiteral("COMPort"));

    logo::SerialLink link;
    logo::TimerTicks jobTimer(1000);
    logo::AtEngine engine(link, jobTimer);
    logo::SmsDelivery delivery(doc, engine);
    delivery.setOverrides(overrides);
    ToolUi ui(delivery, prompt, a.value(QStringLiteral("--to")));
    delivery.setUi(&ui);

    delivery.deliver(mode);
    settings.sync();
    return ui.ran && delivery.lastOutcome() == logo::JobOutcome::Completed ? 0 : 1;
}

} // namespace

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

int sendButton(const QStringList &args)
{
    return runDelivery(args, logo::SendingSms);
}

int storeButton(const QStringList &args)
{
    return runDelivery(args, logo::SendingStore);
}

} // namespace logotool
