#pragma once
// A program runs once per user. The first start holds a lock file for its
// whole run and, once its window is up, listens on a local socket; a second
// start finds the lock held and hands the file from its command line to the
// running instance (or only raises its window), then ends without a window.
// The socket side is a module (handoverlink.h) that only those two moments
// load, so that a start pays nothing for it before its first frame.
#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

class QLockFile;

namespace logo {

class HandOverLink;
class Prompt;
struct ProgramProfile;

class SingleInstance {
public:
    // serverName: empty for handOverServerName(profile).
    explicit SingleInstance(const ProgramProfile &profile, const QString &serverName = QString());
    ~SingleInstance();

    enum class Start {
        Main,         // no other instance: this one runs, and listens once its window is up
        HandedOver,   // the running instance took the file (or was raised)
        Unanswered,   // an instance runs but did not take the file
    };
    // The first thing a program does, before its window exists; anything but
    // Main ends the program. A lock left by an instance that crashed doesn't
    // count. An instance that has its lock but doesn't listen yet (its window
    // is on its way) is waited for, a few seconds at most.
    Start start(const QString &path, const QByteArray &token = QByteArray());

    // Once the window is up: listens for later starts and hands their
    // messages to the window (see InstanceHandOver::receiveInto). False when
    // the module can't be loaded or the socket can't be had.
    bool receiveInto(Prompt &prompt, std::function<bool()> busy, std::function<void(const QString &)> open,
                     std::function<void(const QByteArray &)> raise);

    // For the tests of the whole programs: appends the name of the document a
    // hand-over opened to the file named by LOGO_HANDOVER_LOG, when set.
    static void noteOpened(const QString &document);

private:
    HandOverLink *link();

    const ProgramProfile &m_profile;
    QString m_name;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<HandOverLink> m_link;
    bool m_linkMissing = false;   // said once
};

} // namespace logo
