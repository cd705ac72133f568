#include "infrared/irdelivery.h"

#include "desktop/waitcursor.h"
#include "graphic/logodocument.h"
#include "infrared/irmessage.h"
#include "sms/networkcode.h"

namespace logo {

IrDelivery::IrDelivery(LogoDocument &doc, QObject *parent)
    : QObject(parent), m_doc(doc), m_lastResult(irtext::undefined())
{
    connect(&m_runner, &IrUploadRunner::progress, this, &IrDelivery::progress);
    connect(&m_runner, &IrUploadRunner::finished, this, &IrDelivery::finished);
}

int IrDelivery::irPort() const
{
    if (m_overrides.port > 0)
        return m_overrides.port;
    return m_doc.settings().readInt(kSharedSection, QStringLiteral("IRPort"), 0);
}

QString IrDelivery::irDevice() const
{
    if (!m_overrides.device.isEmpty())
        return m_overrides.device;
    return m_doc.settings().portDevice(irPort());
}

QByteArray IrDelivery::message() const
{
    return buildIrMessage(m_doc.profile(), m_doc.grid(), m_doc.currentMCC(), m_doc.currentMNC());
}

void IrDelivery::sendByInfrared()
{
    m_doc.setBusy(true);
    if (networkCodeFits(m_doc, DeliveryPath::Infrared) && m_doc.askIfEmpty(true)) {
        if (irPort() <= 0) {
            m_doc.prompt().critical(m_doc.profile().productName,
                                    joinLines({QStringLiteral("Please configure the physical IR Port"),
                                               QStringLiteral("in menu 'Edit/Options/IR Port'")}));
        } else if (m_ui) {
            WaitCursor wait;
            m_ui->showUploadProgress();
        }
    }
    m_doc.setBusy(false);
}

void IrDelivery::startUpload()
{
    if (m_runner.isRunning())
        return;
    emit caption(QStringLiteral("Upload via IR to 61xx ..."));
    m_port = irPort();
    IrUploadRequest request;
    request.message = message();
    request.port = m_port;
    request.device = irDevice();
    request.options.delays = readIrDelays(m_doc.settings());
    request.options.connectionAddress = m_pickAddress;
    m_runner.start(request);
}

void IrDelivery::finished(const QString &result)
{
    m_lastResult = result;
    const QString product = m_doc.profile().productName;
    if (result.isEmpty())
        m_doc.prompt().inform(product, QStringLiteral("Data uploaded."));
    else
        m_doc.prompt().critical(product, QStringLiteral("Error while talking to COM%1.\r\n\r\n").arg(m_port) + result);
    emit uploadEnded(result.isEmpty());
}

} // namespace logo
