// logotool send / store: the windows' "Sen&d as SMS..." and "Sto&re to
// SMS-Inbox..." on the command line, through the same controller and engine,
// over the serial link. The dialogs' answers come from the options.
#include "tools/logotool.h"

#include "graphic/logofile.h"
#include "graphic/pathutil.h"
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
           QStringLiteral("[--program quillet|brisvane] [--mcc M --mnc N]\n") + QLatin1String(kLinkOptionsHelp);
}

void say(FILE *stream, const QString &text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fprintf(stream, "%s\n", qPrintable(shown));
    std::fflush(stream);
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
    if (a.has(QStringLiteral("--help"))) {
        out(usageText);
        return 0;
    }
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
        overrides.smsc = logo::DigitsOnly(a.value(QStringLiteral("--smsc")));
    }

    const logo::ProgramProfile *profile = nullptr;
    if (!programOption(a, profile))
        return err(QStringLiteral("error: --program takes quillet or brisvane"), 2);

    // The picture is opened in a scratch session, so that opening it leaves the
    // programs' recent files and title alone; the job then runs on a document
    // with the real settings.
    Session picture(logo::ProgramProfile::quillet());
    if (!openInput(picture, a.positional[0]))
        return 1;
    if (!networkOption(a, *picture.doc))
        return err(QStringLiteral("error: --mcc and --mnc take decimal digits"), 2);
    if (!profile)
        profile = picture.doc->currentMCC().isEmpty() ? &logo::ProgramProfile::quillet()
                                                      : &logo::ProgramProfile::brisvane();

    logo::SettingsStore settings;
    PhonePrompt prompt;
    logo::LogoDocument doc(*profile, prompt, settings);
    doc.grid() = picture.doc->grid();
    doc.setNetworkCode(picture.doc->currentMCC(), picture.doc->currentMNC());

    // A device of its own needs no configured port; the number then only
    // names it in the messages.
    if (!overrides.device.isEmpty() && overrides.port <= 0 &&
        settings.readInt(logo::kSharedSection, QStringLiteral("COMPort"), 0) <= 0)
        overrides.port = 1;

    logo::SerialLink link;
    logo::TimerTicks tmrSendStore(1000);
    logo::AtEngine engine(link, tmrSendStore);
    // Why the port did not open, ahead of the message the window shows.
    QObject::connect(&engine, &logo::AtEngine::finished, [&](logo::JobOutcome outcome, const QString &) {
        if (outcome == logo::JobOutcome::OpenFailed && !link.lastError().isEmpty())
            say(stderr, QStringLiteral("%1: %2").arg(engine.state().LinkDevice, link.lastError()));
    });
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
    return {QStringLiteral("--port"), QStringLiteral("--device"), QStringLiteral("--quick")};
}

bool linkOptions(const Args &a, logo::LinkOverrides &o)
{
    if (a.has(QStringLiteral("--port"))) {
        bool ok = false;
        o.port = a.value(QStringLiteral("--port")).toInt(&ok);
        if (!ok || o.port <= 0)
            return err(QStringLiteral("error: --port takes a port number (1 for COM1)")), false;
    }
    o.device = a.value(QStringLiteral("--device"));
    if (a.has(QStringLiteral("--device")) && o.device.isEmpty())
        return err(QStringLiteral("error: --device takes a path")), false;
    o.quickLink = a.has(QStringLiteral("--quick"));
    return true;
}

int cmdSend(const QStringList &args)
{
    return runDelivery(args, logo::SendingSms);
}

int cmdStore(const QStringList &args)
{
    return runDelivery(args, logo::SendingStore);
}

} // namespace logotool
