// irsim: a Nokia 61xx phone on a pseudo-terminal, as the infrared upload
// meets it through an IrDA adapter: SIR frames, discovery, connection, the
// switch to 115200 bit/s, the IAS query, the data connection and the message.
// For trying the upload without a phone, and for its integration tests.
//
// Usage: irsim [options]
//
// The first line on standard output is "device PATH", the slave side of the
// pseudo-terminal; open that path as the infrared port. Afterwards it reports:
//   connected AA        the SNRM was acknowledged (connection address AA, hex)
//   message HEX         a whole message arrived, then what it shows: its kind
//                       and network code, and 14 rows of '#' and '.'
//   disconnected        the DISC was acknowledged
// It keeps the slave side open itself, so that it reads the line speed the
// program set (octets sent at another speed than the phone expects are lost),
// and serves until killed or --seconds have passed.
//
// Options:
//   --model 6110|8810|9110   the model its discovery answer names (6110)
//   --slots N[,N...]         the discovery slots it answers in (2)
//   --address HEX            its device address, four octets (2A3B4C5D)
//   --delay MS               every answer comes MS milliseconds late
//   --drop N                 the N-th answer is lost (repeatable)
//   --corrupt N              the N-th answer has a damaged check (repeatable)
//   --silent-after N         no answers after the first N (0: silent)
//   --bare-ua                acknowledges the SNRM without negotiation parameters
//   --noise text|random      no phone: a device that never stops talking, NMEA
//                            sentences of a GPS receiver or random octets
//                            (an IR receiver in sunlight), about 12 800 a second
//   --seconds N              end after N seconds
#include "irsim_core.h"
#include "ptysim.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <cstdio>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

using ptysim::Clock;
using ptysim::toInt;

int usage(const char *why)
{
    return ptysim::usage("irsim", why,
                 "usage: irsim [--model 6110|8810|9110] [--slots N,...] [--address HEX] [--delay MS]\n"
                 "             [--drop N]... [--corrupt N]... [--silent-after N] [--bare-ua]\n"
                 "             [--noise text|random] [--seconds N]\n");
}

int lineSpeed(int slave)
{
    termios t{};
    if (::tcgetattr(slave, &t) != 0)
        return 0;
    switch (::cfgetospeed(&t)) {
    case B9600:
        return 9600;
    case B115200:
        return 115200;
    default:
        return 1;   // any other speed: the phone hears noise
    }
}

void say(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    irsim::Options o;
    int seconds = 0;
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString a = args[i];
        QString v;
        const bool hasValue = i + 1 < args.size();
        if (hasValue)
            v = args[i + 1];
        int n = 0;
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            return usage(nullptr), 0;
        } else if (a == QLatin1String("--bare-ua")) {
            o.bareUa = true;
            continue;
        } else if (!hasValue) {
            return usage(qPrintable(QStringLiteral("unknown option or missing value: %1").arg(a)));
        } else if (a == QLatin1String("--model")) {
            if (!toInt(v, o.model) || (o.model != 6110 && o.model != 8810 && o.model != 9110))
                return usage("--model takes 6110, 8810 or 9110");
        } else if (a == QLatin1String("--slots")) {
            o.answerSlots.clear();
            for (const QString &s : v.split(QLatin1Char(','))) {
                if (!toInt(s, n) || n > 5)
                    return usage("--slots takes slot numbers 0 to 5");
                o.answerSlots << n;
            }
        } else if (a == QLatin1String("--address")) {
            o.deviceAddress = QByteArray::fromHex(v.toLatin1());
            if (o.deviceAddress.size() != 4)
                return usage("--address takes four octets in hex");
        } else if (a == QLatin1String("--delay")) {
            if (!toInt(v, o.delayMs))
                return usage("--delay takes milliseconds");
        } else if (a == QLatin1String("--drop") || a == QLatin1String("--corrupt")) {
            if (!toInt(v, n) || n == 0)
                return usage("--drop and --corrupt take an answer number from 1");
            (a == QLatin1String("--drop") ? o.drop : o.corrupt) << n;
        } else if (a == QLatin1String("--silent-after")) {
            if (!toInt(v, o.silentAfter))
                return usage("--silent-after takes a number");
        } else if (a == QLatin1String("--noise")) {
            if (v == QLatin1String("text"))
                o.noise = irsim::Noise::Text;
            else if (v == QLatin1String("random"))
                o.noise = irsim::Noise::Random;
            else
                return usage("--noise takes text or random");
            // No phone behind it.
            o.silentAfter = 0;
        } else if (a == QLatin1String("--seconds")) {
            if (!toInt(v, seconds))
                return usage("--seconds takes a number");
        } else {
            return usage(qPrintable(QStringLiteral("unknown option %1").arg(a)));
        }
        ++i;
    }

    // The simulator keeps a slave descriptor of its own to read the speed the
    // program sets.
    int master = -1, slave = -1;
    if (!ptysim::openRawPty("irsim", B9600, master, slave))
        return 1;

    irsim::IrPhoneCore phone(o);
    ptysim::AnswerQueue answers;
    const auto end = seconds > 0 ? Clock::now() + std::chrono::seconds(seconds) : Clock::time_point::max();
    bool connected = false;
    int disconnects = 0;
    qsizetype messages = 0;
    char buf[4096];

    // The noise goes out in chunks of 64 octets every 5 ms, whatever the
    // other side does; what the line can't take is lost, as on a real one.
    constexpr int kNoiseChunk = 64;
    constexpr auto kNoiseEvery = std::chrono::milliseconds(5);
    quint32 noiseState = 0;
    auto nextNoise = Clock::now();

    for (;;) {
        auto now = Clock::now();
        if (now >= end)
            break;
        answers.writeDue(master, now);
        int timeout = answers.pollTimeout(now, end);
        if (o.noise != irsim::Noise::None) {
            if (now >= nextNoise) {
                const QByteArray chunk = irsim::noiseOctets(o.noise, kNoiseChunk, noiseState);
                [[maybe_unused]] const ssize_t written = ::write(master, chunk.constData(), size_t(chunk.size()));
                nextNoise = now + kNoiseEvery;
            }
            timeout = std::min(timeout, 5);
        }
        pollfd p{master, POLLIN, 0};
        const int r = ::poll(&p, 1, timeout);
        if (r < 0 && errno != EINTR) {
            std::perror("irsim: poll");
            return 1;
        }
        if (r <= 0 || !(p.revents & POLLIN))
            continue;
        const ssize_t n = ::read(master, buf, sizeof buf);
        if (n <= 0)
            continue;
        now = Clock::now();
        for (const irsim::Output &out : phone.receive(QByteArray(buf, int(n)), lineSpeed(slave)))
            answers.add(now, out.delayMs, out.bytes);
        answers.writeDue(master, now);
        if (phone.connected() && !connected)
            say(QStringLiteral("connected %1").arg(QString::number(phone.connectionAddress(), 16).toUpper().rightJustified(2, QLatin1Char('0'))));
        connected = phone.connected();
        for (; messages < phone.messages().size(); ++messages) {
            const QByteArray &m = phone.messages()[messages];
            say(QStringLiteral("message %1").arg(QString::fromLatin1(m.toHex().toUpper())));
            for (const QString &line : irsim::IrPhoneCore::describe(m))
                say(line);
        }
        for (; disconnects < phone.disconnects(); ++disconnects)
            say(QStringLiteral("disconnected"));
    }
    ::close(master);
    ::close(slave);
    return 0;
}
