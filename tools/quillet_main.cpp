// Quillet: the group-graphics editor. The window does all the work; this only
// sets up the application, the real dialogs and the user's settings store.
//
//   quillet [FILE]                      open FILE at start
//   quillet --screenshot PNG [FILE]     save a picture of the window and quit
#include "desktop/profile.h"
#include "widgets/qtprompt.h"
#include "desktop/settingsstore.h"
#include "quillet/mainwindow.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(logo::ProgramProfile::quillet().productName);

    QStringList args = QApplication::arguments().mid(1);
    QString screenshot;
    if (args.size() >= 2 && args.front() == QLatin1String("--screenshot")) {
        screenshot = args.at(1);
        args = args.mid(2);
    }

    logo::QtPrompt prompt;
    logo::SettingsStore settings;
    quillet::MainWindow window(logo::ProgramProfile::quillet(), prompt, settings,
                               QCoreApplication::applicationDirPath(), args.value(0));
    prompt.setParent(&window);
    window.show();

    if (!screenshot.isEmpty()) {
        QCoreApplication::processEvents();
        return window.grab().save(screenshot) ? 0 : 1;
    }
    return QApplication::exec();
}
