#pragma once
// SMS PDUs that carry a smart message, as hex text for the phone in PDU mode.
//
// API (namespace logo; UserData is in sms/payload.h):
//
//   QString EncodeServiceCentreAddress(const QString &digits);  // "07" "91" digits...
//   QString EncodeAddress(const QString &digits);               // "0C" "91" digits...
//   QString EncodeTimeStamp(const QDateTime &localTime);        // 14 hex characters
//   bool    statusReportRequested(const QString &setting);      // "1" -> true
//   QString storeSenderNumber(const ProgramProfile &profile, qint64 storeCount);
//                                                               // 999000000 + n (Quillet)
//   Pdu buildSubmitPdu(const UserData &ud, const QString &destination,
//                      const QString &smsc, bool statusReport);
//   Pdu buildDeliverPdu(const UserData &ud, const QString &sender,
//                       const QDateTime &when = QDateTime::currentDateTime());
//   Pdu buildStorePdu(const ProgramProfile &profile, const UserData &ud, qint64 storeCount,
//                     const QDateTime &when = QDateTime::currentDateTime());
//
//   struct Pdu {
//       Kind kind;          // Pdu::Submit (AT+CMGS) or Pdu::Deliver (AT+CMGW)
//       QString smsc;       // message-centre field; "00" for a DELIVER
//       QString tpdu;       // first octet to the end of the user data
//       int tpduLength;     // octets of tpdu: the number the AT command announces
//       QString atCommand() const;   // "AT+CMGS=154" / "AT+CMGW=..." (no CR)
//       QString line() const;        // smsc + tpdu: what follows the "> " prompt
//                                    // (the caller appends Pdu::CtrlZ, no CR)
//   };
//
// Phone numbers are taken as digits in international form without "+"; any
// other character is dropped before encoding.
#include "desktop/profile.h"
#include "sms/payload.h"

#include <QDateTime>
#include <QString>

namespace logo {

struct Pdu {
    enum Kind { Submit, Deliver };
    static constexpr char CtrlZ = 26;

    Kind kind = Submit;
    QString smsc;
    QString tpdu;
    int tpduLength = 0;

    QString atCommand() const;
    QString line() const { return smsc + tpdu; }
};

// Message-centre field: length in octets (type octet included), type 91,
// digits in semi-octet order with filler F when the count is odd.
QString EncodeServiceCentreAddress(const QString &digits);
// Destination / originator field: length in digits, type 91, semi-octet digits.
QString EncodeAddress(const QString &digits);
// yymmddhhmmss in semi-octet order, then a time-zone octet of 00.
QString EncodeTimeStamp(const QDateTime &localTime);

// The "StatusReport" setting: only the text "1" asks for a report.
bool statusReportRequested(const QString &setting);
// Nine-digit sender number of a message stored in the inbox: the program's
// base plus the counter (Quillet 999000000, Brisvane 998000000).
QString storeSenderNumber(const ProgramProfile &profile, qint64 storeCount);

// SMS-SUBMIT for sending through the message centre.
Pdu buildSubmitPdu(const UserData &ud, const QString &destination, const QString &smsc,
                   bool statusReport);
// SMS-DELIVER for writing into the phone's own inbox as if received from sender.
Pdu buildDeliverPdu(const UserData &ud, const QString &sender,
                    const QDateTime &when = QDateTime::currentDateTime());
// buildDeliverPdu with the program's counter number as the sender.
Pdu buildStorePdu(const ProgramProfile &profile, const UserData &ud, qint64 storeCount,
                  const QDateTime &when = QDateTime::currentDateTime());

} // namespace logo
