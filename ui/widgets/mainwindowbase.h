#pragma once
// frmEdit, the part both programs share: the document with its file commands,
// recent files, dialog folders and run marks, the File and Help menus and the
// toolbar built from tables, the saved position, the branding file, the help links, the delivery
// commands and the command line, with the start-up and shut-down around them.
// Each program's window derives from it and adds what is its own (Quillet's
// editing grid and preview, Brisvane's cover and operator list) through the
// hooks below; where the shared parts differ, the profile says how.
#include "desktop/programcontext.h"
#include "desktop/appfolders.h"
#include "desktop/dialogfolders.h"
#include "desktop/helplinks.h"
#include "desktop/recentfiles.h"
#include "desktop/runmarks.h"
#include "graphic/filecommands.h"
#include "graphic/logodocument.h"
#include "webupload/webupload.h"

#include <QMainWindow>
#include <QMap>
#include <functional>
#include <QSizeF>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QToolBar;
class QUrl;
class QVBoxLayout;

namespace logo {

class DeliveryController;

// What the branding file took away, kept for the options dialog.
struct BrandingState {
    bool hideSendViaSMS = false;
    bool hideStoreToInbox = false;
    bool hideSendViaInternet = false;
    bool hideSendViaIR = false;
    bool backgroundShown = false;
};

// One row of a menu table: an entry, or a separator when it has no caption.
struct MenuEntry {
    MenuEntry(QString name, QString caption = {}, QString shortcut = {}, std::function<void()> run = {})
        : name(std::move(name)), caption(std::move(caption)), shortcut(std::move(shortcut)), run(std::move(run))
    {
    }

    QString name;                   // objectName: "mnuOpen", "mnuSep1"
    QString caption;
    QString shortcut;               // "Ctrl+O", "F1"; empty for none
    std::function<void()> run;      // empty: connected elsewhere (bindCommand)
};

class MainWindowBase : public QMainWindow {
    Q_OBJECT
public:
    using UrlOpener = std::function<void(const QUrl &)>;

    ~MainWindowBase() override;

    LogoDocument &document() { return *m_document; }
    FileCommands &fileCommands() { return *m_files; }
    RecentFiles &recentFiles() { return m_recentFiles; }
    DialogFolders &dialogFolders() { return m_dialogFolders; }
    RunMarks &runMarks() { return m_runMarks; }
    const AppFolders &folders() const { return *m_folders; }
    QString commandLine() const { return m_commandLine; }
    // False when the file of the command line could not be read.
    bool commandLineRead() const { return m_commandLineRead; }
    const BrandingState &branding() const { return m_branding; }
    // The host behind the link label, the Help menu's pages and the web upload.
    QString webHost() const { return m_webHost; }
    // Opens the browser; tests record the addresses instead.
    void setUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }

    // ---- the delivery commands ----
    // "mnuSend", "mnuStore", "mnuInternet", "mnuIR" and "mnuOptions" start
    // disabled; connectDeliveryCommands() binds each one that has its
    // controller, for both programs at once. The toolbar buttons run the menu
    // entries of the same key.
    void setDeliveryEnabled(bool enabled);
    // Enables one command: its menu entry and the toolbar button of its key.
    void setCommandEnabled(const QString &menuName, bool enabled);
    // Runs run when the entry (or its toolbar button) is chosen, and enables it.
    void bindCommand(const QString &menuName, std::function<void()> run);
    // The serial link, job timer and dialogs of Send and Store.
    DeliveryController &delivery() { return *m_delivery; }

    // A file dropped on the window or handed over by a second start.
    void openReceivedFile(const QString &path);
    // Runs the command of a toolbar button's key; unknown keys do nothing.
    void runToolbarButton(const QString &key);
    QAction *menuAction(const QString &name) const { return m_menuActions.value(name); }
    QAction *toolbarAction(const QString &key) const { return m_toolbarActions.value(key); }

    static QString informationText();

protected:
    using DocumentFactory = std::function<std::unique_ptr<LogoDocument>(const AppFolders &)>;
    using FileCommandsFactory = std::function<std::unique_ptr<FileCommands>(const FileCommands::Pieces &)>;

    // folders: where the files beside the program are (branding file,
    // phonebook cache, ...); makeDocument creates the program's document on
    // them, and makeFileCommands (when given) its file commands on the
    // document and the window's pieces.
    MainWindowBase(const ProgramProfile &profile, Prompt &prompt, SettingsStore &settings,
                   std::unique_ptr<AppFolders> folders, const QString &commandLine,
                   const DocumentFactory &makeDocument, QWidget *parent,
                   const FileCommandsFactory &makeFileCommands = {});

    // Builds the window through the hooks and runs the start-up: the derived
    // constructor calls it once, first.
    void setUpWindow();

    // ---- hooks of the program's window ----
    // Adds the program's entries to the File menu (insertEntries) and its own
    // menus (addMenu), which come between File and Help.
    virtual void addProgramMenus(QMenu *file) = 0;
    // Sets the central widget, with linkLabel() and brandingLabel() in it.
    virtual void buildCentralArea() = 0;
    // The program's own start-up between the settings and the title: its
    // tables and its empty picture.
    virtual void startProgram() = 0;
    // The first step of the shut-down: timers, the program's own settings.
    virtual void unloadProgram() {}
    // After a dropped file was opened and the window activated.
    virtual void afterDrop() {}
    // Draws the phone preview with display pixels of the given shape (width
    // to height), or square ones for none: "True &aspect preview" switched on
    // or off, and at start-up after the program's own start-up.
    virtual void applyPreviewAspect(std::optional<QSizeF> pixelShape) { Q_UNUSED(pixelShape); }

    // ---- building blocks ----
    // A menu of the menu bar, before Help.
    QMenu *addMenu(const QString &name, const QString &caption, const std::vector<MenuEntry> &entries);
    QMenu *addSubmenu(QMenu *parent, const QString &name, const QString &caption,
                      const std::vector<MenuEntry> &entries);
    // Adds entries at the end of menu, or before the entry named before.
    void insertEntries(QMenu *menu, const std::vector<MenuEntry> &entries, const QString &before = QString());
    // An Edit menu that starts with Undo (Ctrl+Z) and Redo (Ctrl+Shift+Z or
    // Ctrl+Y) of the document's history, each enabled while it has a step,
    // followed by a separator and the program's own entries.
    QMenu *addEditMenu(const std::vector<MenuEntry> &entries);
    // lblURL, the link to the web host, and picBranding, the branding
    // picture (hidden without one), for the central area to place.
    QLabel *linkLabel() const { return m_linkLabel; }
    QLabel *brandingLabel() const { return m_brandingPicture; }
    // The program's name in large letters with subtitle (what it is, its
    // version) under it, then extra (if any) and the link label: the
    // right-aligned block of the central area's lower right corner.
    QVBoxLayout *nameBlock(const QString &subtitle, QWidget *extra = nullptr);
    // Files dropped on target are opened.
    void acceptFileDrops(QWidget *target);
    void openHelp(HelpLink link);
    // resourceIcon(name).
    static QIcon icon(const QString &name);

    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    const ProgramProfile &m_profile;
    Prompt &m_prompt;
    SettingsStore &m_settings;

private:
    void buildMenus();
    void buildFileMenu(QMenu *file);
    void buildToolbar();
    void makeSharedLabels();
    void connectDeliveryCommands();
    void addEntries(QMenu *menu, const std::vector<MenuEntry> &entries, QAction *before, bool withShortcuts);
    void writeVersionSettings();
    void openCommandLine();
    void applyBranding();
    void placeWindow();
    // Pulls the window, frame included, back onto its screen.
    void keepFrameOnScreen();
    void unload();
    void rebuildRecentMenu();
    // "True &aspect preview" at the end of the program's View menu, or of one
    // of its own before Help when the program has none.
    void addViewEntries();
    void onTrueAspectToggled();
    void applyTrueAspect(bool on);
    // Opens the first file of a drop; true when the event was the drop's.
    bool filterDrop(QEvent *event);
    void showInformation();
    void showAbout();
    void showLinkPressed();
    void showLinkReleased();

    std::unique_ptr<AppFolders> m_folders;
    RunMarks m_runMarks;
    ProgramContext m_context;
    RecentFiles m_recentFiles;
    DialogFolders m_dialogFolders;
    std::unique_ptr<LogoDocument> m_document;
    std::unique_ptr<FileCommands> m_files;
    QString m_commandLine;
    QString m_webHost;
    BrandingState m_branding;
    WebUpload m_webUpload;
    DeliveryController *m_delivery = nullptr;
    UrlOpener m_openUrl;
    bool m_commandLineRead = true;
    bool m_unloaded = false;
    bool m_frameChecked = false;   // the first exposure re-checks the placement with the frame known

    QLabel *m_linkLabel = nullptr;
    QLabel *m_brandingPicture = nullptr;
    QMenu *m_helpMenu = nullptr;
    QAction *m_recentSeparator = nullptr;
    QAction *m_trueAspectAction = nullptr;
    QAction *m_recentActions[RecentFiles::Count] = {};
    QList<QWidget *> m_dropTargets;
    QMap<QString, QAction *> m_menuActions;      // by control name
    QMap<QString, QAction *> m_toolbarActions;   // by button key
};

} // namespace logo
