#pragma once
// frmEdit: Quillet's main window. It owns the document (the picture, its name
// and state, the recent files and folders) and shows it: the enlarged editing
// grid, the phone preview with its blinking animation, the menus and the
// toolbar. Every document rule lives in LogoDocument; the window forwards the
// commands, observes the document's signals and paints.
#include "graphic/logodocument.h"
#include "quillet/animation.h"
#include "webupload/webupload.h"

#include <QMainWindow>
#include <QMap>
#include <functional>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTimer;
class QToolBar;
class QUrl;

namespace quillet {

class GridView;
class LogoPreview;

// What the branding file took away, kept for the options dialog.
struct BrandingState {
    bool hideSendViaSMS = false;
    bool hideStoreToInbox = false;
    bool hideSendViaInternet = false;
    bool hideSendViaIR = false;
    bool backgroundShown = false;
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    using UrlOpener = std::function<void(const QUrl &)>;

    // Runs the start-up: window position, folders, the empty picture, the
    // command-line file, the recent files, the branding file and the clean-up
    // of old web-upload pages.
    MainWindow(const logo::ProgramProfile &profile, logo::Prompt &prompt, logo::SettingsStore &settings,
               const QString &appFolder, const QString &commandLine, QWidget *parent = nullptr);
    ~MainWindow() override;

    logo::LogoDocument &document() { return m_document; }
    QString commandLine() const { return m_commandLine; }
    const BrandingState &branding() const { return m_branding; }
    // The host behind the link label and the Help menu's pages.
    QString webHost() const { return m_webHost; }

    // Opens the browser; tests record the addresses instead.
    void setUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }

    // The delivery commands (Send, Store, Send via Internet, IR upload) and the
    // options dialog that configures them start disabled; the code that brings
    // them connects the menu entries' triggered signals and enables them here.
    // The toolbar buttons run the menu entries of the same key.
    void setDeliveryEnabled(bool enabled);
    // Enables one command: its menu entry and the toolbar button of its key.
    void setCommandEnabled(const QString &menuName, bool enabled);

    // A file dropped on the window or handed over by a second start.
    void myOpenFileReceived(const QString &path);
    // Runs the command of a toolbar button's key; unknown keys do nothing.
    void Toolbar1_ButtonClick(const QString &key);
    // One tick of the animation timer.
    void tmrAnimation_Timer();

    bool isAnimating() const { return m_blink.animating(); }
    int blinkPhase() const { return m_blink.phase(); }
    QAction *toolbarAction(const QString &key) const { return m_toolbarActions.value(key); }

    static constexpr int kAnimationInterval = 500;   // ms
    static QString informationText();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildToolbar();
    void buildCentralArea();
    void placeWindow();
    // Pulls the window, frame included, back onto its screen.
    void keepFrameOnScreen();
    void writeVersionSettings();
    void applyBranding();
    void deleteTemporaryPages();
    void unload();

    void rebuildRecentMenu();
    void onCellChanged(int c, int r);
    void onPictureChanged(bool redrawPreview);
    void showCursorCell(int c, int r);
    void onArrowKey(int key);

    void mnuNew_Click();
    void mnuExit_Click();
    void cmdUp_Click();
    void cmdDown_Click();
    void cmdLeft_Click();
    void cmdRight_Click();
    void chkAnimation_Click();
    void mnuAnimation_Click();
    void applyAnimation();
    void drawPreview();
    void clearPreview();
    void mnuHelpInformation_Click();
    void openHelp(int link);
    void mnuAbout_Click();
    void lblURL_MouseDown();
    void lblURL_MouseUp();

    QAction *addAction(QMenu *menu, const QString &name, const QString &caption, const QKeySequence &key,
                       void (MainWindow::*slot)());

    const logo::ProgramProfile &m_profile;
    logo::Prompt &m_prompt;
    logo::SettingsStore &m_settings;
    logo::LogoDocument m_document;
    QString m_commandLine;
    QString m_webHost;
    BlinkAnimation m_blink;
    BrandingState m_branding;
    logo::WebUpload m_webUpload;
    bool m_unloaded = false;
    bool m_frameChecked = false;   // the first exposure re-checks the placement with the frame known
    UrlOpener m_openUrl;

    GridView *m_picMain = nullptr;
    LogoPreview *m_picDisplay = nullptr;
    LogoPreview *m_picMyBMP = nullptr;
    QLabel *m_picBranding = nullptr;
    QCheckBox *m_chkAnimation = nullptr;
    QTimer *m_tmrAnimation = nullptr;
    QLineEdit *m_txtPos = nullptr;
    QLabel *m_lblURL = nullptr;
    QToolBar *m_toolbar = nullptr;
    QAction *m_mnuAnimation = nullptr;
    QAction *m_mnuRecentSep = nullptr;
    QAction *m_mnuRecent[logo::LogoDocument::RecentCount] = {};
    QMap<QString, QAction *> m_menuActions;      // by control name
    QMap<QString, QAction *> m_toolbarActions;   // by button key
};

} // namespace quillet
