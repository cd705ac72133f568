#include "phone/phonebookjob.h"

#include "desktop/appfolders.h"
#include "graphic/logodocument.h"
#include "graphic/pathutil.h"

namespace logo {

namespace {

// Step markers (the Progress of a step): which memory a step belongs to and
// what it does.
enum Marker : qint16 {
    MarkAt = 0,
    MarkSimSelect = 5, MarkSimSize = 6, MarkSimEntries = 10,
    MarkPhoneSelect = 55, MarkPhoneSize = 56, MarkPhoneEntries = 60,
};

const QString kSim = QStringLiteral("A");
const QString kPhone = QStringLiteral("B");

TickRules phonebookRules()
{
    TickRules rules;
    rules.cmsErrorEnds = false;   // the phonebook commands have no message-service errors
    return rules;
}

} // namespace

PhonebookJob::PhonebookJob(LogoDocument &doc, AtEngine &engine, Phonebook &phonebook, QObject *parent)
    : QObject(parent), m_doc(doc), m_engine(engine), m_phonebook(phonebook)
{
    connect(&m_engine, &AtEngine::finished, this, &PhonebookJob::onFinished);
    connect(&m_engine, &AtEngine::stepAnswered, this, &PhonebookJob::onStepAnswered);
    connect(&m_engine, &AtEngine::progress, this, [this](int marker) {
        if (!m_active)
            return;
        if (marker == MarkSimSize)
            emit statusLine(LineSim);
        else if (marker == MarkPhoneSize)
            emit statusLine(LinePhone);
    });
    connect(&m_engine, &AtEngine::beep, this, [this] {
        if (m_active)
            m_doc.prompt().beep();
    });
}

void PhonebookJob::queueSteps(AtEngine &engine, int port, bool sim, bool phone)
{
    const QByteArray cr("\r");
    // The entries command is known once the size query has been answered.
    const QByteArray placeholder = "AT+CPBR=1,1" + cr;
    engine.clearSteps();
    engine.queueStep("AT" + cr, ReplyCode::Ok, MarkAt, QStringLiteral("Can't talk to COM%1.").arg(port));
    if (sim) {
        engine.queueStep("AT+CPBS=\"SM\"" + cr, ReplyCode::Ok, MarkSimSelect,
                         QStringLiteral("Can't set phonebook-read to SIM-memory."));
        engine.queueStep("AT+CPBR=?" + cr, ReplyCode::PhonebookRange, MarkSimSize,
                         QStringLiteral("Can't read phonebook-size from SIM."));
        engine.queueStep(placeholder, ReplyCode::Ok, MarkSimEntries, QStringLiteral("Can't read phonebook-entries from SIM."));
    }
    if (phone) {
        engine.queueStep("AT+CPBS=\"ME\"" + cr, ReplyCode::Ok, MarkPhoneSelect,
                         QStringLiteral("Can't set phonebook-read to phone-memory."));
        engine.queueStep("AT+CPBR=?" + cr, ReplyCode::PhonebookRange, MarkPhoneSize,
                         QStringLiteral("Can't read phonebook-size from phone."));
        engine.queueStep(placeholder, ReplyCode::Ok, MarkPhoneEntries,
                         QStringLiteral("Can't read phonebook-entries from phonebook."));
    }
}

QString PhonebookJob::readMessage(bool overflowed)
{
    if (!overflowed)
        return QStringLiteral("Phonebook read.");
    return joinLines({QStringLiteral("Phonebook read."), QString(),
                      QStringLiteral("The phone holds more entries than the list can take;"),
                      QStringLiteral("only the first %1 have been kept.").arg(Phonebook::Capacity)});
}

bool PhonebookJob::readsSim() const
{
    return m_doc.settings().readBool(kSharedSection, QStringLiteral("PBookReadSM"), true);
}

bool PhonebookJob::readsPhone() const
{
    return m_doc.settings().readBool(kSharedSection, QStringLiteral("PBookReadME"), true);
}

QString PhonebookJob::cacheFileFound() const
{
    return AppFolders(m_doc.appFolder()).find(m_doc.profile().phonebookCacheName);
}

QString PhonebookJob::cacheFileToWrite() const
{
    if (m_overrides.cacheFile)
        return *m_overrides.cacheFile;
    return AppFolders(m_doc.appFolder()).writable(m_doc.profile().phonebookCacheName);
}

bool PhonebookJob::loadCachedPhonebook()
{
    const QString path = cacheFileFound();
    if (path.isEmpty())
        return false;
    if (!m_phonebook.load(path)) {
        m_doc.prompt().beep();
        return false;
    }
    return true;
}

void PhonebookJob::readPhonebook()
{
    if (m_active || m_engine.isRunning()) {
        emit jobEnded(false);   // the link is busy with another job
        return;
    }
    const int port = m_overrides.port > 0 ? m_overrides.port
                                          : m_doc.settings().readInt(kSharedSection, QStringLiteral("COMPort"), 0);
    if (port <= 0) {
        m_doc.prompt().critical(m_doc.profile().productName, AtEngine::linkErrorText(LinkError::PortNotConfigured, 0));
        m_lastOutcome = JobOutcome::OpenFailed;
        emit jobEnded(false);
        return;
    }
    queueSteps(m_engine, port, readsSim(), readsPhone());
    m_read.clear();
    m_range = PhonebookRange();
    m_overflowed = false;
    m_failure.clear();
    m_cacheWriteFailed = false;
    emit statusLine(LineInitializing);
    m_engine.setLinkPort(port, m_overrides.device.isEmpty() ? m_doc.settings().portDevice(port)
                                                            : m_overrides.device);
    m_engine.setQuickLink(m_overrides.quickLink || quickLinkSetting(m_doc.settings()));
    m_active = true;
    m_engine.startJob(phonebookRules());
}

void PhonebookJob::onStepAnswered(int step, const QByteArray &reply)
{
    if (!m_active)
        return;
    if (m_engine.state().breakRequested)
        return;     // stopped: the job ends here
    const JobStep &answered = m_engine.state().steps[step];
    switch (answered.progress) {
    case MarkSimSize:
    case MarkPhoneSize:
        if (const auto range = parseRange(reply)) {
            m_range = *range;
            m_engine.setStepCommand(step + 1, QByteArray("AT+CPBR=") + QByteArray::number(range->first) + ',' +
                                                  QByteArray::number(range->last) + '\r');
        } else {
            // A size the job can't use: stop here with the step's own text.
            m_failure = answered.errorText;
            m_engine.requestBreak();
        }
        break;
    case MarkSimEntries:
    case MarkPhoneEntries:
        if (!parseEntries(reply, answered.progress == MarkSimEntries ? kSim : kPhone, m_range, m_read))
            m_overflowed = true;
        break;
    default:
        break;
    }
}

void PhonebookJob::onFinished(JobOutcome outcome, const QString &message)
{
    if (!m_active)
        return;     // a job of another command on the same link
    m_active = false;
    m_lastOutcome = outcome;
    const QString title = m_doc.profile().productName;
    if (outcome == JobOutcome::Completed) {
        m_phonebook.replace(m_read);
        m_phonebook.setPhonebookRead(true);
        // A cache that can't be written costs the next run a read, nothing more.
        const QString cache = cacheFileToWrite();
        m_cacheWriteFailed = !cache.isEmpty() && !m_phonebook.save(cache);
        m_doc.prompt().inform(title, readMessage(m_overflowed));
        emit jobEnded(true);
        return;
    }
    QString text = message;
    if (outcome == JobOutcome::UserBreak && !m_failure.isEmpty()) {
        // Not the user's stop but the job's own (a reply it could not use).
        text = m_failure;
        m_lastOutcome = JobOutcome::LinkError;
    }
    m_doc.prompt().critical(title, text);
    emit jobEnded(false);
}

} // namespace logo
