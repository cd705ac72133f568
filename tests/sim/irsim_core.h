#pragma once
// The simulated 61xx phone's side of the infrared upload, apart from any
// device: octets from the computer go in, with the line speed they arrived
// at; the phone's frames come out with the delay after which they are due.
// tools/irsim.cpp puts it on a pseudo-terminal.
//
// It frames strictly by IrDA SIR (its own decoder: a start flag always starts
// a frame, escapes are undone everywhere, a bad check sequence drops the
// frame) and hears nothing sent at the wrong speed: 9600 bit/s until it has
// acknowledged the SNRM, 115200 after, 9600 again after the DISC.
//
// As secondary station it answers discovery in its slots with an XID naming
// the model, the SNRM addressed to it with a UA carrying its negotiation
// parameters, LM connects with their confirmations, the IAS query with
// access point 2, every data frame and poll with RR (or, polled while its last
// information frame is unacknowledged, that frame again), the DISC with a
// short UA. The data frames' Tiny TP segments make up the message.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

namespace irsim {

// What a device that is no phone and never stops talking sends.
enum class Noise {
    None,
    Text,       // NMEA sentences, as a GPS receiver on the wrong port writes them
    Random,     // random octets, frame flags and escapes among them (an IR receiver in sunlight)
};

// The next count octets of such a stream; state carries it on from one call
// to the next (start with 0).
QByteArray noiseOctets(Noise kind, int count, quint32 &state);

struct Options {
    int model = 6110;                       // 6110, 8810 or 9110: its XID's nickname
    QList<int> answerSlots{2};              // discovery slots it answers in
    QByteArray deviceAddress = QByteArray::fromHex("2A3B4C5D");
    int delayMs = 0;                        // every answer comes this much later
    QList<int> drop;                        // answers (counted from 1) lost on the way
    QList<int> corrupt;                     // answers sent with a damaged check sequence
    int silentAfter = -1;                   // answers no more after this many (-1: never)
    bool bareUa = false;                    // acknowledges the SNRM without its parameters
    Noise noise = Noise::None;              // tools/irsim.cpp: streams this instead of answering
};

struct Output {
    int delayMs = 0;
    QByteArray bytes;
};

// A frame as the phone heard it.
struct Heard {
    QByteArray raw;         // the octets from the end of the previous frame through its end flag
    QByteArray content;     // escapes undone, check octets removed
    int speed = 0;
    bool good = false;      // the check sequence passed
};

class IrPhoneCore {
public:
    explicit IrPhoneCore(Options options = Options());

    // The computer wrote these octets while the line ran at lineSpeed bit/s.
    std::vector<Output> receive(const QByteArray &octets, int lineSpeed);

    int expectedSpeed() const { return m_connected ? 115200 : 9600; }
    bool connected() const { return m_connected; }
    int connectionAddress() const { return m_address; }
    int answers() const { return m_answers; }
    const std::vector<Heard> &heard() const { return m_heard; }
    // The messages received whole, in order.
    const QList<QByteArray> &messages() const { return m_messages; }
    int disconnects() const { return m_disconnects; }

    // The frame as this phone writes it: one start flag, escapes, check
    // sequence (damaged on request), end flag.
    static QByteArray encode(const QByteArray &content, bool damaged = false);
    // What a received message shows: its kind, the network code, the picture
    // as rows of '#' and '.'.
    static QStringList describe(const QByteArray &message);

private:
    void frameEnded(std::vector<Output> &out, int speed);
    void handle(const QByteArray &frame, std::vector<Output> &out);
    void handleConnected(const QByteArray &frame, std::vector<Output> &out);
    void information(const QByteArray &info, std::vector<Output> &out);
    void answer(std::vector<Output> &out, const QByteArray &content);
    void answerRR(std::vector<Output> &out);
    void answerInformation(std::vector<Output> &out, const QByteArray &info);

    Options m_options;
    // framing
    QByteArray m_raw;
    QByteArray m_rx;
    bool m_inFrame = false;
    bool m_escape = false;
    // link
    bool m_connected = false;
    int m_address = -1;
    int m_vs = 0;
    int m_vr = 0;
    QByteArray m_unacknowledged;    // information of the last frame sent, until acknowledged
    int m_unacknowledgedNs = 0;
    QByteArray m_segments;
    int m_answers = 0;
    int m_disconnects = 0;
    std::vector<Heard> m_heard;
    QList<QByteArray> m_messages;
};

} // namespace irsim
