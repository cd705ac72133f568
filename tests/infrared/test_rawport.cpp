// The raw serial line against a pseudo-terminal: what the program set is read
// back from the terminal's other side.
#include "infrared/rawserialport.h"
#include "irtestsupport.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace logo;

namespace {

// A pseudo-terminal whose slave side the port opens by its path; the test
// keeps a slave descriptor to read the settings and talks on the master.
struct Pty {
    Pty()
    {
        char name[256] = {};
        if (::openpty(&master, &slave, name, nullptr, nullptr) == 0)
            path = QString::fromLocal8Bit(name);
    }
    ~Pty()
    {
        ::close(master);
        ::close(slave);
    }
    termios settings() const
    {
        termios t{};
        ::tcgetattr(slave, &t);
        return t;
    }
    QByteArray readMaster(int expected)
    {
        QByteArray got;
        char buf[512];
        pollfd p{master, POLLIN, 0};
        while (got.size() < expected && ::poll(&p, 1, 2000) > 0) {
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n <= 0)
                break;
            got.append(buf, int(n));
        }
        return got;
    }
    int master = -1, slave = -1;
    QString path;
};

QByteArray allOctets()
{
    QByteArray b;
    for (int i = 0; i < 256; ++i)
        b += char(i);
    return b;
}

} // namespace

TEST(RawSerialPort, RawEightNOneWithoutFlowControlAtBothSpeeds)
{
    Pty pty;
    ASSERT_FALSE(pty.path.isEmpty());
    RawSerialPort port;
    ASSERT_EQ(port.open(pty.path), IrLine::OpenResult::Opened) << port.lastError().toStdString();
    const auto expectLine = [&](speed_t speed) {
        const termios t = pty.settings();
        EXPECT_EQ(cfgetospeed(&t), speed);
        EXPECT_EQ(cfgetispeed(&t), speed);
        EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t(CS8));
        EXPECT_EQ(t.c_cflag & (CLOCAL | CREAD), tcflag_t(CLOCAL | CREAD));
        EXPECT_EQ(t.c_iflag & (IXON | IXOFF | IXANY | ICRNL | INLCR | IGNCR | ISTRIP | INPCK | PARMRK), 0u);
        EXPECT_EQ(t.c_oflag & OPOST, 0u);
        EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    };
    expectLine(B9600);
    ASSERT_TRUE(port.setSpeed(115200));
    expectLine(B115200);
    ASSERT_TRUE(port.setSpeed(9600));
    expectLine(B9600);
    EXPECT_FALSE(port.setSpeed(57600));

    // Every octet value passes unchanged both ways, one per call.
    const QByteArray octets = allOctets();
    for (const char c : octets)
        ASSERT_TRUE(port.writeOctet(quint8(c)));
    EXPECT_EQ(pty.readMaster(256), octets);
    ASSERT_EQ(::write(pty.master, octets.constData(), 256), 256);
    QByteArray back;
    port.setTimeouts(IrTimeouts::Receive);
    quint8 o = 0;
    while (back.size() < 256 && port.readOctet(o) == 1)
        back += char(o);
    EXPECT_EQ(back, octets);
}

TEST(RawSerialPort, TheTwoReadTimeoutProfiles)
{
    Pty pty;
    RawSerialPort port;
    ASSERT_EQ(port.open(pty.path), IrLine::OpenResult::Opened);
    quint8 o = 0;
    QElapsedTimer t;

    port.setTimeouts(IrTimeouts::Send);
    EXPECT_EQ(pty.settings().c_cc[VTIME], 0);
    EXPECT_EQ(pty.settings().c_cc[VMIN], 0);
    t.start();
    EXPECT_EQ(port.readOctet(o), 0);
    EXPECT_LT(t.elapsed(), 500) << "returns at once on a silent line";

    port.setTimeouts(IrTimeouts::Receive);
    EXPECT_EQ(pty.settings().c_cc[VTIME], 10);
    EXPECT_EQ(pty.settings().c_cc[VMIN], 0);
    t.start();
    EXPECT_EQ(port.readOctet(o), 0);
    EXPECT_GE(t.elapsed(), 800) << "waits about a second on a silent line";
    // An octet that comes within the second ends the wait.
    std::thread late([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ASSERT_EQ(::write(pty.master, "\x7E", 1), 1);
    });
    EXPECT_EQ(port.readOctet(o), 1);
    late.join();
    EXPECT_EQ(o, 0x7E);
    // The speed change keeps the profile.
    ASSERT_TRUE(port.setSpeed(115200));
    EXPECT_EQ(pty.settings().c_cc[VTIME], 10);
}

TEST(RawSerialPort, OpenIsExclusiveAndFailsCleanly)
{
    Pty pty;
    RawSerialPort first, second;
    const auto exclusive = [&] {
        int on = -1;
        ::ioctl(pty.slave, TIOCGEXCL, &on);
        return on;
    };
    ASSERT_EQ(first.open(pty.path), IrLine::OpenResult::Opened);
    EXPECT_EQ(exclusive(), 1);
    EXPECT_EQ(second.open(pty.path), IrLine::OpenResult::CantOpen);
    EXPECT_FALSE(second.isOpen());
    first.close();
    EXPECT_EQ(exclusive(), 0) << "others may open the line again";
    EXPECT_EQ(second.open(pty.path), IrLine::OpenResult::Opened);

    QTemporaryDir dir;
    const struct {
        QString device;
        IrLine::OpenResult result;
    } failures[] = {
        {dir.filePath("no-such-port"), IrLine::OpenResult::CantOpen},
        {QString(), IrLine::OpenResult::CantOpen},
        {"/dev/null", IrLine::OpenResult::CantSetParams},   // not a serial line
    };
    for (const auto &f : failures) {
        RawSerialPort port;
        EXPECT_EQ(port.open(f.device), f.result) << f.device.toStdString();
        EXPECT_FALSE(port.isOpen());
        EXPECT_FALSE(port.lastError().isEmpty());
    }
}
