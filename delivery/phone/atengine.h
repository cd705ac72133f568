#pragma once
// The AT command engine: one job at a time, a queue of up to ten AT steps, each
// with the reply it expects. Received bytes are collected and the whole reply
// is classified at once; the job timer judges the classification once per tick
// and goes on, repeats the command or ends the job. Nothing here blocks and
// nothing here knows widgets: progress and the end of a job are signals, and the
// owner shows the messages.
#include "phone/phonelink.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <array>

namespace logo {

class SettingsStore;

// Classification of the reply buffer.
enum class ReplyCode : qint16 {
    NoNewData = 0,      // an event that brought nothing new, nothing matched
    Data = 1,           // text arrived, but no final result yet
    Ok = 2,             // CR LF "OK"
    Error = 3,          // CR LF "ERROR" or CR LF "NO CARRIER"
    Prompt = 4,         // "> "
    PhonebookRange = 7, // "CPBR: ("
    CmsError = 8,       // "CMS ERROR: "
    Nothing = 99,       // nothing received since the step was written
};

// The link errors that have a message of their own.
enum class LinkError {
    UserBreak,          // "User break."
    TalkFailed,         // "Error while talking to COM<n>."
    PortNotConfigured,  // the configure-the-port text
};

struct JobStep {
    QByteArray command;       // written as it is, terminator included
    ReplyCode expectedReply = ReplyCode::Ok;
    qint16 progress = 0;      // percentage shown when the step starts (or a step marker)
    QString errorText;        // shown when the job fails or is stopped during this step
};

// The link state of a main window: one set, shared by all its jobs.
struct LinkState {
    static constexpr int MaxSteps = 10;
    static constexpr qsizetype MaxReplyBytes = 512 * 1024;

    int port = 0;                      // n of COMn, for the messages
    QString device;                    // what n maps to on this machine
    std::array<JobStep, MaxSteps> steps{};
    int stepCount = 0;
    int currentStep = 0;                   // next step to write; awaited step + 1
    QByteArray outText;                    // last text written, written again on a repeat
    QByteArray replyBuffer;                // text received since the job moved to its step (its
                                           // last MaxReplyBytes at most: a device that never
                                           // stops talking is no phone answering)
    ReplyCode replyCode = ReplyCode::Nothing;
    int retryCount = 0;
    int retryLimit = 3;
    bool breakRequested = false;
};

// How a job's ticks judge the reply. Send and store use all of it; the shorter
// jobs (port test, message-centre read) switch parts off.
struct TickRules {
    bool userBreak = true;      // breakRequested ends the job at the next tick or advance
    bool waitOnData = true;     // Data on a reply that grew since the previous tick waits
                                // another tick without using a repeat
    bool cmsErrorEnds = true;   // CmsError ends the job with the step's text and the explanation
    bool showProgress = true;   // report each step's progress before writing it, 100 at the end
};

enum class JobOutcome {
    Completed,          // every step answered as expected; the reply to the last is kept
    OpenFailed,         // the port did not open; nothing was written
    MessageServiceError,
    LinkError,          // repeats used up
    UserBreak,
};

class AtEngine : public QObject {
    Q_OBJECT
public:
    static constexpr int JobRetryLimit = 3;
    // Ticks a step may wait on a reply that keeps growing without its final
    // result: two minutes on the one-second clock, time enough for the
    // longest phonebook at 19200 bit/s. A device that talks longer (a GPS
    // receiver on the wrong port) ends the job as a link error.
    static constexpr int MaxPatientTicks = 120;

    AtEngine(PhoneLink &link, TickSource &ticks, QObject *parent = nullptr);

    const LinkState &state() const { return m_state; }
    bool isRunning() const { return m_running; }

    // Port number for the messages and the device it stands for.
    void setLinkPort(int n, const QString &device);

    // ---- building blocks of a job ----
    // retryCount = 0, retryLimit = limit, currentStep = 0, breakRequested = false,
    // replyCode Nothing, replyBuffer empty. Leaves stepCount alone.
    void resetJob(int limit);
    // stepCount = 0, before a job queues its steps.
    void clearSteps() { m_state.stepCount = 0; }
    // Stores the step in slot stepCount; false when the queue is full.
    bool queueStep(const QByteArray &command, ReplyCode expectedReply, qint16 progress,
                   const QString &errorText);
    // Replaces the command of a queued step that has not been written yet: a
    // job that learns its next command from a reply (stepAnswered) rewrites
    // it there. False for a step that is not queued or already written.
    bool setStepCommand(int slot, const QByteArray &command);
    // Opens the link on device; a failure beeps and gives false.
    bool openLink();
    // The system's reason why the last openLink failed; empty after one that
    // opened.
    QString openError() const { return m_openError; }
    // Closes the link; a failure only beeps.
    void closeLink();
    // Writes outText; a failure only beeps (the job then runs out of repeats).
    void writeOutText();

    // ---- running a job ----
    // resetJob with the job limit, openLink, and the first advance. When the port
    // does not open, finished(OpenFailed, text of step 0 with the device and
    // the reason, see withDeviceReason) is emitted and false
    // returned. Refused (false, no signal) while another job runs or with no steps.
    bool startJob(const TickRules &rules = TickRules());
    // The job timer's handler. Ignored while no step is awaited.
    void tick();
    // The user stops the job: noticed at the next tick or advance.
    void requestBreak() { m_state.breakRequested = true; }
    // The quick link: a step advances as soon as its reply classifies as the
    // awaited result instead of at the next tick; ticks still time the repeats
    // and the end. Off by default; the jobs set it from quickLinkSetting()
    // before they start.
    void setQuickLink(bool on) { m_quickLink = on; }
    bool quickLink() const { return m_quickLink; }

    // Message texts of the link errors.
    static QString linkErrorText(LinkError error, int port);
    // Classifies a whole reply buffer; previousLength is its length before the
    // latest data was appended. "Grew" (code 1) needs new text: line noise
    // alone is nothing new, letters of the high half are text.
    static ReplyCode classify(const QByteArray &buffer, qsizetype previousLength);
    // The part of received bytes that is text: CR, LF, TAB, printable ASCII and
    // the high half the phones use for accented letters. Line noise (NUL, other
    // control bytes, DEL, 0xFF) is dropped before it reaches the buffer.
    static QByteArray textOnly(const QByteArray &bytes);

signals:
    void progress(int percent);
    // The awaited step got its expected reply; reply is everything received
    // for it. Emitted before the job moves on (and before a stop is noticed
    // there), so a handler may read the reply, rewrite the next step or stop
    // the job with requestBreak().
    void stepAnswered(int step, const QByteArray &reply);
    // The job has ended and the link is closed. message is the text to show for
    // every outcome but Completed (the job's owner has its own success text).
    void finished(logo::JobOutcome outcome, const QString &message);
    // A failure of the serial link; the owner sounds the system beep.
    void beep();

private:
    void onReceived(const QByteArray &bytes);
    void advance();
    void endJob(JobOutcome outcome, const QString &message);
    const JobStep &awaitedStep() const;

    PhoneLink &m_link;
    TickSource &m_ticks;
    LinkState m_state;
    TickRules m_rules;
    bool m_running = false;
    bool m_quickLink = false;
    QString m_openError;
    qint64 m_receivedInStep = 0;    // text received for the step, whatever the buffer kept
    qint64 m_receivedAtTick = 0;    // m_receivedInStep at the previous tick of the step
    int m_patientTicks = 0;         // ticks the step has waited on a growing reply
    unsigned m_replyMarks = 0;      // the final results seen in the step's reply so far
};

// What the command-line tool sets instead of the shared link settings, for
// every kind of job.
struct LinkOverrides {
    int port = 0;             // > 0: instead of "COMPort"
    QString device;           // instead of the device the port number maps to
    bool quickLink = false;   // the quick link, whatever "QuickLink" says
};

// "QuickLink" of the shared section: whether jobs use the quick link; off
// unless set.
bool quickLinkSetting(const SettingsStore &settings);

// The explanation of a message-service error from the reply that holds
// "CMS ERROR: ": a known code gives its lines (joined by CR LF), any other the
// digits themselves.
QString explainCmsError(const QByteArray &reply);

} // namespace logo

Q_DECLARE_METATYPE(logo::JobOutcome)
