#pragma once
// The serial port itself, as SerialLink sees it. Qt SerialPort (and, on
// Linux, libudev behind it) lives in the module logoserialport, which
// SerialLink loads on the first use of a port, so that a window's start and
// the file commands of logotool never load them.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

namespace logo {

class SerialDevice {
public:
    virtual ~SerialDevice() = default;
    // Opens the device at 19200 bit/s, 8 data bits, no parity, one stop bit,
    // no flow control, and drops whatever waits in either direction; false
    // with the system's reason in error.
    virtual bool open(const QString &device, QString &error) = 0;
    // False when closing reported an error; the port is closed either way.
    virtual bool close() = 0;
    virtual bool write(const QByteArray &bytes) = 0;
    virtual bool isOpen() const = 0;
};

// The module's one exported function returns this table.
struct SerialDeviceModule {
    int abi;
    unsigned qtVersion;
    // received gets the bytes as they arrive, on the thread that made the device.
    SerialDevice *(*create)(std::function<void(const QByteArray &)> received);
    // The serial devices this machine has now (e.g. /dev/ttyUSB0), sorted.
    QStringList (*availableDevices)();
};
constexpr int SerialDeviceAbi = 1;
inline constexpr char SerialDeviceEntryName[] = "logoSerialDeviceModule";

} // namespace logo
