// logotool: the programs' picture and phone code on the command line, for
// scripting and batch work.
#include "logotool.h"

#include "desktop/appfolders.h"
#include "graphic/logofile.h"
#include "graphic/metafileframe.h"
#include "graphic/pathutil.h"
#include "graphic/pictureimport.h"
#include "graphic/picturesupport.h"
#include "graphic/regularfile.h"
#include "sms/digits.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <memory>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace logotool {

logo::Answer ConsolePrompt::message(const QString &title, const QString &text, logo::Icon icon,
                                    logo::Buttons buttons)
{
    say(stderr, prefix + text);
    return ScriptedPrompt::message(title, text, icon, buttons);
}

// Options that stand alone; every other option takes the next word as its value.
static const QStringList kFlags{QStringLiteral("--report"), QStringLiteral("--help"), QStringLiteral("--quick"),
                                QStringLiteral("--aspect")};

Args::Args(const QStringList &args)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == QLatin1String("--")) {
            positional << args.mid(i + 1);   // the rest are values, even when they start with "--"
            break;
        }
        if (a.startsWith(QStringLiteral("--"))) {
            const qsizetype eq = a.indexOf(QLatin1Char('='));
            if (kFlags.contains(a)) {
                m_flags << a;   // never takes a value
            } else if (eq > 0) {
                m_options.insert(a.left(eq), a.mid(eq + 1));
            } else if (i + 1 < args.size() && !args[i + 1].startsWith(QStringLiteral("--"))) {
                m_options.insert(a, args[i + 1]);
                ++i;
            } else {
                m_flags << a;
            }
        } else {
            positional << a;
        }
    }
}

bool Args::has(const QString &name) const
{
    return m_flags.contains(name) || m_options.contains(name);
}

QString Args::value(const QString &name, const QString &def) const
{
    return m_options.value(name, def);
}

QStringList Args::unknown(const QStringList &known) const
{
    QStringList bad;
    for (const QString &k : m_options.keys())
        if (!known.contains(k))
            bad << k;
    for (const QString &k : m_flags)
        if (!known.contains(k))
            bad << k;
    return bad;
}

Session::Session(const logo::ProgramProfile &profile, logo::SettingsStore *store)
{
    if (!store) {
        ownSettings = logo::SettingsStore::inMemory();
        store = ownSettings.get();
    }
    settings = store;
    newDocument(profile);
}

void Session::newDocument(const logo::ProgramProfile &profile)
{
    files.reset();
    doc = std::make_unique<logo::LogoDocument>(profile);
    recent = std::make_unique<logo::RecentFiles>(profile);
    folders = {};
    marks = std::make_unique<logo::RunMarks>(*settings, profile.settingsSection);
    files = std::make_unique<logo::FileCommands>(logo::FileCommands::Pieces{*doc, prompt, *recent, folders, *marks});
}

bool openInput(Session &s, const QString &path)
{
    if (!logo::isRegularFile(path))
        return err(QFileInfo::exists(path) ? QStringLiteral("%1: not a regular file").arg(path)
                                           : QStringLiteral("%1: no such file").arg(path)),
               false;
    const auto before = s.prompt.shown.size();
    // Picture files go by the Import rule, as the Import command takes them.
    if (logo::isImportPicturePath(path) ? s.files->importPicture(path) : s.files->openFile(path))
        return true;
    if (s.prompt.shown.size() == before)
        err(QStringLiteral("%1: can't read this file").arg(path));
    return false;
}

bool programOption(const Args &a, const logo::ProgramProfile *&profile)
{
    profile = nullptr;
    if (!a.has(QStringLiteral("--program")))
        return true;
    const QString program = a.value(QStringLiteral("--program"));
    if (program == QLatin1String("quillet"))
        profile = &logo::ProgramProfile::quillet();
    else if (program == QLatin1String("brisvane"))
        profile = &logo::ProgramProfile::brisvane();
    return profile != nullptr;
}

bool networkOption(const Args &a, logo::LogoDocument &doc)
{
    if (!a.has(QStringLiteral("--mcc")) && !a.has(QStringLiteral("--mnc")))
        return true;
    const QString mcc = a.value(QStringLiteral("--mcc"));
    const QString mnc = a.value(QStringLiteral("--mnc"));
    if (mcc.isEmpty() || mnc.isEmpty() || logo::digitsOnly(mcc) != mcc || logo::digitsOnly(mnc) != mnc ||
        mcc.size() > 4 || mnc.size() > 4)
        return false;
    doc.setNetworkCode(logo::formatMcc(mcc.toInt()), logo::formatMnc(mnc.toInt()));
    return true;
}

int DeliveryPicture::parse(const Args &a)
{
    if (!programOption(a, profile))
        return err(QStringLiteral("error: --program takes quillet or brisvane"), 2);
    Session picture(logo::ProgramProfile::quillet());
    if (!openInput(picture, a.positional.value(0)))
        return 1;
    if (!networkOption(a, *picture.doc))
        return err(QStringLiteral("error: --mcc and --mnc take decimal digits"), 2);
    grid = picture.doc->grid();
    mcc = picture.doc->currentMCC();
    mnc = picture.doc->currentMNC();
    if (!profile)
        profile = mcc.isEmpty() ? &logo::ProgramProfile::quillet() : &logo::ProgramProfile::brisvane();
    return 0;
}

void DeliveryPicture::applyTo(logo::LogoDocument &doc) const
{
    doc.grid() = grid;
    doc.setNetworkCode(mcc, mnc);
}

const char *const kPortOptionsUsage = "[--port N] [--device PATH]";

QStringList portOptionNames()
{
    return {QStringLiteral("--port"), QStringLiteral("--device")};
}

bool portOptions(const Args &a, int &port, QString &device)
{
    if (a.has(QStringLiteral("--port"))) {
        bool ok = false;
        port = a.value(QStringLiteral("--port")).toInt(&ok);
        if (!ok || port <= 0)
            return err(QStringLiteral("error: --port takes a port number (1 for COM1)")), false;
    }
    device = a.value(QStringLiteral("--device"));
    if (a.has(QStringLiteral("--device")) && device.isEmpty())
        return err(QStringLiteral("error: --device takes a path")), false;
    return true;
}

void portForOwnDevice(int &port, const QString &device, const logo::SettingsStore &settings,
                      const QString &portKey)
{
    if (!device.isEmpty() && port <= 0 && settings.readInt(logo::kSharedSection, portKey, 0) <= 0)
        port = 1;
}

QString terminalText(const QString &text)
{
    // The windows send the user to their options dialog; on the terminal the
    // command's own options do the same.
    static const struct {
        const char *window;
        const char *terminal;
    } kPointers[] = {
        {"Please configure your Message Center Number\r\nin menu 'Edit/Options'",
         "Please configure your Message Center Number\r\nwith --smsc DIGITS (or read it from the phone: "
         "logotool read-smsc)"},
        {"Please configure the Nokia GSM Serial Port\r\nin menu 'Edit/Options'",
         "Please configure the Nokia GSM Serial Port\r\nwith --port N or --device PATH"},
        {"Please configure the physical IR Port\r\nin menu 'Edit/Options/IR Port'",
         "Please configure the physical IR Port\r\nwith --port N or --device PATH"},
    };
    QString shown = text;
    for (const auto &p : kPointers)
        shown.replace(QLatin1String(p.window), QLatin1String(p.terminal));
    return shown;
}

void say(FILE *stream, const QString &text)
{
    QString shown = terminalText(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fprintf(stream, "%s\n", shown.toUtf8().constData());
    std::fflush(stream);
}

void ensureRuntimeDir()
{
#ifdef Q_OS_UNIX
    // Outside a desktop session there is no runtime folder; give the toolkit
    // a private one instead of a warning on every run.
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    // The temporary folder is everyone's: a name another user took first (a
    // folder of theirs, a link) is not used, nor changed.
    const QString dir = logo::temporaryFolder() + QStringLiteral("/runtime-") + QString::number(::getuid());
    if (logo::makePrivateFolder(dir))
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir));
#endif
}

int err(const QString &text, int code)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
    return code;
}

int help(const QString &usage)
{
    out(usage);
    return 0;
}

void out(const QString &text)
{
    std::fprintf(stdout, "%s\n", qPrintable(text));
}

int showCommand(const QStringList &argv)
{
    Args a(argv);
    const QString usage = QStringLiteral("usage: logotool show FILE");
    if (a.has(QStringLiteral("--help")))
        return help(usage);
    if (a.positional.size() != 1)
        return err(usage, 2);
    Session s(logo::ProgramProfile::quillet());
    if (!openInput(s, a.positional[0]))
        return 1;
    const logo::LogoGrid &g = s.doc->grid();
    out(QStringLiteral("size %1x%2").arg(g.width()).arg(g.height()));
    if (s.doc->currentMCC().isEmpty())
        out(QStringLiteral("network none"));
    else
        out(QStringLiteral("network %1 %2").arg(s.doc->currentMCC(), s.doc->currentMNC()));
    for (int r = 0; r < g.height(); ++r) {
        QString line;
        for (int c = 0; c < g.width(); ++c)
            line += g.isSet(c, r) ? QLatin1Char('#') : QLatin1Char('.');
        out(line);
    }
    return 0;
}

static const CommandInfo kCommands[] = {
    {"show", showCommand, "show FILE", "print the picture as it opens"},
    {"convert", convertCommand, "convert IN OUT [--mcc M --mnc N] [--scale N] [--aspect]",
     "read IN, write OUT (NOL or NGG by name, .bmp or .png the exported picture)"},
    {"convert", convertCommand, "convert IN... --to ngg|nol|bmp|png --out-dir DIR [--mcc M --mnc N] [--scale N] [--aspect]",
     "convert many files in one run, each to DIR under its own name"},
    {"text", textCommand, "text LINE [LINE [LINE]] OUT [--font tiny|bold] [--mcc M --mnc N]",
     "draw one to three lines of text into the picture, write OUT as convert does"},
    {"draw", drawCommand, "draw IN OUT OP... [--mcc M --mnc N]",
     "draw lines, rectangles, ellipses and fills (logotool draw --help) into IN, write OUT as convert does"},
    {"formats", formatsCommand, "formats", "list the files read and written"},
    {"pdu", pduCommand, "pdu submit|deliver FILE ...", "print the AT command and PDU line of a send or store"},
    {"send", sendCommand, "send FILE --to DIGITS [--port N | --device PATH] [--quick] [--smsc DIGITS]",
     "send as SMS through the phone"},
    {"store", storeCommand, "store FILE [--port N | --device PATH] [--quick] [--smsc DIGITS]",
     "store in the phone's SMS inbox (the message centre is only checked for)"},
    {"operators", operatorsCommand, "operators [--update FILE]",
     "Brisvane's operator list: country - name;MCC;MNC;web address"},
    {"ir-upload", irUploadCommand, "ir-upload FILE [--port N | --device PATH] [--program quillet|brisvane]",
     "upload by infrared to a 61xx phone"},
    {"test-port", testPortCommand, "test-port [--port N | --device PATH] [--quick]",
     "does a Nokia phone answer on the port?"},
    {"read-smsc", readSmscCommand, "read-smsc [--port N | --device PATH] [--quick]",
     "read the message-centre number from the phone and store it"},
    {"phonebook", phonebookCommand, "phonebook [--port N | --device PATH] [--quick] [--program P] [--cache FILE]",
     "read the phone's phonebook (SIM, then phone memory)"},
    {"upload-url", uploadUrlCommand, "upload-url FILE [--program quillet|brisvane] [--mcc M --mnc N]",
     "print the web upload address"},
    {"upload-page", uploadPageCommand, "upload-page FILE [--program quillet|brisvane] [--mcc M --mnc N]",
     "write the web upload page to the temporary folder and print its path"},
    {"serve", serveCommand, "serve [--listen HOST:PORT] [--port N | --device PATH] [--quick] [--db FILE] [--token TEXT]",
     "the upload gateway: receive the upload address, send each picture through the phone"},
};

static void usage(std::FILE *to)
{
    std::fprintf(to, "usage: logotool COMMAND ...\n\ncommands:\n");
    for (const auto &c : kCommands)
        std::fprintf(to, "  logotool %s\n      %s\n", c.synopsis, c.summary);
}

} // namespace logotool

namespace logotool {

// Reading and writing pictures, painting them and the pixel fonts need no GUI
// application; drawing a metafile does (the text in it needs the font
// database). Only a command given a metafile builds one, from the picture
// library, on the offscreen platform, which keeps it free of any display.
static bool needsGuiApplication(int argc, char **argv)
{
    for (int i = 2; i < argc; ++i) {
        QFile f;
        if (logo::openRegularFile(f, QFile::decodeName(argv[i])) &&
            logo::metafileKind(f.read(64)) != logo::MetafileKind::None)
            return true;
    }
    return false;
}

} // namespace logotool

int main(int argc, char **argv)
{
    std::unique_ptr<QCoreApplication> app;
    if (logotool::needsGuiApplication(argc, argv)) {
        // Only the platform plugin wants the runtime folder.
        logotool::ensureRuntimeDir();
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // The module is found beside the program: the application's own
        // folder is not known yet, so an application object comes first.
        app = std::make_unique<QCoreApplication>(argc, argv);
        if (const logo::PictureSupport *support = logo::pictureSupport()) {
            app.reset();
            app.reset(support->makeGuiApplication(argc, argv));
        }
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        logotool::usage(stderr);
        return 2;
    }
    const QString name = args.takeFirst();
    if (name == QLatin1String("help") || name == QLatin1String("--help") || name == QLatin1String("-h")) {
        logotool::usage(stdout);
        return 0;
    }
    for (const auto &c : logotool::kCommands) {
        if (name == QLatin1String(c.name))
            return c.run(args);
    }
    std::fprintf(stderr, "logotool: unknown command '%s'\n\n", qPrintable(name));
    logotool::usage(stderr);
    return 2;
}
