#pragma once
// What the gateway's queue needs from the phone: send one picture to one
// number, then say how it went. The queue and the server are built on this
// interface alone; makeSerialPhoneSender gives the one that sends through the
// delivery code of the windows.
#include <QObject>
#include <QString>
#include <memory>

namespace logo {

class SettingsStore;

namespace gateway {

struct UploadPicture;

class PhoneSender : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~PhoneSender() override = default;

    // Starts sending; finished follows once, always after send has returned.
    // One job at a time.
    virtual void send(const UploadPicture &picture, const QString &number) = 0;

signals:
    // sent: the phone took the message. text: the message the windows show at
    // the end of the job ("Data sent.", or the phone's failure).
    void finished(bool sent, const QString &text);
};

// The link of the serial sender, as `logotool send` takes it.
struct SerialSendOptions {
    int port = 0;           // > 0: instead of "COMPort"
    QString device;         // instead of the device the port maps to
    bool quickLink = false; // the quick link, whatever "QuickLink" says
    QString smsc;           // instead of "SMSC" when not empty
    int tickMs = 1000;      // the job timer (shorter in the tests)
};

// Sends as "Sen&d as SMS..." does: an operator logo with its network code for
// Brisvane's pictures, a group graphic for Quillet's, with the settings of
// settings (which must outlive the sender).
std::unique_ptr<PhoneSender> makeSerialPhoneSender(SettingsStore &settings, const SerialSendOptions &options);

} // namespace gateway
} // namespace logo
