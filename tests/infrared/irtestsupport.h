#pragma once
// The upload engine against the simulated phone in the same process: a line
// that hands every octet to the phone at the speed the engine set, and gives
// back the phone's answers as soon as they are due; a clock that only counts.
#include "infrared/irline.h"
#include "tools/irsim_core.h"

#include <deque>
#include <vector>

namespace irtest {

class SimLine : public logo::IrLine {
public:
    explicit SimLine(irsim::IrPhoneCore &phone) : m_phone(phone) {}

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
        for (const irsim::Output &o : m_phone.receive(QByteArray(1, char(octet)), speed))
            for (const char c : o.bytes)
                m_inbox.push_back(quint8(c));
        return true;
    }
    int readOctet(quint8 &octet) override
    {
        if (m_inbox.empty())
            return 0;
        octet = m_inbox.front();
        m_inbox.pop_front();
        return 1;
    }
    void flush() override {}

    OpenResult openResult = OpenResult::Opened;
    bool opened = false;
    qint32 speed = 0;
    std::vector<qint32> speeds;     // every speed set after the open
    QByteArray written;

private:
    irsim::IrPhoneCore &m_phone;
    std::deque<quint8> m_inbox;
};

struct CountingClock : logo::IrClock {
    void sleep(int ms) override { total += ms; }
    qint64 total = 0;
};

} // namespace irtest
