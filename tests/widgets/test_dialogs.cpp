// The send, store and progress dialogs as a user works them: modal dialogs
// shown by the menu command, filled in and clicked from the event loop.
#include "desktop/programcontext.h"
#include "common/modalscript.h"
#include "common/testsupport.h"
#include "graphic/logodocument.h"
#include "widgets/deliverycontroller.h"
#include "widgets/readingdialog.h"
#include "widgets/resourceicon.h"
#include "widgets/senddialog.h"
#include "widgets/sendingdialog.h"
#include "widgets/storedialog.h"
#include "common/phonefakes.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QSignalSpy>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace logo;
using logotest::Sandbox;
using phonetest::FakeLink;
using phonetest::ManualTicks;

namespace {

struct DialogFixture : ::testing::Test {
    Sandbox sb;
    ScriptedPrompt prompt;
    LogoDocument doc{ProgramProfile::quillet()};
    RunMarks marks{sb.settings(), doc.profile().settingsSection};
    ProgramContext context{doc.profile(), prompt, sb.settings(), marks, QString()};
    FakeLink link;
    ManualTicks ticks;
    DeliveryController dialogs{doc, context, nullptr, &link, &ticks};
    QObject scope;     // owns the pollers of this test
    QStringList seen;  // modal dialogs met, in order

    void SetUp() override
    {
        doc.grid().setPixel(3, 4, true);
        sb.settings().write(kSharedSection, "SMSC", "491710760000");
        sb.settings().writeInt(kSharedSection, "COMPort", 2);
        sb.settings().write(kSharedSection, "Device2", "/dev/fake-phone");
        link.responder = phonetest::goodPhone();
        ticks.autoFire = true;
        // Whatever a test leaves open is closed after a while: it fails, it
        // does not hang.
        auto *watchdog = new QTimer(&scope);
        watchdog->setSingleShot(true);
        QObject::connect(watchdog, &QTimer::timeout, [] {
            ADD_FAILURE() << "a dialog was left open";
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w->isVisible())
                    w->hide();
        });
        watchdog->start(10000);
    }

    // Runs action on the modal dialog named name once it is shown.
    void whenShown(const QString &name, std::function<void(QWidget *)> action)
    {
        logotest::whenModalShown(scope, name, [this, name, action](QWidget *w) {
            seen << name;
            action(w);
        });
    }
};

} // namespace

TEST_F(DialogFixture, SendDialogShowsTheLastNumberAndSendsTheDigitsOfTheTypedOne)
{
    sb.settings().write(doc.profile().settingsSection, "LastDA", "4930");
    whenShown("frmSend", [&](QWidget *w) {
        auto *dlg = static_cast<SendDialog *>(w);
        EXPECT_EQ(dlg->windowTitle(), "Send");
        EXPECT_EQ(dlg->numberEdit->text(), "4930");
        EXPECT_FALSE(dlg->phonebookList->isEnabled());
        EXPECT_EQ(dlg->phonebookList->currentText(), "No phonebook");
        dlg->numberEdit->setText("+1 2-3");
        dlg->sendButton->click();
        EXPECT_FALSE(dlg->isVisible());
        EXPECT_EQ(dlg->numberEdit->text(), "123");
    });
    whenShown("frmSending", [&](QWidget *w) {
        EXPECT_TRUE(static_cast<SendingDialog *>(w)->cancelButton->isVisible());
        EXPECT_FALSE(dialogs.sendDialog()->isVisible()) << "the progress follows the send dialog, not inside it";
    });
    dialogs.sendPicture();

    EXPECT_EQ(seen, (QStringList{"frmSend", "frmSending"}));
    EXPECT_EQ(sb.settings().read(doc.profile().settingsSection, "LastDA"), "123");
    ASSERT_EQ(link.written.size(), 5);
    EXPECT_TRUE(link.written[4].contains("51000391" "21F3")) << link.written[4].constData();
    EXPECT_EQ(prompt.messages(), QStringList{"Data sent."});
    SendingDialog *progress = dialogs.sendingDialog();
    EXPECT_FALSE(progress->isVisible());
    EXPECT_EQ(progress->windowTitle(), "Sending ...");
    EXPECT_EQ(progress->percentLabel->text(), "100%");
    EXPECT_EQ(progress->progressBar->value(), 100);
    EXPECT_FALSE(marks.isBusy());
}

TEST_F(DialogFixture, SendDialogKeepsAskingWhileTheNumberHasNoDigits)
{
    whenShown("frmSend", [&](QWidget *w) {
        auto *dlg = static_cast<SendDialog *>(w);
        dlg->numberEdit->setText("+ -");
        dlg->sendButton->click();
        EXPECT_EQ(prompt.lastMessage(), "Please enter GSM-Number in intl. Format");
        EXPECT_TRUE(dlg->isVisible());
        dlg->cancelButton->click();
    });
    dialogs.sendPicture();
    EXPECT_EQ(seen, QStringList{"frmSend"});
    EXPECT_TRUE(link.openedDevices.isEmpty());
    EXPECT_FALSE(sb.settings().contains(doc.profile().settingsSection, "LastDA"));
}

TEST_F(DialogFixture, SendNumberIsReducedToDigitsWhenTheBoxLosesFocus)
{
    SendDialog *dlg = dialogs.sendDialog();
    dlg->show();
    dlg->numberEdit->setText("+49 (171) 12");
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(dlg->numberEdit, &out);
    EXPECT_EQ(dlg->numberEdit->text(), "4917112");
    dlg->hide();
}

TEST_F(DialogFixture, StoreDialogShowsTheCounterNumberAndAdvancesItAfterAFailedStore)
{
    sb.settings().writeInt(doc.profile().settingsSection, "StoreCount", 5);
    link.openSucceeds = false;
    whenShown("frmStore", [&](QWidget *w) {
        auto *dlg = static_cast<StoreDialog *>(w);
        EXPECT_EQ(dlg->windowTitle(), "Store");
        EXPECT_EQ(dlg->numberLabel->text(), "+999000005");
        dlg->storeButton->click();
    });
    dialogs.storePicture();
    EXPECT_EQ(seen, QStringList{"frmStore"}) << "the progress dialog hid at once";
    EXPECT_EQ(prompt.lastMessage(), "Can't talk to COM2.");
    EXPECT_EQ(sb.settings().read(doc.profile().settingsSection, "StoreCount"), "6");
    EXPECT_FALSE(dialogs.storeDialog()->isVisible());
}

TEST_F(DialogFixture, CancelledStoreDialogLeavesTheCounter)
{
    sb.settings().writeInt(doc.profile().settingsSection, "StoreCount", 5);
    whenShown("frmStore", [&](QWidget *w) { static_cast<StoreDialog *>(w)->cancelButton->click(); });
    dialogs.storePicture();
    EXPECT_EQ(sb.settings().read(doc.profile().settingsSection, "StoreCount"), "5");
    EXPECT_TRUE(link.openedDevices.isEmpty());
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(DialogFixture, ProgressCancelStopsTheJobAtItsNextTick)
{
    ticks.autoFire = false;
    link.responder = nullptr;      // a phone that does not answer
    whenShown("frmStore", [&](QWidget *w) { static_cast<StoreDialog *>(w)->storeButton->click(); });
    whenShown("frmSending", [&](QWidget *w) {
        auto *dlg = static_cast<SendingDialog *>(w);
        EXPECT_EQ(dlg->windowTitle(), "Storing in SMS-Inbox ...");
        EXPECT_EQ(dlg->percentLabel->text(), "0%");
        dlg->cancelButton->click();
        EXPECT_TRUE(dlg->isVisible()) << "the job, not the button, hides the dialog";
        EXPECT_TRUE(dialogs.engine().state().breakRequested);
        // Closing the window asks the same and is refused while the job runs.
        QCloseEvent close;
        QApplication::sendEvent(dlg, &close);
        EXPECT_FALSE(close.isAccepted());
        dialogs.engine().tick();
    });
    dialogs.storePicture();
    EXPECT_EQ(prompt.lastMessage(), "Can't talk to COM2.");
    EXPECT_FALSE(link.isOpen());
    EXPECT_FALSE(dialogs.sendingDialog()->isVisible());
    EXPECT_EQ(sb.settings().read(doc.profile().settingsSection, "StoreCount"), "1");
}

TEST_F(DialogFixture, ProgressShowsThePercentageInLabelAndBar)
{
    SendingDialog *dlg = dialogs.sendingDialog();
    dlg->showProgress(40);
    EXPECT_EQ(dlg->percentLabel->text(), "40%");
    EXPECT_EQ(dlg->progressBar->value(), 40);
}

// ------------------------------------------------------------------ phonebook

namespace {

// The send dialog with the phonebook: the cache beside the program, the read
// from the simulated phone's logic.
struct PhonebookDialogFixture : DialogFixture {
    Phonebook &book = dialogs.phonebook();
    DeliveryController &withBook = dialogs;
    phonesim::PhoneCore phone;

    void SetUp() override
    {
        DialogFixture::SetUp();
        context.appFolder = sb.dir();
        link.responder = phonetest::simulatedPhone(phone);
    }
    QString cache() const { return sb.path("NGGPBOOK.CSV"); }
    static QStringList items(QComboBox *list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->itemText(i);
        return out;
    }
    static void choose(QComboBox *list, const QString &text)
    {
        const int i = list->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        list->setCurrentIndex(i);
        emit list->activated(i);
    }
};

} // namespace

TEST_F(PhonebookDialogFixture, TheCacheIsLoadedOnceAndItsEntriesGiveTheirDigits)
{
    logotest::writeAll(cache(), "Zoe;+49 171-1;A;1;\r\nanna;0301;B;2;\r\nBob;555;A;3;\r\n");
    sb.settings().write(doc.profile().settingsSection, "LastDA", "4930");
    whenShown("frmSend", [&](QWidget *w) {
        auto *dlg = static_cast<SendDialog *>(w);
        EXPECT_TRUE(dlg->phonebookList->isEnabled());
        EXPECT_EQ(items(dlg->phonebookList), (QStringList{" Last used number", "anna", "Bob", "Zoe"}));
        EXPECT_EQ(dlg->phonebookList->currentIndex(), 0);
        choose(dlg->phonebookList, "Zoe");
        EXPECT_EQ(dlg->numberEdit->text(), "491711");
        choose(dlg->phonebookList, " Last used number");
        EXPECT_EQ(dlg->numberEdit->text(), "4930");
        dlg->cancelButton->click();
    });
    dialogs.sendPicture();
    EXPECT_TRUE(book.isRead());

    QFile::remove(cache());
    whenShown("frmSend", [&](QWidget *w) {
        auto *dlg = static_cast<SendDialog *>(w);
        EXPECT_EQ(dlg->phonebookList->count(), 4) << "later openings keep the list";
        dlg->cancelButton->click();
    });
    dialogs.sendPicture();
    EXPECT_EQ(seen, (QStringList{"frmSend", "frmSend"}));
}

// Names sort as the user's language does: accented letters with their base
// letter in German, after Z where Swedish puts them.
TEST_F(PhonebookDialogFixture, NamesSortAsTheUsersLanguageDoes)
{
    const QLocale before;
    const struct {
        QLocale::Language language;
        QStringList items;
    } cases[] = {
        {QLocale::German, {" Last used number", "Ärger", "bob", "Émile", "Ümit", "Zoë"}},
        {QLocale::Swedish, {" Last used number", "bob", "Émile", "Ümit", "Zoë", "Ärger"}},
    };
    logotest::writeAll(cache(), toWindows1252(QString::fromUtf8("Zo\u00EB;1;A;1;\r\n\u00DCmit;2;A;2;\r\n"
                                                                "bob;3;A;3;\r\n\u00C4rger;4;B;1;\r\n"
                                                                "\u00C9mile;5;B;2;\r\n")));
    for (const auto &c : cases) {
        QLocale::setDefault(QLocale(c.language));
        whenShown("frmSend", [&](QWidget *w) {
            auto *dlg = static_cast<SendDialog *>(w);
            EXPECT_EQ(items(dlg->phonebookList), c.items) << QLocale().name().toStdString();
            dlg->cancelButton->click();
        });
        book.setRead(false);   // the next opening fills the list afresh
        dialogs.sendPicture();
    }
    QLocale::setDefault(before);
}

TEST_F(PhonebookDialogFixture, ReadingThePhonebookFromTheSendDialog)
{
    whenShown("frmSend", [&](QWidget *w) {
        auto *dlg = static_cast<SendDialog *>(w);
        EXPECT_EQ(items(dlg->phonebookList), QStringList{"No phonebook"});
        dlg->phonebookButton->click();
        EXPECT_TRUE(link.written.contains("AT+CPBS=\"ME\"\r")) << "the reading dialog ran the read";
        EXPECT_TRUE(withBook.readingDialog()->phoneLabel->font().bold());
        EXPECT_FALSE(withBook.readingDialog()->isVisible());
        EXPECT_EQ(prompt.messages(), QStringList{"Phonebook read."});
        EXPECT_TRUE(dlg->phonebookList->isEnabled());
        EXPECT_EQ(items(dlg->phonebookList).size(), 6);
        EXPECT_EQ(items(dlg->phonebookList).value(1), "Anna");

        // Again: asked first; No keeps what there is.
        dlg->phonebookButton->click();
        EXPECT_EQ(prompt.lastMessage(),
                  "Phonebook has already been read.\r\n\r\nDo you want to read it again?");
        EXPECT_EQ(prompt.shown.back().icon, Icon::Information);
        dlg->cancelButton->click();
    });
    dialogs.sendPicture();
    EXPECT_EQ(seen, QStringList{"frmSend"});
    EXPECT_EQ(withBook.readingDialog()->windowTitle(), "Reading phonebook ...");
    // Wide enough for the whole caption beside a title bar's icon and buttons.
    QFont bold = withBook.readingDialog()->font();
    bold.setBold(true);
    EXPECT_GE(withBook.readingDialog()->width(), QFontMetrics(bold).horizontalAdvance("Reading phonebook ...") + 100);
    EXPECT_TRUE(QFile::exists(cache()));
}

TEST_F(PhonebookDialogFixture, CancelInTheReadingDialogStopsTheRead)
{
    ticks.autoFire = false;
    link.responder = nullptr;
    whenShown("frmReading", [&](QWidget *w) {
        auto *dlg = static_cast<ReadingDialog *>(w);
        EXPECT_TRUE(dlg->initialisingLabel->font().bold());
        dlg->cancelButton->click();
        EXPECT_TRUE(dlg->isVisible()) << "the read, not the button, hides the dialog";
        dialogs.engine().tick();
    });
    withBook.sendDialog()->show();
    withBook.sendDialog()->phonebookButton->click();
    withBook.sendDialog()->hide();
    EXPECT_EQ(prompt.messages(), QStringList{"Can't talk to COM2."});
    EXPECT_FALSE(book.isRead());
    EXPECT_FALSE(QFile::exists(cache()));
}

// Every drawing of the resources reaches the windows at any size, also greyed
// out: a drawing left out of the build's list would show as an empty button.
TEST(ResourceIcons, EveryDrawingIsThereAtAnySize)
{
    const QStringList drawings =
        QDir(QStringLiteral(LOGO_TEST_FIXTURES "/../../resources/icons")).entryList({QStringLiteral("*.svg")});
    ASSERT_FALSE(drawings.isEmpty());
    for (const QString &file : drawings) {
        const QIcon icon = logo::resourceIcon(QFileInfo(file).completeBaseName());
        for (const int side : {16, 20, 24, 48, 64})
            EXPECT_EQ(icon.pixmap(side, side).size(), QSize(side, side)) << qPrintable(file) << " " << side;
        EXPECT_FALSE(icon.pixmap(24, 24, QIcon::Disabled).isNull()) << qPrintable(file);
    }
}
