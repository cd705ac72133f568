#pragma once
// The delivery as a main window runs it: the serial link, the job timer
// jobTimer, the engine, the controller and its dialogs, the phonebook and
// the options dialog, created once and kept (hidden between uses) for the
// window's life.
#include "infrared/irdelivery.h"
#include "phone/atengine.h"
#include "phone/phonebook.h"
#include "phone/smsdelivery.h"

#include <QObject>
#include <QPointer>
#include <memory>

class QWidget;

namespace logo {

class LogoDocument;
class PhonebookJob;
class PortTest;
class OptionsDialog;
class ReadingDialog;
class SendDialog;
class StoreDialog;
class SendingDialog;
class SerialLink;
class TimerTicks;

// The dialogs of a delivery, shown modally over the window. With a phonebook
// job the send dialog offers the phonebook and its reading dialog; with an
// infrared upload the sending-progress dialog runs that too.
class DeliveryDialogs : public DeliveryUi, public IrUploadUi {
public:
    DeliveryDialogs(SmsDelivery &delivery, QWidget *window, PhonebookJob *phonebook = nullptr,
                    IrDelivery *infrared = nullptr);
    ~DeliveryDialogs() override;

    void showSendDialog() override;
    void showStoreDialog() override;
    void showSendingProgress() override;
    // The progress dialog in its infrared mode, until the upload has ended.
    void showUploadProgress() override;

    SendDialog *sendDialog() const;
    StoreDialog *storeDialog() const;
    SendingDialog *sendingDialog() const;
    ReadingDialog *readingDialog() const;

private:
    SmsDelivery &m_delivery;
    QPointer<ReadingDialog> m_reading;
    QPointer<SendDialog> m_send;
    QPointer<StoreDialog> m_store;
    QPointer<SendingDialog> m_sending;
};

// Everything a main window needs for "Sen&d as SMS...", "Sto&re to
// SMS-Inbox...", "IR-&Upload to 61xx" and "&Options": connect the menu items
// and toolbar buttons to sendPicture, storePicture, sendByInfrared and
// showOptions. The phonebook table lives here, one for the program's run.
class WindowDelivery : public QObject {
    Q_OBJECT
public:
    WindowDelivery(LogoDocument &doc, QWidget *window);
    ~WindowDelivery() override;

    void sendPicture() { m_delivery->sendPicture(); }
    void storePicture() { m_delivery->storePicture(); }
    void sendByInfrared() { m_infrared->sendByInfrared(); }
    // The options dialog, modal, with the busy mark while it is open.
    void showOptions();
    // What the branding file hid; the options dialog drops the pages of
    // methods that are gone.
    void setBranding(bool smsHidden, bool storeHidden, bool irHidden);

    AtEngine &engine() { return *m_engine; }
    SmsDelivery &delivery() { return *m_delivery; }
    IrDelivery &infrared() { return *m_infrared; }
    DeliveryDialogs &dialogs() { return *m_dialogs; }
    Phonebook &phonebook() { return m_phonebook; }
    PhonebookJob &phonebookJob() { return *m_phonebookJob; }
    PortTest &portTest() { return *m_portTest; }
    // Created on first use, then kept.
    OptionsDialog *optionsDialog();

private:
    LogoDocument &m_doc;
    QWidget *m_window;
    SerialLink *m_link;
    TimerTicks *jobTimer;
    AtEngine *m_engine;
    SmsDelivery *m_delivery;
    Phonebook m_phonebook;
    PhonebookJob *m_phonebookJob;
    PortTest *m_portTest;
    IrDelivery *m_infrared;
    std::unique_ptr<DeliveryDialogs> m_dialogs;
    QPointer<OptionsDialog> m_options;
    bool m_hidden[3] = {false, false, false};   // sending, storing, infrared
};

} // namespace logo
