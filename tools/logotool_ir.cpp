// logotool ir-upload: the windows' "IR-&Upload to 61xx" on the command line,
// through the same controller and upload engine, over the raw serial line.
#include "tools/logotool.h"

#include "infrared/irdelivery.h"

#include <QEventLoop>
#include <cstdio>

namespace logotool {

namespace {

const char *kIrUsage =
    "usage: logotool ir-upload FILE [--port N | --device PATH] [--program quillet|brisvane]\n"
    "                           [--mcc M --mnc N]\n"
    "Uploads the picture by infrared to a 61xx phone through the IrDA adapter on the\n"
    "port (\"IRPort\", or --port N; --device PATH for another device than the number's),\n"
    "with the delays \"IRDelay1\"..\"IRDelay3\". Prints each progress percentage, then the\n"
    "message the window shows: \"Data uploaded.\" on stdout (exit 0), failures on stderr.\n"
    "The picture goes as an operator logo when it carries a network code, else as a\n"
    "group graphic, unless --program says.";

void say(FILE *stream, const QString &text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fprintf(stream, "%s\n", qPrintable(shown));
    std::fflush(stream);
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

// The progress dialog: prints the percentages while the upload runs.
class ToolUi : public logo::IrUploadUi {
public:
    explicit ToolUi(logo::IrDelivery &delivery) : m_delivery(delivery) {}
    void showUploadProgress() override
    {
        ran = true;
        QEventLoop loop;
        QObject::connect(&m_delivery, &logo::IrDelivery::progress, &loop,
                         [](int percent) { say(stdout, QStringLiteral("%1%").arg(percent)); });
        QObject::connect(&m_delivery, &logo::IrDelivery::uploadEnded, &loop, &QEventLoop::quit);
        m_delivery.myIR();
        if (m_delivery.uploadRunning())
            loop.exec();
    }
    bool ran = false;

private:
    logo::IrDelivery &m_delivery;
};

} // namespace

int cmdIrUpload(const QStringList &argv)
{
    Args a(argv);
    if (a.has(QStringLiteral("--help"))) {
        say(stdout, QString::fromLatin1(kIrUsage));
        return 0;
    }
    const QStringList known{QStringLiteral("--port"), QStringLiteral("--device"), QStringLiteral("--program"),
                            QStringLiteral("--mcc"), QStringLiteral("--mnc")};
    if (a.positional.size() != 1 || !a.unknown(known).isEmpty())
        return err(QString::fromLatin1(kIrUsage), 2);

    logo::IrDelivery::Overrides overrides;
    if (a.has(QStringLiteral("--port"))) {
        bool ok = false;
        overrides.port = a.value(QStringLiteral("--port")).toInt(&ok);
        if (!ok || overrides.port <= 0)
            return err(QStringLiteral("error: --port takes a port number (1 for COM1)"), 2);
    }
    overrides.device = a.value(QStringLiteral("--device"));
    if (a.has(QStringLiteral("--device")) && overrides.device.isEmpty())
        return err(QStringLiteral("error: --device takes a path"), 2);
    const logo::ProgramProfile *profile = nullptr;
    if (!programOption(a, profile))
        return err(QStringLiteral("error: --program takes quillet or brisvane"), 2);

    // Opened in a scratch session, so that the programs' recent files stay as
    // they are; the upload then runs on a document with the real settings.
    Session picture(logo::ProgramProfile::quillet());
    if (!openInput(picture, a.positional[0]))
        return 1;
    if (!networkOption(a, *picture.doc))
        return err(QStringLiteral("error: --mcc and --mnc take decimal digits"), 2);
    if (!profile)
        profile = picture.doc->currentMCC().isEmpty() ? &logo::ProgramProfile::quillet()
                                                      : &logo::ProgramProfile::brisvane();

    logo::SettingsStore settings;
    IrPrompt prompt;
    logo::LogoDocument doc(*profile, prompt, settings);
    doc.grid() = picture.doc->grid();
    doc.setNetworkCode(picture.doc->currentMCC(), picture.doc->currentMNC());

    logo::IrDelivery delivery(doc);
    // A device of its own needs no configured port; the number then only
    // names it in the messages.
    if (!overrides.device.isEmpty() && overrides.port <= 0 &&
        settings.readInt(logo::kSharedSection, QStringLiteral("IRPort"), 0) <= 0)
        overrides.port = 1;
    delivery.setOverrides(overrides);
    ToolUi ui(delivery);
    delivery.setUi(&ui);
    delivery.mnuIR_Click();
    settings.sync();
    return ui.ran && delivery.lastResult().isEmpty() ? 0 : 1;
}

} // namespace logotool
