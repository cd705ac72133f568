// Edit > Options from Quillet's window: the dialog opens modally with the busy
// mark, without the pages of the methods the branding file hid.
#include "quillettest.h"
#include "widgets/optionsdialog.h"

#include <QApplication>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <gtest/gtest.h>

TEST(QuilletOptions, OpensTheDialogWithoutTheHiddenMethodsPages)
{
    quillettest::Env env;
    logotest::writeAll(env.box.path(QStringLiteral("QUILLET.INI")), "[Branding]\r\nSendViaIR=NO\r\n");
    env.start();
    QStringList tabs;
    bool busy = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dlg = qobject_cast<logo::OptionsDialog *>(QApplication::activeModalWidget());
        if (!dlg)
            return;
        poll.stop();
        for (int i = 0; i < dlg->tabBar->count(); ++i)
            tabs << dlg->tabBar->tabText(i);
        busy = env.window->runMarks().isBusy();
        dlg->cancelButton->click();
    });
    poll.start(5);
    env.action("mnuOptions")->trigger();
    EXPECT_EQ(tabs, (QStringList{"Serial Port", "SMS", "Advanced"}));
    EXPECT_TRUE(busy);
    EXPECT_FALSE(env.window->runMarks().isBusy());
}
