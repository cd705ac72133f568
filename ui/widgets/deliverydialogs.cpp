#include "widgets/deliverydialogs.h"

#include "graphic/logodocument.h"
#include "phone/phonebookjob.h"
#include "phone/porttest.h"
#include "phone/seriallink.h"
#include "widgets/optionsdialog.h"
#include "widgets/readingdialog.h"
#include "widgets/senddialog.h"
#include "widgets/sendingdialog.h"
#include "widgets/storedialog.h"

namespace logo {

DeliveryDialogs::DeliveryDialogs(SmsDelivery &delivery, QWidget *window, PhonebookJob *phonebook,
                                 IrDelivery *infrared)
    : m_delivery(delivery),
      m_reading(phonebook ? new ReadingDialog(*phonebook, window) : nullptr),
      m_send(new SendDialog(delivery, phonebook, m_reading, window)),
      m_store(new StoreDialog(delivery, window)),
      m_sending(new SendingDialog(delivery, window))
{
    if (infrared) {
        m_sending->runsUpload(*infrared);
        infrared->setUi(this);
    }
}

DeliveryDialogs::~DeliveryDialogs()
{
    // Dialogs of a window that is already gone were deleted with it.
    delete m_send.data();
    delete m_reading.data();
    delete m_store.data();
    delete m_sending.data();
}

SendDialog *DeliveryDialogs::sendDialog() const
{
    return m_send;
}

StoreDialog *DeliveryDialogs::storeDialog() const
{
    return m_store;
}

SendingDialog *DeliveryDialogs::sendingDialog() const
{
    return m_sending;
}

ReadingDialog *DeliveryDialogs::readingDialog() const
{
    return m_reading;
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

void DeliveryDialogs::showUploadProgress()
{
    if (!m_sending)
        return;
    // The dialog can't be closed in this mode: exec returns once the upload's
    // end has hidden it.
    m_delivery.setSendingMode(SendingInfrared);
    m_sending->exec();
    m_delivery.setSendingMode(SendingSms);
}

WindowDelivery::WindowDelivery(LogoDocument &doc, QWidget *window)
    : QObject(window),
      m_doc(doc),
      m_window(window),
      m_link(new SerialLink(this)),
      jobTimer(new TimerTicks(1000, this)),
      m_engine(new AtEngine(*m_link, *jobTimer, this)),
      m_delivery(new SmsDelivery(doc, *m_engine, this)),
      m_phonebookJob(new PhonebookJob(doc, *m_engine, m_phonebook, this)),
      m_portTest(new PortTest(doc, *m_engine, this)),
      m_infrared(new IrDelivery(doc, this)),
      m_dialogs(std::make_unique<DeliveryDialogs>(*m_delivery, window, m_phonebookJob, m_infrared))
{
    m_delivery->setUi(m_dialogs.get());
}

WindowDelivery::~WindowDelivery()
{
    delete m_options.data();
}

void WindowDelivery::setBranding(bool smsHidden, bool storeHidden, bool irHidden)
{
    m_hidden[0] = smsHidden;
    m_hidden[1] = storeHidden;
    m_hidden[2] = irHidden;
    if (m_options)
        m_options->applyBranding(smsHidden, storeHidden, irHidden);
}

OptionsDialog *WindowDelivery::optionsDialog()
{
    if (!m_options) {
        m_options = new OptionsDialog(m_doc, *m_portTest, m_window);
        m_options->applyBranding(m_hidden[0], m_hidden[1], m_hidden[2]);
    }
    return m_options;
}

void WindowDelivery::showOptions()
{
    m_doc.setBusy(true);
    optionsDialog()->exec();
    m_doc.setBusy(false);
}

} // namespace logo
