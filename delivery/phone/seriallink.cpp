#include "phone/seriallink.h"

#include "desktop/programmodule.h"
#include "phone/serialdevice.h"

#include <cstdio>

namespace logo {

namespace {

// The module's table, loaded once for the life of the process; null when it
// can't be loaded, which is said once on stderr.
const SerialDeviceModule *serialModule()
{
    static const SerialDeviceModule *const module = [] {
        const SerialDeviceModule *found = loadModuleTable<SerialDeviceModule>(
            "LOGO_SERIAL_MODULE", QStringLiteral(LOGO_SERIAL_MODULE_FILE), SerialDeviceEntryName, SerialDeviceAbi,
            [](const SerialDeviceModule &m) { return m.create && m.availableDevices; });
        if (!found)
            std::fprintf(stderr, "The serial port module can't be loaded: no serial port can be used.\n");
        return found;
    }();
    return module;
}

} // namespace

SerialLink::SerialLink(QObject *parent) : PhoneLink(parent) {}

SerialLink::~SerialLink() = default;

bool SerialLink::open(const QString &device)
{
    m_lastError.clear();
    if (m_port && m_port->isOpen())
        m_port->close();
    if (device.isEmpty()) {
        m_lastError = QStringLiteral("no device");
        return false;
    }
    if (!m_port) {
        const SerialDeviceModule *module = serialModule();
        if (!module) {
            m_lastError = QStringLiteral("the serial port module can't be loaded");
            return false;
        }
        m_port.reset(module->create([this](const QByteArray &bytes) { emit received(bytes); }));
    }
    return m_port->open(device, m_lastError);
}

bool SerialLink::close()
{
    return !m_port || m_port->close();
}

bool SerialLink::write(const QByteArray &bytes)
{
    return m_port && m_port->write(bytes);
}

bool SerialLink::isOpen() const
{
    return m_port && m_port->isOpen();
}

QStringList SerialLink::availableDevices()
{
    const SerialDeviceModule *module = serialModule();
    return module ? module->availableDevices() : QStringList();
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
