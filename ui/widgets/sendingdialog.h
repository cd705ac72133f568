#pragma once
// The sending-progress dialog: the percentage, a bar and Cancel while a send,
// store or infrared job runs. It only follows the job: its caption, its
// progress, and its end hides the dialog; Cancel asks the job to stop.
#include <QDialog>
#include <QPointer>

class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace logo {

class DeliveryJob;

class SendingDialog : public QDialog {
    Q_OBJECT
public:
    explicit SendingDialog(QWidget *parent = nullptr);

    // Shows the percentage in the label and the bar, and repaints at once.
    void showProgress(int percent);
    // The job the dialog follows from now on (none: null). A job that can't
    // be stopped (the infrared upload) shows "Please wait." instead of
    // Cancel, and the dialog can't be closed while it runs.
    void follow(DeliveryJob *job, bool cancellable);

    QGroupBox *statusFrame;       // "Status"
    QLabel *percentLabel;         // percentage
    QProgressBar *progressBar;    // 0..100
    QPushButton *cancelButton;    // "&Cancel"
    QLabel *waitLabel;            // "Please wait." (infrared)

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    // Cancel, or "Please wait." in the taller frame of the infrared mode.
    void showMode(bool infrared);
    bool jobRunning() const;
    void stopSending();
    void jobEnded();

    QPointer<DeliveryJob> m_job;
    bool m_cancellable = true;
    QList<QMetaObject::Connection> m_followed;
};

} // namespace logo
