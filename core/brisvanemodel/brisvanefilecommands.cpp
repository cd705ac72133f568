#include "brisvanemodel/brisvanefilecommands.h"


namespace brisvane {

BrisvaneFileCommands::BrisvaneFileCommands(BrisvaneDocument &document, logo::Prompt &prompt,
                                           logo::RecentFiles &recent, logo::DialogFolders &folders,
                                           logo::RunMarks &marks)
    : FileCommands({document, prompt, recent, folders, marks}), m_brisvane(document)
{
}

// ---------------------------------------------------------------- default logos

bool BrisvaneFileCommands::loadDefaultLogo()
{
    const QString path = m_brisvane.defaultLogoPath();
    return !path.isEmpty() && openFile(path);
}

bool BrisvaneFileCommands::saveDefaultLogo()
{
    if (!m_brisvane.hasOperatorSelected() || m_brisvane.currentMCC().isEmpty())
        return false;
    const QString previous = m_brisvane.currentFile();
    const QString target = m_brisvane.defaultLogoTarget();
    m_brisvane.renameTo(BrisvaneDocument::DefaultName);
    m_marks.setBusy(true);
    const WriteResult result = writeLogoFile(target);
    m_marks.setBusy(false);
    if (result != WriteResult::Written) {
        m_brisvane.renameTo(previous);
        if (result != WriteResult::Declined)
            m_prompt.critical(profile().productName,
                              QStringLiteral("The default logo could not be saved.\r\n") + target);
        return false;
    }
    m_brisvane.refreshPanel();
    return true;
}

// ---------------------------------------------------------------- reads and writes

void BrisvaneFileCommands::finishLogoRead(const QString &path)
{
    // A default logo is named "Default" wherever it was opened from, and
    // never enters the recent list.
    m_brisvane.setNameFromRead(false);
    if (m_brisvane.isDefaultFolderPath(path)) {
        m_brisvane.setCurrentFile(BrisvaneDocument::DefaultName);
    } else {
        m_brisvane.setCurrentFile(path);
        m_recent.add(path);
    }
    m_brisvane.setTitle();
    m_brisvane.showReplacedPicture();
    m_brisvane.selectOperatorFromCode();
}

void BrisvaneFileCommands::finishForeignRead(const QString &path)
{
    FileCommands::finishForeignRead(path);
    m_brisvane.selectOperatorFromCode();
}

void BrisvaneFileCommands::finishImport(const QString &path)
{
    FileCommands::finishImport(path);
    m_brisvane.selectOperatorFromCode();
}

void BrisvaneFileCommands::finishLogoWrite(const QString &path)
{
    // Saving a default logo keeps the name "Default" and the recent list.
    if (m_brisvane.currentFile() == BrisvaneDocument::DefaultName)
        m_brisvane.setTitle();
    else
        FileCommands::finishLogoWrite(path);
}

bool BrisvaneFileCommands::acceptSaveTarget(const QString &path)
{
    if (!m_brisvane.isDefaultFolderPath(path))
        return true;
    m_prompt.message(profile().productName,
                     logo::joinLines({QStringLiteral("Can't save your file here. Try another path."), QString(),
                                      QStringLiteral("Use menu 'Extras -> Save as default logo' to"),
                                      QStringLiteral("save default logos for operators.")}),
                     logo::Icon::Exclamation, logo::Buttons::Ok);
    return false;
}

} // namespace brisvane
