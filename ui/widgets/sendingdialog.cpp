#include "widgets/sendingdialog.h"

#include "infrared/irdelivery.h"
#include "phone/smsdelivery.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include "widgets/dialoglayout.h"
#include <QTimer>
#include <QVBoxLayout>

namespace logo {

namespace {

// The status frame's height: the bar above Cancel, or above "Please wait.".
constexpr int kFrameHeight = 85;
constexpr int kInfraredFrameHeight = 113;

} // namespace

SendingDialog::SendingDialog(SmsDelivery &delivery, QWidget *parent) : QDialog(parent), m_delivery(delivery)
{
    setUpDialog(this, QStringLiteral("frmSending"), QString());

    statusFrame = new QGroupBox(QStringLiteral("Status"), this);
    statusFrame->setObjectName(QStringLiteral("l5"));
    percentLabel = new QLabel(QStringLiteral("0%"), statusFrame);
    percentLabel->setObjectName(QStringLiteral("l1"));
    percentLabel->setMinimumWidth(40);
    progressBar = new QProgressBar(statusFrame);
    progressBar->setObjectName(QStringLiteral("l2"));
    progressBar->setRange(0, 100);
    progressBar->setValue(0);
    progressBar->setTextVisible(false);
    waitLabel = new QLabel(QStringLiteral("Please wait."), statusFrame);
    waitLabel->setObjectName(QStringLiteral("l4"));
    cancelButton = dialogButton(statusFrame, QStringLiteral("l3"), QStringLiteral("&Cancel"), false);

    auto *bar = new QHBoxLayout;
    bar->addWidget(percentLabel);
    bar->addWidget(progressBar, 1);
    auto *frame = new QVBoxLayout(statusFrame);
    frame->addLayout(bar);
    frame->addWidget(waitLabel);
    frame->addLayout(buttonRow({cancelButton}));
    auto *top = new QVBoxLayout(this);
    top->addWidget(statusFrame);
    // Fixed size; the bar is what gives the dialog its width.
    progressBar->setMinimumWidth(200);
    top->setSizeConstraint(QLayout::SetFixedSize);

    connect(cancelButton, &QPushButton::clicked, this, &SendingDialog::stopSending);
    connect(&m_delivery, &SmsDelivery::progress, this, &SendingDialog::showProgress);
    connect(&m_delivery, &SmsDelivery::caption, this, &QWidget::setWindowTitle);
    connect(&m_delivery, &SmsDelivery::jobEnded, this, &SendingDialog::jobEnded);
}

void SendingDialog::showProgress(int percent)
{
    percentLabel->setText(QStringLiteral("%1%").arg(percent));
    progressBar->setValue(percent);
    if (isVisible())
        repaint();
}

void SendingDialog::runsUpload(IrDelivery &upload)
{
    connect(this, &SendingDialog::infraredRequested, &upload, &IrDelivery::startUpload);
    connect(&upload, &IrDelivery::caption, this, &QWidget::setWindowTitle);
    connect(&upload, &IrDelivery::progress, this, &SendingDialog::showProgress);
    connect(&upload, &IrDelivery::uploadEnded, this, &SendingDialog::jobEnded);
}

void SendingDialog::showMode(bool infrared)
{
    cancelButton->setVisible(!infrared);
    waitLabel->setVisible(infrared);
    statusFrame->setMinimumHeight(infrared ? kInfraredFrameHeight : kFrameHeight);
}

void SendingDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The infrared look from the start: no Cancel to click while the upload
    // is on its way.
    showMode(m_delivery.SendingMode() == SendingInfrared);
    showProgress(0);
    // The job starts once the dialog's own event loop runs, so that a job that
    // ends at once (a port that does not open) can hide the dialog again.
    if (!m_pendingStart) {
        m_pendingStart = true;
        QTimer::singleShot(0, this, &SendingDialog::activated);
    }
}

void SendingDialog::activated()
{
    m_pendingStart = false;
    if (!isVisible())
        return;
    if (m_delivery.SendingMode() == SendingInfrared) {
        repaint();
        emit infraredRequested();
        return;
    }
    m_delivery.startSendingJob();
    // Nothing started (a job of another kind holds the link): nothing will end it.
    if (!m_delivery.jobRunning() && isVisible())
        jobEnded();
}

void SendingDialog::stopSending()
{
    m_delivery.setBreak();
}

void SendingDialog::reject()
{
    // Escape asks the job to stop like Cancel; the job's end hides the dialog.
    // The infrared upload can't be stopped.
    if (m_delivery.SendingMode() == SendingInfrared)
        return;
    if (m_delivery.jobRunning()) {
        m_delivery.setBreak();
        return;
    }
    QDialog::reject();
}

void SendingDialog::closeEvent(QCloseEvent *event)
{
    if (m_delivery.SendingMode() == SendingInfrared) {
        event->ignore();
        return;
    }
    if (m_delivery.jobRunning()) {
        m_delivery.setBreak();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void SendingDialog::jobEnded()
{
    if (isVisible())
        accept();
}

} // namespace logo
