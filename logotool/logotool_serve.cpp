// logotool serve: the upload gateway, the other end of "Send via Internet...":
// the windows' upload address, answered with the picture and a form for the
// recipient's number; each job queued on disk and sent through the phone as
// `logotool send` sends it.
#include "logotool.h"
#include "servemodule.h"

#include "desktop/programmodule.h"
#include "sms/digits.h"

namespace logotool {

namespace {

const char *kServeUsage =
    "usage: logotool serve [--listen HOST:PORT] [--port N] [--device PATH] [--quick]\n"
    "                      [--db FILE] [--token TEXT] [--smsc DIGITS]\n"
    "  --listen  where the server listens (default 127.0.0.1:8080); any address\n"
    "            but this machine's own needs --token\n"
    "  --db      the queue's database (default gateway.sqlite in the data folder)\n"
    "  --token   the access code that the form and the API then ask for\n"
    "  --smsc    the message centre's number instead of the \"SMSC\" setting\n"
    "  --quick   go on as soon as the phone has answered (the \"QuickLink\" setting)\n"
    "Point the windows at it with WebHost=HOST:PORT in their settings section.";

const ServeModule *loadServeModule()
{
    return logo::loadModuleTable<ServeModule>("LOGO_SERVE_MODULE", QStringLiteral(LOGO_SERVE_MODULE_FILE),
                                              ServeModuleEntryName, ServeModuleAbi, [](const ServeModule &m) {
                                                  return m.checkAddress && m.serve;
                                              });
}

} // namespace

int serveCommand(const QStringList &argv)
{
    Args a(argv);
    if (a.has(QStringLiteral("--help")))
        return help(QString::fromLatin1(kServeUsage));
    const QStringList known = linkOptionNames() << QStringLiteral("--listen") << QStringLiteral("--db")
                                                << QStringLiteral("--token") << QStringLiteral("--smsc");
    if (!a.positional.isEmpty() || !a.unknown(known).isEmpty())
        return err(QString::fromLatin1(kServeUsage), 2);

    ServeRequest request;
    request.listen = a.value(QStringLiteral("--listen"));
    if (a.has(QStringLiteral("--listen")) && request.listen.isEmpty())
        return err(QStringLiteral("error: --listen takes HOST:PORT, for example 127.0.0.1:8080"), 2);
    request.token = a.value(QStringLiteral("--token"));
    if (a.has(QStringLiteral("--token")) && request.token.isEmpty())
        return err(QStringLiteral("error: --token takes a text"), 2);
    const ServeModule *module = loadServeModule();
    if (!module)
        return err(QStringLiteral("error: the gateway module can't be loaded: reinstall logotool"));
    QString error;
    if (const int code = module->checkAddress(request, &error))
        return err(error, code);
    logo::LinkOverrides link;
    if (!linkOptions(a, link))
        return 2;
    logo::SettingsStore settings;
    portForOwnDevice(link.port, link.device, settings, QStringLiteral("COMPort"));
    request.port = link.port;
    request.device = link.device;
    request.quickLink = link.quickLink;
    request.smsc = logo::digitsOnly(a.value(QStringLiteral("--smsc")));

    // Every job would fail without them: said once, before anyone waits.
    if (request.smsc.isEmpty() && settings.read(logo::kSharedSection, QStringLiteral("SMSC")).isEmpty()) {
        say(stderr, QStringLiteral("Please configure your Message Center Number\r\nin menu 'Edit/Options'"));
        return 2;
    }
    if (request.port <= 0 && settings.readInt(logo::kSharedSection, QStringLiteral("COMPort"), 0) <= 0) {
        say(stderr, QStringLiteral("Please configure the Nokia GSM Serial Port\r\nin menu 'Edit/Options'"));
        return 2;
    }
    request.database = a.value(QStringLiteral("--db"));
    if (a.has(QStringLiteral("--db")) && request.database.isEmpty())
        return err(QStringLiteral("error: --db takes a file"), 2);
    return module->serve(request, settings, &say);
}

} // namespace logotool
