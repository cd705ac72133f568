// Every writer of a file that may already exist, on a file system that is
// really full: the old file keeps its bytes, nothing half-written is left
// beside it, and the failure reaches the caller (and the user).
#include "desktop/programcontext.h"
#include "brisvanemodel/brisvanedocument.h"
#include "brisvanemodel/brisvanefilecommands.h"
#include "common/documentsandbox.h"
#include "common/simphone.h"
#include "common/testsupport.h"
#include "desktop/appfolders.h"
#include "desktop/filetypes_freedesktop.h"
#include "desktop/profile.h"
#include "desktop/settingsstore.h"
#include "graphic/logodocument.h"
#include "phone/phonebook.h"
#include "phone/porttest.h"
#include "phone/seriallink.h"
#include "webupload/webupload.h"
#include "widgets/optionsdialog.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <functional>
#include <map>
#include <sys/mount.h>
#include <unistd.h>

using logotest::Sandbox;
using logotest::SimPhone;
using logotest::ToolRun;

namespace {

// A 256 KiB tmpfs for the life of the object (root only).
class SmallDisk {
public:
    SmallDisk()
    {
        if (::geteuid() == 0 && m_dir.isValid())
            m_mounted = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, "size=256k") == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    // Writes path, making its folder.
    void put(const QString &name, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path(name)).absolutePath());
        ASSERT_TRUE(logotest::writeAll(path(name), bytes)) << qPrintable(name);
    }
    // Fills what is left, up to "No space left on device" (again after a
    // writer has freed some), then frees spare pages again.
    void fill(int spare = 0)
    {
        const int fd = ::open(QFile::encodeName(path(QStringLiteral("filler"))).constData(),
                              O_WRONLY | O_CREAT | O_APPEND, 0600);
        ASSERT_GE(fd, 0);
        const QByteArray block(4096, 'x');
        while (::write(fd, block.constData(), size_t(block.size())) > 0) {}
        const off_t size = ::lseek(fd, 0, SEEK_END);
        ASSERT_EQ(::ftruncate(fd, std::max<off_t>(0, size - spare * block.size())), 0);
        ::close(fd);
    }
    // Every file below the disk's root, as "folder/name".
    QStringList files() const
    {
        QStringList out;
        std::function<void(const QString &)> walk = [&](const QString &rel) {
            const QDir d(path(rel));
            for (const QFileInfo &fi : d.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
                const QString name = rel.isEmpty() ? fi.fileName() : rel + QLatin1Char('/') + fi.fileName();
                fi.isDir() ? walk(name) : void(out << name);
            }
        };
        walk(QString());
        out.sort();
        return out;
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

ToolRun logotoolWith(const QString &settingsFile, const QStringList &args)
{
    QProcessEnvironment env;
    env.insert(QStringLiteral("LOGO_SETTINGS_FILE"), settingsFile);
    return logotest::logotool(args, env);
}

// Sets environment variables for the life of the object.
struct Environment {
    std::map<const char *, QByteArray> saved;
    void set(const char *name, const QString &value)
    {
        saved.emplace(name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray());
        qputenv(name, QFile::encodeName(value));
    }
    ~Environment()
    {
        for (const auto &[name, value] : saved)
            value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }
};

} // namespace

// Each writer: the files it would replace (written, good, before the disk
// fills) and a run that gives the failure it reported, empty for none.
TEST(FullDisk, EveryWriterKeepsTheOldFileAndSaysSo)
{
    SmallDisk disk;
    if (!disk.mounted())
        GTEST_SKIP() << "needs root to mount a small tmpfs";
    Sandbox sb;
    const bool phoneBuilt = SimPhone::available();
    std::unique_ptr<SimPhone> phone;
    if (phoneBuilt)
        phone = std::make_unique<SimPhone>();
    const QString device = phone ? phone->device : QString();

    logo::ScriptedPrompt prompt;
    logo::LogoDocument doc(logo::ProgramProfile::quillet());
    logotest::FilePieces pieces(doc, prompt, sb.settings());
    doc.paintCell(2, 3, true);
    const QString ngg = sb.path(QStringLiteral("in.ngg"));
    ASSERT_EQ(pieces.files.writeLogoFile(ngg), logo::FileCommands::WriteResult::Written);
    logo::AppFolders folders(disk.path(QStringLiteral("prog")), disk.path(QStringLiteral("user")));
    Environment env;
    env.set("XDG_DATA_HOME", disk.path(QStringLiteral("data")));
    env.set("XDG_CONFIG_HOME", disk.path(QStringLiteral("config")));
    env.set("XDG_DATA_DIRS", sb.path(QStringLiteral("system")));
    env.set("XDG_CONFIG_DIRS", sb.path(QStringLiteral("system")));
    const QString quilletClass = logo::ProgramProfile::quillet().fileTypes.value(0).className;

    // A phone on port 3 for the tool runs that don't keep their settings on the full disk.
    sb.settings().writeInt(logo::kSharedSection, QStringLiteral("COMPort"), 3);
    sb.settings().write(logo::kSharedSection, QStringLiteral("Device3"), device);
    sb.settings().writeBool(logo::kSharedSection, QStringLiteral("QuickLink"), true);

    std::unique_ptr<logo::SettingsStore> store;
    struct Writer {
        const char *name;
        std::map<QString, QByteArray> files;
        std::function<QString()> run;
        bool needsPhone = false;
        // The settings take a lock file first: one free page lets it be
        // written, and the disk fills under the settings themselves.
        int sparePages = 0;
    };
    const std::vector<Writer> writers = {
        {"settings store",
         {{"settings.ini", "[Settings]\nCOMPort=3\nDevice3=/dev/ttyUSB0\n"}},
         [&] {
             store = std::make_unique<logo::SettingsStore>(disk.path(QStringLiteral("settings.ini")));
             const bool written = store->write(logo::kSharedSection, QStringLiteral("SMSC"), QStringLiteral("4917"));
             EXPECT_EQ(store->read(logo::kSharedSection, QStringLiteral("COMPort")), QStringLiteral("3"));
             return written ? QString() : store->writeFailedMessage();
         },
         false,
         1},
        {"options dialog",
         {{"options.ini", "[Settings]\nCOMPort=3\n"}},
         [&] {
             logo::SettingsStore settings(disk.path(QStringLiteral("options.ini")));
             logo::ScriptedPrompt windowPrompt;
             logo::RunMarks marks(settings, logo::ProgramProfile::quillet().settingsSection);
             logo::ProgramContext context{logo::ProgramProfile::quillet(), windowPrompt, settings, marks, QString()};
             logo::SerialLink serial;
             logo::TimerTicks ticks{1000};
             logo::AtEngine engine{serial, ticks};
             logo::OptionsDialog dialog(context, engine, nullptr, true);
             dialog.show();
             dialog.messageCentreEdit->setText(QStringLiteral("4917"));
             dialog.okButton->click();
             EXPECT_TRUE(dialog.isVisible()) << "OK keeps the dialog open";
             EXPECT_EQ(windowPrompt.lastMessage(),
                       QStringLiteral("The settings could not be saved.\r\n") + disk.path(QStringLiteral("options.ini")));
             return windowPrompt.lastMessage();
         },
         false,
         1},
        {"phonebook cache",
         {{"book.csv", "Anna;+491711234567;A;1;\r\n"}},
         [&] {
             logo::Phonebook book;
             book.replace({{QStringLiteral("Bob"), QStringLiteral("5551234"), QStringLiteral("A"), QStringLiteral("2")}});
             return book.save(disk.path(QStringLiteral("book.csv"))) ? QString() : QStringLiteral("not saved");
         }},
        {"file types of the desktop",
         {{"config/mimeapps.list", "[Default Applications]\ntext/plain=editor.desktop;\n"},
          {"data/applications/quillet.desktop",
           "[Desktop Entry]\nType=Application\nExec=" +
               logo::FreedesktopFileTypes::execValue(disk.path(QStringLiteral("bin/quillet"))).toUtf8() + " %f\n"},
          {"bin/quillet", "#!/bin/sh\n"},
          {"data/mime/packages/vornhal-logos.xml", "<old/>\n"},
          {"data/mime/globs2", "50:image/x-nokia-group-graphic:*.ngg\n"}},
         [&] {
             // The programs count as installed in bin/; the entry is written
             // anew for the same program named another way.
             logo::FreedesktopFileTypes tree(logo::FreedesktopFileTypes::programClasses(),
                                             disk.path(QStringLiteral("bin")));
             QStringList written;
             if (tree.create(QStringLiteral(".ngg")))
                 written << QStringLiteral("package");
             if (tree.setValue(QStringLiteral(".ngg"), quilletClass))
                 written << QStringLiteral("default");
             if (tree.setValue(quilletClass + QStringLiteral("\\shell\\open\\command"),
                               disk.path(QStringLiteral("bin/./quillet"))))
                 written << QStringLiteral("entry");
             return written.isEmpty() ? QStringLiteral("none written") : QString();
         }},
        {"export as PNG and as bitmap",
         {{"good.png", "a good PNG"}, {"good.bmp", "a good bitmap"}},
         [&] {
             QStringList said;
             for (const char *name : {"good.png", "good.bmp"}) {
                 prompt.clear();
                 prompt.files = {disk.path(QLatin1String(name))};
                 pieces.files.exportCommand();
                 EXPECT_EQ(prompt.lastMessage(), disk.path(QLatin1String(name)) + QStringLiteral("\r\ncould not be saved."));
                 said << prompt.lastMessage();
             }
             return said.size() == 2 ? said.join(QLatin1Char(' ')) : QString();
         }},
        {"Brisvane's default logo",
         {{"prog/DEFAULT/262_01.NOL", "a good default"}},
         [&] {
             logo::ScriptedPrompt brisvanePrompt;
             brisvane::BrisvaneDocument d(brisvanePrompt, folders);
             logotest::FilePieces shared(d, brisvanePrompt, sb.settings());
             brisvane::BrisvaneFileCommands files(d, brisvanePrompt, shared.recent, shared.folders, shared.marks);
             d.reloadOperatorList();
             for (const auto &e : d.operatorList())
                 if (e.text == QStringLiteral("Germany - T-Mobile D1"))
                     d.onOperatorChosen(e.item);
             d.grid().setPixel(7, 7, true);
             EXPECT_FALSE(files.saveDefaultLogo());
             return brisvanePrompt.lastMessage();
         }},
        {"upload page (a new file, never an old one)",
         {{"pages/QLTMP000.HTM", "someone's page"}},
         [&] {
             logo::WebUpload upload(logo::ProgramProfile::quillet(), disk.path(QStringLiteral("pages")));
             return upload.writePage(QStringLiteral("<HTML>page</HTML>")).isEmpty() ? QStringLiteral("no page")
                                                                                    : QString();
         }},
        {"logotool convert",
         {{"convert.png", "a good PNG"}, {"convert.nol", "a good NOL"}},
         [&] {
             QString said;
             for (const char *name : {"convert.png", "convert.nol"}) {
                 const ToolRun r = logotoolWith(sb.settingsFile(), {QStringLiteral("convert"), ngg,
                                                                    disk.path(QLatin1String(name)), "--mcc", "262",
                                                                    "--mnc", "1"});
                 EXPECT_EQ(r.code, 1) << name << qPrintable(r.out);
                 EXPECT_TRUE(r.err.contains(QStringLiteral("can't write ") + disk.path(QLatin1String(name))))
                     << qPrintable(r.err);
                 said += r.err;
             }
             return said;
         }},
        {"logotool read-smsc",
         {{"smsc.ini",
           ("[Settings]\nCOMPort=3\nDevice3=" + device + "\nQuickLink=True\nSMSC=49000\n").toUtf8()}},
         [&] {
             const ToolRun r = logotoolWith(disk.path(QStringLiteral("smsc.ini")), {QStringLiteral("read-smsc")});
             EXPECT_EQ(r.code, 1);
             EXPECT_FALSE(r.out.contains(QStringLiteral("Number has been read."))) << qPrintable(r.out);
             EXPECT_TRUE(r.err.startsWith(QStringLiteral("Could not store Number.\nThe settings could not be saved.\n") +
                                          disk.path(QStringLiteral("smsc.ini"))))
                 << qPrintable(r.err);
             return r.err;
         },
         true,
         1},
        {"logotool phonebook --cache",
         {{"tool-book.csv", "Anna;+491711234567;A;1;\r\n"}},
         [&] {
             const ToolRun r = logotoolWith(sb.settingsFile(), {QStringLiteral("phonebook"), QStringLiteral("--cache"),
                                                                disk.path(QStringLiteral("tool-book.csv"))});
             EXPECT_NE(r.code, 0);
             return r.code ? r.err : QString();
         },
         true},
    };

    for (const Writer &w : writers)
        for (const auto &[name, bytes] : w.files)
            disk.put(name, bytes);
    const QStringList before = disk.files();
    for (const Writer &w : writers) {
        if (w.needsPhone && !phoneBuilt)
            continue;
        SCOPED_TRACE(w.name);
        disk.fill(w.sparePages);
        const QString reported = w.run();
        EXPECT_FALSE(reported.isEmpty()) << "the failure is reported";
        for (const auto &[name, bytes] : w.files)
            EXPECT_EQ(logotest::readAll(disk.path(name)), bytes) << qPrintable(name);
        QStringList now = disk.files();
        now.removeAll(QStringLiteral("filler"));
        EXPECT_EQ(now, before) << "nothing half-written is left";
    }

    // Room again: the next write of the settings succeeds and takes the
    // change that could not be written along.
    QFile::remove(disk.path(QStringLiteral("filler")));
    ASSERT_TRUE(store);
    EXPECT_TRUE(store->write(logo::kSharedSection, QStringLiteral("IRPort"), QStringLiteral("2")));
    EXPECT_EQ(QString::fromUtf8(logotest::readAll(disk.path(QStringLiteral("settings.ini")))),
              QStringLiteral("[Settings]\nCOMPort=3\nDevice3=/dev/ttyUSB0\nIRPort=2\nSMSC=4917\n"));
}
