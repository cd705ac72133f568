#include "irsim_core.h"

namespace irsim {

namespace {

constexpr char BOF = char(0xC0);
constexpr char EOF_ = char(0xC1);
constexpr char CE = char(0x7D);
constexpr int kMaxFrame = 2048;

quint8 at(const QByteArray &b, qsizetype i)
{
    return i < b.size() ? quint8(b[i]) : 0;
}

QByteArray two(int first, int second)
{
    QByteArray b;
    b.append(char(first));
    b.append(char(second));
    return b;
}

bool checkPasses(const QByteArray &frame)
{
    // The complement of the good residue 0xF0B8.
    return frame.size() >= 4 && qChecksum(frame, Qt::ChecksumIso3309) == 0x0F47;
}

} // namespace

QByteArray noiseOctets(Noise kind, int count, quint32 &state)
{
    static const QByteArray kSentences =
        "$GPGGA,092750.000,5321.6802,N,00630.3372,W,1,8,1.03,61.7,M,55.2,M,,*76\r\n"
        "$GPGSA,A,3,10,07,05,02,29,04,08,13,,,,,1.72,1.03,1.38*0A\r\n"
        "$GPRMC,092750.000,A,5321.6802,N,00630.3372,W,0.02,31.66,280511,,,A*43\r\n";
    QByteArray out;
    out.reserve(count);
    for (int i = 0; i < count; ++i) {
        switch (kind) {
        case Noise::None:
            return out;
        case Noise::Text:
            out += kSentences[state++ % kSentences.size()];
            break;
        case Noise::Random:
            // A linear congruential generator: the same stream on every run.
            state = state * 1664525u + 1013904223u;
            out += char(state >> 24);
            break;
        }
    }
    return out;
}

IrPhoneCore::IrPhoneCore(Options options) : m_options(std::move(options)) {}

QByteArray IrPhoneCore::encode(const QByteArray &content, bool damaged)
{
    quint16 fcs = qChecksum(content, Qt::ChecksumIso3309);
    if (damaged)
        fcs ^= 0x0100;
    const QByteArray body = content + char(fcs & 0xFF) + char(fcs >> 8);
    QByteArray out(1, BOF);
    for (const char c : body) {
        if (c == BOF || c == EOF_ || c == CE)
            out += two(CE, c ^ 0x20);
        else
            out += c;
    }
    return out + EOF_;
}

std::vector<Output> IrPhoneCore::receive(const QByteArray &octets, int lineSpeed)
{
    std::vector<Output> out;
    for (const char c : octets) {
        if (lineSpeed != expectedSpeed()) {
            // At the wrong speed the phone hears noise, and loses the frame
            // it was in.
            m_inFrame = false;
            m_raw.clear();
            continue;
        }
        m_raw += c;
        if (c == BOF) {
            m_inFrame = true;
            m_escape = false;
            m_rx.clear();
        } else if (!m_inFrame) {
            continue;
        } else if (c == CE) {
            m_escape = true;
        } else if (c == EOF_) {
            m_inFrame = false;
            frameEnded(out, lineSpeed);
        } else if (m_rx.size() >= kMaxFrame) {
            m_inFrame = false;
        } else {
            m_rx += m_escape ? char(c ^ 0x20) : c;
            m_escape = false;
        }
    }
    return out;
}

void IrPhoneCore::frameEnded(std::vector<Output> &out, int speed)
{
    Heard h;
    h.raw = m_raw;
    h.speed = speed;
    h.good = checkPasses(m_rx);
    h.content = h.good ? m_rx.left(m_rx.size() - 2) : m_rx;
    m_raw.clear();
    m_heard.push_back(h);
    if (h.good)
        handle(h.content, out);
}

void IrPhoneCore::handle(const QByteArray &frame, std::vector<Output> &out)
{
    if (m_connected) {
        handleConnected(frame, out);
        return;
    }
    const quint8 a = at(frame, 0), c = at(frame, 1);
    if (a != 0xFF)
        return;
    if (c == 0x3F && frame.size() >= 14) {
        // Discovery: the slot is at position 12; slot 0 starts a new one.
        const int slot = at(frame, 12);
        if (slot == 0) {
            m_segments.clear();
            m_unacknowledged.clear();
        }
        if (slot == 0xFF || !m_options.answerSlots.contains(slot))
            return;
        const QByteArray nickname = "Nokia " + QByteArray::number(m_options.model);
        answer(out, QByteArray::fromHex("FEBF01") + m_options.deviceAddress + frame.mid(3, 4) +
                        QByteArray::fromHex("01") + char(slot) + QByteArray::fromHex("00810400") + nickname);
    } else if (c == 0x93 && frame.size() >= 11 && frame.mid(6, 4) == m_options.deviceAddress) {
        // Connection request to this phone: UA with its parameters, then 115200.
        m_address = at(frame, 10) & 0xFE;
        m_vs = m_vr = 0;
        m_unacknowledged.clear();
        m_segments.clear();
        QByteArray ua = two(m_address, 0x73);
        if (!m_options.bareUa)
            ua += m_options.deviceAddress + frame.mid(2, 4) +
                  QByteArray::fromHex("01013E" "820101" "83013F" "840101" "850180" "860103" "080103");
        answer(out, ua);
        m_connected = true;
    }
}

void IrPhoneCore::handleConnected(const QByteArray &frame, std::vector<Output> &out)
{
    const quint8 a = at(frame, 0), c = at(frame, 1);
    // Commands to this connection only.
    if ((a & 0xFE) != m_address || !(a & 0x01))
        return;
    if (c == 0x53) {
        answer(out, two(m_address, 0x73));
        m_connected = false;
        ++m_disconnects;
        return;
    }
    const int nr = c >> 5;
    if ((c & 0x01) == 0) {
        if (nr == m_vs)
            m_unacknowledged.clear();
        const int ns = (c >> 1) & 0x07;
        if (ns != m_vr) {
            answerRR(out);
            return;
        }
        m_vr = (m_vr + 1) & 0x07;
        information(frame.mid(2), out);
    } else if ((c & 0x0F) == 0x01) {
        // A poll: what the computer has not yet got is sent again.
        if (nr == m_vs)
            m_unacknowledged.clear();
        if (m_unacknowledged.isEmpty()) {
            answerRR(out);
        } else {
            const QByteArray info = m_unacknowledged;
            m_vs = m_unacknowledgedNs;
            answerInformation(out, info);
        }
    }
}

void IrPhoneCore::information(const QByteArray &info, std::vector<Output> &out)
{
    if (info == QByteArray::fromHex("80030100")) {
        answerInformation(out, QByteArray::fromHex("83008100"));   // IAS connection confirmed
    } else if (info.startsWith(QByteArray::fromHex("000384"))) {
        // GetValueByClass answered: success, one integer, access point 2.
        answerInformation(out, QByteArray::fromHex("03008400000100000100000002"));
    } else if (info == QByteArray::fromHex("82020100")) {
        answerInformation(out, QByteArray::fromHex("82028100"));   // data connection confirmed
    } else if (info.startsWith(QByteArray::fromHex("0202")) && info.size() >= 3) {
        m_segments += info.mid(3);
        if (!(at(info, 2) & 0x80)) {
            m_messages << m_segments;
            m_segments.clear();
        }
        answerRR(out);
    } else {
        answerRR(out);
    }
}

void IrPhoneCore::answer(std::vector<Output> &out, const QByteArray &content)
{
    const int n = ++m_answers;
    if (m_options.silentAfter >= 0 && n > m_options.silentAfter)
        return;
    if (m_options.drop.contains(n))
        return;
    out.push_back({m_options.delayMs, encode(content, m_options.corrupt.contains(n))});
}

void IrPhoneCore::answerRR(std::vector<Output> &out)
{
    answer(out, two(m_address, (m_vr << 5) | 0x11));
}

void IrPhoneCore::answerInformation(std::vector<Output> &out, const QByteArray &info)
{
    m_unacknowledged = info;
    m_unacknowledgedNs = m_vs;
    answer(out, two(m_address, (m_vr << 5) | 0x10 | (m_vs << 1)) + info);
    m_vs = (m_vs + 1) & 0x07;
}

QStringList IrPhoneCore::describe(const QByteArray &received)
{
    const QByteArray message = received.leftJustified(150, '\0');
    const bool logo = message.mid(11, 4) == QByteArray::fromHex("15821582");
    const qsizetype bitmapAt = logo ? 22 : 19;
    QStringList lines;
    if (logo) {
        const QByteArray code = message.mid(15, 3).toHex().toUpper();   // M1 M2 N1, semi-octets
        const QString c = QString::fromLatin1(code);
        lines << QStringLiteral("operator logo %1%2%3 %4%5").arg(c[1], c[0], c[3], c[5], c[4]);
    } else {
        lines << QStringLiteral("group graphic");
    }
    for (int r = 0; r < 14; ++r) {
        QString row;
        for (int c = 0; c < 72; ++c)
            row += (at(message, bitmapAt + r * 9 + c / 8) & (0x80 >> (c % 8))) ? QLatin1Char('#') : QLatin1Char('.');
        lines << row;
    }
    return lines;
}

} // namespace irsim
