#include "desktop/runmarks.h"

#include "desktop/settingsstore.h"

namespace logo {

namespace {
const QString kCaptionKey = QStringLiteral("CurrentAppname");
const QString kBusyKey = QStringLiteral("CurrentBusy");
} // namespace

RunMarks::RunMarks(SettingsStore &settings, const QString &section, QObject *parent)
    : QObject(parent), m_settings(settings), m_section(section)
{
}

void RunMarks::setBusy(bool busy)
{
    m_busy = busy;
    if (!m_enabled)
        return;
    if (busy)
        m_settings.writeBool(m_section, kBusyKey, true);
    else
        m_settings.remove(m_section, kBusyKey);
}

void RunMarks::showTitle(const QString &title)
{
    if (m_enabled)
        m_settings.write(m_section, kCaptionKey, title);
}

void RunMarks::remove()
{
    m_settings.remove(m_section, kCaptionKey);
    m_settings.remove(m_section, kBusyKey);
}

} // namespace logo
