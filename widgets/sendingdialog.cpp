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

    l5 = new QGroupBox(QStringLiteral("Status"), this);
    l5->setObjectName(QStringLiteral("l5"));
    l1 = new QLabel(QStringLiteral("0%"), l5);
    l1->setObjectName(QStringLiteral("l1"));
    l1->setMinimumWidth(40);
    l2 = new QProgressBar(l5);
    l2->setObjectName(QStringLiteral("l2"));
    l2->setRange(0, 100);
    l2->setValue(0);
    l2->setTextVisible(false);
    l4 = new QLabel(QStringLiteral("Please wait."), l5);
    l4->setObjectName(QStringLiteral("l4"));
    l3 = dialogButton(l5, QStringLiteral("l3"), QStringLiteral("&Cancel"), false);

    auto *bar = new QHBoxLayout;
    bar->addWidget(l1);
    bar->addWidget(l2, 1);
    auto *frame = new QVBoxLayout(l5);
    frame->addLayout(bar);
    frame->addWidget(l4);
    frame->addLayout(buttonRow({l3}));
    auto *top = new QVBoxLayout(this);
    top->addWidget(l5);
    // Fixed size; the bar is what gives the dialog its width.
    l2->setMinimumWidth(200);
    top->setSizeConstraint(QLayout::SetFixedSize);

    connect(l3, &QPushButton::clicked, this, &SendingDialog::stopSending);
    connect(&m_delivery, &SmsDelivery::progress, this, &SendingDialog::myUpdateSending);
    connect(&m_delivery, &SmsDelivery::caption, this, &QWidget::setWindowTitle);
    connect(&m_delivery, &SmsDelivery::jobEnded, this, &SendingDialog::jobEnded);
}

void SendingDialog::myUpdateSending(int percent)
{
    l1->setText(QStringLiteral("%1%").arg(percent));
    l2->setValue(percent);
    if (isVisible())
        repaint();
}

void SendingDialog::runsUpload(IrDelivery &upload)
{
    connect(this, &SendingDialog::infraredRequested, &upload, &IrDelivery::myIR);
    connect(&upload, &IrDelivery::caption, this, &QWidget::setWindowTitle);
    connect(&upload, &IrDelivery::progress, this, &SendingDialog::myUpdateSending);
    connect(&upload, &IrDelivery::uploadEnded, this, &SendingDialog::jobEnded);
}

void SendingDialog::showMode(bool infrared)
{
    l3->setVisible(!infrared);
    l4->setVisible(infrared);
    l5->setMinimumHeight(infrared ? kInfraredFrameHeight : kFrameHeight);
}

void SendingDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The infrared look from the start: no Cancel to click while the upload
    // is on its way.
    showMode(m_delivery.SendingMode() == SendingInfrared);
    myUpdateSending(0);
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
