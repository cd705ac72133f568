#pragma once
// SMS PDUs that carry a smart message, as hex text for the phone in PDU mode.
//
// API (namespace logo; UserData is in sms/payload.h):
//
//   QString encodeServiceCentreAddress(const QString &digits);  // "07" "91" digits...
//   QString encodeAddress(const QString &digits);               // "0C" "91" digits...
//   QString encodeTimeStamp(const QDateTime &localTime);        // 14 hex characters
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
//       QString refusal;    // why none was built (a number too long for its
//                           // field); then smsc and tpdu are empty
//       bool isValid() const;
//       QString smsc;       // message-centre field; "00" for a DELIVER
//       QString tpdu;       // first octet to the end of the user data
//       int tpduLength;     // octets of tpdu: the number the AT command announces
//       QString atCommand() const;   // "AT+CMGS=154" / "AT+CMGW=..." (no CR)
//       QString line() const;        // smsc + tpdu: what follows the "> " prompt
//                                    // (the caller appends Pdu::CtrlZ, no CR)
//   };
//
// Phone numbers are taken as digits in international form without "+"; any
// other character is dropped before encoding. A number longer than its field
// holds (20 digits) is refused: the encoders give an empty text and the
// builders a Pdu without content that says why, never a field whose length
// octet would not fit.
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
    QString refusal;

    bool isValid() const { return refusal.isEmpty() && !tpdu.isEmpty(); }

    QString atCommand() const;
    QString line() const { return smsc + tpdu; }
};

// The longest numbers the fields take. TP-DA and TP-OA are at most 12 octets
// (length in digits, type, ten octets of digits); the message-centre field is
// counted in octets instead, at most 12 with its length octet, which again
// leaves ten octets of digits.
constexpr int MaxAddressDigits = 20;
constexpr int MaxServiceCentreDigits = 20;

// What the send dialog and the tool say about a number too long for its
// field; empty when it fits (or is empty). Given the number as typed or stored.
QString destinationRefusal(const QString &number);
QString serviceCentreRefusal(const QString &number);

// Message-centre field: length in octets (type octet included), type 91,
// digits in semi-octet order with filler F when the count is odd; "00" for
// no number, "" for one of more than MaxServiceCentreDigits digits.
QString encodeServiceCentreAddress(const QString &digits);
// Destination / originator field: length in digits, type 91, semi-octet
// digits; "" for more than MaxAddressDigits digits.
QString encodeAddress(const QString &digits);
// yymmddhhmmss in semi-octet order, then a time-zone octet of 00.
QString encodeTimeStamp(const QDateTime &localTime);

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
