// Brisvane's main window: its menus, list and labels as it starts, the logo in
// the display of the covers, the delivery commands against the simulated
// phone, and the program itself taking a screenshot.
#include "brisvanetest.h"
#include "brisvane/coverview.h"
#include "common/modalscript.h"
#include "common/simphone.h"
#include "desktop/pixelaspect.h"
#include "graphic/pathutil.h"
#include "picture/pictureimage.h"
#include "sms/pdu.h"
#include "widgets/senddialog.h"
#include "widgets/storedialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMap>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolBar>
#include <QUrl>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace brisvane;
using namespace brisvanetest;
using logo::Answer;

namespace {

QStringList entryNames(const QMenu *menu)
{
    QStringList out;
    for (const QAction *a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->objectName() + QLatin1Char(' ') + a->text());
    return out;
}

} // namespace

// ---------------------------------------------------------------- start-up

TEST(BrisvaneWindow, StartsWithItsListLabelsMenusAndToolbar)
{
    WindowEnv env;
    auto &w = env.open();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Brisvane [Untitled]"));
    EXPECT_EQ(env.setting(QStringLiteral("CurrentAppname")), QStringLiteral("Brisvane [Untitled]"));
    EXPECT_TRUE(env.prompt.shown.empty());

    auto *list = env.widget<QComboBox>("cmbOperator");
    EXPECT_EQ(list->toolTip(), QStringLiteral("Select your operator here"));
    ASSERT_EQ(list->count(), 13);
    EXPECT_EQ(list->itemText(0), QStringLiteral(" Clear Operator-Logo"));
    EXPECT_EQ(list->itemText(1), QStringLiteral(" Select your operator..."));
    EXPECT_EQ(list->currentIndex(), 1);
    for (const char *name : {"lblCountry", "lblMCCMNC", "lblOp1", "lblOp2", "lblOpURL", "lblDef"})
        EXPECT_TRUE(label(env, name).isEmpty()) << name;
    EXPECT_FALSE(env.widget<QLabel>("lblDef")->isEnabled());
    EXPECT_FALSE(env.widget<QLabel>("lblCopyright")->text().isEmpty());

    QStringList bar;
    for (const QAction *a : w.menuBar()->actions())
        bar << a->text();
    EXPECT_EQ(bar, (QStringList{"&File", "&Edit", "Ex&tras", "&View", "&Help"}));
    EXPECT_EQ(entryNames(env.widget<QMenu>("mnuFile")).mid(0, 11),
              (QStringList{"mnuOpen &Open", "mnuSave &Save", "mnuSaveAs Save &As...", "-",
                           "mnuSend Sen&d as SMS...", "mnuStore Sto&re to SMS-Inbox...",
                           "mnuInternet Send via In&ternet...", "mnuIR IR-&Upload to 61xx", "-",
                           "mnuImport Im&port BMP, GIF, JPG...", "-"}));
    EXPECT_EQ(entryNames(env.widget<QMenu>("mnuEdit")),
              (QStringList{"mnuUndo &Undo", "mnuRedo &Redo", "-", "mnuOptions &Options..."}));
    EXPECT_FALSE(env.action("mnuUndo")->isEnabled());
    EXPECT_EQ(entryNames(env.widget<QMenu>("mnuExtras")),
              (QStringList{"mnuXpressM X&press yourself...", "-", "mnuLoadDefault Load default logo...",
                           "mnuSaveDefault Save as default logo..."}));
    EXPECT_EQ(entryNames(env.widget<QMenu>("mnuXpressM")),
              (QStringList{"mnuXpress0 7110", "mnuXpress1 8210", "mnuXpress2 8850", "mnuXpress3 6210",
                           "mnuXpress4 3210", "mnuXpress5 6250", "mnuXpress6 8810", "mnuXpress7 6100",
                           "mnuXpress8 5100", "mnuXpress9 9110", "mnuXpress10 Your own!"}));
    // The keys of Quillet's File menu for Open, Save, Import and Exit, Undo and
    // Redo as in Quillet's Edit menu, and no other.
    QMap<QString, QString> keys;
    for (const QAction *a : w.findChildren<QAction *>())
        if (!a->shortcut().isEmpty())
            keys.insert(a->objectName(), a->shortcut().toString(QKeySequence::PortableText));
    EXPECT_EQ(keys, (QMap<QString, QString>{{"mnuOpen", "Ctrl+O"}, {"mnuSave", "Ctrl+S"}, {"mnuImport", "Ctrl+P"},
                                            {"mnuExit", "Ctrl+Q"}, {"mnuUndo", "Ctrl+Z"}, {"mnuRedo", "Ctrl+Shift+Z"}}));
    EXPECT_FALSE(env.action("mnuLoadDefault")->isEnabled());
    EXPECT_FALSE(env.action("mnuSaveDefault")->isEnabled());
    // Every delivery command comes bound from the shared window code.
    for (const char *name : {"mnuSend", "mnuStore", "mnuInternet", "mnuIR", "mnuOptions"})
        EXPECT_TRUE(env.action(QString::fromLatin1(name))->isEnabled()) << name;

    QStringList buttons;
    for (const QAction *a : env.widget<QToolBar>("Toolbar1")->actions())
        buttons << (a->isSeparator() ? QStringLiteral("-") : a->data().toString() + QLatin1Char('=') + a->toolTip());
    EXPECT_EQ(buttons, (QStringList{"Open=Open", "Save=Save", "-", "Send=Send as SMS", "Store=Store to SMS-Inbox",
                                    "Internet=Send via Internet", "IR=Upload via IR to 61xx", "-",
                                    "Options=Options"}));

    // First start without a cover of the user's: the 8210, alone checked,
    // from the client area's top-left corner.
    EXPECT_EQ(w.coverIndex(), 1);
    EXPECT_FALSE(env.action("mnuXpress10")->isVisible());
    EXPECT_FALSE(env.action("mnuXpress10")->isEnabled());
    for (int i = 0; i < PhoneCovers::Count; ++i)
        EXPECT_EQ(env.action(QStringLiteral("mnuXpress%1").arg(i))->isChecked(), i == 1) << i;
    EXPECT_EQ(w.coverView()->pos(), QPoint(0, 0));
    EXPECT_EQ(w.coverView()->cover(), PhoneCovers::builtInPicture(1).convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

// The wheel passing over the list picks nothing; a logo replaced through the
// list comes back with Undo, and an import never saved is asked about when
// the window closes.
TEST(BrisvaneWindow, TheWheelLeavesTheListAloneAndUndoBringsBackAReplacedLogo)
{
    WindowEnv env;
    auto &w = env.open();
    auto *list = env.widget<QComboBox>("cmbOperator");
    EXPECT_EQ(list->focusPolicy(), Qt::StrongFocus);
    EXPECT_FALSE(list->hasFocus());
    ASSERT_TRUE(env.window->fileCommands().importPicture(logotest::fixture(QStringLiteral("png/pattern.png"))));
    const logo::LogoGrid imported = env.wdoc().grid();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Brisvane [Imported]"));

    const QPointF at(5, 5);
    QWheelEvent notch(at, list->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(list, &notch);
    EXPECT_EQ(list->currentIndex(), 1);
    EXPECT_EQ(env.wdoc().grid(), imported);

    choose(env, QStringLiteral(" Clear Operator-Logo"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Brisvane [Clear Logo]"));
    ASSERT_TRUE(env.action("mnuUndo")->isEnabled());
    env.action("mnuUndo")->trigger();
    EXPECT_EQ(env.wdoc().grid(), imported);
    EXPECT_EQ(list->currentIndex(), 1);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Brisvane [Imported]"));
    EXPECT_TRUE(env.prompt.shown.empty());

    env.prompt.answers = {Answer::Cancel};
    EXPECT_FALSE(w.close());
    EXPECT_EQ(env.prompt.lastMessage(),
              QStringLiteral("Imported\r\nhas not been saved yet.\r\n\r\nDo you want to save it now?"));
    env.action("mnuRedo")->trigger();
    env.prompt.clear();
    EXPECT_TRUE(w.close()) << "the clear logo is no loss";
    EXPECT_TRUE(env.prompt.shown.empty());
}

// ---------------------------------------------------------------- the display

TEST(BrisvaneWindow, ALogoSitsOneToOneInTheDisplayOfEveryCover)
{
    WindowEnv env;
    const logo::LogoGrid g = pattern();
    // A long path: the title shows 25 characters of it.
    const QString file = writeNol(env.box.path(QStringLiteral("logos/collected/germany/tmobile-d1.nol")), g, 262, 1);
    auto &w = env.open(file);
    EXPECT_EQ(env.wdoc().grid(), g);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Brisvane [") + file.left(3) + QStringLiteral("...") + file.right(22) +
                                   QStringLiteral("]"));
    EXPECT_EQ(env.widget<QComboBox>("cmbOperator")->currentText(), kTMobile) << "the file selects its operator";
    EXPECT_EQ(label(env, "lblMCCMNC"), QStringLiteral("262-01"));
    EXPECT_EQ(env.window->recentFiles().files().front(), file);

    for (int cover : {1, 0, 4, 9}) {
        env.action(QStringLiteral("mnuXpress%1").arg(cover))->trigger();
        EXPECT_EQ(w.coverIndex(), cover);
        int checked = 0;
        for (int i = 0; i < PhoneCovers::Count; ++i)
            checked += env.action(QStringLiteral("mnuXpress%1").arg(i))->isChecked() ? 1 : 0;
        EXPECT_EQ(checked, 1);
        const QImage shown = clientArea(env);
        EXPECT_EQ(displayMismatch(shown, {42, 85}, g), QString()) << "cover " << cover;
        // Around the display the cover itself, unmoved.
        const QImage picture = PhoneCovers::builtInPicture(cover).convertToFormat(QImage::Format_RGB32);
        for (const QPoint at : {QPoint(40, 80), QPoint(78, 110), QPoint(120, 90)})
            EXPECT_EQ(shown.pixel(at), picture.pixel(at)) << "cover " << cover << " at " << at.x() << "," << at.y();
        EXPECT_EQ(env.widget<QComboBox>("cmbOperator")->currentText(), kTMobile) << "a cover keeps the operator";
    }

    // The true-aspect preview draws the whole phone taller, each row of the
    // logo a band of whole screen rows in its own colours, then 1:1 again.
    env.action(QStringLiteral("mnuTrueAspect"))->trigger();
    EXPECT_EQ(w.coverView()->height(), 240) << "210 at 7:8";
    {
        const qreal k = 8.0 / 7.0;
        const QImage tall = w.coverView()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(logo::stretchedRow(85 + 14, k) - logo::stretchedRow(85, k), 16);
        for (int r = 0; r < 14; ++r) {
            const int from = logo::stretchedRow(85 + r, k), to = logo::stretchedRow(85 + r + 1, k);
            EXPECT_TRUE(to - from == 1 || to - from == 2) << "row " << r;
            for (int y = from; y < to; ++y)
                for (int c = 0; c < 72; ++c)
                    ASSERT_EQ(tall.pixel(42 + c, y), g.isSet(c, r) ? qRgb(0, 0, 0) : logo::DisplayGreen)
                        << c << "," << r << " at screen row " << y;
        }
    }
    env.action(QStringLiteral("mnuTrueAspect"))->trigger();
    EXPECT_EQ(w.coverView()->height(), 210);
    EXPECT_EQ(displayMismatch(clientArea(env), {42, 85}, g), QString());
}

TEST(BrisvaneWindow, OwnCoverShowsFirstAndFallsBackWhenItGoes)
{
    WindowEnv env;
    QImage own(400, 250, QImage::Format_RGB32);
    own.fill(Qt::darkRed);
    const QString ownPath = env.prog(PhoneCovers::OwnCoverFile);
    ASSERT_TRUE(own.save(ownPath, "BMP"));
    {
        auto &w = env.open();
        EXPECT_EQ(w.coverIndex(), PhoneCovers::OwnCover);
        EXPECT_TRUE(env.action("mnuXpress10")->isVisible());
        EXPECT_TRUE(env.action("mnuXpress10")->isChecked());
        EXPECT_EQ(w.coverView()->size(), QSize(324, 250)) << "a larger cover gets more room, up to a limit";
        EXPECT_EQ(displayMismatch(clientArea(env), {42, 85}, logo::LogoGrid()), QString());

        QFile::remove(ownPath);
        env.action("mnuXpress10")->trigger();
        EXPECT_EQ(w.coverIndex(), 0);
        EXPECT_TRUE(env.action("mnuXpress0")->isChecked());
        EXPECT_FALSE(env.action("mnuXpress10")->isChecked());
        w.close();
    }
    EXPECT_EQ(env.setting(PhoneCovers::SettingKey), QStringLiteral("0"));

    // The choice comes back at the next start; a stored own cover without the
    // file shows cover 0, a value that names no cover the default.
    for (const auto &[stored, shown] : {std::pair{"6", 6}, {"10", 0}, {"42", 1}}) {
        env.box.settings().write(QStringLiteral("Brisvane Settings"), PhoneCovers::SettingKey,
                                 QString::fromLatin1(stored));
        EXPECT_EQ(env.open().coverIndex(), shown) << stored;
    }
    EXPECT_TRUE(env.prompt.shown.empty()) << "a missing cover falls back without a word";

    // A cover that is there but can't be read is reported; the choice stays
    // stored for a mended picture.
    logotest::writeAll(ownPath, "BM not really a bitmap");
    env.box.settings().write(QStringLiteral("Brisvane Settings"), PhoneCovers::SettingKey, QStringLiteral("10"));
    env.open();
    EXPECT_EQ(env.window->coverIndex(), 0);
    EXPECT_TRUE(env.action("mnuXpress0")->isChecked());
    ASSERT_EQ(env.prompt.shown.size(), 1u);
    EXPECT_TRUE(env.prompt.lastMessage().contains(QStringLiteral("XPRESS.BMP"))) << env.prompt.lastMessage().toStdString();
    env.window->close();
    EXPECT_EQ(env.setting(PhoneCovers::SettingKey), QStringLiteral("10"));
    // Choosing another cover is a new choice.
    env.open();
    env.action("mnuXpress3")->trigger();
    env.window->close();
    EXPECT_EQ(env.setting(PhoneCovers::SettingKey), QStringLiteral("3"));
}

TEST(BrisvaneWindow, LongTextsFromTheOperatorFileAreCutAndTheWindowKeepsItsSize)
{
    WindowEnv env;
    auto &plain = env.open();
    plain.show();
    QCoreApplication::processEvents();
    const QSize normal = plain.size();
    env.window->close();

    const QString name = QStringLiteral("Very Long Networks ") + QString(270, QLatin1Char('x'));
    const QString url = QStringLiteral("http://www.") + QString(200, QLatin1Char('y')) + QStringLiteral(".example/");
    env.writeUpdateFile("Longland;" + name.toUtf8() + ";262;07;" + url.toUtf8() + ";\r\n");
    auto &w = env.open();
    w.show();
    QCoreApplication::processEvents();
    // The list's entry is cut too, the whole text in its tool tip.
    auto *list = env.widget<QComboBox>("cmbOperator");
    const int row = list->findData(QStringLiteral("Longland - ") + name, Qt::ToolTipRole);
    ASSERT_GE(row, 0);
    EXPECT_TRUE(list->itemText(row).endsWith(QChar(0x2026)));
    EXPECT_EQ(list->findData(kTMobile, Qt::ToolTipRole), -1) << "a short entry has no tool tip";
    choose(env, list->itemText(row));
    QCoreApplication::processEvents();
    EXPECT_EQ(w.size(), normal);
    for (const auto &[labelName, whole] : {std::pair{"lblOp1", name}, {"lblOpURL", url}}) {
        auto *l = env.widget<QLabel>(labelName);
        EXPECT_TRUE(l->text().endsWith(QChar(0x2026))) << labelName;
        EXPECT_EQ(l->toolTip(), whole) << labelName;
        EXPECT_LE(l->sizeHint().width(), env.widget<QComboBox>("cmbOperator")->width()) << labelName;
    }
    EXPECT_EQ(label(env, "lblOp2"), QStringLiteral("Longland")) << "a short text stays whole";
    EXPECT_TRUE(env.widget<QLabel>("lblOp2")->toolTip().isEmpty());
    EXPECT_EQ(env.wdoc().panel().op1, name) << "only the label is cut";
    EXPECT_LE(env.action("mnuSaveDefault")->text().size(), 150);
}

TEST(BrisvaneWindow, ADroppedPictureIsImported)
{
    WindowEnv env;
    auto &w = env.open();
    w.show();
    QImage picture(80, 20, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setPixel(10, 3, qRgb(0, 0, 0));
    const QString png = env.box.path(QStringLiteral("photo.png"));
    ASSERT_TRUE(picture.save(png));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(png)});
    QWidget *target = w.centralWidget();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    EXPECT_TRUE(env.prompt.shown.empty());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Brisvane [Imported]"));
    EXPECT_TRUE(env.wdoc().grid().isSet(10, 3));
    EXPECT_EQ(env.wdoc().grid().setCount(), 1);
}

// ---------------------------------------------------------------- delivery

TEST(BrisvaneDelivery, PreChecksBeforeAnyDialog)
{
    WindowEnv env;
    auto &w = env.open();
    env.box.settings().write(logo::kSharedSection, QStringLiteral("SMSC"), QStringLiteral("491710760000"));
    // No operator: the toolbar button and the menu say so and open nothing.
    w.runToolbarButton(QStringLiteral("Send"));
    env.action("mnuStore")->trigger();
    EXPECT_EQ(env.prompt.messages(), (QStringList{"Select an operator first.", "Select an operator first."}));

    // An operator with an empty logo: the question, and No stops.
    env.prompt.clear();
    choose(env, kTMobile);
    env.prompt.answers = {Answer::No};
    env.action("mnuSend")->trigger();
    EXPECT_EQ(env.prompt.messages(),
              QStringList{"The operator logo is empty.\r\n\r\nDo you want to continue anyway?"});
    EXPECT_FALSE(env.window->runMarks().isBusy());
}

TEST(BrisvaneDelivery, SendAndStoreAnOperatorLogoThroughTheSimulatedPhone)
{
    if (!logotest::SimPhone::available())
        GTEST_SKIP() << "phonesim not built";
    logotest::SimPhone phone({"--echo"});
    ASSERT_FALSE(phone.device.isEmpty());
    WindowEnv env;
    logo::SettingsStore &s = env.box.settings();
    s.write(logo::kSharedSection, QStringLiteral("SMSC"), QStringLiteral("491710760000"));
    s.writeInt(logo::kSharedSection, QStringLiteral("COMPort"), 3);
    s.write(logo::kSharedSection, QStringLiteral("Device3"), phone.device);
    s.writeBool(logo::kSharedSection, QStringLiteral("QuickLink"), true);
    s.writeInt(QStringLiteral("Brisvane Settings"), QStringLiteral("StoreCount"), 7);
    const QString file = writeNol(env.box.path(QStringLiteral("sfr.nol")), pattern(), 208, 10);
    auto &w = env.open(file);
    w.show();
    const logo::UserData data = logo::operatorLogoUserData(pattern(), QStringLiteral("208"), QStringLiteral("10"));
    EXPECT_TRUE(data.hex.startsWith(QStringLiteral("0605041582000002F801"))) << "port 1582, network 208 10";

    logotest::ModalScript user;
    user.then(QStringLiteral("frmSend"), [](QWidget *d) {
        auto *send = static_cast<logo::SendDialog *>(d);
        send->numberEdit->setText(QStringLiteral("+49 171 1234567"));
        send->sendButton->click();
    });
    env.action("mnuSend")->trigger();
    EXPECT_EQ(env.prompt.messages(), QStringList{"Data sent."});
    const logo::Pdu sent = logo::buildSubmitPdu(data, QStringLiteral("491711234567"), QStringLiteral("491710760000"),
                                                false);
    EXPECT_EQ(phone.logged(), sent.line().toLatin1() + '\n');

    env.prompt.clear();
    user.then(QStringLiteral("frmStore"), [](QWidget *d) {
        auto *store = static_cast<logo::StoreDialog *>(d);
        EXPECT_EQ(store->numberLabel->text(), QStringLiteral("+998000007"));
        store->storeButton->click();
    });
    w.runToolbarButton(QStringLiteral("Store"));
    EXPECT_EQ(user.seen, (QStringList{"frmSend", "frmStore"}));
    EXPECT_EQ(env.prompt.messages(), QStringList{"Data written."});
    const QStringList lines = QString::fromLatin1(phone.logged()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[1].contains(data.hex)) << "the stored message carries the same user data";
    EXPECT_EQ(env.setting(QStringLiteral("StoreCount")), QStringLiteral("8"));
    EXPECT_FALSE(env.window->runMarks().isBusy());
}

// ---------------------------------------------------------------- the program

TEST(BrisvaneProgram, ScreenshotShowsTheLogoInTheDisplay)
{
    logotest::Sandbox box;
    const QString file = writeNol(box.path(QStringLiteral("shot.nol")), pattern(), 262, 1);
    const QString png = box.path(QStringLiteral("shot.png"));
    // A window that really runs keeps its run marks: a screenshot run is no instance.
    box.settings().write(QStringLiteral("Brisvane Settings"), QStringLiteral("CurrentAppname"),
                         QStringLiteral("Brisvane [Untitled]"));
    box.settings().sync();
    QProcessEnvironment env;
    env.insert(QStringLiteral("LOGO_SETTINGS_FILE"), box.settingsFile());
    env.insert(QStringLiteral("QT_DEBUG_PLUGINS"), QStringLiteral("1"));
    const logotest::ToolRun run = logotest::runTool(QStringLiteral("brisvane"), {"--screenshot", png, file}, env);
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(QRegularExpression(QStringLiteral("imageformats/[^\"]*\" loaded library"))))
        << "the cover and the picture need no image plugin";
    box.restartSettings();
    EXPECT_EQ(box.settings().read(QStringLiteral("Brisvane Settings"), QStringLiteral("CurrentAppname")),
              QStringLiteral("Brisvane [Untitled]"));
    EXPECT_FALSE(box.settings().contains(QStringLiteral("Brisvane Settings"), QStringLiteral("CurrentBusy")));
    // Nor does it leave marks of its own: a second run leaves the file as it is.
    box.settings().remove(QStringLiteral("Brisvane Settings"), QStringLiteral("CurrentAppname"));
    box.settings().sync();
    const auto fileId = [&box] {
        struct stat st {};
        ::stat(QFile::encodeName(box.settingsFile()).constData(), &st);
        return std::make_pair(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
    };
    const auto before = fileId();
    ASSERT_EQ(logotest::runTool(QStringLiteral("brisvane"), {"--screenshot", png, file}, env).code, 0);
    EXPECT_EQ(fileId(), before) << "a screenshot run rewrote the settings";
    const QImage shot = QImage(png).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(shot.isNull());
    // The client area starts under the menu bar and the toolbar.
    int found = -1;
    for (int top = 85; top + 14 <= shot.height() && found < 0; ++top)
        if (displayMismatch(shot, {42, top}, pattern()).isEmpty())
            found = top - 85;
    EXPECT_GT(found, 0) << "the logo is in the display, 1:1";
}
