#pragma once
// frmEdit: Quillet's main window. The shared window code runs the document,
// the File and Help menus, the toolbar, the delivery commands, start-up and
// shut-down; this adds what is Quillet's own: the enlarged editing grid, the
// phone preview with its blinking animation, the Edit and View menus, New,
// Insert Text and the bitmap export.
#include "animation.h"
#include "widgets/mainwindowbase.h"

class QCheckBox;
class QLineEdit;
class QTimer;

namespace quillet {

class GridView;
class LogoPreview;

class MainWindow : public logo::MainWindowBase {
    Q_OBJECT
public:
    // Runs the start-up: window position, folders, the empty picture, the
    // command-line file, the recent files, the branding file and the clean-up
    // of old web-upload pages.
    MainWindow(const logo::ProgramProfile &profile, logo::Prompt &prompt, logo::SettingsStore &settings,
               const QString &appFolder, const QString &commandLine, QWidget *parent = nullptr);
    ~MainWindow() override;

    // One tick of the animation timer.
    void onAnimationTick();

    bool isAnimating() const { return m_blink.animating(); }
    int blinkPhase() const { return m_blink.phase(); }

    static constexpr int kAnimationInterval = 500;   // ms

protected:
    void addProgramMenus(QMenu *file) override;
    void buildCentralArea() override;
    void startProgram() override;
    void unloadProgram() override;
    void afterDrop() override;
    void applyPreviewAspect(std::optional<QSizeF> pixelShape) override;

private:
    void onCellChanged(int c, int r);
    void onPictureChanged(bool redrawPreview);
    void showCursorCell(int c, int r);
    void onArrowKey(int key);

    void newPicture();
    void insertText();
    void movePictureUp();
    void movePictureDown();
    void movePictureLeft();
    void movePictureRight();
    void onAnimationBoxClicked();
    void onAnimationActionTriggered();
    void applyAnimation();
    void drawPreview();
    void clearPreview();

    BlinkAnimation m_blink;

    GridView *m_gridView = nullptr;
    LogoPreview *m_preview = nullptr;
    LogoPreview *m_hiddenPreview = nullptr;
    QCheckBox *m_animationBox = nullptr;
    QTimer *m_animationTimer = nullptr;
    QLineEdit *m_positionEdit = nullptr;
    QAction *m_animationAction = nullptr;
};

} // namespace quillet
