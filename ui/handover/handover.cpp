#include "handover/handover.h"

#include "desktop/prompt.h"
#include "handover/handovername.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

namespace logo {

namespace {

const QByteArray kAnswer = "OK\n";
constexpr int kConnectTimeoutMs = 1000;
constexpr int kMessageTimeoutMs = 5000;

} // namespace

InstanceHandOver::InstanceHandOver(const ProgramProfile &profile, const QString &serverName, QObject *parent)
    : QObject(parent), m_profile(profile), m_name(serverName.isEmpty() ? serverNameFor(profile) : serverName)
{
}

InstanceHandOver::~InstanceHandOver() = default;

QString InstanceHandOver::serverNameFor(const ProgramProfile &profile)
{
    return handOverServerName(profile);
}

// ---------------------------------------------------------------- sending side

InstanceHandOver::Send InstanceHandOver::send(const QString &serverName, const QString &path, int timeoutMs,
                                              const QByteArray &token)
{
    if (serverName.isEmpty())
        return Send::NoInstance;
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return Send::NoInstance;
    socket.write(encode(path, token));
    QElapsedTimer clock;
    clock.start();
    QByteArray answer;
    while (answer.size() < kAnswer.size() && clock.elapsed() < timeoutMs) {
        if (socket.bytesToWrite() > 0)
            socket.waitForBytesWritten(50);
        else if (!socket.waitForReadyRead(50) && socket.state() != QLocalSocket::ConnectedState)
            break;
        answer += socket.readAll();
    }
    socket.disconnectFromServer();
    return answer.startsWith(kAnswer) ? Send::Delivered : Send::Refused;
}

InstanceHandOver::Start InstanceHandOver::start(const QString &commandLine)
{
    // The running instance has its own working folder.
    const QString path = commandLine.isEmpty() ? commandLine : QFileInfo(commandLine).absoluteFilePath();
    // Another instance answers on the socket: it takes the file, or beeps
    // when it is busy.
    QLocalSocket probe;
    probe.connectToServer(m_name);
    const bool running = !m_name.isEmpty() && probe.waitForConnected(kConnectTimeoutMs);
    probe.abort();
    if (!running) {
        // Two starts at the same moment: the one that lost the name hands over.
        if (listen() || send(m_name, path, kMessageTimeoutMs, m_token) != Send::Delivered)
            return Start::Main;
        return Start::HandedOver;
    }
    return send(m_name, path, kMessageTimeoutMs, m_token) == Send::Delivered ? Start::HandedOver : Start::Unanswered;
}

// ---------------------------------------------------------------- receiving side

bool InstanceHandOver::listen()
{
    if (m_name.isEmpty())
        return false;
    if (!m_server) {
        m_server = new QLocalServer(this);
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        connect(m_server, &QLocalServer::newConnection, this, &InstanceHandOver::onNewConnection);
    }
    if (m_server->isListening() || m_server->listen(m_name))
        return true;
    // A socket file left by an instance that ended without closing it: nobody
    // answers there, so it is removed and the name taken over.
    if (m_server->serverError() == QAbstractSocket::AddressInUseError) {
        QLocalSocket probe;
        probe.connectToServer(m_name);
        if (probe.waitForConnected(kConnectTimeoutMs))
            return false;
        QLocalServer::removeServer(m_name);
        return m_server->listen(m_name);
    }
    return false;
}

void InstanceHandOver::onNewConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // A sender that never finishes its message is cut off.
        QTimer::singleShot(kMessageTimeoutMs, socket, [socket] { socket->abort(); });
        if (socket->bytesAvailable() > 0)
            onReadyRead(socket);
    }
}

void InstanceHandOver::onReadyRead(QLocalSocket *socket)
{
    QByteArray buffer = socket->property("received").toByteArray() + socket->readAll();
    QString path;
    QByteArray token;
    const Parse result = buffer.size() > MaxMessage + MaxToken + 64 ? Parse::Invalid : decode(buffer, &path, &token);
    switch (result) {
    case Parse::Incomplete:
        socket->setProperty("received", buffer);
        return;
    case Parse::Invalid:
        socket->abort();
        return;
    case Parse::Raise:
    case Parse::Open:
        socket->setProperty("received", QByteArray());
        socket->write(kAnswer);
        socket->flush();
        socket->disconnectFromServer();
        break;
    }
    // Opened from the event loop, so that the sender gets its answer before any
    // question the opening asks.
    if (m_open)
        QTimer::singleShot(0, this, [this, path, token] { deliver(path, token); });
    else
        m_pending.append({path, token});
}

void InstanceHandOver::receiveInto(Prompt &prompt, std::function<bool()> busy, OpenHandler open, RaiseHandler raise)
{
    m_prompt = &prompt;
    m_busy = std::move(busy);
    m_open = std::move(open);
    m_raise = std::move(raise);
    for (const auto &message : std::exchange(m_pending, {}))
        QTimer::singleShot(0, this, [this, message] { deliver(message.first, message.second); });
}

void InstanceHandOver::deliver(const QString &path, const QByteArray &token)
{
    if (m_raise)
        m_raise(token);
    if (path.isEmpty())
        return;
    if (m_busy && m_busy()) {
        if (m_prompt)
            m_prompt->beep();
        return;
    }
    if (m_open)
        m_open(path);
}

} // namespace logo
