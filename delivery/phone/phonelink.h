#pragma once
// The two things the AT engine needs from the outside world: a byte link to the
// phone and the job timer. Both are interfaces so that the engine runs the same
// against the serial port and the one-second timer, or against the tests' fake
// link and ticks that the tests fire themselves.
#include <QByteArray>
#include <QObject>
#include <QString>

namespace logo {

class PhoneLink : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~PhoneLink() override = default;

    // Opens the device (a port name or a path); false when it is missing, in use
    // or can't be set up.
    virtual bool open(const QString &device) = 0;
    // False when closing failed; the link is considered closed either way.
    virtual bool close() = 0;
    // Queues the bytes for writing; false when the link refused them.
    virtual bool write(const QByteArray &bytes) = 0;
    virtual bool isOpen() const = 0;
    // The system's reason why the last open failed ("Permission denied");
    // empty when it opened or the link can't tell.
    virtual QString lastError() const { return {}; }

signals:
    // Bytes that arrived from the phone, in order, as they came.
    void received(const QByteArray &bytes);
};

// The job timer: while started it calls tick() on its listener once per
// interval. The engine starts it when a step is awaited and stops it first thing
// in every tick.
class TickSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~TickSource() override = default;

    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;

signals:
    void tick();
};

} // namespace logo
