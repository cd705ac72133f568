#pragma once
// The raw serial line of the infrared upload, straight on the operating
// system's serial device: exclusive, 8-N-1, no flow control of any kind, no
// input or output processing, DTR and RTS inactive, one octet per system call.
// Not thread-bound: it may be created on one thread and used on another, one
// thread at a time.
#include "infrared/irline.h"

#include <QString>

namespace logo {

class RawSerialPort : public IrLine {
public:
    RawSerialPort() = default;
    ~RawSerialPort() override;
    RawSerialPort(const RawSerialPort &) = delete;
    RawSerialPort &operator=(const RawSerialPort &) = delete;

    OpenResult open(const QString &device) override;
    bool setSpeed(qint32 bitsPerSecond) override;
    void close() override;
    void setTimeouts(IrTimeouts profile) override;
    bool writeOctet(quint8 octet) override;
    int readOctet(quint8 &octet) override;
    void flush() override;
    QString lastError() const override { return m_lastError; }

    bool isOpen() const;

private:
    bool applyTimeouts();

#ifdef Q_OS_WIN
    void *m_handle = nullptr;
#else
    int m_fd = -1;
#endif
    IrTimeouts m_timeouts = IrTimeouts::Send;
    QString m_lastError;
};

} // namespace logo
