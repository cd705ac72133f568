#include "sms/digits.h"

#include <utility>

namespace logo {

QString digitsOnly(const QString &text)
{
    QString out;
    for (QChar ch : text)
        if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9'))
            out += ch;
    return out;
}

QString swapDigitPairs(const QString &text)
{
    QString out = text;
    for (qsizetype i = 0; i + 1 < out.size(); i += 2)
        std::swap(out[i], out[i + 1]);
    return out;
}

} // namespace logo
