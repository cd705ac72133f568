#include "phone/atengine.h"

#include "desktop/prompt.h"
#include "desktop/settingsstore.h"
#include "sms/digits.h"

namespace logo {

namespace {

// Text is what the phones write: CR, LF, TAB, printable ASCII and the high
// half, which holds the letters of their code page (accented phonebook
// names). Line noise is everything else: the other control octets, DEL, 0xFF.
bool isText(unsigned char b)
{
    if (b == '\r' || b == '\n' || b == '\t')
        return true;
    if (b < 0x20 || b == 0x7F || b == 0xFF)
        return false;
    return true;
}

// The texts that classify a reply, in the order of their precedence: each
// later one found overrides the earlier ones. Once seen in a step's reply a
// text counts for the rest of the step, so the reply is looked through once,
// each part as it arrives, and not again with every read.
enum ReplyMark : unsigned {
    MarkOk = 1u << 0,
    MarkPrompt = 1u << 1,
    MarkRange = 1u << 2,
    MarkCms = 1u << 3,
    MarkError = 1u << 4,
    MarkNoCarrier = 1u << 5,
};

const struct {
    QByteArrayView text;
    ReplyMark mark;
    ReplyCode code;
} kReplyTexts[] = {
    {"\r\nOK", MarkOk, ReplyCode::Ok},
    {"> ", MarkPrompt, ReplyCode::Prompt},
    {"CPBR: (", MarkRange, ReplyCode::PhonebookRange},
    {"CMS ERROR: ", MarkCms, ReplyCode::CmsError},
    {"\r\nERROR", MarkError, ReplyCode::Error},
    {"\r\nNO CARRIER", MarkNoCarrier, ReplyCode::Error},
};

// A text may straddle two reads: the new part is looked through together
// with this much of what came before it.
constexpr qsizetype kLongestReplyText = 12;

unsigned scanReply(const QByteArray &buffer, qsizetype from)
{
    const QByteArrayView part = QByteArrayView(buffer).sliced(qBound<qsizetype>(0, from, buffer.size()));
    unsigned marks = 0;
    for (const auto &t : kReplyTexts)
        if (part.contains(t.text))
            marks |= t.mark;
    return marks;
}

ReplyCode codeOf(unsigned marks)
{
    ReplyCode code = ReplyCode::NoNewData;
    for (const auto &t : kReplyTexts)
        if (marks & t.mark)
            code = t.code;
    return code;
}

} // namespace

AtEngine::AtEngine(PhoneLink &link, TickSource &ticks, QObject *parent)
    : QObject(parent), m_link(link), m_ticks(ticks)
{
    qRegisterMetaType<logo::JobOutcome>();
    connect(&m_link, &PhoneLink::received, this, &AtEngine::onReceived);
    connect(&m_ticks, &TickSource::tick, this, &AtEngine::tick);
}

void AtEngine::setLinkPort(int n, const QString &device)
{
    m_state.port = n;
    m_state.device = device;
}

void AtEngine::resetJob(int limit)
{
    m_state.retryCount = 0;
    m_state.retryLimit = limit;
    m_state.currentStep = 0;
    m_state.breakRequested = false;
    m_state.replyCode = ReplyCode::Nothing;
    m_state.replyBuffer.clear();
    m_replyMarks = 0;
}

bool AtEngine::queueStep(const QByteArray &command, ReplyCode expectedReply, qint16 progress,
                         const QString &errorText)
{
    if (m_state.stepCount >= LinkState::MaxSteps)
        return false;
    m_state.steps[m_state.stepCount] = JobStep{command, expectedReply, progress, errorText};
    ++m_state.stepCount;
    return true;
}

bool AtEngine::setStepCommand(int slot, const QByteArray &command)
{
    if (slot < 0 || slot >= m_state.stepCount || (m_running && slot < m_state.currentStep))
        return false;
    m_state.steps[slot].command = command;
    return true;
}

bool AtEngine::openLink()
{
    m_openError.clear();
    if (m_state.device.isEmpty() || !m_link.open(m_state.device)) {
        m_openError = m_link.lastError();
        emit beep();
        return false;
    }
    return true;
}

void AtEngine::closeLink()
{
    if (!m_link.close())
        emit beep();
}

void AtEngine::writeOutText()
{
    if (!m_link.write(m_state.outText))
        emit beep();
}

bool AtEngine::startJob(const TickRules &rules)
{
    if (m_running || m_state.stepCount <= 0)
        return false;
    m_rules = rules;
    resetJob(JobRetryLimit);
    if (!openLink()) {
        emit finished(JobOutcome::OpenFailed,
                      withDeviceReason(m_state.steps[0].errorText, m_state.device, m_openError));
        return false;
    }
    m_running = true;
    advance();
    return true;
}

const JobStep &AtEngine::awaitedStep() const
{
    const int i = qBound(0, m_state.currentStep - 1, m_state.stepCount - 1);
    return m_state.steps[i];
}

void AtEngine::advance()
{
    if (m_state.currentStep > 0)
        emit stepAnswered(m_state.currentStep - 1, m_state.replyBuffer);
    if (m_rules.userBreak && m_state.breakRequested) {
        closeLink();
        endJob(JobOutcome::UserBreak, awaitedStep().errorText);
        return;
    }
    if (m_state.currentStep > m_state.stepCount - 1) {
        // Every step answered. The buffer still holds the reply to the last one.
        if (m_rules.showProgress)
            emit progress(100);
        closeLink();
        endJob(JobOutcome::Completed, QString());
        return;
    }
    // A new step starts from a clean slate: neither the text nor the verdict on
    // the previous step's reply may count for the new command (a phone that
    // does not echo would otherwise pass on the old "OK").
    m_state.replyBuffer.clear();
    m_state.replyCode = ReplyCode::Nothing;
    m_replyMarks = 0;
    m_receivedInStep = 0;
    m_receivedAtTick = 0;
    m_patientTicks = 0;
    const JobStep &step = m_state.steps[m_state.currentStep];
    if (m_rules.showProgress)
        emit progress(step.progress);
    m_state.outText = step.command;
    writeOutText();
    ++m_state.currentStep;
    m_ticks.start();
}

void AtEngine::tick()
{
    m_ticks.stop();
    if (!m_running || m_state.currentStep <= 0)
        return;
    const JobStep &step = awaitedStep();
    if (m_rules.userBreak && m_state.breakRequested) {
        closeLink();
        endJob(JobOutcome::UserBreak, step.errorText);
        return;
    }
    if (!m_link.isOpen()) {
        // The device went away (a cable pulled, the far end closed): no repeat
        // can reach the phone any more.
        closeLink();
        endJob(JobOutcome::LinkError, linkErrorText(LinkError::TalkFailed, m_state.port));
        return;
    }
    // Patience is for a reply that is still growing. Data that has not grown
    // since the previous tick (an echo with no answer behind it) is nothing
    // new, and uses a repeat like silence does.
    // Patience has its bound too: a device that never stops talking (and
    // never gives a final result) is not a phone answering.
    ReplyCode code = m_state.replyCode;
    if (code == ReplyCode::Data && m_receivedInStep <= m_receivedAtTick)
        code = ReplyCode::NoNewData;
    m_receivedAtTick = m_receivedInStep;
    if (m_rules.waitOnData && code == ReplyCode::Data) {
        if (++m_patientTicks > MaxPatientTicks) {
            closeLink();
            endJob(JobOutcome::LinkError, linkErrorText(LinkError::TalkFailed, m_state.port));
            return;
        }
        m_ticks.start();
        return;
    }
    if (code == step.expectedReply) {
        advance();
        return;
    }
    if (m_rules.cmsErrorEnds && code == ReplyCode::CmsError) {
        closeLink();
        endJob(JobOutcome::MessageServiceError,
               step.errorText + QStringLiteral("\r\nError: ") + explainCmsError(m_state.replyBuffer));
        return;
    }
    ++m_state.retryCount;
    if (m_state.retryCount > m_state.retryLimit) {
        closeLink();
        endJob(JobOutcome::LinkError, linkErrorText(LinkError::TalkFailed, m_state.port));
        return;
    }
    writeOutText();
    m_ticks.start();
}

void AtEngine::endJob(JobOutcome outcome, const QString &message)
{
    m_ticks.stop();
    m_running = false;
    emit finished(outcome, message);
}

void AtEngine::onReceived(const QByteArray &bytes)
{
    if (!m_running)
        return;
    // A burst of nothing but line noise is not part of the conversation: it
    // leaves the verdict on what the phone has said so far as it was (a reply
    // under way keeps waiting rather than being judged "nothing new").
    const QByteArray text = textOnly(bytes);
    if (text.isEmpty())
        return;
    QByteArray &buffer = m_state.replyBuffer;
    const qsizetype before = buffer.size();
    buffer += text;
    m_receivedInStep += text.size();
    m_replyMarks |= scanReply(buffer, before - (kLongestReplyText - 1));
    // Nothing final yet: the new text makes it data.
    m_state.replyCode = m_replyMarks ? codeOf(m_replyMarks) : ReplyCode::Data;
    // A reply longer than any phone gives keeps only its end, dropped a
    // quarter at a time so that a flood is not moved with every read.
    if (buffer.size() > LinkState::MaxReplyBytes)
        buffer.remove(0, buffer.size() - LinkState::MaxReplyBytes * 3 / 4);
    // The quick link goes on as soon as the awaited result is there; the tick
    // stays the time-out and the repeat clock. A phonebook range is a line of
    // the answer, not its end: it counts once the final "OK" has followed, so
    // that the whole line is there and no part of the answer is left over for
    // the next command.
    const bool whole = m_state.replyCode != ReplyCode::PhonebookRange || (m_replyMarks & MarkOk);
    if (m_quickLink && m_state.currentStep > 0 && m_state.replyCode == awaitedStep().expectedReply && whole) {
        m_ticks.stop();
        advance();
    }
}

ReplyCode AtEngine::classify(const QByteArray &buffer, qsizetype previousLength)
{
    ReplyCode code = codeOf(scanReply(buffer, 0));
    if (code == ReplyCode::NoNewData) {
        for (qsizetype i = qMax<qsizetype>(previousLength, 0); i < buffer.size(); ++i) {
            if (isText(static_cast<unsigned char>(buffer[i]))) {
                code = ReplyCode::Data;
                break;
            }
        }
    }
    return code;
}

QByteArray AtEngine::textOnly(const QByteArray &bytes)
{
    QByteArray out;
    out.reserve(bytes.size());
    for (const char c : bytes)
        if (isText(static_cast<unsigned char>(c)))
            out += c;
    return out;
}

QString AtEngine::linkErrorText(LinkError error, int port)
{
    switch (error) {
    case LinkError::UserBreak:
        return QStringLiteral("User break.");
    case LinkError::TalkFailed:
        return QStringLiteral("Error while talking to COM%1.").arg(port);
    case LinkError::PortNotConfigured:
        return joinLines({QStringLiteral("Please configure the Nokia GSM Serial Port"),
                          QStringLiteral("in menu 'Edit/Options'")});
    }
    return QString();
}

bool quickLinkSetting(const SettingsStore &settings)
{
    return settings.readBool(kSharedSection, QStringLiteral("QuickLink"), false);
}

QString explainCmsError(const QByteArray &reply)
{
    static const struct {
        const char *code;
        QStringList lines;
    } kExplanations[] = {
        {"322", {QStringLiteral("Phone says that memory is full (322)."),
                 QStringLiteral("Either it really is or you should try to get a firmware upgrade.")}},
        {"301", {QStringLiteral("Something else uses SMS in phone right now (301)."),
                 QStringLiteral("Please wait or reset phone, then try again.")}},
        {"111", {QStringLiteral("Phone reports unspecified protocol error (111)."),
                 QStringLiteral("Please wait a moment and try again.")}},
        {"166", {QStringLiteral("Phone reports unspecified command error (166)."),
                 QStringLiteral("Please wait a moment and try again.")}},
        {"38", {QStringLiteral("Network out of order (38)."),
                QStringLiteral("Maybe wrong number or wrong SMS-Center."),
                QStringLiteral("Did you enter all numbers with intl. prefix?")}},
        {"21", {QStringLiteral("Short message transfer rejected (21)."),
                QStringLiteral("The SMS-Center does not allow sending.")}},
        {"28", {QStringLiteral("Unidentified subscriber (28)."),
                QStringLiteral("Maybe wrong number or wrong SMS-Center."),
                QStringLiteral("Did you enter all numbers with intl. prefix?")}},
    };
    // The code is the digits of the error line: from "CMS ERROR: " to the end
    // of that line, or of the buffer when the line end has not arrived yet.
    const qsizetype at = reply.indexOf("CMS ERROR: ");
    if (at < 0)
        return QString();
    qsizetype end = at;
    while (end < reply.size() && reply[end] != '\r' && reply[end] != '\n')
        ++end;
    const QString digits = digitsOnly(QString::fromLatin1(reply.mid(at, end - at)));
    for (const auto &e : kExplanations)
        if (digits == QLatin1String(e.code))
            return joinLines(e.lines);
    return digits;
}

} // namespace logo
