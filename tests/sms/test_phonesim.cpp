// The simulated phone: prompt, PDU length check, echo, error answers; and the
// pseudo-terminal tool itself once.
#include "sms/pdu.h"
#include "smstestutil.h"
#include "common/testsupport.h"
#include "sim/phonesim_core.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

using phonesim::Options;
using phonesim::PhoneCore;

namespace {

// Everything the phone writes back, joined.
QByteArray said(const std::vector<phonesim::Output> &out)
{
    QByteArray all;
    for (const auto &o : out)
        all += o.bytes;
    return all;
}

QByteArray talk(PhoneCore &phone, const QByteArray &bytes)
{
    return said(phone.receive(bytes));
}

logo::Pdu examplePdu()
{
    return logo::buildSubmitPdu(logo::operatorLogoUserData(smstest::patternGrid(), QStringLiteral("262"),
                                                           QStringLiteral("01")),
                                smstest::kDestination, smstest::kCentre, false);
}

Options quiet()
{
    Options o;
    o.echo = false;
    return o;
}

} // namespace

TEST(PhoneSim, SendFlowWithEcho)
{
    PhoneCore phone;
    EXPECT_EQ(talk(phone, "AT\r"), QByteArray("AT\r\r\nOK\r\n"));
    EXPECT_EQ(talk(phone, "ATZ\r"), QByteArray("ATZ\r\r\nOK\r\n"));
    EXPECT_EQ(talk(phone, "AT+CMGF=0\r"), QByteArray("AT+CMGF=0\r\r\nOK\r\n"));
    const logo::Pdu p = examplePdu();
    EXPECT_EQ(talk(phone, p.atCommand().toLatin1() + '\r'), QByteArray("AT+CMGS=154\r\r\n> "));
    EXPECT_TRUE(phone.inPduMode());
    EXPECT_EQ(talk(phone, p.line().toLatin1() + char(26)), p.line().toLatin1() + "\r\n+CMGS: 1\r\n\r\nOK\r\n");
    EXPECT_FALSE(phone.inPduMode());
    EXPECT_EQ(phone.pdus(), QStringList{p.line()});
    EXPECT_EQ(phone.sentCount(), 1);
}

TEST(PhoneSim, StoreFlowWithoutEchoAndByteByByte)
{
    PhoneCore phone(quiet());
    const logo::Pdu p = logo::buildStorePdu(logo::ProgramProfile::quillet(),
                                            logo::groupGraphicUserData(smstest::patternGrid()), 0);
    QByteArray all;
    for (char c : p.atCommand().toLatin1() + '\r' + p.line().toLatin1() + char(26))
        all += talk(phone, QByteArray(1, c));
    EXPECT_EQ(all, QByteArray("\r\n> \r\n+CMGW: 1\r\n\r\nOK\r\n"));
    EXPECT_EQ(phone.storedCount(), 1);
}

TEST(PhoneSim, AnnouncedLengthMustBeTheTpdu)
{
    PhoneCore phone(quiet());
    const logo::Pdu p = examplePdu();
    // Counting the centre field in is the classic mistake.
    talk(phone, "AT+CMGS=" + QByteArray::number(p.tpduLength + 8) + "\r");
    EXPECT_EQ(talk(phone, p.line().toLatin1() + char(26)), QByteArray("\r\n+CMS ERROR: 304\r\n"));
    EXPECT_EQ(phone.sentCount(), 0);
    EXPECT_EQ(phone.pdus().size(), 1);   // logged all the same

    EXPECT_EQ(PhoneCore::tpduLength(p.line()), 154);
    EXPECT_EQ(PhoneCore::tpduLength(QStringLiteral("00640A")), 2);
    EXPECT_EQ(PhoneCore::tpduLength(QStringLiteral("0764")), -1);   // centre field overruns
    EXPECT_EQ(PhoneCore::tpduLength(QStringLiteral("00G1")), -1);
    EXPECT_EQ(PhoneCore::tpduLength(QStringLiteral("006")), -1);
}

TEST(PhoneSim, FailureOptions)
{
    Options o = quiet();
    o.cms = 38;
    o.errorOn = QStringList{QStringLiteral("AT+CMGF")};
    PhoneCore phone(o);
    EXPECT_EQ(talk(phone, "AT+CMGF=0\r"), QByteArray("\r\nERROR\r\n"));
    talk(phone, "AT+CMGS=154\r");
    EXPECT_EQ(talk(phone, examplePdu().line().toLatin1() + char(26)), QByteArray("\r\n+CMS ERROR: 38\r\n"));

    Options e = quiet();
    e.errorOn = QStringList{QStringLiteral("AT")};
    PhoneCore strict(e);
    EXPECT_EQ(talk(strict, "AT\r"), QByteArray("\r\nERROR\r\n"));
    EXPECT_EQ(talk(strict, "ATZ\r"), QByteArray("\r\nOK\r\n"));   // "AT" is not a prefix match

    Options n = quiet();
    n.noPrompt = true;
    PhoneCore mute(n);
    EXPECT_EQ(talk(mute, "AT+CMGW=10\r"), QByteArray());
    EXPECT_FALSE(mute.inPduMode());
    EXPECT_EQ(talk(mute, "AT\r"), QByteArray("\r\nOK\r\n"));

    Options s;
    s.silent = true;
    PhoneCore silent(s);
    EXPECT_EQ(talk(silent, "AT\rATZ\r"), QByteArray());
    EXPECT_EQ(silent.commands().size(), 2);
}

TEST(PhoneSim, DelayNoiseAndHangUp)
{
    Options o;
    o.delayMs = 1500;
    o.noise = true;
    PhoneCore phone(o);
    const auto out = phone.receive("AT+CMGS=5\r");
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].delayMs, 0);   // the echo is at once
    EXPECT_EQ(out[0].bytes, QByteArray("AT+CMGS=5\r"));
    EXPECT_EQ(out[1].delayMs, 1500);
    EXPECT_FALSE(out[1].bytes.contains('\r'));   // noise, no text
    EXPECT_EQ(out[2].bytes, QByteArray("\r\n> "));
    // The program closed the port in the middle of the PDU.
    phone.receive("0011");
    phone.hangUp();
    EXPECT_EQ(said(phone.receive("ATE0\r")).right(6), QByteArray("\r\nOK\r\n"));
    EXPECT_EQ(talk(phone, "AT\r").right(6), QByteArray("\r\nOK\r\n"));
    EXPECT_FALSE(talk(phone, "AT\r").startsWith("AT"));   // ATE0 took effect
}

TEST(PhoneSim, CentreNumberAndIdentity)
{
    PhoneCore phone(quiet());
    EXPECT_EQ(talk(phone, "AT+CSCA?\r"), QByteArray("\r\n+CSCA: \"+491710760000\",145\r\n\r\nOK\r\n"));
    EXPECT_TRUE(talk(phone, "ATI\r").contains("Nokia"));
    EXPECT_EQ(talk(phone, "AT+CRES=1\r"), QByteArray("\r\nOK\r\n"));
    Options o = quiet();
    o.smsc = QStringLiteral("01710760000");
    o.identity = QStringLiteral("Generic Modem");
    PhoneCore national(o);
    EXPECT_EQ(talk(national, "AT+CSCA?\r"), QByteArray("\r\n+CSCA: \"01710760000\",129\r\n\r\nOK\r\n"));
    EXPECT_FALSE(talk(national, "ATI\r").contains("Nokia"));
}

// The tool on a real pseudo-terminal: device line, raw line, PDU log.
TEST(PhoneSimTool, AnswersOnItsDevice)
{
    const QString exe = smstest::toolPath("phonesim");
    if (!QFileInfo::exists(exe))
        GTEST_SKIP() << "phonesim not built";
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("pdus.txt"));
    QProcess sim;
    sim.start(exe, {QStringLiteral("--no-echo"), QStringLiteral("--log"), log, QStringLiteral("--seconds"),
                    QStringLiteral("60")});
    ASSERT_TRUE(sim.waitForReadyRead(10000));
    const QString first = QString::fromLatin1(sim.readLine()).trimmed();
    ASSERT_TRUE(first.startsWith(QStringLiteral("device /dev/"))) << first.toStdString();
    const int fd = ::open(first.mid(7).toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);

    const logo::Pdu p = examplePdu();
    const QByteArray request = p.atCommand().toLatin1() + '\r';
    ASSERT_EQ(::write(fd, request.constData(), size_t(request.size())), request.size());
    auto readUntil = [&](const QByteArray &end) {
        QByteArray got;
        char buf[512];
        pollfd pf{fd, POLLIN, 0};
        while (!got.endsWith(end) && ::poll(&pf, 1, 10000) > 0) {
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n <= 0)
                break;
            got.append(buf, int(n));
        }
        return got;
    };
    EXPECT_EQ(readUntil("> "), QByteArray("\r\n> "));
    const QByteArray line = p.line().toLatin1() + char(26);
    ASSERT_EQ(::write(fd, line.constData(), size_t(line.size())), line.size());
    EXPECT_EQ(readUntil("OK\r\n"), QByteArray("\r\n+CMGS: 1\r\n\r\nOK\r\n"));
    ::close(fd);
    sim.kill();
    sim.waitForFinished();
    EXPECT_EQ(logotest::readAll(log), p.line().toLatin1() + '\n');
}
