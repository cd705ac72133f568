#include "sms/pdu.h"

#include "desktop/prompt.h"
#include "sms/digits.h"

namespace logo {

namespace {

// First octets.
// SUBMIT 0x51: type SUBMIT, relative validity period, user-data header present;
// 0x71 also asks for a status report.
const QString kSubmitFirst = QStringLiteral("51");
const QString kSubmitFirstReport = QStringLiteral("71");
// DELIVER 0x64 (0110 0100): type DELIVER, no more messages waiting (bit 2),
// user-data header present (bit 6); bit 5, the status-report indication, is
// set as well.
const QString kDeliverFirst = QStringLiteral("64");
const QString kTypeInternational = QStringLiteral("91");
const QString kPid = QStringLiteral("00");
// 8-bit data, message class 1.
const QString kDcs = QStringLiteral("F5");
// Relative validity period of 24 hours.
const QString kValidity = QStringLiteral("A7");

QString semiOctets(QString digits)
{
    if (digits.size() % 2)
        digits += QLatin1Char('F');
    return swapDigitPairs(digits);
}

Pdu refused(Pdu::Kind kind, const QString &why)
{
    Pdu p;
    p.kind = kind;
    p.refusal = why;
    return p;
}

Pdu finish(Pdu::Kind kind, QString smsc, QString tpdu)
{
    Pdu p;
    p.kind = kind;
    p.smsc = std::move(smsc);
    p.tpduLength = int(tpdu.size() / 2);
    p.tpdu = std::move(tpdu);
    return p;
}

} // namespace

QString Pdu::atCommand() const
{
    return (kind == Submit ? QStringLiteral("AT+CMGS=") : QStringLiteral("AT+CMGW="))
        + QString::number(tpduLength);
}

QString destinationRefusal(const QString &number)
{
    const auto digits = digitsOnly(number).size();
    if (digits <= MaxAddressDigits)
        return {};
    return QStringLiteral("The number has %1 digits; a GSM-Number has at most %2.")
        .arg(digits)
        .arg(MaxAddressDigits);
}

QString serviceCentreRefusal(const QString &number)
{
    const auto digits = digitsOnly(number).size();
    if (digits <= MaxServiceCentreDigits)
        return {};
    return joinLines({QStringLiteral("The Message Center Number has %1 digits; it can have at most %2.")
                          .arg(digits)
                          .arg(MaxServiceCentreDigits),
                      QStringLiteral("Please configure your Message Center Number"),
                      QStringLiteral("in menu 'Edit/Options'")});
}

QString encodeServiceCentreAddress(const QString &number)
{
    const QString digits = digitsOnly(number);
    // Without a number the field is the single octet 00: the phone's own
    // message centre applies (a length of 1 with only the type would name none).
    if (digits.isEmpty())
        return QStringLiteral("00");
    if (digits.size() > MaxServiceCentreDigits)
        return {};
    const QString packed = semiOctets(digits);
    return hexByte(int(packed.size() / 2) + 1) + kTypeInternational + packed;
}

QString encodeAddress(const QString &number)
{
    const QString digits = digitsOnly(number);
    if (digits.size() > MaxAddressDigits)
        return {};
    return hexByte(int(digits.size())) + kTypeInternational + semiOctets(digits);
}

QString encodeTimeStamp(const QDateTime &localTime)
{
    const QString text = localTime.toString(QStringLiteral("yyMMddHHmmss"));
    // Time-zone octet 00.
    return (swapDigitPairs(text) + QStringLiteral("00000000000000")).left(14);
}

bool statusReportRequested(const QString &setting)
{
    return setting == QLatin1String("1");
}

QString storeSenderNumber(const ProgramProfile &profile, qint64 storeCount)
{
    qint64 number = profile.storeSenderBase + storeCount;
    // A counter that would leave the nine digits (a setting not written by
    // these programs) wraps within the program's own million of numbers.
    if (number < 100000000 || number > 999999999)
        number = profile.storeSenderBase + ((storeCount % 1000000) + 1000000) % 1000000;
    return QString::number(number);
}

Pdu buildSubmitPdu(const UserData &ud, const QString &destination, const QString &smsc,
                   bool statusReport)
{
    if (const QString why = destinationRefusal(destination); !why.isEmpty())
        return refused(Pdu::Submit, why);
    if (const QString why = serviceCentreRefusal(smsc); !why.isEmpty())
        return refused(Pdu::Submit, why);
    QString tpdu = statusReport ? kSubmitFirstReport : kSubmitFirst;
    tpdu += QStringLiteral("00");   // message reference: the phone assigns it
    tpdu += encodeAddress(destination);
    tpdu += kPid + kDcs + kValidity;
    tpdu += hexByte(ud.length);
    tpdu += ud.hex;
    return finish(Pdu::Submit, encodeServiceCentreAddress(smsc), std::move(tpdu));
}

Pdu buildDeliverPdu(const UserData &ud, const QString &sender, const QDateTime &when)
{
    if (const QString why = destinationRefusal(sender); !why.isEmpty())
        return refused(Pdu::Deliver, why);
    QString tpdu = kDeliverFirst;
    tpdu += encodeAddress(sender);
    tpdu += kPid + kDcs;
    tpdu += encodeTimeStamp(when);
    tpdu += hexByte(ud.length);
    tpdu += ud.hex;
    return finish(Pdu::Deliver, QStringLiteral("00"), std::move(tpdu));
}

Pdu buildStorePdu(const ProgramProfile &profile, const UserData &ud, qint64 storeCount,
                  const QDateTime &when)
{
    return buildDeliverPdu(ud, storeSenderNumber(profile, storeCount), when);
}

} // namespace logo
