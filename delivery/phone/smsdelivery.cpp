#include "phone/smsdelivery.h"

#include "graphic/logodocument.h"
#include "sms/digits.h"
#include "sms/networkcode.h"
#include "sms/pdu.h"

#include <limits>

namespace logo {

namespace {

const QString kStoreCount = QStringLiteral("StoreCount");
const QString kLastDA = QStringLiteral("LastDA");

} // namespace

void queueDeliverySteps(AtEngine &engine, const Pdu &pdu, int port)
{
    const QByteArray cr("\r");
    const QString com = QStringLiteral("Can't talk to COM%1").arg(port);
    const bool submit = pdu.kind == Pdu::Submit;
    engine.clearSteps();
    engine.QueueStep("AT" + cr, ReplyOk, 0, com + QStringLiteral("."));
    engine.QueueStep("ATZ" + cr, ReplyOk, 5, com + QStringLiteral(" driver."));
    engine.QueueStep("AT+CMGF=0" + cr, ReplyOk, 20, QStringLiteral("Can't set params."));
    engine.QueueStep(pdu.atCommand().toLatin1() + cr, ReplyPrompt, 40,
                     QStringLiteral("Can't initiate sending."));
    engine.QueueStep(pdu.line().toLatin1() + QByteArray(1, Pdu::CtrlZ), ReplyOk, 55,
                     submit ? QStringLiteral("Can't send SMS.") : QStringLiteral("Can't write SMS."));
}

SmsDelivery::SmsDelivery(LogoDocument &doc, AtEngine &engine, QObject *parent)
    : QObject(parent), m_doc(doc), m_engine(engine)
{
    connect(&m_engine, &AtEngine::finished, this, &SmsDelivery::onFinished);
    connect(&m_engine, &AtEngine::progress, this, [this](int percent) {
        if (m_jobActive)
            emit progress(percent);
    });
    connect(&m_engine, &AtEngine::beep, this, [this] {
        if (m_jobActive)
            m_doc.prompt().beep();
    });
}

void SmsDelivery::deliver(int mode)
{
    m_doc.setBusy(true);
    if (preCheck(mode)) {
        m_sendingMode = mode;
        if (m_ui) {
            if (mode == SendingStore)
                m_ui->showStoreDialog();
            else
                m_ui->showSendDialog();
        }
    }
    m_doc.setBusy(false);
}

bool SmsDelivery::preCheck(int mode)
{
    if (!networkCodeFits(m_doc, DeliveryPath::SmartMessage) || !m_doc.askIfEmpty(true))
        return false;
    SettingsStore &settings = m_doc.settings();
    m_smsc = m_overrides.hasSmsc ? m_overrides.smsc : settings.read(kSharedSection, QStringLiteral("SMSC"));
    // Storing needs no message centre, but is refused without one all the same.
    if (m_smsc.isEmpty()) {
        m_doc.prompt().critical(m_doc.profile().productName,
                                joinLines({QStringLiteral("Please configure your Message Center Number"),
                                           QStringLiteral("in menu 'Edit/Options'")}));
        return false;
    }
    // Only a sent message carries the message centre's number.
    if (const QString why = serviceCentreRefusal(m_smsc); mode == SendingSms && !why.isEmpty()) {
        m_doc.prompt().critical(m_doc.profile().productName, why);
        return false;
    }
    m_linkPort = m_overrides.port > 0 ? m_overrides.port
                                      : settings.readInt(kSharedSection, QStringLiteral("COMPort"), 0);
    if (m_linkPort <= 0) {
        m_linkPort = 0;
        ShowLinkError(6);
        return false;
    }
    return true;
}

QString SmsDelivery::linkDevice() const
{
    if (!m_overrides.device.isEmpty())
        return m_overrides.device;
    return m_doc.settings().portDevice(m_linkPort);
}

void SmsDelivery::ShowLinkError(int code)
{
    const QString text = AtEngine::LinkErrorText(code, m_linkPort);
    if (!text.isEmpty())
        m_doc.prompt().critical(m_doc.profile().productName, text);
}

// ------------------------------------------------------------------ send dialog

QString SmsDelivery::lastDA() const
{
    return m_doc.settings().read(m_doc.section(), kLastDA);
}

bool SmsDelivery::sendTo(const QString &typed)
{
    const QString digits = digitsOnly(typed);
    if (digits.isEmpty()) {
        m_doc.prompt().critical(m_doc.profile().productName,
                                QStringLiteral("Please enter GSM-Number in intl. Format"));
        return false;
    }
    if (const QString why = destinationRefusal(digits); !why.isEmpty()) {
        m_doc.prompt().critical(m_doc.profile().productName, why);
        return false;
    }
    m_doc.settings().write(m_doc.section(), kLastDA, digits);
    if (m_ui)
        m_ui->showSendingProgress();
    return true;
}

// ----------------------------------------------------------------- store dialog

int SmsDelivery::storeCount() const
{
    const int n = m_doc.settings().readInt(m_doc.section(), kStoreCount, 0);
    // The counter is a 16-bit number; anything else was not written by us.
    if (n < std::numeric_limits<qint16>::min() || n > std::numeric_limits<qint16>::max())
        return 0;
    return n;
}

QString SmsDelivery::storeNumberText(int counter) const
{
    return QStringLiteral("+") + storeSenderNumber(m_doc.profile(), counter);
}

void SmsDelivery::storeWith(int keptCounter)
{
    if (m_ui)
        m_ui->showSendingProgress();
    // Advanced whatever the job's outcome, so that a stored message that the
    // phone took in spite of a failure report never shares a sender number.
    // Past the 16-bit range the counter starts again at 0.
    const int next = keptCounter >= std::numeric_limits<qint16>::max() ? 0 : keptCounter + 1;
    m_doc.settings().writeInt(m_doc.section(), kStoreCount, next);
}

// ----------------------------------------------------------------------- jobs

Pdu SmsDelivery::sendPdu() const
{
    SettingsStore &settings = m_doc.settings();
    const UserData ud = buildUserData(m_doc.profile(), m_doc.grid(), m_doc.currentMCC(), m_doc.currentMNC());
    const bool report = statusReportRequested(settings.read(m_doc.section(), QStringLiteral("StatusReport"),
                                                            QStringLiteral("0")));
    const QString destination = settings.read(m_doc.section(), kLastDA, QStringLiteral("0"));
    return buildSubmitPdu(ud, destination, m_smsc, report);
}

Pdu SmsDelivery::storePdu() const
{
    const UserData ud = buildUserData(m_doc.profile(), m_doc.grid(), m_doc.currentMCC(), m_doc.currentMNC());
    return buildStorePdu(m_doc.profile(), ud, storeCount());
}

void SmsDelivery::startSendingJob()
{
    if (m_sendingMode == SendingStore)
        storeSms();
    else if (m_sendingMode == SendingSms)
        sendSms();
}

void SmsDelivery::sendSms()
{
    emit caption(QStringLiteral("Sending ..."));
    startJob(sendPdu());
}

void SmsDelivery::storeSms()
{
    emit caption(QStringLiteral("Storing in SMS-Inbox ..."));
    startJob(storePdu());
}

void SmsDelivery::startJob(const Pdu &pdu)
{
    if (m_engine.isRunning())
        return;
    if (!pdu.isValid()) {
        // A number the settings hold but the field can't (the checks before
        // the dialogs stop the usual ways there): nothing is written.
        m_lastOutcome = JobOutcome::OpenFailed;
        m_doc.prompt().critical(m_doc.profile().productName, pdu.refusal);
        emit jobEnded(false);
        return;
    }
    queueDeliverySteps(m_engine, pdu, m_linkPort);
    m_engine.setLinkPort(m_linkPort, linkDevice());
    m_engine.setQuickLink(m_overrides.quickLink || quickLinkSetting(m_doc.settings()));
    m_jobActive = true;
    m_engine.startJob(TickRules());
}

void SmsDelivery::onFinished(JobOutcome outcome, const QString &message)
{
    if (!m_jobActive)
        return;     // a job of another command on the same link
    m_jobActive = false;
    m_lastOutcome = outcome;
    const QString title = m_doc.profile().productName;
    if (outcome == JobOutcome::Completed)
        m_doc.prompt().inform(title, m_sendingMode == SendingStore ? QStringLiteral("Data written.")
                                                                   : QStringLiteral("Data sent."));
    else
        m_doc.prompt().critical(title, message);
    emit jobEnded(outcome == JobOutcome::Completed);
}

} // namespace logo
