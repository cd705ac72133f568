// logotool pdu: the AT command and the PDU line that sending or storing the
// picture writes to the phone, without a phone.
#include "logotool.h"

#include "graphic/logofile.h"
#include "sms/digits.h"
#include "sms/networkcode.h"
#include "sms/payload.h"
#include "sms/pdu.h"

namespace logotool {

namespace {

const char *kPduUsage =
    "usage: logotool pdu submit FILE --to DIGITS --smsc DIGITS [--report]\n"
    "       logotool pdu deliver FILE [--store-count N] [--time YYYY-MM-DDTHH:MM:SS]\n"
    "  both:  [--program quillet|brisvane] [--mcc M --mnc N]\n"
    "Prints the AT command, then the line written after the phone's \"> \" prompt (without Ctrl-Z).";

} // namespace

int pduCommand(const QStringList &argv)
{
    Args a(argv);
    if (a.has(QStringLiteral("--help")))
        return help(QString::fromLatin1(kPduUsage));
    const QStringList bad = a.unknown({QStringLiteral("--to"), QStringLiteral("--smsc"), QStringLiteral("--report"),
                                       QStringLiteral("--program"), QStringLiteral("--mcc"), QStringLiteral("--mnc"),
                                       QStringLiteral("--store-count"), QStringLiteral("--time")});
    if (a.positional.size() != 2 || !bad.isEmpty())
        return err(QString::fromLatin1(kPduUsage), 2);
    const QString kind = a.positional[0];
    const bool submit = kind == QLatin1String("submit");
    if (!submit && kind != QLatin1String("deliver"))
        return err(QString::fromLatin1(kPduUsage), 2);

    const logo::ProgramProfile *profile = nullptr;
    if (!programOption(a, profile))
        return err(QStringLiteral("error: --program takes quillet or brisvane"), 2);

    // Numbers are kept as digits only, as the dialogs store them ("+49 171" -> "49171").
    const QString to = logo::digitsOnly(a.value(QStringLiteral("--to")));
    const QString smsc = logo::digitsOnly(a.value(QStringLiteral("--smsc")));
    if (submit && (to.isEmpty() || smsc.isEmpty()))
        return err(QStringLiteral("error: submit needs --to DIGITS and --smsc DIGITS"), 2);

    qint64 storeCount = 0;
    if (a.has(QStringLiteral("--store-count"))) {
        bool ok = false;
        storeCount = a.value(QStringLiteral("--store-count")).toLongLong(&ok);
        if (!ok)
            return err(QStringLiteral("error: --store-count takes a number"), 2);
    }
    QDateTime when = QDateTime::currentDateTime();
    if (a.has(QStringLiteral("--time"))) {
        when = QDateTime::fromString(a.value(QStringLiteral("--time")), Qt::ISODate);
        if (!when.isValid())
            return err(QStringLiteral("error: --time takes YYYY-MM-DDTHH:MM:SS"), 2);
    }

    Session s(profile ? *profile : logo::ProgramProfile::quillet());
    if (!openInput(s, a.positional[1]))
        return 1;
    if (!networkOption(a, *s.doc))
        return err(QStringLiteral("error: --mcc and --mnc take decimal digits"), 2);
    const bool hasCode = !s.doc->currentMCC().isEmpty();
    if (!profile)
        profile = hasCode ? &logo::ProgramProfile::brisvane() : &logo::ProgramProfile::quillet();
    if (profile->requiresOperator && !hasCode)
        return err(QStringLiteral("error: an operator logo needs a network code (--mcc M --mnc N)"), 2);
    if (profile->requiresOperator) {
        const QString refusal = logo::networkCodeRefusal(s.doc->currentMCC(), s.doc->currentMNC(),
                                                         logo::DeliveryPath::SmartMessage);
        if (!refusal.isEmpty())
            return say(stderr, refusal), 1;
    }

    const logo::UserData ud =
        logo::buildUserData(*profile, s.doc->grid(), s.doc->currentMCC(), s.doc->currentMNC());
    // The stored message carries no message-centre address ("00"): --smsc is
    // accepted for deliver but does not enter the PDU.
    const logo::Pdu pdu = submit ? logo::buildSubmitPdu(ud, to, smsc, a.has(QStringLiteral("--report")))
                                 : logo::buildStorePdu(*profile, ud, storeCount, when);
    if (!pdu.isValid())
        return say(stderr, pdu.refusal), 1;
    out(pdu.atCommand());
    out(pdu.line());
    return 0;
}

} // namespace logotool
