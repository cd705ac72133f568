#include "phone/smsdelivery.h"

#include "desktop/prompt.h"
#include "desktop/settingsstore.h"
#include "graphic/pathutil.h"
#include "sms/digits.h"
#include "sms/payload.h"
#include "sms/pdu.h"

#include <limits>

namespace logo {

namespace {

const QString kStoreCount = QStringLiteral("StoreCount");
const QString kLastDA = QStringLiteral("LastDA");

} // namespace

SendSettings readSendSettings(const SettingsStore &settings, const QString &section, const SmsOverrides &overrides)
{
    SendSettings s;
    s.link = readLinkSettings(settings, overrides);
    s.smsc = overrides.hasSmsc ? overrides.smsc : settings.read(kSharedSection, QStringLiteral("SMSC"));
    s.destination = settings.read(section, kLastDA, QStringLiteral("0"));
    s.statusReport = statusReportRequested(settings.read(section, QStringLiteral("StatusReport"), QStringLiteral("0")));
    s.storeCount = storeCount(settings, section);
    return s;
}

bool checkSendSettings(SmsKind kind, const SendSettings &settings, Prompt &prompt, const QString &title)
{
    // Storing needs no message centre, but is refused without one all the same.
    if (settings.smsc.isEmpty()) {
        prompt.critical(title, joinLines({QStringLiteral("Please configure your Message Center Number"),
                                          QStringLiteral("in menu 'Edit/Options'")}));
        return false;
    }
    // Only a sent message carries the message centre's number.
    if (const QString why = serviceCentreRefusal(settings.smsc); kind == SmsKind::Send && !why.isEmpty()) {
        prompt.critical(title, why);
        return false;
    }
    if (settings.link.port <= 0) {
        prompt.critical(title, AtEngine::linkErrorText(LinkError::PortNotConfigured, 0));
        return false;
    }
    return true;
}

QString lastDestination(const SettingsStore &settings, const QString &section)
{
    return settings.read(section, kLastDA);
}

QString acceptDestination(const QString &typed, Prompt &prompt, const QString &title)
{
    const QString digits = digitsOnly(typed);
    if (digits.isEmpty()) {
        prompt.critical(title, QStringLiteral("Please enter GSM-Number in intl. Format"));
        return QString();
    }
    if (const QString why = destinationRefusal(digits); !why.isEmpty()) {
        prompt.critical(title, why);
        return QString();
    }
    return digits;
}

void saveDestination(SettingsStore &settings, const QString &section, const QString &digits)
{
    settings.write(section, kLastDA, digits);
}

int storeCount(const SettingsStore &settings, const QString &section)
{
    const int n = settings.readInt(section, kStoreCount, 0);
    // The counter is a 16-bit number; anything else was not written by us.
    if (n < std::numeric_limits<qint16>::min() || n > std::numeric_limits<qint16>::max())
        return 0;
    return n;
}

QString storeNumberText(const ProgramProfile &profile, int counter)
{
    return QStringLiteral("+") + storeSenderNumber(profile, counter);
}

void advanceStoreCount(SettingsStore &settings, const QString &section, int keptCounter)
{
    // Advanced whatever the job's outcome, so that a stored message that the
    // phone took in spite of a failure report never shares a sender number.
    const int next = keptCounter >= std::numeric_limits<qint16>::max() ? 0 : keptCounter + 1;
    settings.writeInt(section, kStoreCount, next);
}

Pdu smsPdu(SmsKind kind, const OutgoingPicture &picture, const SendSettings &settings)
{
    const UserData ud = buildUserData(*picture.profile, picture.grid, picture.mcc, picture.mnc);
    if (kind == SmsKind::Store)
        return buildStorePdu(*picture.profile, ud, settings.storeCount);
    return buildSubmitPdu(ud, settings.destination, settings.smsc, settings.statusReport);
}

void queueDeliverySteps(AtEngine &engine, const Pdu &pdu, int port)
{
    const QByteArray cr("\r");
    const QString com = QStringLiteral("Can't talk to COM%1").arg(port);
    const bool submit = pdu.kind == Pdu::Submit;
    engine.clearSteps();
    engine.queueStep("AT" + cr, ReplyCode::Ok, 0, com + QStringLiteral("."));
    engine.queueStep("ATZ" + cr, ReplyCode::Ok, 5, com + QStringLiteral(" driver."));
    engine.queueStep("AT+CMGF=0" + cr, ReplyCode::Ok, 20, QStringLiteral("Can't set params."));
    engine.queueStep(pdu.atCommand().toLatin1() + cr, ReplyCode::Prompt, 40,
                     QStringLiteral("Can't initiate sending."));
    engine.queueStep(pdu.line().toLatin1() + QByteArray(1, Pdu::CtrlZ), ReplyCode::Ok, 55,
                     submit ? QStringLiteral("Can't send SMS.") : QStringLiteral("Can't write SMS."));
}

SmsJob::SmsJob(SmsKind kind, const Pdu &pdu, const LinkSettings &link, AtEngine &engine, Prompt &prompt,
               QObject *parent)
    : AtJob(engine, prompt, link, parent), m_kind(kind), m_pdu(pdu)
{
}

void SmsJob::start()
{
    emit caption(m_kind == SmsKind::Store ? QStringLiteral("Storing in SMS-Inbox ...")
                                          : QStringLiteral("Sending ..."));
    if (!m_pdu.isValid()) {
        // A number the settings hold but the field can't (the checks before
        // the dialogs stop the usual ways there): nothing is written.
        finish(JobOutcome::OpenFailed, m_pdu.refusal);
        return;
    }
    run(TickRules(), [this] { queueDeliverySteps(m_engine, m_pdu, m_link.port); });
}

void SmsJob::engineFinished(JobOutcome outcome, const QString &message)
{
    if (outcome == JobOutcome::Completed)
        finish(outcome, m_kind == SmsKind::Store ? QStringLiteral("Data written.") : QStringLiteral("Data sent."));
    else
        finish(outcome, message);
}

} // namespace logo
