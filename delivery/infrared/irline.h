#pragma once
// What the infrared upload needs from the outside world: a raw serial line to
// the IrDA adapter and a clock to wait on. Both are interfaces, so that the
// upload runs the same against a real port and against the tests' simulated
// phone.
#include <QString>
#include <QtGlobal>
#include <chrono>

namespace logo {

// The two read time-out profiles of the upload.
enum class IrTimeouts {
    Send,       // before a frame is written: a read returns at once with what is buffered
    Receive,    // before a receive burst: a one-octet read waits at most one second
};

class IrLine {
public:
    enum class OpenResult { Opened, CantOpen, CantSetParams };

    virtual ~IrLine() = default;

    // Opens the device exclusively (a second opener is refused), purges both
    // directions and sets raw 8-N-1 at 9600 bit/s without any flow control or
    // processing, DTR and RTS inactive. Nothing stays open after a failure.
    virtual OpenResult open(const QString &device) = 0;
    // 9600 or 115200 bit/s with the same framing; false when the line refused.
    virtual bool setSpeed(qint32 bitsPerSecond) = 0;
    virtual void close() = 0;
    virtual void setTimeouts(IrTimeouts profile) = 0;
    // One octet per call. A write gives up after one second.
    virtual bool writeOctet(quint8 octet) = 0;
    // 1 with an octet, 0 when none came within the profile's time.
    virtual int readOctet(quint8 &octet) = 0;
    // Waits until everything written has left.
    virtual void flush() = 0;
    // The system's reason for the last failed open, for diagnostics.
    virtual QString lastError() const { return {}; }
};

class IrClock {
public:
    virtual ~IrClock() = default;
    virtual void sleep(int ms) = 0;
    // Milliseconds from some fixed point, steady: what bounds an upload. By
    // default the system's steady clock; a clock that only pretends to sleep
    // tells its own time.
    virtual qint64 nowMs();
};

// Sleeps the calling thread. The system wakes a sleeper a little late (up to
// a millisecond on a busy machine); over the hundreds of short waits of an
// upload that would add up, so each wait is shortened by the lateness of the
// one before, and every wait, its own lateness included, lasts what was asked.
class ThreadClock : public IrClock {
public:
    void sleep(int ms) override;

private:
    std::chrono::steady_clock::duration m_late{};
};

} // namespace logo
