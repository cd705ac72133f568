#pragma once
// The infrared upload to a 61xx phone: a minimal IrLAP primary station that
// follows one scripted exchange octet by octet over a raw serial line.
//
//   discovery at 9600 bit/s (six XID slots and the final XID), SNRM to the
//   phone that answers, the switch to 115200 on its UA, then, driven only by
//   the control octet of each frame the phone sends: LM connect to the IAS
//   access point, the IAS query, LM connect to the data access point, the
//   message in three data frames, receive-ready polls, DISC; the phone's UA to
//   the DISC ends it back at 9600.
//
// There are no retransmission timers: the phone's own retries drive the script,
// and about one second of silence ends the upload. A line that never falls
// silent (a GPS receiver on the wrong port, an IR receiver in sunlight) ends
// it too: a few seconds on the clock without a frame that passes its check,
// or more frames than any exchange needs. Blocking: run it on a worker thread
// (IrUploadRunner).
#include "infrared/irline.h"
#include "infrared/sirframing.h"

#include <QByteArray>
#include <QString>
#include <functional>

namespace logo {

class SettingsStore;

// The three tuning delays, in milliseconds.
struct IrDelays {
    int betweenBursts = 100;    // "IRDelay1": after each receive burst
    int slowFrame = 100;        // "IRDelay2": before each frame sent before the connection
    int fast = 5;               // "IRDelay3": before each later frame, each burst, after each octet read
};
// "IRDelay1".."IRDelay3" of the shared section, with their defaults.
IrDelays readIrDelays(const SettingsStore &settings);

// What the upload says at its end ("" for success).
namespace irtext {
QString undefined();
QString cantOpen(int port);          // "Can't open COM2:"
QString cantSetParams(int port);     // "Can't set COM2: params."
QString cantTalk();
QString notSupported(int model);     // 8810, 9110
} // namespace irtext

class IrUploadEngine {
public:
    struct Options {
        IrDelays delays;
        // The connection address octet (even); random when not set.
        std::function<int()> connectionAddress;
    };
    // What an upload spent waiting, for the benchmark: the delays asked of the
    // clock, and the reads under the receive profile that found the line
    // silent (a second each).
    struct Stats {
        qint64 delayMs = 0;
        int timedOutReads = 0;
        int octetsWritten = 0;
        int octetsRead = 0;
    };
    static constexpr int FastSpeed = 115200;
    static constexpr int SlowSpeed = 9600;
    static constexpr int BurstOctets = 256;
    // How long the line may go on talking without a good frame, beyond the
    // pauses the delays themselves put between two of the phone's frames.
    static constexpr int NoFrameLimitMs = 3000;
    // More good frames than a whole exchange takes (about twenty): a device
    // that keeps answering without ever ending the exchange.
    static constexpr int FrameLimit = 256;

    // NoFrameLimitMs plus the longest pause the delays allow between two of
    // the phone's frames: the wait before a frame of ours, one wait between
    // bursts, and the wait after each octet of the longest frame a phone sends.
    static qint64 noFrameLimitMs(const IrDelays &delays);

    IrUploadEngine(IrLine &line, IrClock &clock, Options options = {});

    // Called with 10, 20, ... 100 as the exchange gets on.
    void setProgress(std::function<void(int)> progress) { m_progress = std::move(progress); }

    // The whole upload of one phone message (buildIrMessage) through the
    // device behind port number port. Returns "" when the phone acknowledged
    // the disconnect, else the text of what went wrong.
    QString upload(const QByteArray &message, int port, const QString &device);

    const Stats &stats() const { return m_stats; }
    int phoneModel() const { return m_model; }
    // The last upload ended because the line kept talking (see NoFrameLimitMs).
    bool gaveUp() const { return m_gaveUp; }
    int connectionAddress() const { return m_address; }

private:
    void discovery();
    int receiveBurst();
    void feed(quint8 octet);
    void dispatch(QByteArrayView frame);
    void discoveryAnswered(QByteArrayView frame);
    void acknowledged(QByteArrayView frame);
    void scriptedStep(quint8 control);

    void sendFrame(const QByteArray &content, int leadingFlags);
    void sendRR();
    void sendDisc();
    void sendInformation(const QByteArray &information);
    quint8 linkAddress() const { return quint8(m_address | 0x01); }
    void wait(int ms);
    void report(int percent);
    bool unsupportedModel() const { return m_model == 8810 || m_model == 9110; }
    // True (and from then on) once the line has talked too long without a good
    // frame, or sent more frames than an exchange takes.
    bool talkedTooLong();

    IrLine &m_line;
    IrClock &m_clock;
    Options m_options;
    std::function<void(int)> m_progress;
    SirDecoder m_decoder;
    Stats m_stats;

    QByteArray m_message;
    QString m_result;
    bool m_slow = true;
    bool m_receiving = false;   // the receive profile is in force
    bool m_discSent = false;
    int m_address = 0;
    int m_vs = 0;
    int m_vr = 0;
    int m_step = 0;
    int m_model = 0;
    qint64 m_lastFrameMs = 0;   // on the clock: the last good frame, or the end of discovery
    int m_frames = 0;
    bool m_gaveUp = false;
};

} // namespace logo
