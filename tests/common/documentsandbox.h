#pragma once
// A Quillet document of a test's own with its file commands: its settings in a
// sandbox, every question answered from a script.
#include "common/testsupport.h"
#include "graphic/filecommands.h"
#include "graphic/logodocument.h"

namespace logotest {

// The file commands on a document, with recent files, dialog folders and run
// marks (off) of their own, as a window has them.
struct FilePieces {
    FilePieces(logo::LogoDocument &doc, logo::Prompt &prompt, logo::SettingsStore &settings)
        : recent(doc.profile()), marks(settings, doc.profile().settingsSection),
          files({doc, prompt, recent, folders, marks})
    {
    }
    logo::RecentFiles recent;
    logo::DialogFolders folders;
    logo::RunMarks marks;
    logo::FileCommands files;
};

// Writes the document's picture to path as Save does.
inline logo::FileCommands::WriteResult writeLogoFile(logo::LogoDocument &doc, logo::Prompt &prompt,
                                                     logo::SettingsStore &settings, const QString &path)
{
    FilePieces pieces(doc, prompt, settings);
    return pieces.files.writeLogoFile(path);
}

struct QuilletDocument {
    Sandbox sb;
    logo::ScriptedPrompt prompt;
    logo::LogoDocument doc{logo::ProgramProfile::quillet()};
    FilePieces pieces{doc, prompt, sb.settings()};
    logo::FileCommands &files = pieces.files;
    logo::RecentFiles &recent = pieces.recent;
    logo::DialogFolders &folders = pieces.folders;
    logo::RunMarks &marks = pieces.marks;
};

} // namespace logotest
