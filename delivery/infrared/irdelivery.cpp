#include "infrared/irdelivery.h"

#include "desktop/prompt.h"
#include "desktop/settingsstore.h"
#include "graphic/pathutil.h"

namespace logo {

IrSettings readIrSettings(const SettingsStore &settings, const IrOverrides &overrides)
{
    LinkOverrides link;
    link.port = overrides.port;
    link.device = overrides.device;
    IrSettings s;
    s.link = readLinkSettings(settings, link, QStringLiteral("IRPort"));
    s.delays = readIrDelays(settings);
    return s;
}

bool checkIrSettings(const IrSettings &settings, Prompt &prompt, const QString &title)
{
    if (settings.link.port > 0)
        return true;
    prompt.critical(title, joinLines({QStringLiteral("Please configure the physical IR Port"),
                                      QStringLiteral("in menu 'Edit/Options/IR Port'")}));
    return false;
}

IrUploadJob::IrUploadJob(const QByteArray &message, const IrSettings &settings, QObject *parent)
    : DeliveryJob(parent), m_message(message), m_settings(settings), m_result(irtext::undefined())
{
    connect(&m_runner, &IrUploadRunner::progress, this, &IrUploadJob::progress);
    connect(&m_runner, &IrUploadRunner::finished, this, &IrUploadJob::uploadEnded);
}

void IrUploadJob::start()
{
    if (m_runner.isRunning())
        return;
    emit caption(QStringLiteral("Upload via IR to 61xx ..."));
    IrUploadRequest request;
    request.message = m_message;
    request.port = m_settings.link.port;
    request.device = m_settings.link.device;
    request.options.delays = m_settings.delays;
    request.options.connectionAddress = m_pickAddress;
    m_runner.start(request);
}

void IrUploadJob::uploadEnded(const QString &result)
{
    m_result = result;
    if (result.isEmpty())
        finish(JobOutcome::Completed, QStringLiteral("Data uploaded."));
    else
        finish(JobOutcome::LinkError,
               QStringLiteral("Error while talking to COM%1.\r\n\r\n").arg(m_settings.link.port) + result);
}

} // namespace logo
