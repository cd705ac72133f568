#include "desktop/profile.h"

#include "graphic/fileformats.h"

namespace logo {

namespace {

// A native type as a program registers it: its own type carries the open
// command and the description.
FileTypeRegistration registration(SavedType type, bool own)
{
    const FileFormat *f = formatOf(type);
    return {QString::fromLatin1(f->extension), QString::fromLatin1(f->fileClass), own,
            own ? QString::fromLatin1(f->dialogText) : QString()};
}

// The foreign types offered to claim at start-up; only those claimed by
// default with byDefault set.
QStringList claimableTypes(bool byDefault)
{
    QStringList out;
    for (const FileFormat *f : formatsOf(FormatRole::Foreign))
        if (f->offeredToClaim && (!byDefault || f->claimedByDefault))
            out << QString::fromLatin1(f->extension);
    return out;
}

} // namespace

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
        {registration(SavedType::Ngg, true), registration(SavedType::Nol, false)},
        claimableTypes(false),
        claimableTypes(true),
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
        {registration(SavedType::Nol, true), registration(SavedType::Ngg, false)},
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
