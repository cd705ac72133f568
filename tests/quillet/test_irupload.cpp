// "IR-&Upload to 61xx" from Quillet's window against irsim on a
// pseudo-terminal, through the real raw serial line: the progress dialog in its
// infrared mode while the upload runs on its worker thread, the busy mark, the
// message at the end.
#include "quillettest.h"

#include "common/simphone.h"
#include "infrared/irmessage.h"
#include "widgets/deliverycontroller.h"
#include "widgets/sendingdialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace quillettest;

namespace {

// What the progress dialog showed while the upload ran.
struct Watched {
    QString caption;
    bool cancelShown = true;
    bool waitShown = false;
    int frameHeight = 0;
    bool busy = false;
    bool closeRefused = false;
    bool escapeRefused = false;
    QList<int> percents;      // as the bar took them
};

// Starts the menu command and watches the dialog it shows, trying to close it
// once the upload has started: the upload goes on regardless.
Watched runUpload(Env &env)
{
    Watched seen;
    auto *dlg = env.window->delivery().sendingDialog();
    QObject::connect(dlg->progressBar, &QProgressBar::valueChanged, dlg, [&seen](int v) {
        if (v > 0)
            seen.percents << v;
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        // The caption comes with the upload's start.
        if (QApplication::activeModalWidget() != dlg || dlg->windowTitle().isEmpty())
            return;
        poll.stop();
        seen.caption = dlg->windowTitle();
        seen.cancelShown = dlg->cancelButton->isVisibleTo(dlg);
        seen.waitShown = dlg->waitLabel->isVisibleTo(dlg);
        seen.frameHeight = dlg->statusFrame->height();
        seen.busy = env.window->runMarks().isBusy();
        QCloseEvent close;
        QApplication::sendEvent(dlg, &close);
        seen.closeRefused = !close.isAccepted() && dlg->isVisible();
        QTest::keyClick(dlg, Qt::Key_Escape);
        seen.escapeRefused = dlg->isVisible();
    });
    poll.start(5);
    // Whatever goes wrong, the test ends.
    QTimer::singleShot(30000, dlg, &QWidget::hide);
    env.action("mnuIR")->trigger();
    return seen;
}

} // namespace

TEST(QuilletIrUpload, MenuCommandUploadsInTheInfraredProgressDialog)
{
    if (!logotest::SimIrPhone::available())
        GTEST_SKIP() << "irsim not built";
    const struct {
        QStringList args;
        QString message;
        logo::Icon icon;
        QList<int> percents;
    } cases[] = {
        {{}, "Data uploaded.", logo::Icon::Information, {10, 20, 30, 40, 50, 60, 70, 80, 90, 95, 100}},
        {{"--silent-after", "0"}, "Error while talking to COM4.\r\n\r\nCan't talk to phone.", logo::Icon::Critical,
         {10}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        logotest::SimIrPhone phone(c.args);
        ASSERT_FALSE(phone.device.isEmpty());
        Env env;
        auto &settings = env.box.settings();
        settings.writeInt(logo::kSharedSection, "IRPort", 4);
        settings.write(logo::kSharedSection, "Device4", phone.device);
        for (const char *key : {"IRDelay1", "IRDelay2", "IRDelay3"})
            settings.writeInt(logo::kSharedSection, key, 1);
        auto &w = env.start();
        w.show();
        env.doc().grid().setPixel(5, 6, true);

        const Watched seen = runUpload(env);
        EXPECT_EQ(seen.caption, "Upload via IR to 61xx ...");
        EXPECT_FALSE(seen.cancelShown);
        EXPECT_TRUE(seen.waitShown);
        EXPECT_GE(seen.frameHeight, 113);
        EXPECT_TRUE(seen.busy);
        EXPECT_TRUE(seen.closeRefused);
        EXPECT_TRUE(seen.escapeRefused);
        EXPECT_EQ(seen.percents, c.percents);

        EXPECT_EQ(env.prompt.messages(), QStringList{c.message});
        EXPECT_EQ(env.prompt.shown.back().icon, c.icon);
        EXPECT_FALSE(w.delivery().sendingDialog()->isVisible());
        EXPECT_FALSE(env.window->runMarks().isBusy());
        const bool received = phone.report().contains(
            "message " + QString::fromLatin1(env.window->delivery().irMessage().toHex().toUpper()));
        EXPECT_EQ(received, c.icon == logo::Icon::Information);
    }
}
