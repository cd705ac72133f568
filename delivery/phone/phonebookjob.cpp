#include "phone/phonebookjob.h"

#include "desktop/appfolders.h"
#include "desktop/prompt.h"
#include "desktop/settingsstore.h"
#include "graphic/pathutil.h"

namespace logo {

namespace {

// Step markers (the progress of a step): which memory a step belongs to and
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

PhonebookSettings readPhonebookSettings(const SettingsStore &settings, const QString &cacheFile,
                                        const PhonebookOverrides &overrides)
{
    PhonebookSettings s;
    s.link = readLinkSettings(settings, overrides);
    s.readSim = settings.readBool(kSharedSection, QStringLiteral("PBookReadSM"), true);
    s.readPhone = settings.readBool(kSharedSection, QStringLiteral("PBookReadME"), true);
    s.cacheFile = overrides.cacheFile ? *overrides.cacheFile : cacheFile;
    return s;
}

QString phonebookCacheFound(const QString &appFolder, const ProgramProfile &profile)
{
    return AppFolders(appFolder).find(profile.phonebookCacheName);
}

QString phonebookCacheToWrite(const QString &appFolder, const ProgramProfile &profile)
{
    return AppFolders(appFolder).writable(profile.phonebookCacheName);
}

bool loadPhonebookCache(Phonebook &phonebook, const QString &path, Prompt &prompt)
{
    if (path.isEmpty())
        return false;
    if (!phonebook.load(path)) {
        prompt.beep();
        return false;
    }
    return true;
}

PhonebookJob::PhonebookJob(Phonebook &phonebook, const PhonebookSettings &settings, AtEngine &engine,
                           Prompt &prompt, QObject *parent)
    : AtJob(engine, prompt, settings.link, parent), m_phonebook(phonebook), m_settings(settings)
{
    connect(&m_engine, &AtEngine::stepAnswered, this, &PhonebookJob::onStepAnswered);
}

void PhonebookJob::engineProgress(int marker)
{
    if (marker == MarkSimSize)
        emit statusLine(LineSim);
    else if (marker == MarkPhoneSize)
        emit statusLine(LinePhone);
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

void PhonebookJob::start()
{
    if (m_settings.link.port <= 0) {
        finish(JobOutcome::OpenFailed, AtEngine::linkErrorText(LinkError::PortNotConfigured, 0));
        return;
    }
    m_read.clear();
    m_range = PhonebookRange();
    m_overflowed = false;
    m_failure.clear();
    m_cacheWriteFailed = false;
    emit statusLine(LineInitializing);
    run(phonebookRules(),
        [this] { queueSteps(m_engine, m_link.port, m_settings.readSim, m_settings.readPhone); });
}

void PhonebookJob::onStepAnswered(int step, const QByteArray &reply)
{
    if (!isRunning())
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

void PhonebookJob::engineFinished(JobOutcome outcome, const QString &message)
{
    if (outcome == JobOutcome::Completed) {
        m_phonebook.replace(m_read);
        m_phonebook.setRead(true);
        // A cache that can't be written costs the next run a read, nothing more.
        m_cacheWriteFailed = !m_settings.cacheFile.isEmpty() && !m_phonebook.save(m_settings.cacheFile);
        finish(outcome, readMessage(m_overflowed));
        return;
    }
    QString text = message;
    if (outcome == JobOutcome::UserBreak && !m_failure.isEmpty()) {
        // Not the user's stop but the job's own (a reply it could not use).
        text = m_failure;
        outcome = JobOutcome::LinkError;
    }
    finish(outcome, text);
}

} // namespace logo
