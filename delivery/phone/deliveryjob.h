#pragma once
// The one shape of every delivery job: sending, storing, the port test, the
// message-centre read, the phonebook read and the infrared upload. A job is
// built from what it delivers and a settings value, started with start(), and
// reports its caption, its progress and its end as signals. It shows no
// message of its own but the beeps of a failing link: the text at its end
// goes out with finished(), and whoever started it (the window's delivery
// controller, logotool) shows it.
#include "desktop/profile.h"
#include "graphic/logogrid.h"
#include "phone/atengine.h"

#include <QObject>
#include <QString>
#include <functional>

namespace logo {

class Prompt;
class SettingsStore;

class DeliveryJob : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual void start() = 0;
    // Cancel: the job stops at its next step. Jobs that can't be stopped
    // ignore it.
    virtual void requestBreak() {}
    virtual bool isRunning() const = 0;
    // How the job ended (OpenFailed before it has).
    JobOutcome outcome() const { return m_outcome; }

signals:
    void caption(const QString &text);
    void progress(int percent);
    // The job has ended. text is what the window shows: the success message
    // for Completed, else the failure; empty for nothing to show.
    void finished(logo::JobOutcome outcome, const QString &text);

protected:
    void finish(JobOutcome outcome, const QString &text);

private:
    JobOutcome m_outcome = JobOutcome::OpenFailed;
};

// The picture a job delivers: the program it goes as, the cells and the
// network code (empty for none).
struct OutgoingPicture {
    const ProgramProfile *profile = nullptr;
    LogoGrid grid;
    QString mcc;
    QString mnc;
};

// The text a job ended with, as its message box: the success message as
// information, a failure as critical; nothing for an empty text.
void showJobEnd(Prompt &prompt, const QString &title, JobOutcome outcome, const QString &text);

// The serial port a job talks through.
struct LinkSettings {
    int port = 0;           // n of COMn; 0 for none configured
    QString device;         // what n maps to on this machine
    bool quickLink = false;
};

// portKey ("COMPort", "IRPort") of the shared section, the device the number
// stands for and "QuickLink", with the command-line tool's overrides applied.
// portDefault is what an unset port number reads as.
LinkSettings readLinkSettings(const SettingsStore &settings, const LinkOverrides &overrides = {},
                              const QString &portKey = QStringLiteral("COMPort"), int portDefault = 0);

// A job of AT steps on the shared engine: the engine's progress and end are
// the job's while it runs, the link's beeps go to the prompt.
class AtJob : public DeliveryJob {
    Q_OBJECT
public:
    AtJob(AtEngine &engine, Prompt &prompt, const LinkSettings &link, QObject *parent = nullptr);

    void requestBreak() override;
    bool isRunning() const override { return m_active; }
    const LinkSettings &link() const { return m_link; }
    AtEngine &engine() { return m_engine; }

protected:
    // Queues the job's steps (unless another job holds the link) and runs
    // them with these rules. False (and the end already reported) when the
    // job did not start.
    bool run(const TickRules &rules, const std::function<void()> &queueSteps);
    // The engine has ended the job; message as the engine gives it.
    virtual void engineFinished(JobOutcome outcome, const QString &message) = 0;
    // A step's progress while the job runs; passed on by default.
    virtual void engineProgress(int percent) { emit progress(percent); }

    AtEngine &m_engine;
    LinkSettings m_link;

private:
    bool m_active = false;
};

} // namespace logo
