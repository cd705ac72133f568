#include "tools/phonesim_core.h"

#include <QFile>

namespace phonesim {

namespace {

constexpr char CR = '\r';
constexpr char LF = '\n';
constexpr char CtrlZ = 26;
constexpr char Esc = 27;

const QByteArray kOk = "\r\nOK\r\n";
const QByteArray kError = "\r\nERROR\r\n";
const QByteArray kPrompt = "\r\n> ";
// Octets that are no text at all, as a disturbed line or a chatty phone brings.
const QByteArray kNoise = QByteArray("\x00\xff\x80\xfe", 4);

QByteArray cmsError(int code)
{
    return "\r\n+CMS ERROR: " + QByteArray::number(code) + "\r\n";
}

bool isHex(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
        || (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
}

} // namespace

PhoneCore::PhoneCore(Options options)
    : m_options(std::move(options)), m_echo(m_options.echo), m_smsc(m_options.smsc)
{
}

int PhoneCore::tpduLength(const QString &line)
{
    if (line.isEmpty() || line.size() % 2)
        return -1;
    for (QChar c : line)
        if (!isHex(c))
            return -1;
    const int octets = int(line.size() / 2);
    const int centre = line.left(2).toInt(nullptr, 16);
    if (1 + centre > octets)
        return -1;
    return octets - 1 - centre;
}

void PhoneCore::hangUp()
{
    m_line.clear();
    m_pduMode = false;
}

void PhoneCore::record(const QString &path, const QString &line)
{
    if (path.isEmpty())
        return;
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Append))
        f.write(line.toLatin1() + '\n');
}

void PhoneCore::answer(std::vector<Output> &out, const QByteArray &text)
{
    if (m_options.noise)
        out.push_back({m_options.delayMs, kNoise});
    out.push_back({m_options.delayMs, text});
}

std::vector<Output> PhoneCore::receive(const QByteArray &bytes)
{
    std::vector<Output> out;
    QByteArray echoed;
    auto flushEcho = [&] {
        if (m_echo && !m_options.silent && !echoed.isEmpty())
            out.push_back({0, echoed});
        echoed.clear();
    };
    for (char ch : bytes) {
        if (m_pduMode) {
            if (ch == CtrlZ || ch == Esc) {
                flushEcho();
                const QString line = QString::fromLatin1(m_line);
                m_line.clear();
                m_pduMode = false;
                if (ch == CtrlZ)
                    pdu(line, out);
                else if (!m_options.silent)
                    answer(out, kOk);   // abandoned: nothing sent, nothing stored
            } else {
                echoed += ch;
                if (ch != CR && ch != LF && ch != ' ')
                    m_line += ch;
            }
            continue;
        }
        echoed += ch;
        if (ch == CR) {
            flushEcho();
            const QString line = QString::fromLatin1(m_line).trimmed();
            m_line.clear();
            if (!line.isEmpty())
                command(line, out);
        } else if (ch != LF) {
            m_line += ch;
        }
    }
    flushEcho();
    return out;
}

bool PhoneCore::errorOn(const QString &cmd) const
{
    for (const QString &e : m_options.errorOn) {
        const QString want = e.toUpper();
        if (cmd == want || (want.endsWith(QLatin1Char('=')) && cmd.startsWith(want))
            || cmd.startsWith(want + QLatin1Char('=')) || cmd.startsWith(want + QLatin1Char('?')))
            return true;
    }
    return false;
}

void PhoneCore::command(const QString &line, std::vector<Output> &out)
{
    m_commands << line;
    record(m_options.transcriptPath, line);
    if (m_options.silent)
        return;
    const QString cmd = line.toUpper();
    if (errorOn(cmd)) {
        answer(out, kError);
        return;
    }
    if (cmd == QLatin1String("AT") || cmd == QLatin1String("AT+CMGF=0") || cmd.startsWith(QLatin1String("AT+CRES"))) {
        answer(out, kOk);
    } else if (cmd == QLatin1String("ATZ")) {
        m_echo = m_options.echo;
        answer(out, kOk);
    } else if (cmd == QLatin1String("ATE0") || cmd == QLatin1String("ATE1") || cmd == QLatin1String("ATE")) {
        m_echo = cmd == QLatin1String("ATE1");
        answer(out, kOk);
    } else if (cmd == QLatin1String("ATI")) {
        answer(out, "\r\n" + m_options.identity.toLatin1() + "\r\n" + kOk);
    } else if (cmd == QLatin1String("AT+CMGF?")) {
        answer(out, "\r\n+CMGF: 0\r\n" + kOk);
    } else if (cmd == QLatin1String("AT+CSCA?")) {
        int type = m_options.smscType;
        if (type < 0)
            type = (m_smsc.isEmpty() || m_smsc.startsWith(QLatin1Char('+'))) ? 145 : 129;
        answer(out, "\r\n+CSCA: \"" + m_smsc.toLatin1() + "\"," + QByteArray::number(type) + "\r\n" + kOk);
    } else if (cmd.startsWith(QLatin1String("AT+CSCA=\""))) {
        const QString rest = line.mid(9);
        m_smsc = rest.left(rest.indexOf(QLatin1Char('"')));
        answer(out, kOk);
    } else if (cmd.startsWith(QLatin1String("AT+CMGS=")) || cmd.startsWith(QLatin1String("AT+CMGW="))) {
        bool ok = false;
        const int n = cmd.mid(8).toInt(&ok);
        if (!ok || n < 1) {
            answer(out, kError);
            return;
        }
        if (m_options.noPrompt)
            return;
        m_pduMode = true;
        m_storing = cmd.startsWith(QLatin1String("AT+CMGW"));
        m_announced = n;
        answer(out, kPrompt);
    } else {
        answer(out, kError);
    }
}

void PhoneCore::pdu(const QString &line, std::vector<Output> &out)
{
    m_pdus << line;
    record(m_options.logPath, line);
    record(m_options.transcriptPath, line);
    if (m_options.silent)
        return;
    if (errorOn(QStringLiteral("PDU"))) {
        answer(out, kError);
        return;
    }
    // 304: invalid PDU mode parameter, what phones answer to a length that
    // does not match or to text that is no PDU.
    if (tpduLength(line) != m_announced) {
        answer(out, cmsError(304));
        return;
    }
    if (m_options.cms) {
        answer(out, cmsError(m_options.cms));
        return;
    }
    if (m_storing) {
        ++m_stored;
        m_index = m_index % 255 + 1;
        answer(out, "\r\n+CMGW: " + QByteArray::number(m_index) + "\r\n" + kOk);
    } else {
        ++m_sent;
        m_reference = (m_reference + 1) % 256;
        answer(out, "\r\n+CMGS: " + QByteArray::number(m_reference) + "\r\n" + kOk);
    }
}

} // namespace phonesim
