#pragma once
// The delivery as a main window runs it: "Sen&d as SMS...", "Sto&re to
// SMS-Inbox...", "IR-&Upload to 61xx" and "&Options". For each command the
// controller runs the checks, asks its dialog for the input (the number, the
// go-ahead to store), builds the job from the picture and the settings,
// starts it and shows the progress dialog, which only follows the job. The
// serial link, the job timer, the engine, the phonebook table and the dialogs
// are created once and kept (hidden between uses) for the window's life.
#include "phone/atengine.h"
#include "phone/deliveryjob.h"
#include "phone/phonebook.h"

#include <QObject>
#include <QPointer>
#include <optional>

class QWidget;

namespace logo {

class LogoDocument;
struct ProgramContext;
class OptionsDialog;
class ReadingDialog;
class SendDialog;
class StoreDialog;
class SendingDialog;
enum class SmsKind;

class DeliveryController : public QObject {
    Q_OBJECT
public:
    // link and ticks: the phone link and the job timer (the tests' fakes);
    // the serial port and the one-second timer when null.
    // doc: the picture to deliver; context: the prompt, settings, program
    // folder and busy mark the commands use.
    DeliveryController(LogoDocument &doc, ProgramContext &context, QWidget *window, PhoneLink *link = nullptr,
                       TickSource *ticks = nullptr);
    ~DeliveryController() override;

    // The menu commands, each with the busy mark while it runs.
    void sendPicture();
    void storePicture();
    void sendByInfrared();
    // The options dialog, modal.
    void showOptions();
    // What the branding file hid; the options dialog drops the pages of
    // methods that are gone.
    void setBranding(bool smsHidden, bool storeHidden, bool irHidden);

    // The send dialog's phonebook: the cache into the table (its first
    // opening), and the read from the phone in the reading dialog.
    void loadPhonebookCache();
    void readPhonebook();

    // The phone message an infrared upload of the current picture sends.
    QByteArray irMessage() const;

    AtEngine &engine() { return *m_engine; }
    Phonebook &phonebook() { return m_phonebook; }
    SendDialog *sendDialog();
    StoreDialog *storeDialog();
    SendingDialog *sendingDialog();
    ReadingDialog *readingDialog();
    // Created on first use, then kept.
    OptionsDialog *optionsDialog();

protected:
    // The dialogs' part, the seams of the tests. The send dialog: the
    // accepted number's digits, nothing when cancelled.
    virtual std::optional<QString> askDestination(const QString &lastUsed);
    // The store dialog with the sender number: true for Store.
    virtual bool askToStore(const QString &numberText);
    // Starts the job and shows the progress dialog until the job has ended.
    virtual void followJob(DeliveryJob &job, bool cancellable);

private:
    void deliverSms(SmsKind kind);
    void runSms(SmsKind kind);
    void runUpload();
    OutgoingPicture picture() const;
    // The text a job ended with, in its message box.
    void showJobEnd(JobOutcome outcome, const QString &text);

    LogoDocument &m_doc;
    ProgramContext &m_context;
    QWidget *m_window;
    PhoneLink *m_link;
    TickSource *m_ticks;
    AtEngine *m_engine;
    Phonebook m_phonebook;
    QPointer<ReadingDialog> m_reading;
    QPointer<SendDialog> m_send;
    QPointer<StoreDialog> m_store;
    QPointer<SendingDialog> m_sending;
    QPointer<OptionsDialog> m_options;
    bool m_hidden[3] = {false, false, false};   // sending, storing, infrared
};

} // namespace logo
