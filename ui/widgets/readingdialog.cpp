#include "widgets/readingdialog.h"

#include "phone/phonebookjob.h"
#include "widgets/dialoglayout.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace logo {

ReadingDialog::ReadingDialog(QWidget *parent) : QDialog(parent)
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
}

void ReadingDialog::follow(PhonebookJob *job)
{
    for (const auto &c : std::as_const(m_followed))
        disconnect(c);
    m_followed.clear();
    m_job = job;
    if (!job)
        return;
    m_followed << connect(job, &PhonebookJob::statusLine, this, &ReadingDialog::onStatusLine)
               << connect(job, &PhonebookJob::finished, this, &ReadingDialog::jobEnded);
}

bool ReadingDialog::jobRunning() const
{
    return m_job && m_job->isRunning();
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
    simLabel->setEnabled(!m_job || m_job->settings().readSim);
    phoneLabel->setEnabled(!m_job || m_job->settings().readPhone);
    m_wait.emplace();
}

void ReadingDialog::hideEvent(QHideEvent *event)
{
    m_wait.reset();
    QDialog::hideEvent(event);
}

void ReadingDialog::cancelReading()
{
    if (jobRunning())
        m_job->requestBreak();
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
    if (jobRunning()) {
        m_job->requestBreak();
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
