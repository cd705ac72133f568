// The raw serial line on termios (Linux and other Unix systems).
#include "infrared/rawserialport.h"

#ifndef Q_OS_WIN

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace logo {

namespace {

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

bool speedConstant(qint32 bitsPerSecond, speed_t &speed)
{
    switch (bitsPerSecond) {
    case 9600:
        speed = B9600;
        return true;
    case 115200:
        speed = B115200;
        return true;
    default:
        return false;
    }
}

// Raw 8-N-1 with no flow control and no processing in either direction.
void makeRaw(termios &t)
{
    ::cfmakeraw(&t);
    t.c_iflag &= ~tcflag_t(IXOFF | IXANY | INPCK | IGNPAR);
    t.c_iflag |= IGNBRK;
    t.c_cflag &= ~tcflag_t(CSTOPB | CRTSCTS);
    t.c_cflag |= CLOCAL | CREAD;
}

} // namespace

RawSerialPort::~RawSerialPort()
{
    close();
}

bool RawSerialPort::isOpen() const
{
    return m_fd >= 0;
}

IrLine::OpenResult RawSerialPort::open(const QString &device)
{
    close();
    m_lastError.clear();
    const QByteArray path = QFile::encodeName(device.trimmed());
    if (path.isEmpty()) {
        m_lastError = QStringLiteral("no device");
        return OpenResult::CantOpen;
    }
    // Not blocking on the carrier while the line is not yet local.
    m_fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) {
        // The system's own words: they go into the message the user sees.
        m_lastError = QString::fromLocal8Bit(std::strerror(errno));
        return OpenResult::CantOpen;
    }
    // Exclusive: the lock keeps out every other opener that asks for it, the
    // terminal's exclusive mode every other opener but the superuser.
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        m_lastError = errno == EWOULDBLOCK ? QStringLiteral("in use by another program") : systemError("flock");
        close();
        return OpenResult::CantOpen;
    }
    ::ioctl(m_fd, TIOCEXCL);
    ::tcflush(m_fd, TCIOFLUSH);
    m_timeouts = IrTimeouts::Send;
    if (!setSpeed(9600)) {
        if (m_lastError.isEmpty())
            m_lastError = QStringLiteral("can't set the line");
        close();
        return OpenResult::CantSetParams;
    }
    // From now on reads and writes wait as the time-out profiles say.
    ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) & ~O_NONBLOCK);
    return OpenResult::Opened;
}

bool RawSerialPort::setSpeed(qint32 bitsPerSecond)
{
    speed_t speed = B0;
    termios t{};
    if (m_fd < 0 || !speedConstant(bitsPerSecond, speed))
        return false;
    if (::tcgetattr(m_fd, &t) != 0) {
        m_lastError = systemError("tcgetattr");
        return false;
    }
    makeRaw(t);
    ::cfsetispeed(&t, speed);
    ::cfsetospeed(&t, speed);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = m_timeouts == IrTimeouts::Receive ? 10 : 0;
    // What is still on its way goes out at the old speed.
    if (::tcsetattr(m_fd, TCSADRAIN, &t) != 0) {
        m_lastError = systemError("tcsetattr");
        return false;
    }
    // tcsetattr succeeds when any of the changes took: check the ones that count.
    termios now{};
    if (::tcgetattr(m_fd, &now) != 0 || ::cfgetospeed(&now) != speed || ::cfgetispeed(&now) != speed ||
        (now.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS)) != CS8 || (now.c_iflag & (IXON | IXOFF))) {
        m_lastError = QStringLiteral("the line keeps other settings");
        return false;
    }
    // DTR and RTS inactive at every speed. A line without modem-control lines
    // (a pseudo-terminal) refuses the request and has none to hold.
    const int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(m_fd, TIOCMBIC, &lines);
    return true;
}

void RawSerialPort::close()
{
    if (m_fd < 0)
        return;
    // The terminal's exclusive mode outlives this descriptor while anyone else
    // (a simulator on a pseudo-terminal) holds the line: give it up first.
    ::ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);   // also releases the lock
    m_fd = -1;
}

bool RawSerialPort::applyTimeouts()
{
    termios t{};
    if (m_fd < 0 || ::tcgetattr(m_fd, &t) != 0)
        return false;
    // No minimum count: a read returns what is there; with a time of ten
    // tenths it waits up to one second for the first octet.
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = m_timeouts == IrTimeouts::Receive ? 10 : 0;
    return ::tcsetattr(m_fd, TCSANOW, &t) == 0;
}

bool RawSerialPort::writeOctet(quint8 octet)
{
    if (m_fd < 0)
        return false;
    pollfd p{m_fd, POLLOUT, 0};
    int ready = 0;
    do
        ready = ::poll(&p, 1, 1000);
    while (ready < 0 && errno == EINTR);
    if (ready <= 0 || !(p.revents & POLLOUT))
        return false;
    ssize_t n = 0;
    do
        n = ::write(m_fd, &octet, 1);
    while (n < 0 && errno == EINTR);
    return n == 1;
}

int RawSerialPort::readOctet(quint8 &octet)
{
    if (m_fd < 0)
        return 0;
    ssize_t n = 0;
    do
        n = ::read(m_fd, &octet, 1);
    while (n < 0 && errno == EINTR);
    return n == 1 ? 1 : 0;
}

void RawSerialPort::flush()
{
    if (m_fd >= 0)
        ::tcdrain(m_fd);
}

} // namespace logo

#endif
