// logotool ir-upload: the windows' "IR-&Upload to 61xx" on the command line,
// through the same checks, job and upload engine, over the raw serial line.
#include "logotool.h"

#include "infrared/irdelivery.h"
#include "infrared/irmessage.h"
#include "sms/networkcode.h"

#include <QEventLoop>
#include <cstdio>

namespace logotool {

namespace {

const char *kIrAbout =
    "Uploads the picture by infrared to a 61xx phone through the IrDA adapter on the\n"
    "port (\"IRPort\", or --port N; --device PATH for another device than the number's),\n"
    "with the delays \"IRDelay1\"..\"IRDelay3\". Prints each progress percentage, then the\n"
    "message the window shows: \"Data uploaded.\" on stdout (exit 0), failures on stderr.\n"
    "The picture goes as an operator logo when it carries a network code, else as a\n"
    "group graphic, unless --program says.";

QString irUsage()
{
    const QString command = QStringLiteral("usage: logotool ir-upload ");
    return command + QStringLiteral("FILE ") + QLatin1String(kPortOptionsUsage) +
           QStringLiteral(" [--program quillet|brisvane]\n") + QString(command.size(), QLatin1Char(' ')) +
           QStringLiteral("[--mcc M --mnc N]\n") + QLatin1String(kIrAbout);
}

// The message boxes: success on standard output, everything else on standard
// error; questions (an empty picture) are answered Yes.
class IrPrompt : public logo::ScriptedPrompt {
public:
    IrPrompt() { defaultAnswer = logo::Answer::Yes; }
    logo::Answer message(const QString &title, const QString &text, logo::Icon icon,
                         logo::Buttons buttons) override
    {
        say(icon == logo::Icon::Information ? stdout : stderr, text);
        return ScriptedPrompt::message(title, text, icon, buttons);
    }
};

// The menu command: the picture's checks, the IR port, and the upload.
int upload(const logo::LogoDocument &doc, logo::SettingsStore &settings, const logo::OutgoingPicture &picture,
           const logo::IrOverrides &overrides, logo::Prompt &prompt)
{
    const QString title = doc.profile().productName;
    if (!logo::pictureMayGo(doc, prompt, logo::DeliveryPath::Infrared))
        return 1;
    const logo::IrSettings irSettings = logo::readIrSettings(settings, overrides);
    if (!logo::checkIrSettings(irSettings, prompt, title))
        return 1;
    logo::IrUploadJob job(logo::buildIrMessage(*picture.profile, picture.grid, picture.mcc, picture.mnc), irSettings);
    runJob(job, prompt, title);
    return job.outcome() == logo::JobOutcome::Completed ? 0 : 1;
}

} // namespace

int irUploadCommand(const QStringList &argv)
{
    Args a(argv);
    if (a.has(QStringLiteral("--help")))
        return help(irUsage());
    const QStringList known = portOptionNames()
                              << QStringLiteral("--program") << QStringLiteral("--mcc") << QStringLiteral("--mnc");
    if (a.positional.size() != 1 || !a.unknown(known).isEmpty())
        return err(irUsage(), 2);

    logo::IrOverrides overrides;
    if (!portOptions(a, overrides.port, overrides.device))
        return 2;
    DeliveryPicture picture;
    if (const int code = picture.parse(a))
        return code;
    logo::SettingsStore settings;
    IrPrompt prompt;
    logo::LogoDocument doc(*picture.profile);
    picture.applyTo(doc);
    portForOwnDevice(overrides.port, overrides.device, settings, QStringLiteral("IRPort"));
    const int code = upload(doc, settings, picture.outgoing(), overrides, prompt);
    settings.sync();
    return code;
}

} // namespace logotool
