#pragma once
// The delivery as a main window runs it: the serial link, the job timer
// tmrSendStore, the engine, the controller and its three dialogs, created once
// and kept (hidden between uses) for the window's life.
#include "phone/atengine.h"
#include "phone/smsdelivery.h"

#include <QObject>
#include <QPointer>
#include <memory>

class QWidget;

namespace logo {

class LogoDocument;
class frmSend;
class frmStore;
class frmSending;
class SerialLink;
class TimerTicks;

// The dialogs of a delivery, shown modally over the window.
class DeliveryDialogs : public DeliveryUi {
public:
    DeliveryDialogs(SmsDelivery &delivery, QWidget *window);
    ~DeliveryDialogs() override;

    void showSendDialog() override;
    void showStoreDialog() override;
    void showSendingProgress() override;

    frmSend *sendDialog() const;
    frmStore *storeDialog() const;
    frmSending *sendingDialog() const;

private:
    QPointer<frmSend> m_send;
    QPointer<frmStore> m_store;
    QPointer<frmSending> m_sending;
};

// Everything a main window needs for "Sen&d as SMS..." and "Sto&re to
// SMS-Inbox...": connect the menu items and toolbar buttons to mnuSend_Click and
// mnuStore_Click.
class WindowDelivery : public QObject {
    Q_OBJECT
public:
    WindowDelivery(LogoDocument &doc, QWidget *window);
    ~WindowDelivery() override;

    void mnuSend_Click() { m_delivery->mnuSend_Click(); }
    void mnuStore_Click() { m_delivery->mnuStore_Click(); }

    AtEngine &engine() { return *m_engine; }
    SmsDelivery &delivery() { return *m_delivery; }
    DeliveryDialogs &dialogs() { return *m_dialogs; }

private:
    SerialLink *m_link;
    TimerTicks *tmrSendStore;
    AtEngine *m_engine;
    SmsDelivery *m_delivery;
    std::unique_ptr<DeliveryDialogs> m_dialogs;
};

} // namespace logo
