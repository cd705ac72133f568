#pragma once
// Whether an operator logo's network code fits the messages that carry it.
//
// Both messages hold the code as decimal semi-octets of a fixed count:
//   smart message (sms/payload.cpp): MCC as three BCD digits with filler F,
//     MNC as two BCD digits;
//   infrared message (infrared/irmessage.cpp): M1 M2 = the three MCC digits
//     with filler F, N1 = two MNC digits.
// So each carries an MCC of 0 to 999 and an MNC of 0 to 99; anything else
// would be cut to other digits by the encoders and reach another network.
// Every delivery path asks this before it builds a message.
#include <QString>

namespace logo {

class LogoDocument;
class Prompt;

enum class DeliveryPath { SmartMessage, Infrared };

struct NetworkCodeLimits {
    int maxMcc = 999;
    int maxMnc = 99;
};

// The largest MCC and MNC the path's message can carry.
NetworkCodeLimits networkCodeLimits(DeliveryPath path);

// Why the network code (decimal texts as the document holds them, "-005" for
// a negative one read from a file) can't go out by the path, as lines for a
// message box; empty when it can. An empty MCC is no code at all: whether a
// picture needs one is the operator check's business.
QString networkCodeRefusal(const QString &mcc, const QString &mnc, DeliveryPath path);

// The check of the delivery commands: for programs whose pictures carry a
// network code, true when the document's code fits the path's message, else
// false after saying why in a critical message.
bool networkCodeFits(const LogoDocument &doc, Prompt &prompt, DeliveryPath path);
// The picture's checks before any delivery by path: its network code fits,
// and an empty picture is what the user wants to send.
bool pictureMayGo(const LogoDocument &doc, Prompt &prompt, DeliveryPath path);

} // namespace logo
