#pragma once
// "IR-&Upload to 61xx": the settings and the check of the menu command, and
// the upload as a job on its worker thread. No widgets and no messages: the
// window's delivery controller and logotool show the text the job ends with.
#include "infrared/iruploadrunner.h"
#include "phone/deliveryjob.h"

#include <functional>

namespace logo {

class Prompt;
class SettingsStore;

// What the command-line tool sets instead of the settings.
struct IrOverrides {
    int port = 0;       // > 0: instead of "IRPort"
    QString device;     // instead of the device the port number maps to
};

// What an upload takes from the settings.
struct IrSettings {
    LinkSettings link;  // "IRPort" and its device
    IrDelays delays;    // "IRDelay1".."IRDelay3"
};
IrSettings readIrSettings(const SettingsStore &settings, const IrOverrides &overrides = {});

// The check of the menu command after the picture's own: a configured IR
// port. True to go on; otherwise the message has been shown.
bool checkIrSettings(const IrSettings &settings, Prompt &prompt, const QString &title);

// Uploads one phone message (buildIrMessage): caption "Upload via IR to 61xx
// ...", the percentages, and at the end "Data uploaded." or the error. It
// can't be stopped.
class IrUploadJob : public DeliveryJob {
    Q_OBJECT
public:
    IrUploadJob(const QByteArray &message, const IrSettings &settings, QObject *parent = nullptr);

    // The connection address octet instead of a random one (tests).
    void setConnectionAddress(std::function<int()> pick) { m_pickAddress = std::move(pick); }

    void start() override;
    bool isRunning() const override { return m_runner.isRunning(); }
    // "" after a successful upload, else its error text; "Undefined Error."
    // before any.
    QString result() const { return m_result; }

private:
    void uploadEnded(const QString &result);

    QByteArray m_message;
    IrSettings m_settings;
    std::function<int()> m_pickAddress;
    IrUploadRunner m_runner;
    QString m_result;
};

} // namespace logo
