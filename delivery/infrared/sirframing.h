#pragma once
// IrDA SIR framing: the 16-bit frame check sequence, how a frame is written
// (start flags, control escapes, end flag) and the decoder that turns the
// incoming octet stream back into verified frames. Knows nothing about what
// the frames mean.
#include <QByteArray>
#include <QByteArrayView>
#include <array>

namespace logo {

namespace sir {
constexpr quint8 BOF = 0xC0;   // start of frame, also the additional start flags
constexpr quint8 EOF_ = 0xC1;  // end of frame
constexpr quint8 CE = 0x7D;    // control escape: the next octet is the real one XOR 0x20
constexpr quint8 EscapeXor = 0x20;
// The check register over a whole good frame, its check octets included.
constexpr quint16 GoodResidue = 0xF0B8;
} // namespace sir

// The check sequence of the octets (address through last information octet):
// the ones' complement of the register, sent low octet first. 0x906E for the
// nine digits "123456789".
quint16 sirFcs(QByteArrayView octets);
// True when the octets end in their own correct check sequence.
bool sirCheckPasses(QByteArrayView octets);

// A frame as written to the line: leadingFlags start flags (never escaped),
// then the content and its check sequence with 0xC0, 0xC1 and 0x7D escaped,
// then the end flag.
QByteArray encodeSirFrame(QByteArrayView content, int leadingFlags);

class SirDecoder {
public:
    static constexpr int Capacity = 256;
    enum class Event { None, Frame, Damaged };

    // Takes one received octet. Frame: a frame with a good check sequence is
    // in frame() until the next call. Damaged: a whole frame arrived whose
    // check failed (or too short to be one); it is gone.
    Event feed(quint8 octet);
    // The last good frame: address octet first, escapes undone, its two check
    // octets at the end.
    QByteArrayView frame() const;
    // Forgets any frame in progress, a pending escape and the start flags seen.
    void reset();

private:
    enum class State { Idle, Start, InFrame };
    std::array<quint8, Capacity> m_buf{};
    int m_length = 0;
    bool m_escape = false;
    State m_state = State::Idle;
};

} // namespace logo
