#pragma once
// Shared pieces of the command-line tool: argument access, a prompt that prints
// to the console, and opening a picture the way the windows do.
#include "desktop/profile.h"
#include "desktop/prompt.h"
#include "desktop/settingsstore.h"
#include "graphic/filecommands.h"
#include "graphic/logodocument.h"
#include "phone/atengine.h"
#include "phone/deliveryjob.h"

#include <QStringList>
#include <memory>

namespace logotool {

// Prints every message box to stderr and answers questions with Yes: the user
// asked for the operation on the command line.
class ConsolePrompt : public logo::ScriptedPrompt {
public:
    ConsolePrompt() { defaultAnswer = logo::Answer::Yes; }
    logo::Answer message(const QString &title, const QString &text, logo::Icon icon,
                         logo::Buttons buttons) override;
    // Put before every message ("in.otb: "), so a run over many files says
    // which one a message is about.
    QString prefix;
};

// Arguments after the sub-command: positional values and "--name value" options;
// after "--" every word is a positional value.
class Args {
public:
    explicit Args(const QStringList &args);
    QStringList positional;
    bool has(const QString &name) const;            // "--report"
    QString value(const QString &name, const QString &def = QString()) const;
    QStringList unknown(const QStringList &known) const;

private:
    QMap<QString, QString> m_options;
    QStringList m_flags;
};

// A document with a console prompt. Commands that only read and write files
// keep their settings in a store in memory, so the tool never disturbs the
// programs' own settings; commands that use the phone link pass the real store.
struct Session {
    explicit Session(const logo::ProgramProfile &profile, logo::SettingsStore *settings = nullptr);
    std::unique_ptr<logo::SettingsStore> ownSettings;
    logo::SettingsStore *settings;
    ConsolePrompt prompt;
    std::unique_ptr<logo::LogoDocument> doc;
    // The file commands on doc, with recent files, dialog folders and a busy
    // flag of the session's own.
    std::unique_ptr<logo::RecentFiles> recent;
    logo::DialogFolders folders;
    std::unique_ptr<logo::RunMarks> marks;
    std::unique_ptr<logo::FileCommands> files;
    // A fresh document of the profile, with its file commands.
    void newDocument(const logo::ProgramProfile &profile);
    QSize exportPixel{1, 1};   // the block of each pixel in an exported picture
};

// Opens a file the way the Open command (or Import, for picture files) does.
// False after printing why.
bool openInput(Session &s, const QString &path);

// "--program quillet|brisvane": sets profile (left null without the option);
// false for any other value.
bool programOption(const Args &a, const logo::ProgramProfile *&profile);

// "--mcc M --mnc N": sets the picture's network code. False when only one is
// given or either is not decimal digits.
bool networkOption(const Args &a, logo::LogoDocument &doc);

// The picture of the delivery commands (send, store, ir-upload): FILE with
// "--mcc M --mnc N", and the program it goes as ("--program").
struct DeliveryPicture {
    const logo::ProgramProfile *profile = nullptr;  // --program, else by the picture's network code
    logo::LogoGrid grid;
    QString mcc, mnc;

    // 0 when all is well, else the exit code after saying why. The picture is
    // opened in a scratch session, so that the programs' recent files and
    // title stay as they are.
    int parse(const Args &a);
    // The picture and its network code into the document the job runs on.
    void applyTo(logo::LogoDocument &doc) const;
    // What the job delivers.
    logo::OutgoingPicture outgoing() const { return {profile, grid, mcc, mnc}; }
};

// The options of every command that opens a port (send, store, ir-upload):
// "--port N" and "--device PATH": their synopsis, their names for
// Args::unknown, and reading them; false after printing what is wrong (usage
// error, exit 2).
extern const char *const kPortOptionsUsage;
QStringList portOptionNames();
bool portOptions(const Args &a, int &port, QString &device);
// A device of its own needs no configured port (the setting portKey): the
// number 1 then only names it in the messages.
void portForOwnDevice(int &port, const QString &device, const logo::SettingsStore &settings,
                      const QString &portKey);

// The options of every command that talks to the phone (send, store): the
// port options and "--quick": their synopsis, the help line of --quick, and
// their names for Args::unknown.
extern const char *const kLinkOptionsUsage;
extern const char *const kLinkOptionsHelp;
QStringList linkOptionNames();
// Reads them into o; false after printing what is wrong (usage error, exit 2).
bool linkOptions(const Args &a, logo::LinkOverrides &o);

// Writes the document's picture to target as convert does: a .bmp or .png name
// exports the picture (each pixel a block of the session's exportPixel), else
// NOL or NGG by the name. 0 on success (with what was
// written in wrote), else 1 after printing why.
// who ("in.otb: ") starts the failure messages in place of "error: ".
int writeOutput(Session &s, const QString &target, QString *wrote = nullptr, const QString &who = QString());

// Starts a delivery job and runs until it has ended: each percentage on
// standard output as it comes, and the text it ends with as the window's
// message box through prompt.
void runJob(logo::DeliveryJob &job, logo::Prompt &prompt, const QString &title);

int err(const QString &text, int code = 1);
// A message line as the windows show it (CR LF as line breaks), in UTF-8,
// flushed; where a window's text names its options dialog, the command's
// options instead (terminalText).
void say(FILE *stream, const QString &text);
QString terminalText(const QString &text);
// Points XDG_RUNTIME_DIR at a private folder when the session has none.
void ensureRuntimeDir();
void out(const QString &text);
// "--help": the usage on standard output, exit code 0.
int help(const QString &usage);

using Command = int (*)(const QStringList &args);
struct CommandInfo {
    const char *name;
    Command run;
    const char *synopsis;
    const char *summary;
};

int showCommand(const QStringList &args);
int convertCommand(const QStringList &args);   // logotool_convert.cpp
int formatsCommand(const QStringList &args);   // logotool_formats.cpp
int pduCommand(const QStringList &args);       // logotool_pdu.cpp
int sendCommand(const QStringList &args);      // logotool_phone.cpp
int storeCommand(const QStringList &args);     // logotool_phone.cpp
int operatorsCommand(const QStringList &args); // logotool_operators.cpp
int irUploadCommand(const QStringList &args);  // logotool_ir.cpp
int testPortCommand(const QStringList &args);  // logotool_setup.cpp
int readSmscCommand(const QStringList &args);  // logotool_setup.cpp
int phonebookCommand(const QStringList &args); // logotool_setup.cpp
int uploadUrlCommand(const QStringList &args);   // logotool_upload.cpp
int uploadPageCommand(const QStringList &args);  // logotool_upload.cpp
int serveCommand(const QStringList &args);     // logotool_serve.cpp
int textCommand(const QStringList &args);      // logotool_text.cpp
int drawCommand(const QStringList &args);      // logotool_draw.cpp

} // namespace logotool
