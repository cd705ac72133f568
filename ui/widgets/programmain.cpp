#include "widgets/programmain.h"

#include "desktop/profile.h"
#include "desktop/prompt.h"
#include "desktop/safewrite.h"
#include "desktop/settingsstore.h"
#include "picture/pictureimage.h"
#include "picture/picturelibrary.h"
#include "widgets/desktopstartup.h"
#include "handover/singleinstance.h"
#include "widgets/mainwindowbase.h"
#include "widgets/qtprompt.h"
#include "widgets/leanfusionstyle.h"

#include <QApplication>
#include <QDir>
#include <QTimer>
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

// The prompt of a screenshot run, which nobody watches: every message goes to
// the standard error, every question gets its default answer, no dialog opens.
class UnattendedPrompt : public ScriptedPrompt {
public:
    Answer message(const QString &title, const QString &text, Icon icon, Buttons buttons) override
    {
        QString shown = text;
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        std::fprintf(stderr, "%s: %s\n", title.toUtf8().constData(), shown.toUtf8().constData());
        return ScriptedPrompt::message(title, text, icon, buttons);
    }
    bool attended() const override { return false; }
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
    // The desktop's token of this start, before the toolkit takes it over.
    const QByteArray launch = launchToken();
    QApplication app(argc, argv);
    QApplication::setApplicationName(profile.productName);
    LeanFusionStyle::installOverFusion();
    // Pictures, the undo stack and the wait pointer, before any document.
    installPictureLibrary();

    QStringList args = QApplication::arguments().mid(1);
    QString screenshot;
    if (args.size() >= 2 && args.front() == QLatin1String("--screenshot")) {
        screenshot = args.at(1);
        args = args.mid(2);
    }

    QtPrompt windowPrompt;
    UnattendedPrompt unattended;
    Prompt &prompt = screenshot.isEmpty() ? static_cast<Prompt &>(windowPrompt) : unattended;
    SettingsStore settings;
    std::optional<KeptRunMarks> keptMarks;
    if (!screenshot.isEmpty())
        keptMarks.emplace(settings, profile.settingsSection);
    // A second start hands its file to the running instance and ends; it
    // shows no window, so it ends the launcher's start-up feedback itself.
    SingleInstance instance(profile);
    if (screenshot.isEmpty() && instance.start(args.value(0), launch) != SingleInstance::Start::Main) {
        completeStartup(launch);
        return 0;
    }
    // What the start-up changes in the settings goes to disk in one write,
    // once the window is up, instead of a rewrite of the file for each value.
    std::optional<SettingsBatch> startup;
    startup.emplace(settings);
    if (screenshot.isEmpty()) {
        // The marks of an instance that was killed are stale now.
        settings.remove(profile.settingsSection, QStringLiteral("CurrentBusy"));
        settings.remove(profile.settingsSection, QStringLiteral("CurrentAppname"));
    }
    const std::unique_ptr<MainWindowBase> window =
        makeWindow(prompt, settings, QCoreApplication::applicationDirPath(), args.value(0));
    windowPrompt.setParent(window.get());
    MainWindowBase *w = window.get();
    window->show();
    startup.reset();
    // Later starts are listened for once the first frame is out. Busy: a
    // command of the window runs, or any modal box is open.
    if (screenshot.isEmpty())
        QTimer::singleShot(0, w, [&instance, &prompt, w] {
            instance.receiveInto(
                prompt, [w] { return w->runMarks().isBusy() || QApplication::activeModalWidget(); },
                [w](const QString &path) {
                    w->openReceivedFile(path);
                    SingleInstance::noteOpened(w->document().currentFile());
                },
                [w](const QByteArray &token) {
                    if (w->isMinimized())
                        w->showNormal();
                    w->raise();
                    activateWithToken(w, token);
                });
        });

    if (!screenshot.isEmpty()) {
        QCoreApplication::processEvents();
        const bool saved = saveImageAtomically(window->grab().toImage(), screenshot, "PNG");
        if (!window->commandLineRead()) {
            // A file that could not be read says so even when it gave no message.
            if (unattended.messages().isEmpty())
                std::fprintf(stderr, "%s: %s: Can't read this file.\n", profile.productName.toUtf8().constData(),
                             QDir::toNativeSeparators(window->commandLine()).toUtf8().constData());
            return 1;
        }
        if (!saved)
            std::fprintf(stderr, "%s: can't write %s\n", profile.productName.toUtf8().constData(),
                         QDir::toNativeSeparators(screenshot).toUtf8().constData());
        return saved ? 0 : 1;
    }
    return QApplication::exec();
}

} // namespace logo
