// Brisvane: the operator-logo program. The window does all the work; the
// shared main sets up the application, the real dialogs and the user's
// settings.
//
//   brisvane [FILE]                      open FILE at start
//   brisvane --screenshot PNG [FILE]     save a picture of the window and quit
#include "mainwindow.h"
#include "desktop/profile.h"
#include "widgets/programmain.h"

int main(int argc, char **argv)
{
    return logo::runProgram(argc, argv, logo::ProgramProfile::brisvane(),
                            [](logo::Prompt &prompt, logo::SettingsStore &settings, const QString &folder,
                               const QString &file) -> std::unique_ptr<logo::MainWindowBase> {
                                return std::make_unique<brisvane::MainWindow>(
                                    prompt, settings, std::make_unique<logo::AppFolders>(folder), file);
                            });
}
