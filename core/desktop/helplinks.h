#pragma once
// Addresses of the Help menu's web pages and of the main windows' link label.
#include <QString>

namespace logo {

struct ProgramProfile;

enum class HelpLink { Home, Faq, Samples, Updates };

// "http://" + host + "/wireless/<page>.phtml?..."; the update page carries the
// program's code and version (major and minor two digits, revision three).
QString helpAddress(HelpLink link, const QString &host, const logo::ProgramProfile &profile);

} // namespace logo
