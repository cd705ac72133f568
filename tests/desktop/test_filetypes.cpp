// File-type association: the algorithm on a registry-like tree in memory, the
// start-up question, and the freedesktop backend on private XDG folders.
#include "common/testsupport.h"
#include "desktop/filetypes.h"
#include "desktop/filetypes_freedesktop.h"
#include "desktop/profile.h"

#include <QDir>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

using namespace logo;

namespace {

const QString kProgram = QStringLiteral("C:\\Apps\\Quillet\\quillet.exe");
const QString kNgg = QStringLiteral("NokiaGroupGraphic");
const QString kCommandKey = QStringLiteral("NokiaGroupGraphic\\shell\\open\\command");
const QString kIconKey = QStringLiteral("NokiaGroupGraphic\\DefaultIcon");

// Keys compared without regard to case, as the registry does; a key may exist
// without a value.
class MemoryTree : public FileTypeTree {
public:
    QMap<QString, std::optional<QString>> keys;
    bool failCreate = false;

    void put(const QString &key, const std::optional<QString> &v) { keys[key.toLower()] = v; }
    std::optional<QString> get(const QString &key) const { return keys.value(key.toLower()); }

    bool exists(const QString &key) const override { return keys.contains(key.toLower()); }
    std::optional<QString> value(const QString &key) const override { return get(key); }
    bool create(const QString &key) override
    {
        if (failCreate)
            return false;
        if (!exists(key))
            put(key, std::nullopt);
        return true;
    }
    bool setValue(const QString &key, const QString &v) override
    {
        put(key, v);
        return true;
    }
    QString commandValue(const QString &program) const override { return program + QStringLiteral(" %1"); }
    QString iconValue(const QString &program, const QString &) const override { return program + QStringLiteral(",0"); }
};

struct AssociateCase {
    const char *name;
    std::map<QString, std::optional<QString>> before;
    bool overwrite;
    AssociateResult result;
    std::map<QString, std::optional<QString>> after;   // keys checked afterwards
};

} // namespace

TEST(FileTypeAssociation, EveryBranchOfTheAlgorithm)
{
    const QString ours = kProgram + QStringLiteral(" %1");
    const QString icon = kProgram + QStringLiteral(",0");
    const std::optional<QString> none;
    const AssociateCase cases[] = {
        {"missing extension, overwrite: created with class, command and icon", {}, true, AssociateResult::Done,
         {{".ngg", kNgg}, {kNgg, QStringLiteral("Nokia Group Graphic")}, {kCommandKey, ours}, {kIconKey, icon}}},
        {"missing extension, no overwrite: nothing", {}, false, AssociateResult::Done, {{".ngg", none}}},
        {"another class, overwrite: remapped, our class created",
         {{".ngg", QStringLiteral("Other")}, {QStringLiteral("Other\\shell\\open\\command"), QStringLiteral("x %1")}},
         true, AssociateResult::Done,
         {{".ngg", kNgg}, {kCommandKey, ours}, {QStringLiteral("Other\\shell\\open\\command"), QStringLiteral("x %1")}}},
        {"another class, no overwrite: the command goes under that class",
         {{".ngg", QStringLiteral("Other")}}, false, AssociateResult::Done,
         {{".ngg", QStringLiteral("Other")}, {QStringLiteral("Other\\shell\\open\\command"), ours}}},
        {"command differing only in case is kept",
         {{".ngg", kNgg}, {kCommandKey, ours.toUpper()}}, true, AssociateResult::Done,
         {{kCommandKey, ours.toUpper()}, {kIconKey, icon}, {kNgg, none}}},
        {"command of another path is rewritten",
         {{".ngg", kNgg}, {kCommandKey, QStringLiteral("D:\\old\\quillet.exe %1")}, {kIconKey, QStringLiteral("x")}},
         true, AssociateResult::Done, {{kCommandKey, ours}, {kIconKey, icon}}},
        {"command key without value is rewritten", {{".ngg", kNgg}, {kCommandKey, none}}, true,
         AssociateResult::Done, {{kCommandKey, ours}}},
        {"extension without a value: nothing changes", {{".ngg", none}}, true, AssociateResult::Unreadable,
         {{".ngg", none}, {kCommandKey, none}}},
    };
    for (const AssociateCase &c : cases) {
        MemoryTree tree;
        for (const auto &[k, v] : c.before)
            tree.put(k, v);
        EXPECT_EQ(associateFileType(tree, kProgram, QStringLiteral(".ngg"), c.overwrite, kNgg, true,
                                    QStringLiteral("Nokia Group Graphic")),
                  c.result)
            << c.name;
        for (const auto &[k, v] : c.after)
            EXPECT_EQ(tree.get(k), v) << c.name << ": " << qPrintable(k);
    }

    MemoryTree unwritable;
    unwritable.failCreate = true;
    EXPECT_EQ(associateFileType(unwritable, kProgram, QStringLiteral(".ngg"), true, kNgg, true, QString()),
              AssociateResult::CreateFailed);
}

TEST(FileTypeAssociation, IsAssociatedWithIsFalseOnlyForAnotherClass)
{
    MemoryTree tree;
    tree.put(QStringLiteral(".nsl"), std::nullopt);
    tree.put(QStringLiteral(".otb"), kNgg);
    tree.put(QStringLiteral(".i61"), QStringLiteral("PaintBrush"));
    EXPECT_TRUE(isAssociatedWith(tree, QStringLiteral(".nlm"), kNgg));   // no key at all
    EXPECT_TRUE(isAssociatedWith(tree, QStringLiteral(".nsl"), kNgg));   // no value
    EXPECT_TRUE(isAssociatedWith(tree, QStringLiteral(".otb"), kNgg));
    EXPECT_FALSE(isAssociatedWith(tree, QStringLiteral(".i61"), kNgg));
}

// Quillet's start-up: its two types, then the question about the extra ones.
TEST(FileTypeAssociation, StartupQuestionAndItsThreeAnswers)
{
    const ProgramProfile &quillet = ProgramProfile::quillet();
    const QString section = quillet.settingsSection;
    auto setting = [&](logotest::Sandbox &box, const char *key) {
        return box.settings().read(section, QLatin1String(key), QStringLiteral("absent"));
    };
    struct Case {
        Answer answer;
        const char *onStartup, *warn;
        bool claimed;
    } cases[] = {
        {Answer::Yes, "1", "0", true},
        {Answer::No, "absent", "1", false},
        {Answer::Cancel, "absent", "absent", false},
    };
    for (const Case &c : cases) {
        logotest::Sandbox box;
        ScriptedPrompt prompt;
        prompt.answers = {c.answer};
        MemoryTree tree;
        tree.put(QStringLiteral(".i61"), QStringLiteral("PaintBrush"));   // another program's
        registerFileTypesAtStartup(tree, quillet, prompt, box.settings(), kProgram);

        EXPECT_EQ(tree.get(QStringLiteral(".ngg")), kNgg);
        EXPECT_EQ(tree.get(QStringLiteral(".nol")), QStringLiteral("NokiaOperatorLogo"));
        EXPECT_FALSE(tree.exists(QStringLiteral("NokiaOperatorLogo\\shell\\open\\command")));
        ASSERT_EQ(prompt.shown.size(), 1u);
        EXPECT_EQ(prompt.shown[0].text, QStringLiteral("Some Nokia logo filetypes are not associated with Quillet."
                                                       "\r\n\r\nWould you like to associate them on program-startup?"));
        EXPECT_EQ(prompt.shown[0].buttons, Buttons::YesNoCancel);
        EXPECT_EQ(setting(box, "FileTypeOnStartup"), QLatin1String(c.onStartup));
        EXPECT_EQ(setting(box, "FileTypeWarn"), QLatin1String(c.warn));
        for (const QString &ext : quillet.extraFileTypes)
            EXPECT_EQ(tree.get(ext) == kNgg, c.claimed) << qPrintable(ext);

        // The next start: Yes claims them again without asking; No asks again.
        prompt.shown.clear();
        tree.put(QStringLiteral(".ngl"), QStringLiteral("PaintBrush"));
        registerFileTypesAtStartup(tree, quillet, prompt, box.settings(), kProgram);
        EXPECT_EQ(tree.get(QStringLiteral(".ngl")) == kNgg, c.claimed);
        EXPECT_EQ(prompt.shown.size(), c.answer == Answer::Yes ? 0u : 1u);
    }

    // Extra types nobody registered count as associated: no question, and
    // Brisvane has no extra types to ask about.
    for (const ProgramProfile *p : {&quillet, &ProgramProfile::brisvane()}) {
        logotest::Sandbox box;
        ScriptedPrompt prompt;
        MemoryTree tree;
        registerFileTypesAtStartup(tree, *p, prompt, box.settings(), kProgram);
        EXPECT_TRUE(prompt.shown.empty());
        EXPECT_FALSE(tree.exists(QStringLiteral(".nlm")));
    }
}

// ---------------------------------------------------------------- freedesktop

namespace {

// Private XDG folders for one test; the system's folders are hidden too.
struct Xdg {
    logotest::Sandbox box;
    QString data = box.path(QStringLiteral("data")), config = box.path(QStringLiteral("config")),
            system = box.path(QStringLiteral("system"));
    std::map<const char *, QByteArray> saved;
    Xdg()
    {
        for (const QString &d : {data, config, system + QStringLiteral("/applications")})
            QDir().mkpath(d);
        set("XDG_DATA_HOME", data);
        set("XDG_CONFIG_HOME", config);
        set("XDG_DATA_DIRS", system);
        set("XDG_CONFIG_DIRS", system);
    }
    ~Xdg()
    {
        for (const auto &[name, value] : saved)
            value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }
    void set(const char *name, const QString &value)
    {
        saved.emplace(name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray());
        qputenv(name, QFile::encodeName(value));
    }
    QString entry() const { return data + QStringLiteral("/applications/quillet.desktop"); }
    // The folder the programs count as installed in.
    QString install = box.path(QStringLiteral("bin dir"));
    QString program() const
    {
        const QString p = box.path(QStringLiteral("bin dir/quillet"));
        QDir().mkpath(QFileInfo(p).absolutePath());
        logotest::writeAll(p, "#!/bin/sh\n");
        QFile::setPermissions(p, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return p;
    }
    void start(const QString &program)
    {
        ScriptedPrompt prompt;
        FreedesktopFileTypes tree(FreedesktopFileTypes::programClasses(), install);
        registerFileTypesAtStartup(tree, ProgramProfile::quillet(), prompt, box.settings(), program);
        EXPECT_TRUE(prompt.shown.empty()) << qPrintable(prompt.lastMessage());
    }
    QString run(const QString &tool, const QStringList &args)
    {
        QProcess p;
        p.start(tool, args);
        p.waitForFinished(30000);
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed() + QString::fromUtf8(p.readAllStandardError());
    }
};

} // namespace

// After a start the desktop opens .ngg files with this program: the MIME
// type is known, the user's entry starts this executable, and it is the
// default; the sibling's type goes to Brisvane's entry.
TEST(FreedesktopFileTypes, AStartMakesThisProgramTheDefault)
{
    Xdg xdg;
    const QString program = xdg.program();
    xdg.start(program);

    const QStringList entry = QString::fromUtf8(logotest::readAll(xdg.entry())).split(QLatin1Char('\n'));
    EXPECT_TRUE(entry.contains(QStringLiteral("Exec=") + FreedesktopFileTypes::execValue(program)));
    EXPECT_TRUE(entry.contains(QStringLiteral("Icon=quillet")));
    EXPECT_TRUE(QFile::exists(xdg.data + QStringLiteral("/icons/hicolor/scalable/apps/quillet.svg")));
    const QString defaults = QString::fromUtf8(logotest::readAll(xdg.config + QStringLiteral("/mimeapps.list")));
    EXPECT_TRUE(defaults.contains(QStringLiteral("image/x-nokia-group-graphic=quillet.desktop;")));
    EXPECT_TRUE(defaults.contains(QStringLiteral("image/x-nokia-operator-logo=brisvane.desktop;")));

    if (!QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty()) {
        EXPECT_TRUE(logotest::readAll(xdg.data + QStringLiteral("/mime/globs2")).contains(":image/x-nokia-group-graphic:*.ngg"));
    }
    if (!QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty()) {
        EXPECT_EQ(xdg.run(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                                       QStringLiteral("image/x-nokia-group-graphic")}),
                  QStringLiteral("quillet.desktop"));
    }
    if (!QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate")).isEmpty()) {
        EXPECT_EQ(xdg.run(QStringLiteral("desktop-file-validate"), {xdg.entry()}), QString());
    }

    // Another program made the default, and the install moved: both are put right.
    logotest::writeAll(xdg.config + QStringLiteral("/mimeapps.list"),
                       "[Default Applications]\nimage/x-nokia-group-graphic=paint.desktop;\n");
    const QString moved = xdg.box.path(QStringLiteral("elsewhere/quillet"));
    QDir().mkpath(QFileInfo(moved).absolutePath());
    QFile::copy(program, moved);
    xdg.install = QFileInfo(moved).absolutePath();
    xdg.start(moved);
    EXPECT_TRUE(logotest::readAll(xdg.entry()).contains(FreedesktopFileTypes::execValue(moved).toUtf8()));
    EXPECT_TRUE(logotest::readAll(xdg.config + QStringLiteral("/mimeapps.list"))
                    .contains("image/x-nokia-group-graphic=quillet.desktop;"));
}

// An installed program whose system entry already starts it, found on PATH,
// is left alone: no user copy of the entry.
TEST(FreedesktopFileTypes, AnInstalledEntryThatStartsThisProgramIsKept)
{
    Xdg xdg;
    const QString program = xdg.program();
    QFile::copy(QStringLiteral(LOGO_TEST_FIXTURES "/../../core/desktop/data/quillet.desktop"),
                xdg.system + QStringLiteral("/applications/quillet.desktop"));
    xdg.set("PATH", QFileInfo(program).absolutePath() + QLatin1Char(':') + qEnvironmentVariable("PATH"));
    xdg.start(program);
    EXPECT_FALSE(QFile::exists(xdg.entry()));
}

// A program started from a build folder registers nothing (its desktop entry
// would later hide the installed one) and asks nothing, and an entry of ours
// that starts a program other than the installed one is removed; someone
// else's entry stays.
TEST(FreedesktopFileTypes, OnlyTheInstalledProgramGetsTheUsersEntry)
{
    Xdg xdg;
    const QString installed = xdg.program();
    const QString build = xdg.box.path(QStringLiteral("build/quillet"));
    QDir().mkpath(QFileInfo(build).absolutePath());
    QFile::copy(installed, build);

    xdg.start(build);
    EXPECT_TRUE(QDir(xdg.data).isEmpty());
    EXPECT_TRUE(QDir(xdg.config).isEmpty());

    // Left by an earlier build: removed at the next start, of either program.
    for (const QString &stale : {build, xdg.box.path(QStringLiteral("gone/quillet"))}) {
        logotest::writeAll(xdg.entry(), "[Desktop Entry]\nType=Application\nName=Quillet\nExec=" +
                                            FreedesktopFileTypes::execValue(stale).toUtf8() + "\n");
        FreedesktopFileTypes tree(FreedesktopFileTypes::programClasses(), xdg.install);
        EXPECT_FALSE(QFile::exists(xdg.entry())) << qPrintable(stale);
    }
    xdg.start(installed);
    EXPECT_TRUE(logotest::readAll(xdg.entry()).contains(FreedesktopFileTypes::execValue(installed).toUtf8()));
    FreedesktopFileTypes again(FreedesktopFileTypes::programClasses(), xdg.install);
    EXPECT_TRUE(QFile::exists(xdg.entry()));

    const QByteArray theirs = "[Desktop Entry]\nType=Application\nName=Q\nExec=/opt/paint/paint %f\n";
    logotest::writeAll(xdg.entry(), theirs);
    FreedesktopFileTypes other(FreedesktopFileTypes::programClasses(), xdg.install);
    EXPECT_EQ(logotest::readAll(xdg.entry()), theirs);
}

// Both programs open every type of our package and WBMP, and their entries
// say so; the entries are valid.
TEST(FreedesktopFileTypes, TheEntriesDeclareEveryTypeTheProgramsOpen)
{
    const QByteArray package = logotest::readAll(QStringLiteral(LOGO_TEST_FIXTURES "/../../core/desktop/data/vornhal-logos.xml"));
    QStringList types{QStringLiteral("image/vnd.wap.wbmp")};
    QXmlStreamReader xml(package);
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("mime-type"))
            types << xml.attributes().value(QLatin1String("type")).toString();
    ASSERT_GE(types.size(), 8);
    for (const char *program : {"quillet", "brisvane"}) {
        const QString file = QStringLiteral(LOGO_TEST_FIXTURES "/../../core/desktop/data/") + QLatin1String(program) +
                             QStringLiteral(".desktop");
        const QString text = QString::fromUtf8(logotest::readAll(file));
        const qsizetype at = text.indexOf(QStringLiteral("\nMimeType="));
        ASSERT_GE(at, 0) << program;
        const QStringList declared = text.mid(at + 10).section(QLatin1Char('\n'), 0, 0).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (const QString &type : types)
            EXPECT_TRUE(declared.contains(type)) << program << " " << qPrintable(type);
        if (!QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate")).isEmpty()) {
            QProcess p;
            p.start(QStringLiteral("desktop-file-validate"), {file});
            p.waitForFinished(30000);
            EXPECT_EQ(p.readAllStandardOutput() + p.readAllStandardError(), QByteArray()) << program;
        }
    }
}

TEST(FreedesktopFileTypes, ExecQuotingKeepsEveryPathWhole)
{
    for (const QString &path : {QStringLiteral("/usr/bin/quillet"), QStringLiteral("/opt/my apps/quillet"),
                                QStringLiteral("/tmp/\"q\" $HOME `x` 100% back\\slash/Grüße/quillet")}) {
        const QString exec = FreedesktopFileTypes::execValue(path);
        EXPECT_TRUE(exec.endsWith(QStringLiteral(" %f"))) << qPrintable(exec);
        EXPECT_EQ(FreedesktopFileTypes::programOfExec(exec), path) << qPrintable(exec);
    }
}
