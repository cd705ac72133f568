#include "widgets/programmain.h"

#include "desktop/profile.h"
#include "desktop/safewrite.h"
#include "desktop/settingsstore.h"
#include "widgets/handover.h"
#include "widgets/mainwindowbase.h"
#include "widgets/qtprompt.h"

#include <QApplication>
#include <cstdio>
#include <cstring>
#include <optional>

namespace logo {

namespace {

// A screenshot run is no running instance: the run marks of the program go
// back to what they were before it started, so that a window that really runs
// keeps its own and none is left behind.
class KeptRunMarks {
public:
    KeptRunMarks(SettingsStore &settings, const QString &section) : m_settings(settings), m_section(section)
    {
        for (const QString &key : keys())
            m_values << (m_settings.contains(m_section, key) ? m_settings.read(m_section, key) : QString());
    }
    ~KeptRunMarks()
    {
        for (qsizetype i = 0; i < keys().size(); ++i) {
            if (m_values[i].isNull())
                m_settings.remove(m_section, keys()[i]);
            else
                m_settings.write(m_section, keys()[i], m_values[i]);
        }
        m_settings.sync();
    }

private:
    static QStringList keys() { return {QStringLiteral("CurrentAppname"), QStringLiteral("CurrentBusy")}; }
    SettingsStore &m_settings;
    QString m_section;
    QStringList m_values;
};

// "--help" and "--version" answer on the terminal and end before any window,
// settings or running instance is touched. A file of that name opens as
// "./--help".
std::optional<int> answerOnTerminal(int argc, char **argv, const ProgramProfile &profile)
{
    if (argc != 2)
        return std::nullopt;
    const QByteArray name = profile.desktopEntry.toUtf8();
    if (!std::strcmp(argv[1], "--version")) {
        std::printf("%s %s\n", name.constData(), versionText().toUtf8().constData());
        return 0;
    }
    if (std::strcmp(argv[1], "--help") && std::strcmp(argv[1], "-h"))
        return std::nullopt;
    std::printf("usage: %s [FILE]\n"
                "       %s --screenshot PNG [FILE]\n"
                "\n"
                "%s\n"
                "\n"
                "  FILE              the picture to open; a second start hands it to the\n"
                "                    running window and ends\n"
                "  --screenshot PNG  save a picture of the window to PNG and end\n"
                "  --help            this text\n"
                "  --version         the program's version\n",
                name.constData(), name.constData(), profile.aboutText.toUtf8().constData());
    return 0;
}

} // namespace

int runProgram(int argc, char **argv, const ProgramProfile &profile, const WindowMaker &makeWindow)
{
    if (const std::optional<int> answered = answerOnTerminal(argc, argv, profile))
        return *answered;
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
    std::optional<KeptRunMarks> keptMarks;
    if (!screenshot.isEmpty())
        keptMarks.emplace(settings, profile.settingsSection);
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
        const bool saved = saveImageAtomically(window->grab().toImage(), screenshot, "PNG");
        return saved ? 0 : 1;
    }
    return QApplication::exec();
}

} // namespace logo
