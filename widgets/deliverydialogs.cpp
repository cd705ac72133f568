#include "widgets/deliverydialogs.h"

#include "widgets/frmsend.h"
#include "widgets/frmsending.h"
#include "widgets/frmstore.h"
#include "phone/seriallink.h"

namespace logo {

DeliveryDialogs::DeliveryDialogs(SmsDelivery &delivery, QWidget *window)
    : m_send(new frmSend(delivery, window)),
      m_store(new frmStore(delivery, window)),
      m_sending(new frmSending(delivery, window))
{
}

DeliveryDialogs::~DeliveryDialogs()
{
    // Dialogs of a window that is already gone were deleted with it.
    delete m_send.data();
    delete m_store.data();
    delete m_sending.data();
}

frmSend *DeliveryDialogs::sendDialog() const
{
    return m_send;
}

frmStore *DeliveryDialogs::storeDialog() const
{
    return m_store;
}

frmSending *DeliveryDialogs::sendingDialog() const
{
    return m_sending;
}

void DeliveryDialogs::showSendDialog()
{
    if (m_send)
        m_send->exec();
}

void DeliveryDialogs::showStoreDialog()
{
    if (m_store)
        m_store->exec();
}

void DeliveryDialogs::showSendingProgress()
{
    if (m_sending)
        m_sending->exec();
}

WindowDelivery::WindowDelivery(LogoDocument &doc, QWidget *window)
    : QObject(window),
      m_link(new SerialLink(this)),
      tmrSendStore(new TimerTicks(1000, this)),
      m_engine(new AtEngine(*m_link, *tmrSendStore, this)),
      m_delivery(new SmsDelivery(doc, *m_engine, this)),
      m_dialogs(std::make_unique<DeliveryDialogs>(*m_delivery, window))
{
    m_delivery->setUi(m_dialogs.get());
}

WindowDelivery::~WindowDelivery() = default;

} // namespace logo
