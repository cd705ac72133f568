#include "infrared/irupload.h"

#include "desktop/prompt.h"
#include "desktop/settingsstore.h"

#include <QRandomGenerator>

namespace logo {

IrDelays readIrDelays(const SettingsStore &settings)
{
    const auto delay = [&](const char *key, int def) {
        return qMax(0, settings.readInt(kSharedSection, QLatin1String(key), def));
    };
    IrDelays d;
    d.betweenBursts = delay("IRDelay1", 100);
    d.slowFrame = delay("IRDelay2", 100);
    d.fast = delay("IRDelay3", 5);
    return d;
}

namespace irtext {
QString undefined() { return QStringLiteral("Undefined Error."); }
QString cantOpen(int port) { return QStringLiteral("Can't open COM%1:").arg(port); }
QString cantSetParams(int port) { return QStringLiteral("Can't set COM%1: params.").arg(port); }
QString cantTalk() { return QStringLiteral("Can't talk to phone."); }
QString notSupported(int model) { return QStringLiteral("Nokia %1 not supported yet.").arg(model); }
} // namespace irtext

namespace {

// Start flags in front of a frame: the frames of discovery and connection go
// out with ten additional ones, all others with the one start flag.
constexpr int kSlowFlags = 11;
constexpr int kFlags = 1;

// Control octets.
constexpr quint8 kSnrm = 0x93;            // SNRM, P bit
constexpr quint8 kDisc = 0x53;            // DISC, P bit
constexpr quint8 kRR = 0x11;              // receive ready, P bit (Nr in the top bits)
constexpr quint8 kInformation = 0x10;     // information frame, P bit (Nr, Ns)
constexpr quint8 kPF = 0x10;
constexpr quint8 kUA = 0x63;
constexpr quint8 kXidResponse = 0xAF;

// The discovery XID command up to its slot: broadcast address, format 01,
// this station's device address 00 00 4C 1B, to everyone, six slots.
const QByteArray kXidHead = QByteArray::fromHex("FF3F0100004C1BFFFFFFFF01");
// Negotiation parameters of the SNRM: 9600..115200 bit/s, turnaround 07,
// data size 01, window 1, additional BOFs FC, minimum turnaround 03,
// disconnect threshold FF.
const QByteArray kSnrmParameters = QByteArray::fromHex("01013E" "820107" "830101" "840101" "8501FC" "860103" "0801FF");

// IrLMP connect to the IAS access point (0) from ours (3).
const QByteArray kLmConnectIas = QByteArray::fromHex("80030100");
// IAS GetValueByClass("IrLPT", "IrDA:IrLMP:LsapSel") from access point 3 to 0.
const QByteArray kIasQuery = QByteArray::fromHex("000384") + char(5) + "IrLPT" + char(18) + "IrDA:IrLMP:LsapSel";
// IrLMP connect to the data access point (2) from ours (2).
const QByteArray kLmConnectData = QByteArray::fromHex("82020100");
// IrLMP data between the access points 2, then the Tiny TP header.
const QByteArray kDataMore = QByteArray::fromHex("020280");
const QByteArray kDataLast = QByteArray::fromHex("020200");
constexpr int kSegment = 60;

// The longest frame a 61xx phone sends (its discovery answer, the UA with its
// parameters), with room to spare.
constexpr int kLongestPhoneFrame = 64;

// Address and control octet of a frame.
QByteArray frameHead(int address, int control)
{
    QByteArray head;
    head.append(char(address));
    head.append(char(control));
    return head;
}

int randomConnectionAddress()
{
    // Even, and neither the null address (0x00) nor the broadcast one (0xFE).
    return QRandomGenerator::global()->bounded(1, 127) * 2;
}

} // namespace

qint64 IrUploadEngine::noFrameLimitMs(const IrDelays &delays)
{
    return NoFrameLimitMs + qint64(qMax(delays.slowFrame, delays.fast)) + delays.betweenBursts +
           qint64(kLongestPhoneFrame) * delays.fast;
}

IrUploadEngine::IrUploadEngine(IrLine &line, IrClock &clock, Options options)
    : m_line(line), m_clock(clock), m_options(std::move(options))
{
}

QString IrUploadEngine::upload(const QByteArray &message, int port, const QString &device)
{
    m_message = message;
    m_stats = {};
    m_result = irtext::undefined();
    switch (m_line.open(device)) {
    case IrLine::OpenResult::CantOpen:
        return m_result = withDeviceReason(irtext::cantOpen(port), device, m_line.lastError());
    case IrLine::OpenResult::CantSetParams:
        return m_result = irtext::cantSetParams(port);
    case IrLine::OpenResult::Opened:
        break;
    }
    // Nothing of an earlier upload survives into this one.
    m_decoder.reset();
    m_step = 0;
    m_slow = true;
    m_discSent = false;
    m_address = 0;
    m_vs = m_vr = 0;
    m_frames = 0;
    m_gaveUp = false;

    discovery();
    m_model = 0;
    m_line.flush();
    m_lastFrameMs = m_clock.nowMs();
    // Bursts of reading until one in which the phone says nothing, the phone
    // turned out to be one this upload does not serve, or the line has talked
    // too long without getting anywhere.
    while (receiveBurst() > 0 && !unsupportedModel() && !talkedTooLong()) {
        wait(m_options.delays.betweenBursts);
        m_line.flush();
    }
    m_line.close();
    return m_result;
}

void IrUploadEngine::discovery()
{
    for (char slot = 0; slot < 6; ++slot)
        sendFrame(kXidHead + slot + '\0', kSlowFlags);
    // The final slot carries this station's discovery information: hints
    // 81 01, ASCII nickname.
    sendFrame(kXidHead + QByteArray::fromHex("FF008101") + '\0' + "Nokia 6100" + '\0', kSlowFlags);
    report(10);
    m_result = irtext::cantTalk();
}

int IrUploadEngine::receiveBurst()
{
    m_line.setTimeouts(IrTimeouts::Receive);
    m_receiving = true;
    wait(m_options.delays.fast);
    int fed = 0;
    for (int i = 0; i < BurstOctets; ++i) {
        quint8 octet = 0;
        if (m_line.readOctet(octet) == 0) {
            if (m_receiving)
                ++m_stats.timedOutReads;
            break;
        }
        ++m_stats.octetsRead;
        if (unsupportedModel())
            break;
        feed(octet);
        ++fed;
        wait(m_options.delays.fast);
        if (talkedTooLong())
            break;
    }
    if (unsupportedModel())
        m_result = irtext::notSupported(m_model);
    return fed;
}

void IrUploadEngine::feed(quint8 octet)
{
    switch (m_decoder.feed(octet)) {
    case SirDecoder::Event::None:
        break;
    case SirDecoder::Event::Damaged:
        // Asks the phone to say it again.
        sendRR();
        break;
    case SirDecoder::Event::Frame:
        ++m_frames;
        m_lastFrameMs = m_clock.nowMs();
        dispatch(m_decoder.frame());
        break;
    }
}

bool IrUploadEngine::talkedTooLong()
{
    // What the upload says stays: "Can't talk to phone." unless the phone
    // already acknowledged the disconnect.
    if (!m_gaveUp)
        m_gaveUp = m_frames > FrameLimit || m_clock.nowMs() - m_lastFrameMs > noFrameLimitMs(m_options.delays);
    return m_gaveUp;
}

void IrUploadEngine::dispatch(QByteArrayView frame)
{
    const auto control = quint8(frame[1]);
    switch (control & 0x03) {
    case 0x01:
        // Supervisory: only receive-ready moves the script.
        if ((control & 0x0F) == 0x01)
            scriptedStep(control);
        return;
    case 0x03:
        // Unnumbered. The first long one (the phone's XID answer) names the model.
        if (m_model == 0 && frame.size() >= 28) {
            const QByteArray text = frame.toByteArray();
            m_model = text.contains("8810") ? 8810 : text.contains("9110") ? 9110 : 6100;
        }
        switch (control & ~kPF) {
        case kUA:
            acknowledged(frame);
            break;
        case kXidResponse:
            discoveryAnswered(frame);
            break;
        default:
            break;
        }
        return;
    default: {
        // Information: in sequence or ignored.
        const int ns = (control >> 1) & 0x07;
        if (ns == m_vr) {
            m_vr = (m_vr + 1) & 0x07;
            scriptedStep(control);
        }
        return;
    }
    }
}

void IrUploadEngine::discoveryAnswered(QByteArrayView frame)
{
    // Format, source and destination address must be there (and the check octets).
    if (frame.size() < 13)
        return;
    m_address = (m_options.connectionAddress ? m_options.connectionAddress() : randomConnectionAddress()) & 0xFE;
    QByteArray snrm = frameHead(0xFF, kSnrm);
    snrm += frame.sliced(7, 4).toByteArray();   // us: where the phone's answer went
    snrm += frame.sliced(3, 4).toByteArray();   // the phone
    snrm.append(char(m_address));
    snrm += kSnrmParameters;
    sendFrame(snrm, kSlowFlags);
    report(20);
}

void IrUploadEngine::acknowledged(QByteArrayView frame)
{
    if (frame.size() > 12) {
        // The UA to the SNRM, with the phone's negotiation parameters: both
        // sides now talk at 115200 bit/s.
        m_line.setSpeed(FastSpeed);
        m_vr = m_vs = 0;
        m_slow = false;
        sendRR();
        m_step = 0;
        report(30);
    } else if (m_discSent) {
        // The UA to the DISC: done. A short UA before the DISC went out
        // acknowledges nothing of ours and is ignored.
        m_result.clear();
        m_discSent = false;
        m_line.setSpeed(SlowSpeed);
        m_vr = m_vs = 0;
        m_step = 0;
        report(100);
    }
}

void IrUploadEngine::scriptedStep(quint8 control)
{
    switch (control) {
    case 0x11:  // RR, Nr 0: the phone is ready
        if (m_step == 0) {
            sendRR();
        } else {
            sendInformation(kLmConnectIas);
            report(40);
        }
        break;
    case 0x30:  // Nr 1, Ns 0: the IAS connection is confirmed
        sendInformation(kIasQuery);
        report(50);
        break;
    case 0x52:  // Nr 2, Ns 1: the IAS answer
        sendInformation(kLmConnectData);
        report(60);
        break;
    case 0x74:  // Nr 3, Ns 2: the data connection is confirmed
        sendInformation(kDataMore + m_message.left(kSegment));
        report(70);
        break;
    case 0x91:  // RR, Nr 4: data frame 1 arrived
        sendInformation(kDataMore + m_message.mid(kSegment, kSegment));
        report(80);
        break;
    case 0xB1:  // RR, Nr 5: data frame 2 arrived
        sendInformation(kDataLast + m_message.mid(2 * kSegment));
        report(90);
        break;
    default:
        if (m_step < 10) {
            sendRR();
        } else {
            sendDisc();
            report(95);
        }
        break;
    }
    ++m_step;
}

void IrUploadEngine::sendFrame(const QByteArray &content, int leadingFlags)
{
    m_line.setTimeouts(IrTimeouts::Send);
    m_receiving = false;
    wait(m_slow ? m_options.delays.slowFrame : m_options.delays.fast);
    const QByteArray raw = encodeSirFrame(content, leadingFlags);
    for (const char octet : raw)
        m_line.writeOctet(quint8(octet));
    m_stats.octetsWritten += int(raw.size());
}

void IrUploadEngine::sendRR()
{
    sendFrame(frameHead(linkAddress(), (m_vr << 5) | kRR), kFlags);
}

void IrUploadEngine::sendDisc()
{
    sendFrame(frameHead(linkAddress(), kDisc), kFlags);
    m_discSent = true;
}

void IrUploadEngine::sendInformation(const QByteArray &information)
{
    sendFrame(frameHead(linkAddress(), (m_vr << 5) | kInformation | (m_vs << 1)) + information, kFlags);
    m_vs = (m_vs + 1) & 0x07;
}

void IrUploadEngine::wait(int ms)
{
    m_stats.delayMs += ms;
    m_clock.sleep(ms);
}

void IrUploadEngine::report(int percent)
{
    if (m_progress)
        m_progress(percent);
}

} // namespace logo
