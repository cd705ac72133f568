#pragma once
// A link and a job timer that the tests drive by hand: the link records what
// the engine writes and delivers whatever the test says the phone answered;
// the ticks only say whether the engine wants the next one.
#include "desktop/programcontext.h"
#include "common/testsupport.h"
#include "graphic/logodocument.h"
#include "phone/atengine.h"
#include "phone/phonelink.h"
#include "sim/phonesim_core.h"

#include <QByteArrayList>
#include <QTimer>
#include <functional>

namespace phonetest {

class FakeLink : public logo::PhoneLink {
    Q_OBJECT
public:
    bool open(const QString &device) override
    {
        openedDevices << device;
        if (!openSucceeds)
            return false;
        m_open = true;
        return true;
    }
    bool close() override
    {
        ++closeCount;
        m_open = false;
        return closeSucceeds;
    }
    bool write(const QByteArray &bytes) override
    {
        if (!m_open || !writeSucceeds)
            return false;
        written << bytes;
        if (responder) {
            // Answers arrive later, like a phone's: after the write returned.
            const QByteArray answer = responder(bytes);
            if (!answer.isEmpty())
                QTimer::singleShot(0, this, [this, answer] {
                    if (m_open)
                        emit received(answer);
                });
        }
        return true;
    }
    bool isOpen() const override { return m_open; }
    QString lastError() const override { return openSucceeds ? QString() : openError; }

    // The phone says something now.
    void reply(const QByteArray &bytes) { emit received(bytes); }

    bool openSucceeds = true;
    bool closeSucceeds = true;
    bool writeSucceeds = true;
    QString openError;    // the system's reason of a failing open
    QStringList openedDevices;
    QByteArrayList written;
    int closeCount = 0;
    // When set, every write is answered with what it returns (queued).
    std::function<QByteArray(const QByteArray &)> responder;

private:
    bool m_open = false;
};

class ManualTicks : public logo::TickSource {
    Q_OBJECT
public:
    void start() override
    {
        m_active = true;
        ++starts;
        if (autoFire)
            QTimer::singleShot(0, this, [this] {
                if (m_active)
                    emit tick();
            });
    }
    void stop() override { m_active = false; }
    bool isActive() const override { return m_active; }

    int starts = 0;
    // Fire each started tick from the event loop (flows that run inside modal
    // dialogs); otherwise the test calls the engine's tick() itself.
    bool autoFire = false;

private:
    bool m_active = false;
};

// A phone that answers every command at once: echo off, "OK", the prompt after
// AT+CMGS= / AT+CMGW=, and "OK" after the PDU line. failOn makes the command
// that starts with it answer instead with the given text.
inline std::function<QByteArray(const QByteArray &)> goodPhone(const QByteArray &failOn = {},
                                                                const QByteArray &failWith = {})
{
    return [failOn, failWith](const QByteArray &cmd) -> QByteArray {
        if (!failOn.isEmpty() && cmd.startsWith(failOn))
            return failWith;
        if (cmd.startsWith("AT+CMGS=") || cmd.startsWith("AT+CMGW="))
            return "\r\n> ";
        if (cmd.endsWith('\x1a'))
            return "\r\n+CMGS: 7\r\n\r\nOK\r\n";
        return "\r\nOK\r\n";
    };
}

// A document on a private settings store and folder, and an engine on the
// fake link and ticks: what the phone jobs and dialogs are built on.
struct Rig {
    explicit Rig(const logo::ProgramProfile &profile = logo::ProgramProfile::quillet())
        : doc(profile), marks(sb.settings(), profile.settingsSection),
          context{profile, prompt, sb.settings(), marks, sb.dir()}
    {
    }
    logotest::Sandbox sb;
    logo::ScriptedPrompt prompt;
    logo::LogoDocument doc;
    logo::RunMarks marks;
    // The window's part: the busy mark, the prompt, the settings and the
    // program folder (where the phonebook cache goes).
    logo::ProgramContext context;
    FakeLink link;
    ManualTicks ticks;
    logo::AtEngine engine{link, ticks};
};

// The simulated phone's answers (echo included), all at once.
inline std::function<QByteArray(const QByteArray &)> simulatedPhone(phonesim::PhoneCore &phone)
{
    return [&phone](const QByteArray &cmd) {
        QByteArray all;
        for (const phonesim::Output &o : phone.receive(cmd))
            all += o.bytes;
        return all;
    };
}

} // namespace phonetest
