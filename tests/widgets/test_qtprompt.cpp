// The message boxes and file dialogs of the windows: the classic filters
// turned into Qt's, and the pointer over a box.
#include "desktop/waitcursor.h"
#include "widgets/qtprompt.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

using namespace logo;

TEST(QtPromptFilters, ClassicFilterBecomesQtFilters)
{
    EXPECT_EQ(QtPrompt::toQtFilters(QStringLiteral("Nokia Graphics|*.ngg;*.nol|Nokia Group Graphic (*.ngg)|*.ngg")),
              QStringList({QStringLiteral("Nokia Graphics (*.ngg *.nol)"), QStringLiteral("Nokia Group Graphic (*.ngg)")}));
    EXPECT_EQ(QtPrompt::toQtFilters(QStringLiteral("Pictures (*.bmp;*.gif)|*.bmp;*.gif")),
              QStringList({QStringLiteral("Pictures (*.bmp *.gif)")}));
}

TEST(QtPromptCursor, BoxesShowTheNormalPointerAndTheWaitPointerComesBack)
{
    WaitCursor outer;
    WaitCursor inner;
    QtPrompt prompt;
    const QCursor *underBox = reinterpret_cast<const QCursor *>(1);
    // Looks at the pointer while the box is up, then answers it.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget *box = QApplication::activeModalWidget()) {
            underBox = QGuiApplication::overrideCursor();
            box->close();
        }
    });
    poll.start(10);
    prompt.message(QStringLiteral("Quillet"), QStringLiteral("Can't read this file. Try another file."),
                   Icon::Exclamation, Buttons::Ok);
    poll.stop();
    EXPECT_EQ(underBox, nullptr) << "no wait pointer over the box";
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
}
