#pragma once
// "IR-&Upload to 61xx": the checks of the menu command, the upload on its
// worker thread while the sending-progress dialog shows, and the message at its
// end. No widgets: the dialog is reached through IrUploadUi, every message goes
// through the document's Prompt, so the windows and logotool run this same code.
#include "infrared/iruploadrunner.h"

#include <QObject>

namespace logo {

class LogoDocument;

class IrUploadUi {
public:
    virtual ~IrUploadUi() = default;
    // The sending-progress dialog in its infrared mode (modal, no Cancel): it
    // calls startUpload() once shown and returns after uploadEnded().
    virtual void showUploadProgress() = 0;
};

class IrDelivery : public QObject {
    Q_OBJECT
public:
    // What the command-line tool sets instead of the settings.
    struct Overrides {
        int port = 0;       // > 0: instead of "IRPort"
        QString device;     // instead of the device the port number maps to
    };

    explicit IrDelivery(LogoDocument &doc, QObject *parent = nullptr);

    void setUi(IrUploadUi *ui) { m_ui = ui; }
    void setOverrides(const Overrides &o) { m_overrides = o; }
    // The connection address octet instead of a random one (tests).
    void setConnectionAddress(std::function<int()> pick) { m_pickAddress = std::move(pick); }

    // The menu command: busy mark, the picture check, "IRPort", then the
    // progress dialog.
    void sendByInfrared();
    // Called by the progress dialog once shown: starts the upload and returns;
    // its end shows "Data uploaded." or the error and emits uploadEnded().
    void startUpload();

    int irPort() const;
    QString irDevice() const;
    // The phone message of the current picture.
    QByteArray message() const;
    bool uploadRunning() const { return m_runner.isRunning(); }
    // "" after a successful upload, else its error text; "Undefined Error."
    // before any.
    QString lastResult() const { return m_lastResult; }

signals:
    void caption(const QString &text);      // the progress dialog's caption
    void progress(int percent);             // 0..100, for the progress bar
    void uploadEnded(bool success);         // hide the progress dialog

private:
    void finished(const QString &result);

    LogoDocument &m_doc;
    IrUploadUi *m_ui = nullptr;
    Overrides m_overrides;
    std::function<int()> m_pickAddress;
    IrUploadRunner m_runner;
    int m_port = 0;
    QString m_lastResult;
};

} // namespace logo
