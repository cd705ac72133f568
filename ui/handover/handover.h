#pragma once
// A program runs once per user: a second start hands the file from its
// command line to the running instance over a local socket that only this
// user can reach, or only raises the running window when there is no file;
// then it ends without a window. The running window judges by its own state
// whether it is busy, and then only beeps: marks in the settings may have
// been left by an instance that was killed.
//
// The message: "HANDOVER 1\n", optionally "TOKEN <token>\n" (the desktop's
// start-up or activation token of the second start, printable ASCII without
// spaces), then "RAISE\n", or "OPEN <bytes>\n" followed by the path in UTF-8
// (any length, any characters). The receiver answers "OK\n" once it has taken
// the message; anything else is dropped unanswered.
#include <QObject>
#include <QStringList>
#include <functional>
#include <utility>

class QLocalServer;
class QLocalSocket;

namespace logo {

class Prompt;
struct ProgramProfile;

class InstanceHandOver : public QObject {
    Q_OBJECT
public:
    // serverName: empty for serverNameFor(profile).
    explicit InstanceHandOver(const ProgramProfile &profile, const QString &serverName = QString(),
                              QObject *parent = nullptr);
    ~InstanceHandOver() override;

    // handOverServerName(profile).
    static QString serverNameFor(const ProgramProfile &profile);
    QString serverName() const { return m_name; }

    enum class Start {
        Main,         // no other instance: this one listens for later starts
        HandedOver,   // the running instance took the file (or was raised)
        Unanswered,   // an instance runs but did not take the file
    };
    // The first thing a program does, before its window exists; anything but
    // Main ends the program. A socket left behind by an instance that crashed
    // doesn't count as a running instance. The activation token, when set,
    // travels with the message.
    Start start(const QString &path);
    void setActivationToken(const QByteArray &token) { m_token = token; }

    // The receiving side, once the window exists: calls raise (the window
    // comes forward) and open with each handed-over path, later, from the
    // event loop (a path that arrived earlier is delivered now). While busy()
    // is true (a command of the window runs, a modal box is open) a path is
    // not opened; the user hears a beep instead. A token that came with the
    // message is handed to raise (on Wayland the compositor's token, on X11
    // the start-up id).
    using OpenHandler = std::function<void(const QString &)>;
    using RaiseHandler = std::function<void(const QByteArray &token)>;
    void receiveInto(Prompt &prompt, std::function<bool()> busy, OpenHandler open, RaiseHandler raise = {});

    // The two sides on their own, for the tests.
    enum class Send { Delivered, NoInstance, Refused };
    static Send send(const QString &serverName, const QString &path, int timeoutMs = 5000,
                     const QByteArray &token = QByteArray());
    bool listen();
    // The bytes of a message, and a message's path and token (an empty path
    // asks only to raise the window; a token that isn't one is left out).
    static QByteArray encode(const QString &path, const QByteArray &token = QByteArray());
    enum class Parse { Incomplete, Invalid, Raise, Open };
    static Parse decode(const QByteArray &bytes, QString *path, QByteArray *token = nullptr);
    static constexpr qsizetype MaxToken = 512;

    static constexpr qsizetype MaxMessage = 1 << 20;

private:
    void onNewConnection();
    void onReadyRead(QLocalSocket *socket);
    void deliver(const QString &path, const QByteArray &token);

    const ProgramProfile &m_profile;
    QString m_name;
    QLocalServer *m_server = nullptr;
    Prompt *m_prompt = nullptr;
    std::function<bool()> m_busy;
    OpenHandler m_open;
    RaiseHandler m_raise;
    QByteArray m_token;
    QList<std::pair<QString, QByteArray>> m_pending;   // messages that came before the window
};

} // namespace logo
