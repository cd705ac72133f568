#pragma once
// Sending the picture as a smart message and storing it in the phone's inbox:
// the pre-checks of the menu commands, what the send and store dialogs decide,
// the two five-step AT jobs and every message at their end. No widgets: the
// dialogs are reached through DeliveryUi, every message goes through the
// document's Prompt, so the windows and the command-line tool run this same
// code.
#include "phone/atengine.h"

#include <QObject>
#include <QString>

namespace logo {

class LogoDocument;
struct Pdu;

// What the sending-progress dialog runs.
enum SendingModes : qint16 { SendingSms = 0, SendingStore = 1, SendingInfrared = 2 };

// The modal dialogs of a delivery, as the controller needs them.
class DeliveryUi {
public:
    virtual ~DeliveryUi() = default;
    // The send dialog (SendDialog) and the store dialog (StoreDialog); each returns when
    // the user has sent, stored or cancelled.
    virtual void showSendDialog() = 0;
    virtual void showStoreDialog() = 0;
    // The sending-progress dialog (SendingDialog): it calls startSendingJob() and
    // returns when the job has ended (jobEnded).
    virtual void showSendingProgress() = 0;
};

class SmsDelivery : public QObject {
    Q_OBJECT
public:
    // What the command-line tool sets instead of the settings.
    struct Overrides : LinkOverrides {
        bool hasSmsc = false;
        QString smsc;           // instead of "SMSC"
    };

    SmsDelivery(LogoDocument &doc, AtEngine &engine, QObject *parent = nullptr);

    void setUi(DeliveryUi *ui) { m_ui = ui; }
    void setOverrides(const Overrides &o) { m_overrides = o; }
    AtEngine &engine() { return m_engine; }
    LogoDocument &document() { return m_doc; }

    // ---- the menu commands ----
    // "Sen&d as SMS..." and "Sto&re to SMS-Inbox...": the busy mark, the
    // pre-check, then the send or store dialog.
    void sendPicture() { deliver(SendingSms); }
    void storePicture() { deliver(SendingStore); }
    void deliver(int mode);
    // The checks alone: picture, message centre, serial port. True to go on;
    // sets the link port and the message-centre copy.
    bool preCheck(int mode);
    int SendingMode() const { return m_sendingMode; }
    // The infrared upload runs in the same progress dialog: it sets
    // SendingInfrared while the dialog shows and SendingSms afterwards.
    void setSendingMode(int mode) { m_sendingMode = mode; }
    int linkPort() const { return m_linkPort; }
    QString linkDevice() const;
    QString messageCentre() const { return m_smsc; }

    // ---- send dialog ----
    // "LastDA" of the program's own section (empty when unset).
    QString lastDA() const;
    // The Send button: the number reduced to its digits; none gives the
    // message and false (the dialog stays). Otherwise saved as "LastDA", the
    // sending-progress dialog runs the job, and true (the dialog hides).
    bool sendTo(const QString &typed);

    // ---- store dialog ----
    // "StoreCount" of the program's own section; 0 when unset or not a 16-bit number.
    int storeCount() const;
    // The sender number a stored picture carries, as shown: "+999000000".
    QString storeNumberText(int counter) const;
    // The Store button: the sending-progress dialog runs the job, then the kept
    // counter plus one is saved, whether the job succeeded or not.
    void storeWith(int keptCounter);

    // ---- sending-progress dialog ----
    // Starts sendSms or storeSms according to SendingMode.
    void startSendingJob();
    void sendSms();
    void storeSms();
    // Cancel in the progress dialog (breakRequested): the job stops at its next tick.
    void setBreak() { m_engine.requestBreak(); }
    bool jobRunning() const { return m_jobActive; }
    // How the last job ended.
    JobOutcome lastOutcome() const { return m_lastOutcome; }

    // The PDU a job would write now, built from the picture and the settings
    // (also what the jobs use).
    Pdu sendPdu() const;
    Pdu storePdu() const;

    // The link error box.
    void showLinkError(LinkError error);

signals:
    void caption(const QString &text);     // the progress dialog's caption
    void progress(int percent);             // 0..100, for the progress bar
    void jobEnded(bool success);            // hide the progress dialog

private:
    void startJob(const Pdu &pdu);
    void onFinished(JobOutcome outcome, const QString &message);

    LogoDocument &m_doc;
    AtEngine &m_engine;
    DeliveryUi *m_ui = nullptr;
    Overrides m_overrides;
    int m_sendingMode = SendingSms;
    int m_linkPort = 0;
    QString m_smsc;
    bool m_jobActive = false;
    JobOutcome m_lastOutcome = JobOutcome::OpenFailed;
};

// The job's steps, as queued: "AT", "ATZ", "AT+CMGF=0", the announcing command
// and the PDU line. Public for the tests and the tool.
void queueDeliverySteps(AtEngine &engine, const Pdu &pdu, int port);

} // namespace logo
