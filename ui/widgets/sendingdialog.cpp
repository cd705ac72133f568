#include "widgets/sendingdialog.h"

#include "phone/deliveryjob.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include "widgets/dialoglayout.h"
#include <QVBoxLayout>

namespace logo {

namespace {

// The status frame's height: the bar above Cancel, or above "Please wait.".
constexpr int kFrameHeight = 85;
constexpr int kInfraredFrameHeight = 113;

} // namespace

SendingDialog::SendingDialog(QWidget *parent) : QDialog(parent)
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
}

void SendingDialog::showProgress(int percent)
{
    percentLabel->setText(QStringLiteral("%1%").arg(percent));
    progressBar->setValue(percent);
    if (isVisible())
        repaint();
}

void SendingDialog::follow(DeliveryJob *job, bool cancellable)
{
    for (const auto &c : std::as_const(m_followed))
        disconnect(c);
    m_followed.clear();
    m_job = job;
    m_cancellable = cancellable;
    if (!job)
        return;
    m_followed << connect(job, &DeliveryJob::caption, this, &QWidget::setWindowTitle)
               << connect(job, &DeliveryJob::progress, this, &SendingDialog::showProgress)
               << connect(job, &DeliveryJob::finished, this, &SendingDialog::jobEnded);
}

bool SendingDialog::jobRunning() const
{
    return m_job && m_job->isRunning();
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
    showMode(!m_cancellable);
    showProgress(0);
}

void SendingDialog::stopSending()
{
    if (m_job)
        m_job->requestBreak();
}

void SendingDialog::reject()
{
    // Escape asks the job to stop like Cancel; the job's end hides the dialog.
    // The infrared upload can't be stopped.
    if (!m_cancellable)
        return;
    if (jobRunning()) {
        stopSending();
        return;
    }
    QDialog::reject();
}

void SendingDialog::closeEvent(QCloseEvent *event)
{
    if (!m_cancellable) {
        event->ignore();
        return;
    }
    if (jobRunning()) {
        stopSending();
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
