#include "infrared/rawserialport.h"

namespace logo {

void RawSerialPort::setTimeouts(IrTimeouts profile)
{
    // The profile is set before every frame and every burst; the system is
    // asked only when it changes.
    if (profile == m_timeouts)
        return;
    m_timeouts = profile;
    applyTimeouts();
}

} // namespace logo
