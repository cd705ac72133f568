#pragma once
// The whole of a program's main(): the application, the real dialogs and the
// user's settings, the hand-over to a running instance, the window.
//
//   program [FILE]                      open FILE at start
//   program --screenshot PNG [FILE]     save a picture of the window and quit
#include <QString>
#include <functional>
#include <memory>

namespace logo {

class MainWindowBase;
class Prompt;
class SettingsStore;
struct ProgramProfile;

// Makes the program's window on the prompt and settings, for the program's
// folder and the file named on the command line.
using WindowMaker = std::function<std::unique_ptr<MainWindowBase>(Prompt &prompt, SettingsStore &settings,
                                                                   const QString &appFolder, const QString &file)>;

int runProgram(int argc, char **argv, const ProgramProfile &profile, const WindowMaker &makeWindow);

} // namespace logo
