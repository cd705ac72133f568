#include "mainwindow.h"

#include "gridview.h"
#include "logopreview.h"
#include "exportsizedialog.h"
#include "toolactions.h"
#include "widgets/inserttextdialog.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

namespace quillet {

MainWindow::MainWindow(const logo::ProgramProfile &profile, logo::Prompt &prompt, logo::SettingsStore &settings,
                       const QString &appFolder, const QString &commandLine, QWidget *parent)
    : MainWindowBase(
          profile, prompt, settings, std::make_unique<logo::AppFolders>(appFolder), commandLine,
          [&](const logo::AppFolders &) { return std::make_unique<logo::LogoDocument>(profile); },
          parent)
{
    setUpWindow();
    layout()->setSizeConstraint(QLayout::SetDefaultConstraint);   // the cells grow with the window
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    m_gridView->setFocus();   // the arrow keys move the picture from the start
}

MainWindow::~MainWindow() = default;

// ------------------------------------------------------------------ building

void MainWindow::addProgramMenus(QMenu *file)
{
    logo::LogoDocument *doc = &document();
    insertEntries(file, {{"mnuNew", "&New", "Ctrl+N", [this] { newPicture(); }}, {"mnuSep3"}},
                  QStringLiteral("mnuOpen"));
    logo::FileCommands *files = &fileCommands();
    insertEntries(file, {{"mnuExport", "&Export BMP...", "Ctrl+E", [this, files] { exportAtSize(this, *files, m_settings, m_profile.settingsSection); }}},
                  QStringLiteral("mnuRecentSep"));

    const GridAccess view = [this] { return m_gridView; };
    QMenu *edit = addEditMenu({});
    addSubmenu(edit, QStringLiteral("mnuMove"), QStringLiteral("&Move"),
               {
                   {"mnuMoveUp", "&Up", "F1", [this] { movePictureUp(); }},
                   {"mnuMoveDown", "&Down", "F2", [this] { movePictureDown(); }},
                   {"mnuMoveLeft", "&Left", "F3", [this] { movePictureLeft(); }},
                   {"mnuMoveRight", "&Right", "F4", [this] { movePictureRight(); }},
               });
    insertEntries(edit, {
                            {"mnuInvert", "&Invert", "Ctrl+I", [doc] { doc->invert(); }},
                            {"mnuFlipX", "Flip &Horizontal", "Ctrl+H", [doc] { doc->flipHorizontal(); }},
                            {"mnuFlipY", "Flip &Vertical", "Ctrl+V", [doc] { doc->flipVertical(); }},
                            {"mnuSep6"},
                            {"mnuOptions", "&Options"},
                            {"mnuSepText"},
                            {"mnuInsertText", "Insert &text...", "Ctrl+Shift+T", [this] { insertText(); }},
                        });

    insertEntries(edit, clipboardMenuEntries(view), QStringLiteral("mnuSep6"));

    QMenu *viewMenu = addMenu(QStringLiteral("mnuView"), QStringLiteral("&View"),
            {{"mnuAnimation", "&Animation", "Ctrl+A", [this] { onAnimationActionTriggered(); }}});
    insertEntries(viewMenu, zoomMenuEntries(this, view));
    addMenu(QStringLiteral("mnuTools"), QStringLiteral("&Tools"), toolMenuEntries(view));
    m_animationAction = menuAction(QStringLiteral("mnuAnimation"));
    m_animationAction->setCheckable(true);
}

void MainWindow::buildCentralArea()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralArea"));
    auto *outer = new QVBoxLayout(central);
    outer->setContentsMargins(10, 8, 10, 8);
    outer->setSpacing(8);

    // The editing grid in a frame with room for the largest picture; a
    // smaller picture keeps to the top-left corner of that room.
    auto *gridFrame = new GridFrame(central);
    gridFrame->setObjectName(QStringLiteral("gridFrame"));
    gridFrame->setFrameShape(QFrame::Box);
    gridFrame->setFrameShadow(QFrame::Plain);
    gridFrame->setLineWidth(1);
    QPalette framePalette = gridFrame->palette();
    framePalette.setColor(QPalette::WindowText, QColor(kOctetLineColour));
    gridFrame->setPalette(framePalette);
    m_gridView = new GridView(document(), gridFrame);
    gridFrame->setView(m_gridView);
    acceptFileDrops(m_gridView);
    outer->addWidget(gridFrame, 1);
    connect(m_gridView, &GridView::cursorCell, this, &MainWindow::showCursorCell);
    connect(m_gridView, &GridView::arrowKey, this, &MainWindow::onArrowKey);

    auto *lower = new QHBoxLayout;
    lower->setSpacing(10);
    outer->addLayout(lower);

    // The phone preview and its animation switch.
    auto *preview = new QGroupBox(QStringLiteral("Preview"), central);
    preview->setObjectName(QStringLiteral("fraPreview"));
    auto *previewLayout = new QVBoxLayout(preview);
    previewLayout->setContentsMargins(10, 6, 10, 8);
    previewLayout->setSpacing(6);
    m_preview = new LogoPreview(LogoPreview::phoneDisplay(), LogoPreview::kDisplayOrigin, preview);
    m_preview->setObjectName(QStringLiteral("picDisplay"));
    acceptFileDrops(m_preview);
    previewLayout->addWidget(m_preview, 0, Qt::AlignHCenter);
    m_animationBox = new QCheckBox(QStringLiteral("&Animation"), preview);
    m_animationBox->setObjectName(QStringLiteral("chkAnimation"));
    m_animationBox->setToolTip(QStringLiteral("Switch animation on and off"));
    connect(m_animationBox, &QCheckBox::clicked, this, &MainWindow::onAnimationBoxClicked);
    previewLayout->addWidget(m_animationBox, 0, Qt::AlignHCenter);
    lower->addWidget(preview);

    m_animationTimer = new QTimer(this);
    m_animationTimer->setObjectName(QStringLiteral("tmrAnimation"));
    m_animationTimer->setInterval(kAnimationInterval);
    connect(m_animationTimer, &QTimer::timeout, this, &MainWindow::onAnimationTick);

    // The bare picture, at natural size, for the bitmap export; never shown.
    m_hiddenPreview = new LogoPreview(QImage(), QPoint(0, 0), central);
    m_hiddenPreview->setObjectName(QStringLiteral("picMyBMP"));
    m_hiddenPreview->setFixedSize(logo::LogoGrid::MaxWidth, logo::LogoGrid::MaxHeight);
    m_hiddenPreview->hide();

    // Move buttons around the cursor position.
    auto *moveBox = new QGroupBox(QStringLiteral("Move"), central);
    moveBox->setObjectName(QStringLiteral("fraMove"));
    auto *moveLayout = new QGridLayout(moveBox);
    moveLayout->setContentsMargins(10, 6, 10, 8);
    moveLayout->setSpacing(2);
    struct MoveButton {
        const char *name, *iconName, *toolTip;
        int row, column;
        void (MainWindow::*slot)();
    };
    const MoveButton moves[] = {
        {"cmdUp", "up", "Move up", 0, 1, &MainWindow::movePictureUp},
        {"cmdLeft", "left", "Move left", 1, 0, &MainWindow::movePictureLeft},
        {"cmdRight", "right", "Move right", 1, 2, &MainWindow::movePictureRight},
        {"cmdDown", "down", "Move down", 2, 1, &MainWindow::movePictureDown},
    };
    for (const MoveButton &m : moves) {
        auto *b = new QToolButton(moveBox);
        b->setObjectName(QString::fromLatin1(m.name));
        b->setIcon(icon(QString::fromLatin1(m.iconName)));
        b->setIconSize(QSize(16, 16));
        b->setFixedSize(28, 28);
        b->setToolTip(QString::fromLatin1(m.toolTip));
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRaise(false);
        connect(b, &QToolButton::clicked, this, m.slot);
        moveLayout->addWidget(b, m.row, m.column, Qt::AlignCenter);
    }
    auto *posCaption = new QLabel(QStringLiteral("Position:"), moveBox);
    m_positionEdit = new QLineEdit(moveBox);
    m_positionEdit->setObjectName(QStringLiteral("txtPos"));
    m_positionEdit->setToolTip(QStringLiteral("Position of cursor"));
    m_positionEdit->setReadOnly(true);
    m_positionEdit->setFocusPolicy(Qt::NoFocus);
    m_positionEdit->setAlignment(Qt::AlignCenter);
    m_positionEdit->setFixedWidth(m_positionEdit->fontMetrics().horizontalAdvance(QStringLiteral("000/00")) + 16);
    posCaption->setBuddy(m_positionEdit);
    moveLayout->setRowMinimumHeight(3, 6);
    moveLayout->addWidget(posCaption, 4, 0, 1, 3, Qt::AlignHCenter);
    moveLayout->addWidget(m_positionEdit, 5, 0, 1, 3, Qt::AlignHCenter);
    moveLayout->setRowStretch(6, 1);
    lower->addWidget(moveBox);

    // A distributor's picture from the branding file, hidden without one.
    lower->addWidget(brandingLabel(), 0, Qt::AlignVCenter);

    lower->addStretch(1);

    // The program's name and the link to its web site, at the bottom right.
    lower->addLayout(nameBlock(QStringLiteral("Group graphics editor\nVersion %1").arg(logo::versionText())));

    setCentralWidget(central);
    finishToolActions(*this, *m_gridView, [this](const QString &name) { return menuAction(name); }, m_settings,
                      m_profile.settingsSection);

    connect(&document(), &logo::LogoDocument::cellChanged, this, &MainWindow::onCellChanged);
    connect(&document(), &logo::LogoDocument::pictureChanged, this, &MainWindow::onPictureChanged);
}

// ------------------------------------------------------------------ start-up and closing

void MainWindow::startProgram()
{
    // An empty, clean picture with the animation off.
    document().setState(logo::LogoDocument::State::Clean);
    m_blink.setAnimating(false);
    document().newDocument();
}

void MainWindow::unloadProgram()
{
    m_animationTimer->stop();
}

void MainWindow::afterDrop()
{
    m_gridView->setFocus();
}

void MainWindow::insertText()
{
    runMarks().setBusy(true);
    logo::InsertTextDialog dialog(document(), this);
    dialog.exec();
    runMarks().setBusy(false);
    m_gridView->setFocus();
}

void MainWindow::applyPreviewAspect(std::optional<QSizeF> pixelShape)
{
    m_preview->setPixelShape(pixelShape);
}

void MainWindow::newPicture()
{
    if (fileCommands().askSaveChanges() == logo::FileCommands::SaveAnswer::Proceed)
        document().newDocument();
}

// ------------------------------------------------------------------ editing

void MainWindow::onCellChanged(int c, int r)
{
    // While the preview blinks it is left alone; the next tick that shows the
    // picture, or switching the animation off, brings it up to date.
    if (m_blink.animating())
        return;
    const bool on = document().grid().isSet(c, r);
    m_preview->setPixel(c, r, on);
    m_hiddenPreview->setPixel(c, r, on);
}

void MainWindow::onPictureChanged(bool redrawPreview)
{
    // A replaced picture shows in the preview at once, blinking or not; a move
    // or flip while the preview blinks waits for the next tick that shows it.
    if (redrawPreview || !m_blink.animating())
        drawPreview();
}

void MainWindow::showCursorCell(int c, int r)
{
    m_positionEdit->setText(QStringLiteral("%1/%2").arg(c + 1).arg(r + 1));
}

void MainWindow::onArrowKey(int key)
{
    switch (key) {
    case Qt::Key_Up: movePictureUp(); break;
    case Qt::Key_Down: movePictureDown(); break;
    case Qt::Key_Left: movePictureLeft(); break;
    case Qt::Key_Right: movePictureRight(); break;
    default: break;
    }
}

void MainWindow::movePictureUp() { document().moveUp(); }
void MainWindow::movePictureDown() { document().moveDown(); }
void MainWindow::movePictureLeft() { document().moveLeft(); }
void MainWindow::movePictureRight() { document().moveRight(); }

// ------------------------------------------------------------------ animation

void MainWindow::onAnimationBoxClicked()
{
    m_blink.setAnimating(m_animationBox->isChecked());
    applyAnimation();
}

void MainWindow::onAnimationActionTriggered()
{
    // The action has already toggled its check mark: the new mark is the
    // opposite of the one the user clicked on.
    m_blink.setAnimating(m_animationAction->isChecked());
    applyAnimation();
}

void MainWindow::applyAnimation()
{
    const bool on = m_blink.animating();
    m_animationBox->setChecked(on);
    m_animationAction->setChecked(on);
    if (on) {
        m_animationTimer->start();
    } else {
        m_animationTimer->stop();
        drawPreview();
    }
}

void MainWindow::onAnimationTick()
{
    if (!m_blink.animating())
        return;
    if (m_blink.tick() == BlinkAnimation::Step::ShowPicture)
        drawPreview();
    else
        clearPreview();
}

void MainWindow::drawPreview()
{
    m_preview->drawPreview(document().grid());
    m_hiddenPreview->drawPreview(document().grid());
}

void MainWindow::clearPreview()
{
    m_preview->clearPreview();
    m_hiddenPreview->clearPreview();
}

} // namespace quillet
