#include "desktop/profile.h"

namespace logo {

const ProgramProfile &ProgramProfile::quillet()
{
    static const ProgramProfile p{
        Program::Quillet,
        QStringLiteral("Quillet"),
        QStringLiteral("Quillet Settings"),
        QStringLiteral("Quillet Recent File List"),
        QStringLiteral("QUILLET.INI"),
        QStringLiteral("The graphic is empty."),
        QStringLiteral("NGGPBOOK.CSV"),
        QStringLiteral("QLTMP"),
        QStringLiteral("qlt"),
        QStringLiteral("1583"),
        QStringLiteral("1583"),
        999000000,
        QString(),
        {QStringLiteral("Untitled")},
        false,
        QStringLiteral("logos.example"),
        QStringLiteral("pellorin"),
        38,
        true,
        QByteArray("\x15\x83\x00\x00", 4),
        QStringLiteral("quillet"),
        {{QStringLiteral(".ngg"), QStringLiteral("NokiaGroupGraphic"), true, QStringLiteral("Nokia Group Graphic")},
         {QStringLiteral(".nol"), QStringLiteral("NokiaOperatorLogo"), false, QString()}},
        {QStringLiteral(".nlm"), QStringLiteral(".nsl"), QStringLiteral(".otb"), QStringLiteral(".ngl"),
         QStringLiteral(".i61")},
        {QStringLiteral(".nlm"), QStringLiteral(".nsl"), QStringLiteral(".otb"), QStringLiteral(".i61")},
        true,
        QStringLiteral("Send via Internet..."),
        QStringLiteral("Editor for the caller-group graphics of mobile phones."),
    };
    return p;
}

const ProgramProfile &ProgramProfile::brisvane()
{
    static const ProgramProfile p{
        Program::Brisvane,
        QStringLiteral("Brisvane"),
        QStringLiteral("Brisvane Settings"),
        QStringLiteral("Brisvane Recent File List"),
        QStringLiteral("BRISVANE.INI"),
        QStringLiteral("The operator logo is empty."),
        QStringLiteral("NOLPBOOK.CSV"),
        QStringLiteral("BVTMP"),
        QStringLiteral("bvn"),
        QStringLiteral("1582"),
        QStringLiteral("0000"),
        998000000,
        QStringLiteral("Imported"),
        {QStringLiteral("Untitled"), QStringLiteral("Imported"), QStringLiteral("Clear Logo"),
         QStringLiteral("Default")},
        true,
        QStringLiteral("logos.example"),
        QStringLiteral("pellorin"),
        25,
        false,
        QByteArray("\x15\x82\x15\x82", 4),
        QStringLiteral("brisvane"),
        {{QStringLiteral(".nol"), QStringLiteral("NokiaOperatorLogo"), true, QStringLiteral("Nokia Operator Logo")},
         {QStringLiteral(".ngg"), QStringLiteral("NokiaGroupGraphic"), false, QString()}},
        {},
        {},
        false,
        QStringLiteral("Send via In&ternet..."),
        QStringLiteral("Editor for the operator logos of mobile phones."),
    };
    return p;
}

QString versionDigits()
{
    return QStringLiteral("%1%2%3")
        .arg(LOGO_VERSION_MAJOR, 2, 10, QLatin1Char('0'))
        .arg(LOGO_VERSION_MINOR, 2, 10, QLatin1Char('0'))
        .arg(LOGO_VERSION_PATCH, 3, 10, QLatin1Char('0'));
}

QString versionText()
{
    return QStringLiteral("%1.%2.%3").arg(LOGO_VERSION_MAJOR).arg(LOGO_VERSION_MINOR).arg(LOGO_VERSION_PATCH);
}

} // namespace logo
