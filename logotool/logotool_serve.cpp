// logotool serve: the upload gateway, the other end of "Send via Internet...":
// the windows' upload address, answered with the picture and a form for the
// recipient's number; each job queued on disk and sent through the phone as
// `logotool send` sends it.
#include "logotool.h"

#include "desktop/appfolders.h"
#include "desktop/pixelaspect.h"
#include "gateway/gatewayserver.h"
#include "gateway/jobstore.h"
#include "gateway/phonesender.h"
#include "gateway/queuerunner.h"
#include "graphic/pathutil.h"
#include "sms/digits.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

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

bool parseListen(const QString &text, QHostAddress &address, quint16 &port)
{
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    QString host = text.left(colon);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    if (host == QLatin1String("localhost"))
        host = QStringLiteral("127.0.0.1");
    bool ok = false;
    const uint p = text.mid(colon + 1).toUInt(&ok);
    if (!ok || p > 65535 || !address.setAddress(host))
        return false;
    port = quint16(p);
    return true;
}

QString defaultDatabase()
{
    const QString folder = logo::AppFolders::defaultUserFolder();
    QDir().mkpath(folder);
    return QDir(folder).filePath(QStringLiteral("gateway.sqlite"));
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

    QHostAddress address(QHostAddress::LocalHost);
    quint16 port = 8080;
    if (a.has(QStringLiteral("--listen")) && !parseListen(a.value(QStringLiteral("--listen")), address, port))
        return err(QStringLiteral("error: --listen takes HOST:PORT, for example 127.0.0.1:8080"), 2);
    const QString token = a.value(QStringLiteral("--token"));
    if (a.has(QStringLiteral("--token")) && token.isEmpty())
        return err(QStringLiteral("error: --token takes a text"), 2);
    if (logo::gateway::GatewayServer::reachesBeyondThisMachine(address) && token.isEmpty())
        return err(QStringLiteral("error: listening on %1 lets others send through your phone: give an access "
                                  "code with --token TEXT")
                       .arg(address.toString()),
                   2);
    logo::LinkOverrides link;
    if (!linkOptions(a, link))
        return 2;
    logo::SettingsStore settings;
    portForOwnDevice(link.port, link.device, settings, QStringLiteral("COMPort"));
    logo::gateway::SerialSendOptions options;
    options.port = link.port;
    options.device = link.device;
    options.quickLink = link.quickLink;
    options.smsc = logo::digitsOnly(a.value(QStringLiteral("--smsc")));

    // Every job would fail without them: said once, before anyone waits.
    if (options.smsc.isEmpty() && settings.read(logo::kSharedSection, QStringLiteral("SMSC")).isEmpty()) {
        say(stderr, QStringLiteral("Please configure your Message Center Number\r\nin menu 'Edit/Options'"));
        return 2;
    }
    if (options.port <= 0 && settings.readInt(logo::kSharedSection, QStringLiteral("COMPort"), 0) <= 0) {
        say(stderr, QStringLiteral("Please configure the Nokia GSM Serial Port\r\nin menu 'Edit/Options'"));
        return 2;
    }

    const QString db = a.has(QStringLiteral("--db")) ? a.value(QStringLiteral("--db")) : defaultDatabase();
    logo::gateway::JobStore store;
    if (!store.open(db))
        return err(QStringLiteral("error: can't open the queue %1: %2").arg(db, store.errorText()));
    const std::unique_ptr<logo::gateway::PhoneSender> sender = logo::gateway::makeSerialPhoneSender(settings, options);
    logo::gateway::QueueRunner runner(store, *sender);
    logo::gateway::GatewayServer server(store, runner);
    server.setToken(token);
    server.setPixelShape(logo::pixelAspect(settings));
    const quint16 listening = server.listen(address, port);
    if (!listening)
        return err(QStringLiteral("error: can't listen on %1:%2 (in use, or not this machine's address)")
                       .arg(address.toString())
                       .arg(port));

    QObject::connect(&runner, &logo::gateway::QueueRunner::jobEnded, [](qint64 id, bool sent, const QString &text) {
        say(stderr, QStringLiteral("job %1 %2: %3").arg(id).arg(sent ? QStringLiteral("sent") : QStringLiteral("failed"), text));
    });
    QObject::connect(&runner, &logo::gateway::QueueRunner::paused,
                     [](const QString &message) { say(stderr, message); });
    const QString host = address.protocol() == QAbstractSocket::IPv6Protocol
                             ? QStringLiteral("[%1]").arg(address.toString())
                             : address.toString();
    say(stderr, QStringLiteral("listening on http://%1:%2/ (queue %3; WebHost=%1:%2)")
                    .arg(host)
                    .arg(listening)
                    .arg(QDir::toNativeSeparators(QFileInfo(db).absoluteFilePath())));
    // Jobs left queued by the last run go first.
    runner.kick();
    return QCoreApplication::exec();
}

} // namespace logotool
