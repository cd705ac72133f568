// The gateway behind `logotool serve`, as a module: the server, the queue on
// disk and the sender on the phone.
#include "servemodule.h"

#include "desktop/appfolders.h"
#include "desktop/pixelaspect.h"
#include "desktop/settingsstore.h"
#include "gateway/gatewayserver.h"
#include "gateway/jobstore.h"
#include "gateway/phonesender.h"
#include "gateway/queuerunner.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHostAddress>

namespace {

using logotool::ServeRequest;

bool parseListen(const QString &text, QHostAddress &address, quint16 &port)
{
    address = QHostAddress(QHostAddress::LocalHost);
    port = 8080;
    if (text.isEmpty())
        return true;
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

int checkAddress(const ServeRequest &request, QString *error)
{
    QHostAddress address;
    quint16 port = 0;
    if (!parseListen(request.listen, address, port)) {
        *error = QStringLiteral("error: --listen takes HOST:PORT, for example 127.0.0.1:8080");
        return 2;
    }
    if (logo::gateway::GatewayServer::reachesBeyondThisMachine(address) && request.token.isEmpty()) {
        *error = QStringLiteral("error: listening on %1 lets others send through your phone: give an access "
                                "code with --token TEXT")
                     .arg(address.toString());
        return 2;
    }
    return 0;
}

int serve(const ServeRequest &request, logo::SettingsStore &settings, logotool::SayFunction say)
{
    QHostAddress address;
    quint16 port = 0;
    parseListen(request.listen, address, port);
    logo::gateway::SerialSendOptions options;
    options.port = request.port;
    options.device = request.device;
    options.quickLink = request.quickLink;
    options.smsc = request.smsc;

    const QString db = request.database.isEmpty() ? defaultDatabase() : request.database;
    logo::gateway::JobStore store;
    if (!store.open(db)) {
        say(stderr, QStringLiteral("error: can't open the queue %1: %2").arg(db, store.errorText()));
        return 1;
    }
    const std::unique_ptr<logo::gateway::PhoneSender> sender = logo::gateway::makeSerialPhoneSender(settings, options);
    logo::gateway::QueueRunner runner(store, *sender);
    logo::gateway::GatewayServer server(store, runner);
    server.setToken(request.token);
    server.setPixelShape(logo::pixelAspect(settings));
    const quint16 listening = server.listen(address, port);
    if (!listening) {
        say(stderr, QStringLiteral("error: can't listen on %1:%2 (in use, or not this machine's address)")
                        .arg(address.toString())
                        .arg(port));
        return 1;
    }

    QObject::connect(&runner, &logo::gateway::QueueRunner::jobEnded, [say](qint64 id, bool sent, const QString &text) {
        say(stderr, QStringLiteral("job %1 %2: %3").arg(id).arg(sent ? QStringLiteral("sent") : QStringLiteral("failed"), text));
    });
    QObject::connect(&runner, &logo::gateway::QueueRunner::paused, [say](const QString &message) { say(stderr, message); });
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

} // namespace

extern "C" Q_DECL_EXPORT const logotool::ServeModule *logotoolServeModule()
{
    static const logotool::ServeModule module{logotool::ServeModuleAbi, QT_VERSION, &checkAddress, &serve};
    return &module;
}
