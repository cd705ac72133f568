#pragma once
// The two short jobs of the options dialog: the port test ("AT", "ATI": does a
// Nokia phone answer on this port?) and the message-centre read ("AT",
// "AT+CRES=1", "AT+CSCA?"), which stores the number as "SMSC". Each ends with
// a result and the status line that says it; neither shows a message box.
#include "phone/deliveryjob.h"

#include <QString>

namespace logo {

class SettingsStore;

enum class TestResult { NoAnswer, Nokia, NotNokia, PortFailed };
// NotStored: a number was read but the settings file could not take it.
enum class ReadResult { Failed, International, National, NoNumber, NotStored };

class PortTestJob : public AtJob {
    Q_OBJECT
public:
    enum class Kind { TestPort, ReadMessageCentre };

    // settings takes the number a read finds, as "SMSC".
    PortTestJob(Kind kind, const LinkSettings &link, AtEngine &engine, Prompt &prompt, SettingsStore &settings,
                QObject *parent = nullptr);

    // Ends with finished(outcome, the status line of the result). A job that
    // can't start (another holds the link) ends at once with no answer.
    void start() override;
    Kind kind() const { return m_kind; }
    TestResult testResult() const { return m_test; }
    ReadResult readResult() const { return m_read; }

    // The verdict on the reply to the last command.
    static TestResult evaluateTest(const QByteArray &reply);
    // The number is the digits between "+CSCA: " and the comma that ends it,
    // decoded first when the device sent it as hex of UTF-16 (UCS2 mode).
    // Hex that does not decode to a number fails the read.
    static ReadResult evaluateSmsc(const QByteArray &reply, QString &digits);

    // portStatusLabel and readStatusLabel for a result.
    static QString testStatusText(TestResult result, int port);
    static QString readStatusText(ReadResult result);
    // The critical message that follows a read result; empty for none.
    static QString readMessage(ReadResult result);
    // "Please add the international country-code" ... (also the options
    // dialog's verdict on a number that starts with 0).
    static QString countryCodeMessage();

private:
    void engineFinished(JobOutcome outcome, const QString &message) override;

    Kind m_kind;
    SettingsStore &m_settings;
    TestResult m_test = TestResult::NoAnswer;
    ReadResult m_read = ReadResult::Failed;
};

} // namespace logo
