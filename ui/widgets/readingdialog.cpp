#include "widgets/readingdialog.h"

#include "phone/phonebookjob.h"
#include "widgets/dialoglayout.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace logo {

ReadingDialog::ReadingDialog(PhonebookJob &job, QWidget *parent) : QDialog(parent), m_job(job)
{
    setUpDialog(this, QStringLiteral("frmReading"), QStringLiteral("Reading phonebook ..."));

    auto *frame = new QGroupBox(QStringLiteral("Status"), this);
    auto line = [frame](const QString &name, const QString &text) {
        auto *l = new QLabel(text, frame);
        l->setObjectName(name);
        return l;
    };
    initialisingLabel = line(QStringLiteral("lblStatus1"), QStringLiteral("- Initializing"));
    simLabel = line(QStringLiteral("lblStatusSM"), QStringLiteral("- Reading from SIM"));
    phoneLabel = line(QStringLiteral("lblStatusME"), QStringLiteral("- Reading from Phone"));
    cancelButton = dialogButton(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"), false);

    auto *lines = new QVBoxLayout(frame);
    for (QLabel *l : {initialisingLabel, simLabel, phoneLabel}) {
        // Room for the bold form, so the dialog does not change its width.
        QFont bold = l->font();
        bold.setBold(true);
        l->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(l->text()) + 4);
        lines->addWidget(l);
    }
    auto *top = new QVBoxLayout(this);
    top->addWidget(frame);
    top->addLayout(buttonRow({cancelButton}));
    // Wide enough for the whole caption in the title bar, beside the window
    // manager's icon and buttons (their room estimated from the font).
    QFont titleFont = font();
    titleFont.setBold(true);
    const QFontMetrics title(titleFont);
    frame->setMinimumWidth(qMax(220, title.horizontalAdvance(windowTitle()) + 8 * title.height()));
    top->setSizeConstraint(QLayout::SetFixedSize);

    connect(cancelButton, &QPushButton::clicked, this, &ReadingDialog::cancelReading);
    connect(&m_job, &PhonebookJob::statusLine, this, &ReadingDialog::onStatusLine);
    connect(&m_job, &PhonebookJob::jobEnded, this, &ReadingDialog::jobEnded);
}

void ReadingDialog::showStatusLine(QLabel *line)
{
    for (QLabel *l : {initialisingLabel, simLabel, phoneLabel}) {
        QFont f = l->font();
        f.setBold(l == line);
        l->setFont(f);
    }
    if (isVisible())
        repaint();
}

void ReadingDialog::onStatusLine(int line)
{
    showStatusLine(line == PhonebookJob::LineSim ? simLabel : line == PhonebookJob::LinePhone ? phoneLabel : initialisingLabel);
}

void ReadingDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    showStatusLine(nullptr);
    // The lines of memories that the read skips are shown disabled.
    simLabel->setEnabled(m_job.readsSim());
    phoneLabel->setEnabled(m_job.readsPhone());
    // The read starts once the dialog's own event loop runs, so that a read
    // that ends at once can hide the dialog again.
    if (!m_pendingStart) {
        m_pendingStart = true;
        QTimer::singleShot(0, this, &ReadingDialog::activated);
    }
}

void ReadingDialog::activated()
{
    m_pendingStart = false;
    if (!isVisible())
        return;
    m_wait.emplace();
    m_job.readPhonebook();
}

void ReadingDialog::hideEvent(QHideEvent *event)
{
    m_wait.reset();
    QDialog::hideEvent(event);
}

void ReadingDialog::cancelReading()
{
    if (m_job.jobRunning())
        m_job.setBreak();
    else
        QDialog::reject();
}

void ReadingDialog::reject()
{
    // Escape stops the read like Cancel; the read's end hides the dialog.
    cancelReading();
}

void ReadingDialog::closeEvent(QCloseEvent *event)
{
    if (m_job.jobRunning()) {
        m_job.setBreak();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void ReadingDialog::jobEnded()
{
    if (isVisible())
        accept();
}

} // namespace logo
