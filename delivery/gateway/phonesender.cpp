// The gateway's sender on the delivery code of the windows: each job runs as
// "Sen&d as SMS..." and `logotool send` run it, through the same checks
// (network code, message centre, port, number), the same SmsJob, the AT
// engine and the serial link. The job's end text is what the window shows.
#include "gateway/phonesender.h"

#include "desktop/prompt.h"
#include "desktop/settingsstore.h"
#include "gateway/uploadfields.h"
#include "phone/seriallink.h"
#include "phone/smsdelivery.h"
#include "sms/networkcode.h"

#include <QTimer>

namespace logo::gateway {

namespace {

// The link, engine and job of one send.
struct SerialJob {
    SerialJob(const SerialSendOptions &options) : ticks(options.tickMs) {}

    ScriptedPrompt prompt;
    SerialLink link;
    TimerTicks ticks;
    AtEngine engine{link, ticks};
    std::unique_ptr<SmsJob> job;
};

class SerialPhoneSender : public PhoneSender {
public:
    SerialPhoneSender(SettingsStore &settings, const SerialSendOptions &options)
        : m_settings(settings), m_options(options)
    {
    }

    void send(const UploadPicture &picture, const QString &number) override
    {
        m_job = std::make_unique<SerialJob>(m_options);
        SerialJob *job = m_job.get();
        if (!startJob(*job, picture, number)) {
            // Refused before the job began: the message says why.
            QTimer::singleShot(0, this, [this, job] { end(job, false, job->prompt.lastMessage()); });
            return;
        }
        connect(job->job.get(), &DeliveryJob::finished, this,
                [this, job](JobOutcome outcome, const QString &text) {
                    end(job, outcome == JobOutcome::Completed, text);
                },
                Qt::QueuedConnection);
        job->job->start();
    }

private:
    bool startJob(SerialJob &job, const UploadPicture &picture, const QString &number)
    {
        const ProgramProfile &profile = picture.profile();
        const QString section = profile.settingsSection;
        const QString title = profile.productName;
        const bool withCode = profile.requiresOperator;
        if (withCode) {
            const QString refusal = networkCodeRefusal(picture.mcc, picture.mnc, DeliveryPath::SmartMessage);
            if (!refusal.isEmpty()) {
                job.prompt.critical(title, refusal);
                return false;
            }
        }
        SmsOverrides overrides;
        overrides.port = m_options.port;
        overrides.device = m_options.device;
        overrides.quickLink = m_options.quickLink;
        overrides.hasSmsc = !m_options.smsc.isEmpty();
        overrides.smsc = m_options.smsc;
        if (!checkSendSettings(SmsKind::Send, readSendSettings(m_settings, section, overrides), job.prompt, title))
            return false;
        const QString digits = acceptDestination(number, job.prompt, title);
        if (digits.isEmpty())
            return false;
        saveDestination(m_settings, section, digits);
        const SendSettings settings = readSendSettings(m_settings, section, overrides);
        const OutgoingPicture outgoing{&profile, picture.grid, withCode ? picture.mcc : QString(),
                                       withCode ? picture.mnc : QString()};
        job.job = std::make_unique<SmsJob>(SmsKind::Send, smsPdu(SmsKind::Send, outgoing, settings), settings.link,
                                           job.engine, job.prompt);
        return true;
    }

    void end(SerialJob *job, bool success, const QString &text)
    {
        if (m_job.get() != job)
            return;
        // The job's objects go once the job has returned from its signal.
        QTimer::singleShot(0, this, [old = std::shared_ptr<SerialJob>(m_job.release())] {});
        emit finished(success, text);
    }

    SettingsStore &m_settings;
    SerialSendOptions m_options;
    std::unique_ptr<SerialJob> m_job;
};

} // namespace

std::unique_ptr<PhoneSender> makeSerialPhoneSender(SettingsStore &settings, const SerialSendOptions &options)
{
    return std::make_unique<SerialPhoneSender>(settings, options);
}

} // namespace logo::gateway
