#pragma once
// The sending-progress dialog: the percentage, a bar and Cancel while a send,
// store or infrared job runs. Activating it starts the job that SendingMode
// names; the job's end hides it.
#include <QDialog>

class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace logo {

class IrDelivery;
class SmsDelivery;

class SendingDialog : public QDialog {
    Q_OBJECT
public:
    explicit SendingDialog(SmsDelivery &delivery, QWidget *parent = nullptr);

    // Shows the percentage in the label and the bar, and repaints at once.
    void showProgress(int percent);
    // Shown in the infrared mode, the dialog runs this upload: its caption,
    // its progress, and its end hides the dialog.
    void runsUpload(IrDelivery &upload);

    QGroupBox *statusFrame;       // "Status"
    QLabel *percentLabel;         // percentage
    QProgressBar *progressBar;    // 0..100
    QPushButton *cancelButton;    // "&Cancel"
    QLabel *waitLabel;            // "Please wait." (infrared)

signals:
    // Activated in the infrared mode: the upload runs to its end while shown.
    void infraredRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void activated();
    // Cancel, or "Please wait." in the taller frame of the infrared mode.
    void showMode(bool infrared);
    void stopSending();
    void jobEnded();

    SmsDelivery &m_delivery;
    bool m_pendingStart = false;
};

} // namespace logo
