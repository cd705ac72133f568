#include "widgets/programmain.h"

#include "desktop/profile.h"
#include "desktop/settingsstore.h"
#include "widgets/handover.h"
#include "widgets/mainwindowbase.h"
#include "widgets/qtprompt.h"

#include <QApplication>

namespace logo {

int runProgram(int argc, char **argv, const ProgramProfile &profile, const WindowMaker &makeWindow)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(profile.productName);

    QStringList args = QApplication::arguments().mid(1);
    QString screenshot;
    if (args.size() >= 2 && args.front() == QLatin1String("--screenshot")) {
        screenshot = args.at(1);
        args = args.mid(2);
    }

    QtPrompt prompt;
    SettingsStore settings;
    // A second start hands its file to the running instance and ends.
    InstanceHandOver handOver(profile);
    if (screenshot.isEmpty() && handOver.start(args.value(0), settings, prompt) != InstanceHandOver::Start::Main)
        return 0;
    const std::unique_ptr<MainWindowBase> window =
        makeWindow(prompt, settings, QCoreApplication::applicationDirPath(), args.value(0));
    prompt.setParent(window.get());
    MainWindowBase *w = window.get();
    handOver.receiveInto(
        w, prompt, [w] { return w->document().isBusy(); },
        [w](const QString &path) {
            w->myOpenFileReceived(path);
            InstanceHandOver::noteOpened(w->document().currentFile());
        });
    window->show();

    if (!screenshot.isEmpty()) {
        QCoreApplication::processEvents();
        return window->grab().save(screenshot) ? 0 : 1;
    }
    return QApplication::exec();
}

} // namespace logo
