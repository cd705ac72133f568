// Quillet: the group-graphics editor. The window does all the work; this only
// sets up the application, the real dialogs and the user's settings store.
//
//   quillet [FILE]                      open FILE at start
//   quillet --screenshot PNG [FILE]     save a picture of the window and quit
#include "desktop/profile.h"
#include "widgets/handover.h"
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
    // A second start hands its file to the running instance and ends.
    logo::InstanceHandOver handOver(logo::ProgramProfile::quillet());
    if (screenshot.isEmpty() &&
        handOver.start(args.value(0), settings, prompt) != logo::InstanceHandOver::Start::Main)
        return 0;
    quillet::MainWindow window(logo::ProgramProfile::quillet(), prompt, settings,
                               QCoreApplication::applicationDirPath(), args.value(0));
    prompt.setParent(&window);
    handOver.receiveInto(
        &window, prompt, [&window] { return window.document().isBusy(); },
        [&window](const QString &path) {
            window.myOpenFileReceived(path);
            logo::InstanceHandOver::noteOpened(window.document().currentFile());
        });
    window.show();

    if (!screenshot.isEmpty()) {
        QCoreApplication::processEvents();
        return window.grab().save(screenshot) ? 0 : 1;
    }
    return QApplication::exec();
}
