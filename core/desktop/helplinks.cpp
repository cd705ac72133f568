#include "desktop/helplinks.h"

#include "desktop/profile.h"

namespace logo {

QString helpAddress(HelpLink link, const QString &host, const logo::ProgramProfile &profile)
{
    const QString base = QStringLiteral("http://") + host + QStringLiteral("/wireless/");
    const QString media = QStringLiteral("media=") + profile.helpMedia;
    switch (link) {
    case HelpLink::Home:
        return base + QStringLiteral("index.phtml?") + media;
    case HelpLink::Faq:
        return base + QStringLiteral("faq.phtml?") + media;
    case HelpLink::Samples:
        return base + QStringLiteral("samples.phtml?") + media;
    case HelpLink::Updates:
        return base + QStringLiteral("update.phtml?app=") + profile.appCode + QStringLiteral("&ver=") +
               logo::versionDigits() + QLatin1Char('&') + media;
    }
    return {};
}

} // namespace logo
