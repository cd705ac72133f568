#pragma once
// Brisvane's file commands: a logo read or imported selects its operator in
// the list, a default logo keeps the name "Default" and stays out of the
// recent files, Save As refuses the DEFAULT folders, and the Extras menu loads
// and saves the operators' default logos.
#include "brisvanemodel/brisvanedocument.h"
#include "graphic/filecommands.h"

namespace brisvane {

class BrisvaneFileCommands : public logo::FileCommands {
public:
    BrisvaneFileCommands(BrisvaneDocument &document, logo::Prompt &prompt, logo::RecentFiles &recent,
                         logo::DialogFolders &folders, logo::RunMarks &marks);

    // Extras > Load default / the mark: opens the default logo.
    bool loadDefaultLogo();
    // Extras > Save as default: writes the logo as the operator's default.
    bool saveDefaultLogo();

protected:
    void finishLogoRead(const QString &path) override;
    void finishForeignRead(const QString &path) override;
    void finishImport(const QString &path) override;
    void finishLogoWrite(const QString &path) override;
    bool acceptSaveTarget(const QString &path) override;

private:
    BrisvaneDocument &m_brisvane;
};

} // namespace brisvane
