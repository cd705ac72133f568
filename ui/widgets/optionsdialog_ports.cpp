// The options dialog's serial ports (the device each number stands for) and
// its two jobs, the port test and the message-centre read, which run while the
// dialog is locked.
#include "widgets/optionsdialog.h"

#include "desktop/programcontext.h"
#include "desktop/settingsstore.h"
#include "graphic/logodocument.h"
#include "phone/porttest.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>

namespace logo {

namespace {

const QString kSMSC = QStringLiteral("SMSC");

// A status text on a label: the message line breaks (CR LF) as the label's own.
QString labelText(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

// ------------------------------------------------------------------ ports

QString OptionsDialog::deviceOf(int port) const
{
    const QString device = m_devices.value(port);
    return device.isEmpty() ? SettingsStore::defaultPortDevice(port) : device;
}

void OptionsDialog::refreshPortTexts()
{
    for (QComboBox *list : {comPortList, irPortList})
        for (int i = 0; i < list->count(); ++i) {
            const int n = list->itemData(i).toInt();
            QString text = QStringLiteral("COM%1").arg(n);
            QString tip;
            if (m_showDevices) {
                // A long path is cut in its middle, whole in the tool tip.
                const QString device = deviceOf(n);
                const QString shown = list->fontMetrics().elidedText(
                    device, Qt::ElideMiddle, list->fontMetrics().averageCharWidth() * DeviceChars);
                text += QStringLiteral("  (%1)").arg(shown);
                if (shown != device)
                    tip = device;
            }
            list->setItemText(i, text);
            list->setItemData(i, tip.isEmpty() ? QVariant() : QVariant(tip), Qt::ToolTipRole);
        }
}

void OptionsDialog::showDevice(QComboBox *list, int port)
{
    const bool filling = m_filling;
    m_filling = true;
    list->setEnabled(port > 0 && !(m_locked && list == comDeviceList));
    list->setEditText(port > 0 ? deviceOf(port) : QString());
    m_filling = filling;
}

void OptionsDialog::deviceEdited(QComboBox *list, const QString &text)
{
    if (m_filling)
        return;
    const int port = (list == comDeviceList ? comPortList : irPortList)->currentData().toInt();
    if (port <= 0)
        return;
    m_devices.insert(port, text.trimmed());
    refreshPortTexts();
}

void OptionsDialog::onComPortChosen()
{
    m_comPort = comPortList->currentIndex() >= 0 ? comPortList->currentData().toInt() : 0;
    if (m_comPort > 0)
        portStatusLabel->setText(QStringLiteral("First establish cable/IR connection, then test COM%1").arg(m_comPort));
    else
        portStatusLabel->setText(QStringLiteral("Select the virtual Nokia COM-port."));
    showDevice(comDeviceList, m_comPort);
    updateJobButtons();
}

void OptionsDialog::onIrPortChosen()
{
    m_irPort = irPortList->currentIndex() >= 0 ? irPortList->currentData().toInt() : 0;
    showDevice(irDeviceList, m_irPort);
}

// ------------------------------------------------------------------ the jobs

void OptionsDialog::setLocked(bool locked)
{
    m_locked = locked;
    okButton->setEnabled(!locked);
    cancelButton->setEnabled(!locked);
    tabBar->setEnabled(!locked);
    // Both jobs talk to the chosen port: neither it nor the other job may
    // change while one runs.
    comPortList->setEnabled(!locked);
    comDeviceList->setEnabled(!locked && m_comPort > 0);
    updateJobButtons();
}

void OptionsDialog::updateJobButtons()
{
    const bool can = m_comPort > 0 && !m_locked;
    testButton->setEnabled(can);
    readMessageCentreButton->setEnabled(can);
}

void OptionsDialog::testPort()
{
    QCoreApplication::processEvents();
    m_wait.emplace();
    setLocked(true);
    portStatusLabel->setText(QStringLiteral("Testing COM%1 ... please wait!").arg(m_comPort));
    startJob(false);
}

void OptionsDialog::onPortTested(TestResult result, const QString &status)
{
    m_wait.reset();
    setLocked(false);
    portStatusLabel->setText(labelText(status));
    if (result == TestResult::Nokia)
        okButton->setFocus();
    else
        comPortList->setFocus();
}

void OptionsDialog::readMessageCentre()
{
    QCoreApplication::processEvents();
    m_wait.emplace();
    setLocked(true);
    readStatusLabel->setText(QStringLiteral("Checking..."));
    startJob(true);
}

void OptionsDialog::startJob(bool readMessageCentre)
{
    LinkSettings link;
    link.port = m_comPort;
    link.device = deviceOf(m_comPort);
    link.quickLink = quickLinkSetting(m_context.settings);
    delete m_job.data();
    m_job = new PortTestJob(readMessageCentre ? PortTestJob::Kind::ReadMessageCentre : PortTestJob::Kind::TestPort,
                            link, m_engine, m_context.prompt, m_context.settings, this);
    PortTestJob *job = m_job;
    connect(job, &DeliveryJob::finished, this, [this, job](JobOutcome, const QString &status) {
        if (job->kind() == PortTestJob::Kind::TestPort)
            onPortTested(job->testResult(), status);
        else
            onMessageCentreRead(job->readResult(), status);
    });
    job->start();
}

void OptionsDialog::onMessageCentreRead(ReadResult result, const QString &status)
{
    m_wait.reset();
    setLocked(false);
    readStatusLabel->setText(labelText(status));
    if (result == ReadResult::International || result == ReadResult::National) {
        // The read has stored the number; the working copy follows, so that
        // OK keeps it.
        m_smsc = m_context.settings.read(kSharedSection, kSMSC);
        messageCentreEdit->setText(m_smsc);
    } else if (result == ReadResult::NoNumber) {
        m_smsc.clear();
        messageCentreEdit->clear();
    }
    const QString message =
        result == ReadResult::NotStored ? m_context.settings.writeFailedMessage() : PortTestJob::readMessage(result);
    if (!message.isEmpty())
        m_context.prompt.critical(m_context.profile.productName, message);
}

} // namespace logo
