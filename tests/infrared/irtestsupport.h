#pragma once
// The upload engine against the simulated phone in the same process: a line
// that hands every octet to the phone at the speed the engine set, and gives
// back the phone's answers at once (or, without a phone, octets put in its
// inbox beforehand); a clock that only counts, and one that skips the waits.
#include "common/testsupport.h"
#include "infrared/irline.h"
#include "sim/irsim_core.h"

#include <QStringList>
#include <vector>

namespace irtest {

class SimLine : public logo::IrLine {
public:
    explicit SimLine(irsim::IrPhoneCore *phone = nullptr) : m_phone(phone) {}

    OpenResult open(const QString &) override
    {
        speed = 9600;
        opened = true;
        return openResult;
    }
    bool setSpeed(qint32 bps) override
    {
        speed = bps;
        speeds.push_back(bps);
        return true;
    }
    void close() override { opened = false; }
    void setTimeouts(logo::IrTimeouts) override {}
    bool writeOctet(quint8 octet) override
    {
        written += char(octet);
        if (m_phone)
            for (const irsim::Output &o : m_phone->receive(QByteArray(1, char(octet)), speed))
                inbox += o.bytes;
        return true;
    }
    int readOctet(quint8 &octet) override
    {
        if (inbox.isEmpty())
            return 0;
        octet = quint8(inbox.front());
        inbox.remove(0, 1);
        return 1;
    }
    void flush() override {}

    OpenResult openResult = OpenResult::Opened;
    bool opened = false;
    qint32 speed = 0;
    std::vector<qint32> speeds;     // every speed set after the open
    QByteArray written;
    QByteArray inbox;               // what the engine reads next

private:
    irsim::IrPhoneCore *m_phone;
};

struct CountingClock : logo::IrClock {
    void sleep(int ms) override { total += ms; }
    qint64 nowMs() override { return total; }
    qint64 total = 0;
};

// Real time for everything but the waits, which pass at once and count as
// slept: the real serial line at full speed, the engine's time as it would be.
struct SkippingClock : logo::IrClock {
    void sleep(int ms) override { skipped += ms; }
    qint64 nowMs() override { return logo::IrClock::nowMs() + skipped; }
    qint64 skipped = 0;
};

} // namespace irtest
