#include "phone/deliveryjob.h"

#include "desktop/prompt.h"
#include "desktop/settingsstore.h"

namespace logo {

void DeliveryJob::finish(JobOutcome outcome, const QString &text)
{
    m_outcome = outcome;
    emit finished(outcome, text);
}

void showJobEnd(Prompt &prompt, const QString &title, JobOutcome outcome, const QString &text)
{
    if (text.isEmpty())
        return;
    if (outcome == JobOutcome::Completed)
        prompt.inform(title, text);
    else
        prompt.critical(title, text);
}

LinkSettings readLinkSettings(const SettingsStore &settings, const LinkOverrides &overrides,
                              const QString &portKey, int portDefault)
{
    LinkSettings link;
    link.port = overrides.port > 0 ? overrides.port : settings.readInt(kSharedSection, portKey, portDefault);
    if (link.port < 0)
        link.port = 0;
    link.device = !overrides.device.isEmpty() ? overrides.device : settings.portDevice(link.port);
    link.quickLink = overrides.quickLink || quickLinkSetting(settings);
    return link;
}

AtJob::AtJob(AtEngine &engine, Prompt &prompt, const LinkSettings &link, QObject *parent)
    : DeliveryJob(parent), m_engine(engine), m_link(link)
{
    connect(&m_engine, &AtEngine::finished, this, [this](JobOutcome outcome, const QString &message) {
        if (!m_active)
            return;     // a job of another command on the same link
        m_active = false;
        engineFinished(outcome, message);
    });
    connect(&m_engine, &AtEngine::progress, this, [this](int percent) {
        if (m_active)
            engineProgress(percent);
    });
    connect(&m_engine, &AtEngine::beep, this, [this, &prompt] {
        if (m_active)
            prompt.beep();
    });
}

void AtJob::requestBreak()
{
    if (m_active)
        m_engine.requestBreak();
}

bool AtJob::run(const TickRules &rules, const std::function<void()> &queueSteps)
{
    if (m_engine.isRunning()) {
        // Another command's job holds the link: this one ends before it began.
        engineFinished(JobOutcome::LinkError, QString());
        return false;
    }
    queueSteps();
    m_engine.setLinkPort(m_link.port, m_link.device);
    m_engine.setQuickLink(m_link.quickLink);
    m_active = true;
    return m_engine.startJob(rules);
}

} // namespace logo
