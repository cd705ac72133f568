// Brisvane's document: the operator selection and its titles, default logos,
// reads that select their operator, the DEFAULT folder's Save As refusal and
// the phone covers.
#include "brisvanemodel/phonecovers.h"
#include "brisvanetest.h"
#include "desktop/settingsstore.h"
#include "picture/undohistory.h"

#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

using namespace brisvane;
using brisvanetest::Env;
using brisvanetest::kTMobile;

namespace {
const QString kVodafoneDE = QStringLiteral("Germany - D2 Vodafone");
} // namespace

TEST(BrisvaneSelection, PlaceholderClearAndOperatorStates)
{
    Env e;
    BrisvaneDocument &d = e.start();
    EXPECT_EQ(d.selectedItem(), PlaceholderItem);
    EXPECT_TRUE(d.currentMCC().isEmpty());
    EXPECT_EQ(e.prompt.count(logo::ShownPrompt::Kind::Beep), 0);   // no update file is no error

    // The clear entry: its code, its labels, the clear picture and its title.
    d.onOperatorChosen(ClearItem);
    EXPECT_EQ(d.currentMCC(), QStringLiteral("100"));
    EXPECT_EQ(d.currentMNC(), QStringLiteral("0"));
    EXPECT_EQ(d.panel().country, QStringLiteral("CLEAR"));
    EXPECT_EQ(d.panel().mccMnc, QStringLiteral("CLEAR"));
    EXPECT_EQ(d.panel().op1, QStringLiteral("Clear Operator-Logo"));
    EXPECT_EQ(d.grid(), clearPicture());
    EXPECT_EQ(d.grid().setCount(), 437);
    EXPECT_TRUE(d.grid().isSet(1, 0) && !d.grid().isSet(0, 0) && d.grid().isSet(71, 5));
    EXPECT_EQ(d.title(), QStringLiteral("Brisvane [Clear Logo]"));

    // Leaving it empties the logo.
    e.pick(kTMobile);
    EXPECT_TRUE(d.grid().isEmpty());
    EXPECT_EQ(d.title(), QStringLiteral("Brisvane [Untitled]"));
    EXPECT_EQ(d.currentMCC(), QStringLiteral("262"));
    EXPECT_EQ(d.panel().country, QStringLiteral("GERMANY"));
    EXPECT_EQ(d.panel().op2, QStringLiteral("Germany"));
    EXPECT_EQ(d.panel().op1, QStringLiteral("T-Mobile D1"));
    EXPECT_EQ(d.panel().mccMnc, QStringLiteral("262-01"));
    EXPECT_EQ(d.panel().url, QStringLiteral("www.t-mobile.de"));
    EXPECT_TRUE(d.panel().saveDefaultEnabled);
    EXPECT_EQ(d.panel().saveDefaultCaption, QStringLiteral("Save as default for T-Mobile D1"));
    EXPECT_FALSE(d.panel().loadDefaultEnabled);
    EXPECT_FALSE(d.panel().defaultMark);

    // Leaving an operator keeps the logo; the placeholder empties the code.
    d.grid().setPixel(5, 5, true);
    e.pick(kVodafoneDE);
    d.selectPlaceholderOperator();
    EXPECT_TRUE(d.grid().isSet(5, 5));
    EXPECT_TRUE(d.currentMCC().isEmpty() && d.currentMNC().isEmpty());
    EXPECT_TRUE(d.panel().mccMnc.isEmpty());
    EXPECT_FALSE(d.panel().saveDefaultEnabled);
}

TEST(BrisvaneSelection, UpdateFileAddsEntriesAndBeepsOnABadLine)
{
    Env e;
    e.writeUpdateFile("Germany;Test Net;262;7;www.test.de;\r\nGermany;Broken;262;07\r\nGermany;Never;262;9;w;\r\n");
    BrisvaneDocument &d = e.start();
    EXPECT_EQ(e.prompt.count(logo::ShownPrompt::Kind::Beep), 1);
    EXPECT_EQ(d.operatorList().size(), OperatorTable::BuiltInCount + 1 + 2);
    EXPECT_EQ(e.item(QStringLiteral("Germany - Never")), -1);
    e.pick(QStringLiteral("Germany - Test Net"));
    EXPECT_EQ(d.panel().mccMnc, QStringLiteral("262-07"));
    EXPECT_EQ(QFileInfo(d.defaultLogoTarget()).fileName(), QStringLiteral("262_07.NOL"));
}

// A NOL file selects the first operator of its code and is named by its path
// (shortened to 25 characters in the title); a code no entry carries shows
// the placeholder with that code, never the operator selected before.
TEST(BrisvaneReads, NolSelectsItsOperator)
{
    Env e;
    e.writeUpdateFile("Germany;Later Twin;262;1;w;\r\n");
    BrisvaneDocument &d = e.start();
    BrisvaneFileCommands &f = *e.files;
    const QString path = e.nol(e.box.path(QStringLiteral("logos/of-the-german-networks/t.nol")), 262, 1);
    ASSERT_TRUE(f.openFile(path));
    EXPECT_EQ(d.selectedItem(), e.item(kTMobile));
    EXPECT_EQ(d.currentMNC(), QStringLiteral("01"));
    EXPECT_EQ(d.title(), QStringLiteral("Brisvane [") + path.left(3) + QStringLiteral("...") + path.right(22) +
                             QStringLiteral("]"));
    EXPECT_EQ(e.recent.files().value(0), path);

    ASSERT_TRUE(f.openFile(e.nol(e.box.path(QStringLiteral("x.nol")), 999, 99)));
    EXPECT_EQ(d.selectedItem(), PlaceholderItem);
    EXPECT_EQ(d.currentMCC(), QStringLiteral("999"));
    EXPECT_EQ(d.panel().mccMnc, QStringLiteral("999-99"));
    EXPECT_FALSE(d.panel().saveDefaultEnabled);

    // Codes no network has are shown as the file holds them.
    const struct {
        int mcc, mnc;
        const char *shown;
    } unusual[] = {{1234, 1, "1234-01"}, {-5, -1, "-005--01"}, {310, 260, "310-260"}};
    for (const auto &u : unusual) {
        ASSERT_TRUE(f.openFile(e.nol(e.box.path(QStringLiteral("u.nol")), u.mcc, u.mnc)));
        EXPECT_EQ(d.selectedItem(), PlaceholderItem);
        EXPECT_EQ(d.panel().mccMnc, QLatin1String(u.shown));
    }
}

TEST(BrisvaneDefaults, SaveMarkLoadAndKeepOutOfRecentList)
{
    Env e;
    BrisvaneDocument &d = e.start();
    BrisvaneFileCommands &f = *e.files;
    e.pick(kTMobile);
    d.grid().setPixel(7, 7, true);
    ASSERT_TRUE(f.saveDefaultLogo());
    const QString file = e.prog(QStringLiteral("DEFAULT/262_01.NOL"));   // DEFAULT created on the way
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_TRUE(d.panel().defaultMark);
    EXPECT_EQ(d.currentFile(), QStringLiteral("Default"));
    EXPECT_EQ(d.title(), QStringLiteral("Brisvane [Default]"));
    EXPECT_TRUE(e.recent.files().join(QString()).isEmpty());

    // Another operator without a default empties the shown default logo.
    e.pick(kVodafoneDE);
    EXPECT_FALSE(d.panel().loadDefaultEnabled);
    EXPECT_TRUE(d.grid().isEmpty());
    EXPECT_EQ(d.title(), QStringLiteral("Brisvane [Untitled]"));

    e.pick(kTMobile);
    EXPECT_TRUE(d.panel().loadDefaultEnabled);
    EXPECT_EQ(d.panel().loadDefaultCaption, QStringLiteral("Load default for T-Mobile D1"));
    ASSERT_TRUE(f.loadDefaultLogo());
    EXPECT_TRUE(d.grid().isSet(7, 7));
    EXPECT_EQ(d.currentFile(), QStringLiteral("Default"));
    EXPECT_EQ(d.selectedItem(), e.item(kTMobile));
    EXPECT_TRUE(e.recent.files().join(QString()).isEmpty());

    // Opened by its path it is still "Default", kept out of the list.
    d.setCurrentFile(QStringLiteral("Untitled"));
    ASSERT_TRUE(f.openFile(file));
    EXPECT_EQ(d.currentFile(), QStringLiteral("Default"));
    EXPECT_EQ(d.title(), QStringLiteral("Brisvane [Default]"));
    EXPECT_TRUE(e.recent.files().join(QString()).isEmpty());
}

TEST(BrisvaneDefaults, InstalledProgramKeepsThemInTheUserFolder)
{
    Env e;
    e.folders.readOnly = true;
    BrisvaneDocument &d = e.start();
    BrisvaneFileCommands &f = *e.files;
    e.pick(kTMobile);
    d.grid().setPixel(1, 1, true);
    ASSERT_TRUE(f.saveDefaultLogo());
    EXPECT_FALSE(QFileInfo::exists(e.prog(QStringLiteral("DEFAULT"))));
    EXPECT_EQ(d.defaultLogoPath(), e.folders.userFolder() + QStringLiteral("DEFAULT/262_01.NOL"));
    EXPECT_TRUE(d.isDefaultFolderPath(d.defaultLogoPath()));
}

TEST(BrisvaneDefaults, SaveAsRefusesTheDefaultFolder)
{
    Env e;
    BrisvaneDocument &d = e.start();
    BrisvaneFileCommands &f = *e.files;
    e.pick(kTMobile);
    d.grid().setPixel(1, 1, true);
    QDir().mkpath(e.prog(QStringLiteral("DEFAULT")));
    const QString target = e.prog(QStringLiteral("default/mine.nol"));   // any case
    QDir().mkpath(e.prog(QStringLiteral("default")));
    for (const QString &path : {e.prog(QStringLiteral("DEFAULT/mine.nol")), target}) {
        e.prompt.clear();
        e.prompt.files = {path};
        EXPECT_EQ(f.saveAs(), logo::FileCommands::SaveResult::Stopped);
        EXPECT_FALSE(QFileInfo::exists(path));
        EXPECT_EQ(e.prompt.lastMessage(), QStringLiteral("Can't save your file here. Try another path.\r\n\r\n"
                                                         "Use menu 'Extras -> Save as default logo' to\r\n"
                                                         "save default logos for operators."));
        EXPECT_EQ(e.prompt.shown.back().icon, logo::Icon::Exclamation);
        EXPECT_EQ(e.prompt.shown.back().title, QStringLiteral("Brisvane"));
    }
}

TEST(PhoneCovers, DefaultsAndFallbackFromAMissingOwnCover)
{
    Env e;
    const PhoneCovers covers(e.folders);
    const QString section = QStringLiteral("Brisvane Settings");
    EXPECT_EQ(covers.defaultIndex(), 1);
    e.box.settings().write(section, PhoneCovers::SettingKey, QStringLiteral("42"));
    EXPECT_EQ(covers.storedIndex(e.box.settings(), section), 1);
    EXPECT_EQ(covers.show(PhoneCovers::OwnCover).index, 0);   // no XPRESS.BMP

    QImage own(157, 210, QImage::Format_RGB32);
    own.fill(Qt::red);
    ASSERT_TRUE(own.save(e.prog(QStringLiteral("XPRESS.BMP")), "BMP"));
    EXPECT_EQ(covers.defaultIndex(), PhoneCovers::OwnCover);
    const PhoneCovers::Shown shown = covers.show(PhoneCovers::OwnCover);
    EXPECT_EQ(shown.index, PhoneCovers::OwnCover);
    EXPECT_EQ(shown.picture.pixelColor(0, 0), QColor(Qt::red));

    logotest::writeAll(e.prog(QStringLiteral("XPRESS.BMP")), "damaged");
    EXPECT_EQ(covers.show(PhoneCovers::OwnCover).index, 0);
}

// Every built-in cover has its display window where the logo is painted.
TEST(PhoneCovers, BuiltInPicturesHaveTheirDisplayInPlace)
{
    const QRect area = PhoneCovers::DisplayArea;
    for (int i = 0; i < PhoneCovers::OwnCover; ++i) {
        const QImage picture = PhoneCovers::builtInPicture(i);
        ASSERT_FALSE(picture.isNull()) << i;
        EXPECT_EQ(picture.height(), 210) << i;
        EXPECT_NEAR(picture.width(), 157, 6) << i;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                ASSERT_EQ(picture.pixelColor(x, y).rgb(), QColor(120, 190, 110).rgb()) << i << " at " << x << "," << y;
        // Dark bezel, not display, around it.
        EXPECT_NE(picture.pixelColor(area.left(), area.top() - 30).rgb(), QColor(120, 190, 110).rgb()) << i;
    }
}

// An imported logo replaced by the clear picture, a default logo or a file is
// a step that Undo takes back, with its operator and its name; the imported
// logo never saved is asked about when the window closes, and nothing else is.
TEST(BrisvaneHistory, ReplacedLogosComeBackAndAnUnsavedImportIsAskedAbout)
{
    Env e;
    BrisvaneDocument &d = e.start();
    BrisvaneFileCommands &f = *e.files;
    d.clearHistory();
    e.pick(kTMobile);
    d.grid().setPixel(7, 7, true);
    ASSERT_TRUE(f.saveDefaultLogo());
    const QString nol = e.nol(e.box.path(QStringLiteral("small.nol")), 262, 2);

    const std::pair<const char *, std::function<void()>> replacements[] = {
        {"clear logo", [&] { d.onOperatorChosen(ClearItem); }},
        {"default logo", [&] { ASSERT_TRUE(f.loadDefaultLogo()); }},
        {"file", [&] { ASSERT_TRUE(f.openFile(nol)); }},
    };
    for (const auto &[what, replace] : replacements) {
        SCOPED_TRACE(what);
        e.pick(kTMobile);
        ASSERT_TRUE(f.importPicture(logotest::fixture(QStringLiteral("png/pattern.png"))));
        e.pick(kTMobile);   // the operator for the imported logo
        const logo::LogoGrid imported = d.grid();
        EXPECT_EQ(f.askSaveChanges(), logo::FileCommands::SaveAnswer::Proceed) << "Brisvane asks only when closing";
        EXPECT_TRUE(e.prompt.shown.empty());
        e.prompt.answers = {logo::Answer::Cancel};
        EXPECT_EQ(f.askSaveChanges(true), logo::FileCommands::SaveAnswer::Cancel);
        EXPECT_EQ(e.prompt.lastMessage(),
                  QStringLiteral("Imported\r\nhas not been saved yet.\r\n\r\nDo you want to save it now?"));
        e.prompt.clear();

        replace();
        ASSERT_NE(d.grid(), imported);
        EXPECT_EQ(f.askSaveChanges(true), logo::FileCommands::SaveAnswer::Proceed) << "a logo from the program or a file is no loss";
        EXPECT_TRUE(e.prompt.shown.empty());

        logo::undoStackOf(d)->undo();
        EXPECT_EQ(d.grid(), imported);
        EXPECT_EQ(d.currentMCC(), QStringLiteral("262"));
        EXPECT_EQ(d.selectedItem(), e.item(kTMobile));
        EXPECT_EQ(d.title(), QStringLiteral("Brisvane [Imported]"));
        e.prompt.answers = {logo::Answer::Cancel};
        EXPECT_EQ(f.askSaveChanges(true), logo::FileCommands::SaveAnswer::Cancel);
        e.prompt.clear();
        logo::undoStackOf(d)->redo();
        EXPECT_NE(d.grid(), imported);
        logo::undoStackOf(d)->undo();
    }

    // Saved, the import is no longer asked about; the empty-logo question of
    // Save As comes once.
    d.grid() = logo::LogoGrid();
    d.setCurrentFile(QStringLiteral("Imported"));
    e.prompt.files = {e.box.path(QStringLiteral("empty"))};
    e.prompt.answers = {logo::Answer::Yes};
    EXPECT_EQ(f.saveAs(), logo::FileCommands::SaveResult::Saved);
    EXPECT_EQ(e.prompt.count(logo::ShownPrompt::Kind::Message), 1);
    EXPECT_TRUE(QFileInfo::exists(e.box.path(QStringLiteral("empty.nol"))));
    EXPECT_EQ(f.askSaveChanges(true), logo::FileCommands::SaveAnswer::Proceed);
}
