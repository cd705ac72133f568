#include "phone/porttest.h"

#include "desktop/prompt.h"
#include "desktop/settingsstore.h"
#include "graphic/pathutil.h"
#include "sms/digits.h"
#include "phone/phonebook.h"

namespace logo {

namespace {

// These jobs judge each tick strictly: no stop, no patience for a reply
// without its final result, no message-service errors, no progress.
TickRules shortJobRules()
{
    TickRules rules;
    rules.userBreak = false;
    rules.waitOnData = false;
    rules.cmsErrorEnds = false;
    rules.showProgress = false;
    return rules;
}

const QString kCompatible = QStringLiteral("\"Data Suite compatible\".");

} // namespace

PortTestJob::PortTestJob(Kind kind, const LinkSettings &link, AtEngine &engine, Prompt &prompt,
                         SettingsStore &settings, QObject *parent)
    : AtJob(engine, prompt, link, parent), m_kind(kind), m_settings(settings)
{
}

void PortTestJob::start()
{
    m_test = TestResult::NoAnswer;
    m_read = ReadResult::Failed;
    run(shortJobRules(), [this] {
        const QByteArray cr("\r");
        m_engine.clearSteps();
        m_engine.queueStep("AT" + cr, ReplyCode::Ok, 0, QString());
        if (m_kind == Kind::TestPort) {
            m_engine.queueStep("ATI" + cr, ReplyCode::Ok, 0, QString());
        } else {
            m_engine.queueStep("AT+CRES=1" + cr, ReplyCode::Ok, 0, QString());
            m_engine.queueStep("AT+CSCA?" + cr, ReplyCode::Ok, 0, QString());
        }
    });
}

void PortTestJob::engineFinished(JobOutcome outcome, const QString &)
{
    bool openFailed = false;
    if (outcome == JobOutcome::Completed) {
        const QByteArray reply = m_engine.state().replyBuffer;
        if (m_kind == Kind::TestPort) {
            m_test = evaluateTest(reply);
        } else {
            QString digits;
            m_read = evaluateSmsc(reply, digits);
            // Saved when a number field was there, even an empty one.
            if (m_read != ReadResult::Failed && !m_settings.write(kSharedSection, QStringLiteral("SMSC"), digits))
                m_read = ReadResult::NotStored;
        }
    } else if (outcome == JobOutcome::OpenFailed) {
        openFailed = true;
        if (m_kind == Kind::TestPort)
            m_test = TestResult::PortFailed;
    }
    // When the port did not open, the status names the device and the
    // system's reason.
    QString text = m_kind == Kind::TestPort ? testStatusText(m_test, m_link.port) : readStatusText(m_read);
    if (openFailed)
        text = withDeviceReason(text, m_link.device, m_engine.openError());
    finish(outcome, text);
}

TestResult PortTestJob::evaluateTest(const QByteArray &reply)
{
    return reply.contains("Nokia") ? TestResult::Nokia : TestResult::NotNokia;
}

ReadResult PortTestJob::evaluateSmsc(const QByteArray &reply, QString &digits)
{
    digits.clear();
    static const QByteArray key("+CSCA: ");
    const qsizetype at = reply.indexOf(key);
    if (at < 0)
        return ReadResult::Failed;
    const qsizetype start = at + key.size();
    // The comma that ends the number is on its line; a reply without one
    // has no number field to judge.
    qsizetype end = start;
    while (end < reply.size() && reply[end] != ',' && reply[end] != '\r' && reply[end] != '\n')
        ++end;
    if (end >= reply.size() || reply[end] != ',')
        return ReadResult::Failed;
    // A device left in UCS2 mode by another program sends the number as hex
    // of UTF-16 ("002B0034..."): decoded, it is the number; hex that is no
    // number is no answer, and its digits are never taken for one.
    const QByteArray field = stripQuotes(reply.mid(start, end - start).trimmed());
    if (const auto text = decodeUcs2Hex(field); text && isDialNumber(*text))
        digits = digitsOnly(*text);
    else if (isAllHex(field) && !isDialNumber(QString::fromLatin1(field)))
        return ReadResult::Failed;
    else
        digits = digitsOnly(QString::fromLatin1(field));
    if (digits.isEmpty())
        return ReadResult::NoNumber;
    return reply.contains(",145") ? ReadResult::International : ReadResult::National;
}

QString PortTestJob::testStatusText(TestResult result, int port)
{
    const QString com = QStringLiteral("COM%1").arg(port);
    switch (result) {
    case TestResult::Nokia: return com + QStringLiteral(" is ") + kCompatible;
    case TestResult::NotNokia: return com + QStringLiteral(" is probably not ") + kCompatible;
    case TestResult::PortFailed: return com + QStringLiteral(" is not available or in use.");
    case TestResult::NoAnswer: break;
    }
    return com + QStringLiteral(" does not return valid data at the moment.");
}

QString PortTestJob::readStatusText(ReadResult result)
{
    switch (result) {
    case ReadResult::International:
    case ReadResult::National: return QStringLiteral("Number has been read.");
    case ReadResult::NoNumber: return QStringLiteral("Could not find Number.");
    case ReadResult::NotStored: return QStringLiteral("Could not store Number.");
    case ReadResult::Failed: break;
    }
    return QStringLiteral("Could not read Number.");
}

QString PortTestJob::countryCodeMessage()
{
    return joinLines({QStringLiteral("Please add the international country-code"),
                      QStringLiteral("to your Message Center Number")});
}

QString PortTestJob::readMessage(ReadResult result)
{
    if (result == ReadResult::National)
        return countryCodeMessage();
    if (result == ReadResult::NoNumber)
        return joinLines({QStringLiteral("Could not find the Message Center Number."), QString(),
                          QStringLiteral("Please go to Message settings in your phone,"),
                          QStringLiteral("read your Message Center Number there and"),
                          QStringLiteral("enter it here with the international country-code.")});
    return QString();
}

} // namespace logo
