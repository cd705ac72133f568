#include "phone/seriallink.h"

#include <QSerialPortInfo>

namespace logo {

SerialLink::SerialLink(QObject *parent) : PhoneLink(parent)
{
    connect(&m_port, &QSerialPort::readyRead, this, &SerialLink::readAvailable);
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialLink::portError);
}

SerialLink::~SerialLink()
{
    if (m_port.isOpen())
        m_port.close();
}

bool SerialLink::open(const QString &device)
{
    m_lastError.clear();
    if (m_port.isOpen())
        m_port.close();
    if (device.isEmpty()) {
        m_lastError = QStringLiteral("no device");
        return false;
    }
    m_port.setPortName(device);
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_lastError = m_port.errorString();
        return false;
    }
    const bool set = m_port.setBaudRate(QSerialPort::Baud19200) &&
                     m_port.setDataBits(QSerialPort::Data8) &&
                     m_port.setParity(QSerialPort::NoParity) &&
                     m_port.setStopBits(QSerialPort::OneStop) &&
                     m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!set) {
        m_lastError = m_port.errorString();
        m_port.close();
        return false;
    }
    // Whatever an earlier user of the port left behind is not part of our reply.
    m_port.clear(QSerialPort::AllDirections);
    return true;
}

bool SerialLink::close()
{
    if (!m_port.isOpen())
        return true;
    m_port.clearError();
    m_port.close();
    return m_port.error() == QSerialPort::NoError;
}

bool SerialLink::write(const QByteArray &bytes)
{
    if (!m_port.isOpen())
        return false;
    return m_port.write(bytes) == bytes.size();
}

bool SerialLink::isOpen() const
{
    return m_port.isOpen();
}

QStringList SerialLink::availableDevices()
{
    QStringList devices;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        devices << info.systemLocation();
    devices.sort();
    return devices;
}

void SerialLink::readAvailable()
{
    const QByteArray bytes = m_port.readAll();
    if (!bytes.isEmpty())
        emit received(bytes);
}

void SerialLink::portError(QSerialPort::SerialPortError error)
{
    // A device that went away (a USB cable pulled, the far end of a
    // pseudo-terminal closed) stays readable for ever: every turn of the event
    // loop reports the failed read again. The port is closed at once; the job
    // notices the closed link at its next tick.
    if ((error == QSerialPort::ResourceError || error == QSerialPort::ReadError) && m_port.isOpen())
        m_port.close();
}

TimerTicks::TimerTicks(int intervalMs, QObject *parent) : TickSource(parent)
{
    m_timer.setInterval(intervalMs);
    connect(&m_timer, &QTimer::timeout, this, &TickSource::tick);
}

void TimerTicks::start()
{
    m_timer.start();
}

void TimerTicks::stop()
{
    m_timer.stop();
}

bool TimerTicks::isActive() const
{
    return m_timer.isActive();
}

} // namespace logo
