// The serial port on Qt SerialPort, as the module logoserialport: what
// SerialLink loads on the first use of a port.
#include "phone/serialdevice.h"

#include <QSerialPort>
#include <QSerialPortInfo>

namespace {

class QtSerialDevice final : public logo::SerialDevice {
public:
    explicit QtSerialDevice(std::function<void(const QByteArray &)> received) : m_received(std::move(received))
    {
        QObject::connect(&m_port, &QSerialPort::readyRead, [this] {
            const QByteArray bytes = m_port.readAll();
            if (!bytes.isEmpty())
                m_received(bytes);
        });
        QObject::connect(&m_port, &QSerialPort::errorOccurred, [this](QSerialPort::SerialPortError error) {
            // A device that went away (a USB cable pulled, the far end of a
            // pseudo-terminal closed) stays readable for ever: every turn of
            // the event loop reports the failed read again. The port is closed
            // at once; the job notices the closed link at its next tick.
            if ((error == QSerialPort::ResourceError || error == QSerialPort::ReadError) && m_port.isOpen())
                m_port.close();
        });
    }
    ~QtSerialDevice() override
    {
        if (m_port.isOpen())
            m_port.close();
    }

    bool open(const QString &device, QString &error) override
    {
        if (m_port.isOpen())
            m_port.close();
        m_port.setPortName(device);
        if (!m_port.open(QIODevice::ReadWrite)) {
            error = m_port.errorString();
            return false;
        }
        const bool set = m_port.setBaudRate(QSerialPort::Baud19200) && m_port.setDataBits(QSerialPort::Data8) &&
                         m_port.setParity(QSerialPort::NoParity) && m_port.setStopBits(QSerialPort::OneStop) &&
                         m_port.setFlowControl(QSerialPort::NoFlowControl);
        if (!set) {
            error = m_port.errorString();
            m_port.close();
            return false;
        }
        // Whatever an earlier user of the port left behind is not part of our reply.
        m_port.clear(QSerialPort::AllDirections);
        return true;
    }

    bool close() override
    {
        if (!m_port.isOpen())
            return true;
        m_port.clearError();
        m_port.close();
        return m_port.error() == QSerialPort::NoError;
    }

    bool write(const QByteArray &bytes) override { return m_port.isOpen() && m_port.write(bytes) == bytes.size(); }
    bool isOpen() const override { return m_port.isOpen(); }

private:
    std::function<void(const QByteArray &)> m_received;
    QSerialPort m_port;
};

logo::SerialDevice *create(std::function<void(const QByteArray &)> received)
{
    return new QtSerialDevice(std::move(received));
}

QStringList availableDevices()
{
    QStringList devices;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        devices << info.systemLocation();
    devices.sort();
    return devices;
}

} // namespace

extern "C" Q_DECL_EXPORT const logo::SerialDeviceModule *logoSerialDeviceModule()
{
    static const logo::SerialDeviceModule module{logo::SerialDeviceAbi, QT_VERSION, &create, &availableDevices};
    return &module;
}
