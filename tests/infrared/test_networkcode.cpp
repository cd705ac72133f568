// Which network codes the delivery messages can carry, and that both messages
// carry an accepted code as the same digits.
#include "infrared/irmessage.h"
#include "sms/networkcode.h"
#include "sms/payload.h"

#include <gtest/gtest.h>

using namespace logo;

TEST(NetworkCode, RefusedUnlessBothMessagesCarryItAsItIs)
{
    const QString negative = "A network code is never negative.";
    const QString mccDigits = "A country code (MCC) has at most three digits.";
    const QString mncDigits = "An operator logo carries a network code (MNC) of at most two digits.";
    const struct {
        const char *mcc, *mnc;
        QString reason;     // empty: sent
    } cases[] = {
        {"262", "01", ""},
        {"2", "5", ""},
        {"000", "00", ""},
        {"999", "99", ""},
        {"0262", "010", ""},          // leading zeros: 262 and 10
        {"", "", ""},                 // no code: the operator check speaks
        {"1234", "01", mccDigits},    // not 234, not 124
        {"99999999999999999999999", "01", mccDigits},
        {"-005", "-01", negative},    // as a file with -5 and -1 reads; not 005-01
        {"262", "-01", negative},
        {"-0", "01", ""},
        {"310", "260", mncDigits},    // three-digit MNC of the update file
        {"310", "100", mncDigits},
        {"26x", "01", "A network code is a number."},
    };
    for (const DeliveryPath path : {DeliveryPath::SmartMessage, DeliveryPath::Infrared}) {
        for (const auto &c : cases) {
            SCOPED_TRACE(testing::Message() << c.mcc << "/" << c.mnc << " path " << int(path));
            const QString refusal = networkCodeRefusal(c.mcc, c.mnc, path);
            if (c.reason.isEmpty()) {
                EXPECT_EQ(refusal, "");
            } else {
                EXPECT_EQ(refusal, QStringLiteral("The network code MCC %1, MNC %2 can't be sent.\r\n").arg(c.mcc, c.mnc) +
                                       c.reason);
            }
        }
    }
    // What passes goes out by SMS and infrared as the same three octets.
    for (const auto &c : cases) {
        if (c.reason.isEmpty() && *c.mcc) {
            EXPECT_EQ(encodeOperatorCode(c.mcc, c.mnc), QString::fromLatin1(irNetworkCode(c.mcc, c.mnc).toHex().toUpper()))
                << c.mcc << "/" << c.mnc;
        }
    }
}
