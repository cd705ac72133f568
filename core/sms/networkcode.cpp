#include "sms/networkcode.h"

#include "desktop/prompt.h"
#include "graphic/filecommands.h"
#include "graphic/logodocument.h"
#include "sms/digits.h"

namespace logo {

namespace {

// A code as written: an optional minus sign, then decimal digits.
struct CodeValue {
    bool number = false;    // it is one
    bool negative = false;
    int significantDigits = 0;
    qint64 value = 0;       // meaningful up to 18 significant digits
};

CodeValue readCode(const QString &text)
{
    CodeValue v;
    QString t = text.trimmed();
    if (t.startsWith(QLatin1Char('-'))) {
        v.negative = true;
        t.remove(0, 1);
    }
    if (t.isEmpty() || digitsOnly(t) != t)
        return v;
    qsizetype first = 0;
    while (first < t.size() - 1 && t[first] == QLatin1Char('0'))
        ++first;
    v.significantDigits = int(t.size() - first);
    v.value = v.significantDigits <= 18 ? t.mid(first).toLongLong() : -1;
    v.number = true;
    // "-0" is no negative code.
    v.negative = v.negative && v.value != 0;
    return v;
}

bool fits(const CodeValue &v, int max)
{
    return v.number && !v.negative && v.significantDigits <= 18 && v.value <= max;
}

// "three" for 999.
QString digitWord(int max)
{
    static const char *const kWords[] = {"no", "one", "two", "three", "four", "five"};
    const auto digits = QString::number(max).size();
    return digits < 6 ? QLatin1String(kWords[digits]) : QString::number(digits);
}

} // namespace

NetworkCodeLimits networkCodeLimits(DeliveryPath path)
{
    switch (path) {
    case DeliveryPath::SmartMessage:
    case DeliveryPath::Infrared:
        // Three semi-octets of MCC and two of MNC in both.
        return {999, 99};
    }
    return {};
}

QString networkCodeRefusal(const QString &mcc, const QString &mnc, DeliveryPath path)
{
    if (mcc.isEmpty())
        return {};
    const NetworkCodeLimits limits = networkCodeLimits(path);
    const CodeValue c = readCode(mcc);
    const CodeValue n = readCode(mnc);
    if (fits(c, limits.maxMcc) && fits(n, limits.maxMnc))
        return {};
    QString reason;
    if (!c.number || !n.number)
        reason = QStringLiteral("A network code is a number.");
    else if (c.negative || n.negative)
        reason = QStringLiteral("A network code is never negative.");
    else if (!fits(c, limits.maxMcc))
        reason = QStringLiteral("A country code (MCC) has at most %1 digits.").arg(digitWord(limits.maxMcc));
    else
        reason = QStringLiteral("An operator logo carries a network code (MNC) of at most %1 digits.")
                     .arg(digitWord(limits.maxMnc));
    return joinLines({QStringLiteral("The network code MCC %1, MNC %2 can't be sent.").arg(mcc.trimmed(), mnc.trimmed()),
                      reason});
}

bool networkCodeFits(const LogoDocument &doc, Prompt &prompt, DeliveryPath path)
{
    if (!doc.profile().requiresOperator)
        return true;
    const QString refusal = networkCodeRefusal(doc.currentMCC(), doc.currentMNC(), path);
    if (refusal.isEmpty())
        return true;
    prompt.critical(doc.profile().productName, refusal);
    return false;
}

bool pictureMayGo(const LogoDocument &doc, Prompt &prompt, DeliveryPath path)
{
    return networkCodeFits(doc, prompt, path) && askIfEmptyPicture(doc, prompt, true);
}

} // namespace logo
