// Insert Text as the user works it (the dialog opened from the Edit menu,
// typed into, confirmed or cancelled) and the true-aspect phone preview.
#include "quillettest.h"
#include "common/modalscript.h"

#include "desktop/pixelaspect.h"
#include "picture/pictureimage.h"
#include "graphic/textlogo.h"
#include "widgets/inserttextdialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace quillettest;
using logo::InsertTextDialog;
using logo::TextFont;

namespace {

// Opens Insert Text from the Edit menu and runs work on the dialog; work
// closes it (OK or Cancel).
void insertText(Env &env, const std::function<void(InsertTextDialog &)> &work)
{
    QObject scope;
    bool shown = false;
    logotest::whenModalShown(scope, QStringLiteral("frmInsertText"), [&](QWidget *w) {
        shown = true;
        auto *dlg = static_cast<InsertTextDialog *>(w);
        work(*dlg);
        if (dlg->isVisible()) {
            ADD_FAILURE() << "the dialog stayed open";
            dlg->reject();
        }
    });
    env.action("mnuInsertText")->trigger();
    EXPECT_TRUE(shown);
}

bool isBlack(const QImage &img, int x, int y)
{
    return qGray(img.pixel(x, y)) < 40;
}

} // namespace

// ---------------------------------------------------------------- insert text

TEST(QuilletInsertText, TextThatFitsLandsAsOneStepThatUndoTakesBack)
{
    Env env;
    auto &w = env.start(env.ngg(QStringLiteral("before.ngg"), {{0, 0}, {71, 13}}));
    const logo::LogoGrid before = env.doc().grid();
    const QString cleanTitle = w.windowTitle();
    QAction *entry = env.action("mnuInsertText");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text(), QStringLiteral("Insert &text..."));
    EXPECT_EQ(env.widget<QMenu>("mnuEdit")->actions().last(), entry) << "after the entries that were there";

    const logo::TextLogo expected = logo::renderTextLogo({QStringLiteral("FC Quillet")}, TextFont::Bold);
    insertText(env, [&](InsertTextDialog &dlg) {
        EXPECT_FALSE(dlg.okButton->isEnabled()) << "nothing typed yet";
        EXPECT_TRUE(dlg.refusalLabel->text().isEmpty()) << "empty boxes are no mistake";
        dlg.lineEdits[1]->setText(QStringLiteral("FC Quillet"));   // the middle box alone
        EXPECT_TRUE(dlg.okButton->isEnabled());
        EXPECT_TRUE(dlg.refusalLabel->text().isEmpty());
        EXPECT_EQ(dlg.previewLabel->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
                  logo::exportImage(expected.grid, QSize(4, 4)))
            << "the preview is the picture OK will make, enlarged";
        dlg.okButton->click();
    });

    EXPECT_EQ(env.doc().grid(), expected.grid);
    EXPECT_EQ(env.display()->logoImage(), logo::exportImage(expected.grid)) << "the phone preview follows";
    EXPECT_NE(w.windowTitle(), cleanTitle);
    env.action("mnuUndo")->trigger();
    EXPECT_EQ(env.doc().grid(), before);
    EXPECT_EQ(w.windowTitle(), cleanTitle);
    EXPECT_FALSE(env.action("mnuUndo")->isEnabled()) << "one step in all";
}

TEST(QuilletInsertText, TextThatDoesNotFitIsRefusedInTheDialogAndChangesNothing)
{
    Env env;
    env.start(env.ngg(QStringLiteral("before.ngg"), {{5, 5}}));
    const logo::LogoGrid before = env.doc().grid();

    insertText(env, [&](InsertTextDialog &dlg) {
        // Three lines are too many for the bold font: automatic takes the tiny one.
        dlg.lineEdits[0]->setText(QStringLiteral("ONE"));
        dlg.lineEdits[1]->setText(QStringLiteral("TWO"));
        dlg.lineEdits[2]->setText(QStringLiteral("THREE"));
        EXPECT_TRUE(dlg.okButton->isEnabled());
        EXPECT_EQ(dlg.result().font, TextFont::Tiny);

        dlg.fontList->setCurrentText(QStringLiteral("Bold"));
        EXPECT_FALSE(dlg.okButton->isEnabled());
        EXPECT_TRUE(dlg.refusalLabel->text().contains(QStringLiteral("lines"))) << qPrintable(dlg.refusalLabel->text());

        dlg.fontList->setCurrentText(QStringLiteral("Automatic"));
        dlg.lineEdits[2]->setText(QStringLiteral("Telecommunications company"));
        EXPECT_FALSE(dlg.okButton->isEnabled());
        EXPECT_TRUE(dlg.refusalLabel->text().contains(QStringLiteral("columns"))) << qPrintable(dlg.refusalLabel->text());
        EXPECT_EQ(dlg.previewLabel->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
                  logo::exportImage(logo::LogoGrid(), QSize(4, 4)))
            << "nothing half-drawn in the preview";
        dlg.cancelButton->click();
    });

    EXPECT_EQ(env.doc().grid(), before);
    EXPECT_FALSE(env.action("mnuUndo")->isEnabled());
    EXPECT_EQ(env.doc().state(), logo::LogoDocument::State::Clean);
}

// ---------------------------------------------------------------- true aspect

TEST(QuilletTrueAspect, PreviewTakesThePhonesPixelShapeAndTheWindowRemembersIt)
{
    Env env;
    auto &w = env.start();
    QAction *entry = env.action("mnuTrueAspect");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text(), QStringLiteral("True &aspect preview"));
    const QList<QAction *> view = env.widget<QMenu>("mnuView")->actions();
    EXPECT_EQ(view.first(), env.action("mnuAnimation")) << "Quillet's own entry keeps its place";
    EXPECT_EQ(view.last(), entry);
    EXPECT_FALSE(entry->isChecked());
    EXPECT_EQ(env.display()->size(), QSize(102, 79)) << "off, the preview is as it always was";

    entry->trigger();
    EXPECT_EQ(env.display()->size(), QSize(102, 90)) << "79 rows of 7:8 pixels";
    EXPECT_EQ(env.setting(QStringLiteral("TrueAspect")), QStringLiteral("1"));
    w.show();
    QCoreApplication::processEvents();
    const QWidget *box = env.display()->parentWidget();
    EXPECT_TRUE(box->contentsRect().contains(env.display()->geometry())) << "the window makes room for it";
    EXPECT_TRUE(w.rect().contains(QRect(box->mapTo(&w, QPoint()), box->size())));

    // The next start remembers the choice and reads the shape from the settings.
    env.box.settings().write(logo::kSharedSection, logo::kPixelAspectKey, QStringLiteral("1:2"));
    env.start();
    ASSERT_TRUE(env.action("mnuTrueAspect")->isChecked());
    ASSERT_EQ(env.display()->size(), QSize(102, 158));
    // A full picture covers the logo's rows twice as tall: from 2 x 31 to 2 x 45.
    logo::LogoGrid full;
    full.clear();
    for (int r = 0; r < 14; ++r)
        for (int c = 0; c < 72; ++c)
            full.setPixel(c, r, true);
    env.display()->drawPreview(full);
    const QImage shot = env.display()->grab().toImage();
    for (int y : {64, 76, 88})
        EXPECT_TRUE(isBlack(shot, 40, y)) << y;
    for (int y : {58, 94})
        EXPECT_FALSE(isBlack(shot, 40, y)) << y;

    env.action("mnuTrueAspect")->trigger();
    EXPECT_EQ(env.display()->size(), QSize(102, 79));
    EXPECT_EQ(env.setting(QStringLiteral("TrueAspect")), QStringLiteral("0"));
}

TEST(QuilletTrueAspect, EveryPixelIsACrispBlockOfBlackOrGreen)
{
    Env env;
    env.box.settings().writeInt(QStringLiteral("Quillet Settings"), QStringLiteral("TrueAspect"), 1);
    env.start();
    // Stripes: even rows set, odd rows clear, so every row is a block of its own.
    logo::LogoGrid stripes;
    for (int r = 0; r < 14; r += 2)
        for (int c = 0; c < 72; ++c)
            stripes.setPixel(c, r, true);
    const qreal k = 8.0 / 7.0;
    {
        quillet::LogoPreview *box = env.display();
        box->drawPreview(stripes);
        const QImage shot = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QPoint origin = box->origin();
        const int top = logo::stretchedRow(origin.y(), k);
        const int bottom = logo::stretchedRow(origin.y() + 14, k);
        EXPECT_EQ(bottom - top, 16) << "14 rows of 7:8 pixels";
        // Down the logo: bands of whole rows, 1 or 2 high, black and green in
        // turn, each one colour across the logo's width; nothing in between.
        int y = top;
        for (int r = 0; r < 14; ++r) {
            const QRgb want = r % 2 ? quillet::kDisplayGreen : qRgb(0, 0, 0);
            int height = 0;
            for (; y < bottom && shot.pixel(origin.x() + 5, y) == want; ++y, ++height)
                for (int x = origin.x(); x < origin.x() + 72; ++x)
                    ASSERT_EQ(shot.pixel(x, y), want) << x << "," << y;
            EXPECT_GE(height, 1) << "row " << r;
            EXPECT_LE(height, 2) << "row " << r;
        }
        EXPECT_EQ(y, bottom) << "no grey rows between the blocks";
    }
}

namespace {

// A program window with no menus of its own, as a program without a View menu.
class BareWindow : public logo::MainWindowBase {
public:
    BareWindow(Env &env)
        : MainWindowBase(
              logo::ProgramProfile::quillet(), env.prompt, env.box.settings(),
              std::make_unique<logo::AppFolders>(env.box.dir()), QString(),
              [&](const logo::AppFolders &) {
                  return std::make_unique<logo::LogoDocument>(logo::ProgramProfile::quillet());
              },
              nullptr)
    {
        setUpWindow();
    }

protected:
    void addProgramMenus(QMenu *) override {}
    void buildCentralArea() override { setCentralWidget(new QWidget(this)); }
    void startProgram() override {}
};

} // namespace

TEST(QuilletTrueAspect, AProgramWithoutAViewMenuGetsOneBeforeHelp)
{
    Env env;
    BareWindow w(env);
    QStringList bar;
    for (const QAction *a : w.menuBar()->actions())
        bar << a->text();
    EXPECT_EQ(bar, (QStringList{"&File", "&View", "&Help"}));
    const QList<QAction *> view = w.findChild<QMenu *>(QStringLiteral("mnuView"))->actions();
    ASSERT_EQ(view.size(), 1);
    EXPECT_EQ(view.front()->objectName(), QStringLiteral("mnuTrueAspect"));
    view.front()->trigger();
    EXPECT_EQ(env.setting(QStringLiteral("TrueAspect")), QStringLiteral("1"));
}
