// The window's Help menu, its About box and the link label to the web host.
#include "widgets/mainwindowbase.h"

#include <QLabel>
#include <QUrl>

namespace logo {

namespace {
const QColor kLinkColour(0, 0, 192);
const QColor kLinkPressedColour(192, 0, 0);
} // namespace

// ------------------------------------------------------------------ help

QString MainWindowBase::informationText()
{
    return QStringLiteral("All important objects of this program support 'ToolTips'.\r\n\r\n"
                          "Move your mouse over an object and wait a while, then\r\n"
                          "a small yellow box with a short explanation will appear.");
}

void MainWindowBase::showInformation()
{
    m_prompt.message(m_profile.productName, informationText(), Icon::None, Buttons::Ok);
}

void MainWindowBase::openHelp(HelpLink link)
{
    if (m_openUrl)
        m_openUrl(QUrl(helpAddress(link, m_webHost, m_profile), QUrl::TolerantMode));
}

void MainWindowBase::showAbout()
{
    const QString text = m_profile.productName + QStringLiteral(" ") + versionText() + QStringLiteral("\r\n\r\n") +
                         m_profile.aboutText + QStringLiteral("\r\n") + m_webHost;
    m_runMarks.setBusy(true);
    m_prompt.message(QStringLiteral("About ") + m_profile.productName, text, Icon::Information, Buttons::Ok);
    m_runMarks.setBusy(false);
}

void MainWindowBase::showLinkPressed()
{
    QPalette pal = m_linkLabel->palette();
    pal.setColor(QPalette::WindowText, kLinkPressedColour);
    m_linkLabel->setPalette(pal);
}

void MainWindowBase::showLinkReleased()
{
    QPalette pal = m_linkLabel->palette();
    pal.setColor(QPalette::WindowText, kLinkColour);
    m_linkLabel->setPalette(pal);
}

} // namespace logo
