#include "phonesim_core.h"

#include <QFile>
#include <algorithm>

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
    } else if (phonebookCommand(cmd, out)) {
        return;
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

// ------------------------------------------------------------------ phonebook

void PhonebookMemory::fill(int n)
{
    int location = first;
    for (int added = 0; added < n; ++location) {
        if (entries.count(location))
            continue;
        entries[location] = {"+4917" + QByteArray::number(10000000 + location), 145,
                             "Name " + QByteArray::number(location)};
        ++added;
    }
    last = std::max(last, location - 1);
}

PhonebookMemory defaultSimPhonebook()
{
    PhonebookMemory m;
    m.entries[1] = {"+491711234567", 145, "Anna"};
    m.entries[2] = {"01719876543", 129, "M\x84rta, Home"};          // "Märta, Home"
    m.entries[5] = {"+441632960123", 145, "Bob \"the builder\""};
    return m;
}

PhonebookMemory defaultPhonePhonebook()
{
    PhonebookMemory m;
    m.last = 500;
    m.entries[1] = {"+4930123456", 145, "J\x81rgen B\x94hm"};       // "Jürgen Böhm"
    m.entries[3] = {"5551234", 129, "Pe\xa4" "a, C\x82line, \x9b"};   // "Peña, Céline, ¢"
    return m;
}

bool readPhonebookFile(const QByteArray &text, PhonebookMemory &sim, PhonebookMemory &phone, QString &why)
{
    sim.entries.clear();
    phone.entries.clear();
    int lineNo = 0;
    for (QByteArray line : text.split('\n')) {
        ++lineNo;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        const QList<QByteArray> f = line.split(';');
        bool okLocation = false, okType = false;
        const int location = f.value(1).toInt(&okLocation);
        const int type = f.value(3).toInt(&okType);
        PhonebookMemory *m = f[0] == "SM" ? &sim : f[0] == "ME" ? &phone : nullptr;
        if (f.size() < 5 || !m || !okLocation || location < 0 || !okType) {
            why = QStringLiteral("line %1: want MEM;LOCATION;NUMBER;TYPE;NAME").arg(lineNo);
            return false;
        }
        // The name is the rest of the line, separators and all.
        const qsizetype nameAt = f[0].size() + f[1].size() + f[2].size() + f[3].size() + 4;
        m->entries[location] = {f[2], type, line.mid(nameAt)};
        m->first = std::min(m->first, location);
        m->last = std::max(m->last, location);
    }
    return true;
}

PhonebookMemory &PhoneCore::memory()
{
    return m_memory == QLatin1String("ME") ? m_options.phone : m_options.sim;
}

bool PhoneCore::phonebookCommand(const QString &cmd, std::vector<Output> &out)
{
    if (cmd.startsWith(QLatin1String("AT+CPBS="))) {
        const QString name = cmd.mid(8).remove(QLatin1Char('"'));
        const bool known = name == QLatin1String("SM") || name == QLatin1String("ME");
        if (!known || !(name == QLatin1String("ME") ? m_options.phone : m_options.sim).present) {
            answer(out, kError);
            return true;
        }
        m_memory = name;
        answer(out, kOk);
        return true;
    }
    if (cmd == QLatin1String("AT+CPBS?")) {
        const PhonebookMemory &m = memory();
        answer(out, "\r\n+CPBS: \"" + m_memory.toLatin1() + "\"," + QByteArray::number(int(m.entries.size())) + ',' +
                        QByteArray::number(m.last - m.first + 1) + "\r\n" + kOk);
        return true;
    }
    if (cmd == QLatin1String("AT+CPBR=?")) {
        const PhonebookMemory &m = memory();
        answer(out, "\r\n+CPBR: (" + QByteArray::number(m.first) + '-' + QByteArray::number(m.last) +
                        "),40,18\r\n" + kOk);
        return true;
    }
    if (!cmd.startsWith(QLatin1String("AT+CPBR=")))
        return false;
    // One location or a range of them; each entry on its own line.
    const QStringList bounds = cmd.mid(8).split(QLatin1Char(','));
    bool okFrom = false, okTo = true;
    const int from = bounds.value(0).toInt(&okFrom);
    const int to = bounds.size() > 1 ? bounds[1].toInt(&okTo) : from;
    const PhonebookMemory &m = memory();
    if (!okFrom || !okTo || bounds.size() > 2 || from < m.first || to > m.last || from > to) {
        answer(out, kError);
        return true;
    }
    QByteArray reply;
    for (auto it = m.entries.lower_bound(from); it != m.entries.end() && it->first <= to; ++it)
        reply += "\r\n+CPBR: " + QByteArray::number(it->first) + ",\"" + it->second.number + "\"," +
                 QByteArray::number(it->second.type) + ",\"" + it->second.name + '"';
    answer(out, reply.isEmpty() ? kOk : reply + "\r\n" + kOk);
    return true;
}

} // namespace phonesim
