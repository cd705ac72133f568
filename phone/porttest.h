#pragma once
// The two short jobs of the options dialog: the port test ("AT", "ATI": does a
// Nokia phone answer on this port?) and the message-centre read ("AT",
// "AT+CRES=1", "AT+CSCA?"), which stores the number as "SMSC". Each ends with
// a result code that the dialog (or the command-line tool) turns into text;
// neither shows a message box itself.
#include "phone/atengine.h"

#include <QObject>
#include <QString>

namespace logo {

class LogoDocument;

class PortTest : public QObject {
    Q_OBJECT
public:
    enum TestResult { TestNoAnswer = 0, TestNokia = 1, TestNotNokia = 2, TestPortFailed = 3 };
    // ReadNotStored: a number was read but the settings file could not take it.
    enum ReadResult { ReadFailed = 0, ReadInternational = 1, ReadNational = 2, ReadNoNumber = 3, ReadNotStored = 4 };

    PortTest(LogoDocument &doc, AtEngine &engine, QObject *parent = nullptr);

    // Start the jobs on port n (for the texts) reached through device. A job
    // that can't start (another holds the link) ends at once with code 0.
    void testPort(int port, const QString &device);
    void readMessageCentre(int port, const QString &device);
    bool jobRunning() const { return m_job != Job::None; }
    // The quick link for these jobs whatever "QuickLink" says (the tool's --quick).
    void setQuickLink(bool on) { m_quickLink = on; }

    // The verdict on the reply to the last command.
    static int evaluateTest(const QByteArray &reply);
    // The number is the digits between "+CSCA: " and the comma that ends it,
    // decoded first when the device sent it as hex of UTF-16 (UCS2 mode).
    // Hex that does not decode to a number fails the read (code 0).
    static int evaluateSmsc(const QByteArray &reply, QString &digits);

    // portStatusLabel and readStatusLabel for a result.
    static QString testStatusText(int code, int port);
    static QString readStatusText(int code);
    // The same after the job that has just ended: when its port did not
    // open, followed by the device and the system's reason (withDeviceReason).
    QString testStatus(int code, int port) const;
    QString readStatus(int code) const;
    // The critical message that follows a read result; empty for none.
    static QString readMessage(int code);
    // "Please add the international country-code" ... (also the options
    // dialog's verdict on a number that starts with 0).
    static QString countryCodeMessage();

signals:
    void testDone(int code);
    void readSMSCDone(int code);

private:
    enum class Job { None, Test, Read };
    void start(Job job, int port, const QString &device);
    void onFinished(JobOutcome outcome, const QString &message);
    void done(Job job, int code);

    LogoDocument &m_doc;
    AtEngine &m_engine;
    Job m_job = Job::None;
    bool m_quickLink = false;
    QString m_device;
    bool m_openFailed = false;    // the last job's port did not open
};

} // namespace logo
