// Quillet: the group-graphics editor. The window does all the work; the shared
// main sets up the application, the real dialogs and the user's settings.
//
//   quillet [FILE]                      open FILE at start
//   quillet --screenshot PNG [FILE]     save a picture of the window and quit
#include "desktop/profile.h"
#include "mainwindow.h"
#include "widgets/programmain.h"

int main(int argc, char **argv)
{
    const logo::ProgramProfile &profile = logo::ProgramProfile::quillet();
    return logo::runProgram(argc, argv, profile,
                            [&](logo::Prompt &prompt, logo::SettingsStore &settings, const QString &folder,
                                const QString &file) -> std::unique_ptr<logo::MainWindowBase> {
                                return std::make_unique<quillet::MainWindow>(profile, prompt, settings, folder, file);
                            });
}
