#include "phone/porttest.h"

#include "desktop/prompt.h"
#include "graphic/logodocument.h"
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

PortTest::PortTest(LogoDocument &doc, AtEngine &engine, QObject *parent)
    : QObject(parent), m_doc(doc), m_engine(engine)
{
    connect(&m_engine, &AtEngine::finished, this, &PortTest::onFinished);
    connect(&m_engine, &AtEngine::beep, this, [this] {
        if (jobRunning())
            m_doc.prompt().beep();
    });
}

void PortTest::testPort(int port, const QString &device)
{
    start(Job::Test, port, device);
}

void PortTest::readMessageCentre(int port, const QString &device)
{
    start(Job::Read, port, device);
}

void PortTest::start(Job job, int port, const QString &device)
{
    m_openFailed = false;
    if (m_engine.isRunning() || jobRunning()) {
        done(job, job == Job::Test ? int(TestNoAnswer) : int(ReadFailed));
        return;
    }
    const QByteArray cr("\r");
    m_engine.clearSteps();
    m_engine.QueueStep("AT" + cr, ReplyOk, 0, QString());
    if (job == Job::Test) {
        m_engine.QueueStep("ATI" + cr, ReplyOk, 0, QString());
    } else {
        m_engine.QueueStep("AT+CRES=1" + cr, ReplyOk, 0, QString());
        m_engine.QueueStep("AT+CSCA?" + cr, ReplyOk, 0, QString());
    }
    m_engine.setLinkPort(port, device);
    m_device = device;
    m_engine.setQuickLink(m_quickLink || quickLinkSetting(m_doc.settings()));
    m_job = job;
    m_engine.startJob(shortJobRules());
}

void PortTest::onFinished(JobOutcome outcome, const QString &)
{
    if (!jobRunning())
        return;     // a job of another command on the same link
    const Job job = m_job;
    int code = 0;
    if (outcome == JobOutcome::Completed) {
        const QByteArray reply = m_engine.state().ReplyBuffer;
        if (job == Job::Test) {
            code = EvaluateTest(reply);
        } else {
            QString digits;
            code = EvaluateSmsc(reply, digits);
            // Saved when a number field was there, even an empty one.
            if (code != ReadFailed && !m_doc.settings().write(kSharedSection, QStringLiteral("SMSC"), digits))
                code = ReadNotStored;
        }
    } else if (outcome == JobOutcome::OpenFailed) {
        m_openFailed = true;
        if (job == Job::Test)
            code = TestPortFailed;
    }
    done(job, code);
}

void PortTest::done(Job job, int code)
{
    m_job = Job::None;
    if (job == Job::Test)
        emit testDone(code);
    else
        emit readSMSCDone(code);
}

int PortTest::EvaluateTest(const QByteArray &reply)
{
    return reply.contains("Nokia") ? TestNokia : TestNotNokia;
}

int PortTest::EvaluateSmsc(const QByteArray &reply, QString &digits)
{
    digits.clear();
    static const QByteArray key("+CSCA: ");
    const qsizetype at = reply.indexOf(key);
    if (at < 0)
        return ReadFailed;
    const qsizetype start = at + key.size();
    // The comma that ends the number is on its line; a reply without one
    // has no number field to judge.
    qsizetype end = start;
    while (end < reply.size() && reply[end] != ',' && reply[end] != '\r' && reply[end] != '\n')
        ++end;
    if (end >= reply.size() || reply[end] != ',')
        return ReadFailed;
    // A device left in UCS2 mode by another program sends the number as hex
    // of UTF-16 ("002B0034..."): decoded, it is the number; hex that is no
    // number is no answer, and its digits are never taken for one.
    const QByteArray field = StripQuotes(reply.mid(start, end - start).trimmed());
    if (const auto text = DecodeUcs2Hex(field); text && IsDialNumber(*text))
        digits = digitsOnly(*text);
    else if (IsAllHex(field) && !IsDialNumber(QString::fromLatin1(field)))
        return ReadFailed;
    else
        digits = digitsOnly(QString::fromLatin1(field));
    if (digits.isEmpty())
        return ReadNoNumber;
    return reply.contains(",145") ? ReadInternational : ReadNational;
}

QString PortTest::TestStatusText(int code, int port)
{
    const QString com = QStringLiteral("COM%1").arg(port);
    switch (code) {
    case TestNokia: return com + QStringLiteral(" is ") + kCompatible;
    case TestNotNokia: return com + QStringLiteral(" is probably not ") + kCompatible;
    case TestPortFailed: return com + QStringLiteral(" is not available or in use.");
    default: return com + QStringLiteral(" does not return valid data at the moment.");
    }
}

QString PortTest::testStatus(int code, int port) const
{
    const QString text = TestStatusText(code, port);
    return code == TestPortFailed && m_openFailed ? withDeviceReason(text, m_device, m_engine.openError()) : text;
}

QString PortTest::readStatus(int code) const
{
    const QString text = ReadStatusText(code);
    return code == ReadFailed && m_openFailed ? withDeviceReason(text, m_device, m_engine.openError()) : text;
}

QString PortTest::ReadStatusText(int code)
{
    switch (code) {
    case ReadInternational:
    case ReadNational: return QStringLiteral("Number has been read.");
    case ReadNoNumber: return QStringLiteral("Could not find Number.");
    case ReadNotStored: return QStringLiteral("Could not store Number.");
    default: return QStringLiteral("Could not read Number.");
    }
}

QString PortTest::CountryCodeMessage()
{
    return joinLines({QStringLiteral("Please add the international country-code"),
                      QStringLiteral("to your Message Center Number")});
}

QString PortTest::ReadMessage(int code)
{
    if (code == ReadNational)
        return CountryCodeMessage();
    if (code == ReadNoNumber)
        return joinLines({QStringLiteral("Could not find the Message Center Number."), QString(),
                          QStringLiteral("Please go to Message settings in your phone,"),
                          QStringLiteral("read your Message Center Number there and"),
                          QStringLiteral("enter it here with the international country-code.")});
    return QString();
}

} // namespace logo
