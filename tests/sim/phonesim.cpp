// phonesim: a phone on a pseudo-terminal that speaks enough of the AT command
// set in PDU mode to send and store smart messages, read the message centre and
// answer the port test. For trying the programs without a phone, and for the
// integration tests of the serial link.
//
// Usage: phonesim [options]
//
// The first line on standard output is "device PATH", the slave side of the
// pseudo-terminal (e.g. "device /dev/pts/7"); open that path as the serial port.
// The simulator then serves until it is killed or --seconds have passed.
// A program may open and close the device any number of times; closing it
// drops a half-written command or PDU and any answer not yet written (a
// program that closes and at once reopens the device may still find the echo
// of its last words, as on a real line).
//
// Answers: "AT", "ATZ", "AT+CMGF=0", "AT+CRES=..." -> OK; "ATE0"/"ATE1" switch
// the echo; "ATI" -> the identity and OK; "AT+CSCA?" -> +CSCA: "<number>",<type>
// and OK; "AT+CMGS=<n>" and "AT+CMGW=<n>" -> CR LF "> ", then the PDU in hex up
// to Ctrl-Z (ESC abandons it) -> "+CMGS: <ref>" or "+CMGW: <index>" and OK, or
// "+CMS ERROR: 304" when n is not the number of octets after the PDU's
// message-centre field; "AT+CPBS=\"SM\"" / "\"ME\"" choose the phonebook memory,
// "AT+CPBR=?" gives its range, "AT+CPBR=a,b" its entries in that range, one
// "+CPBR: i,\"number\",type,\"name\"" line each (the built-in phonebook has
// empty locations and names with commas and letters of code page 437);
// anything else -> ERROR.
//
// Options:
//   --echo / --no-echo    echo the computer's characters (default: echo)
//   --delay MS            answers arrive MS milliseconds late (the echo does not)
//   --silent              never answer, never echo
//   --flood               never answer, never echo, but once the program has
//                         written to it, stream text lines without end (as a
//                         GPS receiver on the wrong port does), about 70 KB/s
//   --error-on CMD        answer ERROR to CMD; "AT+CMGS" also matches
//                         "AT+CMGS=154"; "PDU" means the PDU line; repeatable
//   --cms N               answer "+CMS ERROR: N" to the PDU line
//   --no-prompt           never answer AT+CMGS= / AT+CMGW=
//   --noise               send non-text octets in front of every answer
//   --smsc NUMBER         the number AT+CSCA? answers (default +491710760000;
//                         "" for none)
//   --smsc-type N         its type (default 145 for "+..." or empty, else 129)
//   --identity TEXT       what ATI answers (default "Nokia Mobile Phones")
//   --no-sim-phonebook    choosing the SIM phonebook (AT+CPBS="SM") is
//                         answered ERROR, as by a phone without a SIM
//   --phonebook FILE      the phonebook: lines MEM;LOCATION;NUMBER;TYPE;NAME
//                         (MEM "SM" or "ME"; NAME the rest of the line, in
//                         code page 437) in place of the built-in one
//   --fill MEM:N          N more entries in memory MEM ("SM" or "ME")
//   --log FILE            append every received PDU line (hex, without the
//                         Ctrl-Z) to FILE, one per line
//   --transcript FILE     append every received command and PDU line to FILE
//   --seconds N           end after N seconds
#include "phonesim_core.h"
#include "ptysim.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <chrono>
#include <cstdio>
#include <poll.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

using ptysim::Clock;
using ptysim::toInt;

int usage(const char *why)
{
    return ptysim::usage("phonesim", why,
                 "usage: phonesim [--echo|--no-echo] [--delay MS] [--silent] [--flood] [--error-on CMD]...\n"
                 "                [--cms N] [--no-prompt] [--noise] [--smsc NUMBER] [--smsc-type N]\n"
                 "                [--identity TEXT] [--no-sim-phonebook] [--phonebook FILE] [--fill MEM:N]\n"
                 "                [--log FILE] [--transcript FILE] [--seconds N]\n");
}

// The phonebook options: 0 when the option was one of them, 2 after printing
// why its value is bad, -1 for any other option.
int phonebookOption(const QStringList &args, qsizetype &i, phonesim::Options &o)
{
    const QString a = args[i];
    auto value = [&](QString &v) {
        if (i + 1 >= args.size())
            return false;
        v = args[++i];
        return true;
    };
    QString v;
    if (a == QLatin1String("--no-sim-phonebook")) {
        o.sim.present = false;
    } else if (a == QLatin1String("--phonebook")) {
        if (!value(v))
            return usage("--phonebook takes a file");
        QFile f(v);
        QString why;
        if (!f.open(QIODevice::ReadOnly))
            return usage(qPrintable(QStringLiteral("can't read %1").arg(v)));
        if (!phonesim::readPhonebookFile(f.readAll(), o.sim, o.phone, why))
            return usage(qPrintable(QStringLiteral("%1: %2").arg(v, why)));
    } else if (a == QLatin1String("--fill")) {
        const QStringList parts = value(v) ? v.split(QLatin1Char(':')) : QStringList();
        int n = 0;
        if (parts.size() != 2 || (parts[0] != QLatin1String("SM") && parts[0] != QLatin1String("ME")) ||
            !toInt(parts[1], n))
            return usage("--fill takes SM:N or ME:N");
        (parts[0] == QLatin1String("SM") ? o.sim : o.phone).fill(n);
    } else {
        return -1;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    phonesim::Options o;
    int seconds = 0;
    bool flood = false;
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString a = args[i];
        auto next = [&](QString &v) {
            if (i + 1 >= args.size())
                return false;
            v = args[++i];
            return true;
        };
        QString v;
        if (a == QLatin1String("--echo")) {
            o.echo = true;
        } else if (a == QLatin1String("--no-echo")) {
            o.echo = false;
        } else if (a == QLatin1String("--silent")) {
            o.silent = true;
        } else if (a == QLatin1String("--flood")) {
            o.silent = true;
            flood = true;
        } else if (a == QLatin1String("--no-prompt")) {
            o.noPrompt = true;
        } else if (a == QLatin1String("--noise")) {
            o.noise = true;
        } else if (a == QLatin1String("--delay")) {
            if (!next(v) || !toInt(v, o.delayMs))
                return usage("--delay takes milliseconds");
        } else if (a == QLatin1String("--cms")) {
            if (!next(v) || !toInt(v, o.cms))
                return usage("--cms takes an error number");
        } else if (a == QLatin1String("--seconds")) {
            if (!next(v) || !toInt(v, seconds))
                return usage("--seconds takes a number");
        } else if (a == QLatin1String("--smsc-type")) {
            if (!next(v) || !toInt(v, o.smscType))
                return usage("--smsc-type takes a number");
        } else if (a == QLatin1String("--error-on")) {
            if (!next(v) || v.isEmpty())
                return usage("--error-on takes a command");
            o.errorOn << v;
        } else if (a == QLatin1String("--smsc")) {
            if (!next(o.smsc))
                return usage("--smsc takes a number");
        } else if (a == QLatin1String("--identity")) {
            if (!next(o.identity))
                return usage("--identity takes a text");
        } else if (a == QLatin1String("--log")) {
            if (!next(o.logPath))
                return usage("--log takes a file");
        } else if (a == QLatin1String("--transcript")) {
            if (!next(o.transcriptPath))
                return usage("--transcript takes a file");
        } else if (const int taken = phonebookOption(args, i, o); taken >= 0) {
            if (taken)
                return taken;
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            return usage(nullptr);
        } else {
            return usage(qPrintable(QStringLiteral("unknown option %1").arg(a)));
        }
    }

    int master = -1, slave = -1;
    if (!ptysim::openRawPty("phonesim", B19200, master, slave))
        return 1;
    // Without a slave descriptor of its own the simulator sees the program
    // close the device (POLLHUP), and forgets what was half said.
    ::close(slave);

    phonesim::PhoneCore core(o);
    ptysim::AnswerQueue answers;
    const auto end = seconds > 0 ? Clock::now() + std::chrono::seconds(seconds) : Clock::time_point::max();
    bool connected = false;
    char buf[4096];

    for (;;) {
        auto now = Clock::now();
        if (now >= end)
            break;
        answers.writeDue(master, now);
        int timeout = answers.pollTimeout(now, end);
        if (flood && connected) {
            // One line a millisecond, never waiting for a full line: what
            // the program does not read is lost, as on a real port.
            static const QByteArray kSentence =
                "$GPGSV,3,1,12,05,41,062,44,07,17,301,38,13,66,108,47,15,22,246,40*7A\r\n";
            [[maybe_unused]] const ssize_t n = ::write(master, kSentence.constData(), size_t(kSentence.size()));
            timeout = qMin(timeout, 1);
        }

        pollfd p{master, POLLIN, 0};
        const int r = ::poll(&p, 1, timeout);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            std::perror("phonesim: poll");
            return 1;
        }
        if (r == 0)
            continue;
        if (p.revents & POLLIN) {
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n > 0) {
                connected = true;
                now = Clock::now();
                const auto outputs = core.receive(QByteArray(buf, int(n)));
                // The last words of a program that has closed the device: heard
                // (and logged), but nobody is there for the answer.
                if (p.revents & POLLHUP)
                    continue;
                // Answers keep their order even when a later one is due sooner.
                for (const phonesim::Output &out : outputs)
                    answers.add(now, out.delayMs, out.bytes);
                answers.writeDue(master, now);
                continue;
            }
        }
        if (p.revents & (POLLHUP | POLLERR)) {
            // Nobody holds the device open.
            if (connected) {
                core.hangUp();
                answers.clear();
                // Echo written after the program let go would otherwise wait
                // in the line for whoever opens the device next.
                ::tcflush(master, TCIOFLUSH);
                connected = false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    ::close(master);
    return 0;
}
