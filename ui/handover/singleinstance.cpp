#include "handover/singleinstance.h"

#include "desktop/programmodule.h"
#include "handover/handoverlink.h"
#include "handover/handovername.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>
#include <cstdio>

namespace logo {

namespace {

// How long a second start waits for a running instance whose window is not
// up yet, and how often it knocks meanwhile.
constexpr int kWaitForListenerMs = 5000;
constexpr int kKnockIntervalMs = 50;

} // namespace

SingleInstance::SingleInstance(const ProgramProfile &profile, const QString &serverName)
    : m_profile(profile), m_name(serverName.isEmpty() ? handOverServerName(profile) : serverName)
{
}

SingleInstance::~SingleInstance() = default;

HandOverLink *SingleInstance::link()
{
    if (m_link || m_linkMissing)
        return m_link.get();
    const HandOverLinkModule *module = loadModuleTable<HandOverLinkModule>(
        "LOGO_HANDOVER_MODULE", QStringLiteral(LOGO_HANDOVER_MODULE_FILE), HandOverLinkEntryName, HandOverLinkAbi,
        [](const HandOverLinkModule &m) { return m.create != nullptr; });
    if (!module) {
        m_linkMissing = true;
        std::fprintf(stderr, "The hand-over module can't be loaded: later starts open windows of their own.\n");
        return nullptr;
    }
    m_link.reset(module->create(m_profile, m_name));
    return m_link.get();
}

SingleInstance::Start SingleInstance::start(const QString &commandLine, const QByteArray &token)
{
    if (m_name.isEmpty())
        return Start::Main;
    // The running instance has its own working folder.
    const QString path = commandLine.isEmpty() ? commandLine : QFileInfo(commandLine).absoluteFilePath();
    // Only a lock that a live instance holds counts, however old it is.
    m_lock = std::make_unique<QLockFile>(handOverLockPath(m_name));
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0) || m_lock->error() != QLockFile::LockFailedError)
        return Start::Main;
    HandOverLink *socket = link();
    if (!socket)
        return Start::Main;
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        switch (socket->send(path, token)) {
        case HandOverLink::Send::Delivered:
            return Start::HandedOver;
        case HandOverLink::Send::Refused:
            return Start::Unanswered;
        case HandOverLink::Send::NoInstance:
            break;
        }
        // Not listening yet, or it has just ended and let go of the lock.
        if (m_lock->tryLock(0))
            return Start::Main;
        if (clock.elapsed() > kWaitForListenerMs)
            return Start::Unanswered;
        QThread::msleep(kKnockIntervalMs);
    }
}

bool SingleInstance::receiveInto(Prompt &prompt, std::function<bool()> busy, std::function<void(const QString &)> open,
                                 std::function<void(const QByteArray &)> raise)
{
    HandOverLink *socket = m_name.isEmpty() ? nullptr : link();
    if (!socket || !socket->listen())
        return false;
    socket->receiveInto(prompt, std::move(busy), std::move(open), std::move(raise));
    return true;
}

void SingleInstance::noteOpened(const QString &document)
{
    const QString log = qEnvironmentVariable("LOGO_HANDOVER_LOG");
    QFile f(log);
    if (!log.isEmpty() && f.open(QIODevice::WriteOnly | QIODevice::Append))
        f.write(document.toUtf8() + '\n');
}

} // namespace logo
