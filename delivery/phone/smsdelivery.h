#pragma once
// Sending the picture as a smart message and storing it in the phone's inbox:
// the settings the two commands read, their checks, the numbers the send and
// store dialogs deal in, and the five-step AT job. No widgets and no dialogs:
// the window's delivery controller and the command-line tool ask for the
// number (or the go-ahead to store) themselves and run this same code.
#include "phone/deliveryjob.h"
#include "sms/pdu.h"

#include <QString>

namespace logo {

class Prompt;
class SettingsStore;

enum class SmsKind { Send, Store };

// What the command-line tool sets instead of the settings.
struct SmsOverrides : LinkOverrides {
    bool hasSmsc = false;
    QString smsc;           // instead of "SMSC"
};

// What a send or store job takes from the settings.
struct SendSettings {
    LinkSettings link;              // "COMPort" and its device, "QuickLink"
    QString smsc;                   // "SMSC"
    QString destination;            // "LastDA" of the program's own section, "0" when unset
    bool statusReport = false;      // "StatusReport" of the program's own section
    int storeCount = 0;             // "StoreCount" of the program's own section
};
SendSettings readSendSettings(const SettingsStore &settings, const QString &section,
                              const SmsOverrides &overrides = {});

// The checks of the menu commands after the picture's own (network code,
// empty picture): the message centre, then the serial port. True to go on;
// otherwise the message has been shown.
bool checkSendSettings(SmsKind kind, const SendSettings &settings, Prompt &prompt, const QString &title);

// ---- the send dialog's number ----
// "LastDA" of the program's own section (empty when unset).
QString lastDestination(const SettingsStore &settings, const QString &section);
// The Send button: the number reduced to its digits, or empty after the
// message when there are none or they can't go in the message.
QString acceptDestination(const QString &typed, Prompt &prompt, const QString &title);
// Saved as "LastDA".
void saveDestination(SettingsStore &settings, const QString &section, const QString &digits);

// ---- the store dialog's number ----
// "StoreCount" of the program's own section; 0 when unset or not a 16-bit number.
int storeCount(const SettingsStore &settings, const QString &section);
// The sender number a stored picture carries, as shown: "+999000000".
QString storeNumberText(const ProgramProfile &profile, int counter);
// After a store, whatever its outcome: the kept counter plus one, back to 0
// past the 16-bit range.
void advanceStoreCount(SettingsStore &settings, const QString &section, int keptCounter);

// The PDU a job writes, built from the picture and the settings.
Pdu smsPdu(SmsKind kind, const OutgoingPicture &picture, const SendSettings &settings);

// The job's steps, as queued: "AT", "ATZ", "AT+CMGF=0", the announcing command
// and the PDU line. Public for the tests and the tool.
void queueDeliverySteps(AtEngine &engine, const Pdu &pdu, int port);

// Sends or stores one PDU: caption "Sending ..." or "Storing in SMS-Inbox
// ...", the steps' percentages, and at the end "Data sent." / "Data
// written." or the failure.
class SmsJob : public AtJob {
    Q_OBJECT
public:
    SmsJob(SmsKind kind, const Pdu &pdu, const LinkSettings &link, AtEngine &engine, Prompt &prompt,
           QObject *parent = nullptr);

    void start() override;
    SmsKind kind() const { return m_kind; }

private:
    void engineFinished(JobOutcome outcome, const QString &message) override;

    SmsKind m_kind;
    Pdu m_pdu;
};

} // namespace logo
