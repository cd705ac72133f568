// logotool upload-url / upload-page: the windows' "Send via Internet..."
// without the browser: the upload address, or the forwarding page written to
// the temporary folder as the window writes it.
#include "logotool.h"

#include "webupload/webupload.h"

#include <optional>

namespace logotool {

namespace {

const char *kUrlUsage = "usage: logotool upload-url FILE [--program quillet|brisvane] [--mcc M --mnc N]";
const char *kPageUsage = "usage: logotool upload-page FILE [--program quillet|brisvane] [--mcc M --mnc N]";

struct Upload {
    const logo::ProgramProfile *profile = nullptr;
    QString host, address;
};

// The upload of the picture in FILE; an exit code when the command ends here.
std::optional<int> prepare(const QStringList &argv, const char *usage, Upload &u)
{
    Args a(argv);
    if (a.has(QStringLiteral("--help")))
        return help(QString::fromLatin1(usage));
    const QStringList bad = a.unknown({QStringLiteral("--program"), QStringLiteral("--mcc"), QStringLiteral("--mnc")});
    if (a.positional.size() != 1 || !bad.isEmpty())
        return err(QString::fromLatin1(usage), 2);
    if (!programOption(a, u.profile))
        return err(QStringLiteral("error: --program takes quillet or brisvane"), 2);

    Session s(u.profile ? *u.profile : logo::ProgramProfile::quillet());
    if (!openInput(s, a.positional[0]))
        return 1;
    if (!networkOption(a, *s.doc))
        return err(QStringLiteral("error: --mcc and --mnc take decimal digits"), 2);
    if (!u.profile)
        u.profile = s.doc->currentMCC().isEmpty() ? &logo::ProgramProfile::quillet() : &logo::ProgramProfile::brisvane();
    // The host of the program's link label: its default, or the "WebHost" setting.
    const logo::SettingsStore settings;
    u.host = settings.read(u.profile->settingsSection, QStringLiteral("WebHost"), u.profile->defaultWebHost);
    u.address = logo::WebUpload::uploadAddress(*u.profile, s.doc->grid(), s.doc->currentMCC(), s.doc->currentMNC(),
                                               u.host);
    return std::nullopt;
}

} // namespace

int uploadUrlCommand(const QStringList &argv)
{
    Upload u;
    if (const std::optional<int> code = prepare(argv, kUrlUsage, u))
        return *code;
    out(u.address);
    return 0;
}

int uploadPageCommand(const QStringList &argv)
{
    Upload u;
    if (const std::optional<int> code = prepare(argv, kPageUsage, u))
        return *code;
    logo::WebUpload upload(*u.profile);
    const QString path = upload.writePage(logo::WebUpload::pageText(u.address, u.host));
    if (path.isEmpty())
        return err(QStringLiteral("error: can't write the upload page in %1").arg(upload.folder()));
    out(path);
    return 0;
}

} // namespace logotool
