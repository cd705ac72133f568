#include "infrared/sirframing.h"

namespace logo {

quint16 sirFcs(QByteArrayView octets)
{
    // CRC-16 of ISO 3309 (HDLC): register 0xFFFF, reflected polynomial 0x8408,
    // ones' complement at the end; the check sequence of IrLAP and of PPP.
    return qChecksum(octets, Qt::ChecksumIso3309);
}

bool sirCheckPasses(QByteArrayView octets)
{
    // The register over a frame and its own check octets is always 0xF0B8;
    // what qChecksum returns is its complement.
    return octets.size() >= 2 && sirFcs(octets) == quint16(~sir::GoodResidue);
}

QByteArray encodeSirFrame(QByteArrayView content, int leadingFlags)
{
    const quint16 fcs = sirFcs(content);
    QByteArray body(content.data(), content.size());
    body.append(char(fcs & 0xFF));
    body.append(char(fcs >> 8));

    QByteArray out(leadingFlags, char(sir::BOF));
    out.reserve(leadingFlags + 2 * body.size() + 1);
    for (const char ch : std::as_const(body)) {
        const auto o = quint8(ch);
        if (o == sir::BOF || o == sir::EOF_ || o == sir::CE) {
            out.append(char(sir::CE));
            out.append(char(o ^ sir::EscapeXor));
        } else {
            out.append(ch);
        }
    }
    out.append(char(sir::EOF_));
    return out;
}

SirDecoder::Event SirDecoder::feed(quint8 octet)
{
    switch (m_state) {
    case State::Idle:
        // Nothing counts before a start flag.
        if (octet == sir::BOF)
            m_state = State::Start;
        return Event::None;
    case State::Start:
        // Any number of start flags may lead a frame.
        if (octet == sir::BOF)
            return Event::None;
        if (octet == sir::EOF_) {
            // Start and end flag with nothing between: no frame.
            reset();
            return Event::None;
        }
        m_length = 0;
        m_state = State::InFrame;
        // The address octet is escaped like every other octet (a connection
        // address of 0x7C or 0xC0 comes as 0x7D 0x5C or 0x7D 0xE0).
        m_escape = false;
        [[fallthrough]];
    case State::InFrame:
        break;
    }

    if (octet == sir::CE) {
        m_escape = true;
        return Event::None;
    }
    if (octet == sir::EOF_) {
        const bool good = m_length >= 4 && sirCheckPasses(frame());
        const int length = m_length;
        reset();
        m_length = good ? length : 0;
        return good ? Event::Frame : Event::Damaged;
    }
    if (m_length >= Capacity) {
        // Longer than any frame of the exchange: dropped whole, and the rest
        // of it is ignored up to the next start flag.
        reset();
        return Event::None;
    }
    m_buf[size_t(m_length++)] = m_escape ? quint8(octet ^ sir::EscapeXor) : octet;
    m_escape = false;
    return Event::None;
}

QByteArrayView SirDecoder::frame() const
{
    return QByteArrayView(reinterpret_cast<const char *>(m_buf.data()), m_length);
}

void SirDecoder::reset()
{
    m_length = 0;
    m_escape = false;
    m_state = State::Idle;
}

} // namespace logo
