// The gateway's sender on today's delivery code: each job runs as
// `logotool send` runs, on a document of the picture's program, through
// SmsDelivery, the AT engine and the serial link; the send dialog is answered
// with the job's number and the progress dialog only starts the job.
#include "gateway/phonesender.h"

#include "gateway/uploadfields.h"
#include "graphic/logodocument.h"
#include "phone/seriallink.h"
#include "phone/smsdelivery.h"

#include <QTimer>

namespace logo::gateway {

namespace {

// One job's document, link, engine and delivery.
struct SerialJob : DeliveryUi {
    SerialJob(const UploadPicture &picture, SettingsStore &settings, const SerialSendOptions &options,
              const QString &number)
        : doc(picture.profile(), prompt, settings), ticks(options.tickMs), number(number)
    {
        prompt.defaultAnswer = Answer::Yes;   // the empty-picture question: the user asked for it
        doc.grid() = picture.grid;
        if (&picture.profile() == &ProgramProfile::brisvane())
            doc.setNetworkCode(picture.mcc, picture.mnc);
        SmsDelivery::Overrides o;
        o.port = options.port;
        o.device = options.device;
        o.quickLink = options.quickLink;
        o.hasSmsc = !options.smsc.isEmpty();
        o.smsc = options.smsc;
        delivery.setOverrides(o);
        delivery.setUi(this);
    }
    void showSendDialog() override { delivery.sendTo(number); }
    void showStoreDialog() override {}
    void showSendingProgress() override
    {
        started = true;
        delivery.startSendingJob();
    }

    ScriptedPrompt prompt;
    LogoDocument doc;
    SerialLink link;
    TimerTicks ticks;
    AtEngine engine{link, ticks};
    SmsDelivery delivery{doc, engine};
    QString number;
    bool started = false;
};

class SerialPhoneSender : public PhoneSender {
public:
    SerialPhoneSender(SettingsStore &settings, const SerialSendOptions &options)
        : m_settings(settings), m_options(options)
    {
    }

    void send(const UploadPicture &picture, const QString &number) override
    {
        m_job = std::make_unique<SerialJob>(picture, m_settings, m_options, number);
        SerialJob *job = m_job.get();
        connect(&job->delivery, &SmsDelivery::jobEnded, this,
                [this, job](bool success) { end(job, success); }, Qt::QueuedConnection);
        job->delivery.sendPicture();
        // Refused before the job began (no message centre, no port, a number
        // the message can't carry): the message box says why.
        if (!job->started)
            QTimer::singleShot(0, this, [this, job] { end(job, false); });
    }

private:
    void end(SerialJob *job, bool success)
    {
        if (m_job.get() != job)
            return;
        const QString text = job->prompt.lastMessage();
        // The job's objects go once the delivery has returned from its signal.
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
