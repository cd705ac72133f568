#pragma once
// The phone link over a serial port: 19200 bit/s, 8 data bits, no parity, one
// stop bit, no flow control, event-driven on the thread that owns it. DTR and
// RTS stay as the port driver leaves them. The port itself is the module
// logoserialport (phone/serialdevice.h), loaded when a port is first opened
// or listed.
#include "phone/phonelink.h"

#include <QTimer>
#include <memory>

namespace logo {

class SerialDevice;

class SerialLink : public PhoneLink {
    Q_OBJECT
public:
    explicit SerialLink(QObject *parent = nullptr);
    ~SerialLink() override;

    bool open(const QString &device) override;
    bool close() override;
    bool write(const QByteArray &bytes) override;
    bool isOpen() const override;

    QString lastError() const override { return m_lastError; }

    // The serial devices this machine has now (e.g. /dev/ttyUSB0), sorted;
    // none when the serial port module can't be loaded.
    static QStringList availableDevices();

private:
    std::unique_ptr<SerialDevice> m_port;
    QString m_lastError;
};

// The job timer on a QTimer: 1000 ms for the programs; the benchmark makes it
// shorter.
class TimerTicks : public TickSource {
    Q_OBJECT
public:
    explicit TimerTicks(int intervalMs = 1000, QObject *parent = nullptr);

    void start() override;
    void stop() override;
    bool isActive() const override;
    int interval() const { return m_timer.interval(); }
    void setInterval(int ms) { m_timer.setInterval(ms); }

private:
    QTimer m_timer;
};

} // namespace logo
