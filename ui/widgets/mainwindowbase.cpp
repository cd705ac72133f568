#include "widgets/mainwindowbase.h"

#include "desktop/branding.h"
#include "desktop/filetypes.h"
#include "desktop/pixelaspect.h"
#include "desktop/placement.h"
#include "graphic/pathutil.h"
#include "picture/undohistory.h"
#include "widgets/deliverycontroller.h"
#include "widgets/dialoglayout.h"
#include "widgets/resourceicon.h"

#include <QTimer>
#include <QAction>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

namespace logo {

namespace {

// The window's own choice of the phone preview's pixel shape, 1 for the
// phones' shape ("PixelAspect"), 0 for square.
const QString kTrueAspectKey = QStringLiteral("TrueAspect");
// A larger branding picture is shown smaller, so that it never dwarfs the window.
const QSize kBrandingRoom(200, 160);

// Branding keys with the menu entry and toolbar key each one hides.
struct BrandedMethod {
    const char *brandingKey;
    const char *menuName;
    const char *toolbarKey;
    bool BrandingState::*flag;
};
const BrandedMethod kBrandedMethods[] = {
    {"SendViaSMS", "mnuSend", "Send", &BrandingState::hideSendViaSMS},
    {"StoreToInbox", "mnuStore", "Store", &BrandingState::hideStoreToInbox},
    {"SendViaInternet", "mnuInternet", "Internet", &BrandingState::hideSendViaInternet},
    {"SendViaIR", "mnuIR", "IR", &BrandingState::hideSendViaIR},
};

// Toolbar buttons in order: key, tool tip, icon, the menu entry it runs. A
// program gets the buttons of the entries its menus have.
struct ToolbarButton {
    const char *key;
    const char *toolTip;
    const char *icon;
    const char *menuName;
    bool groupEnd;
};
const ToolbarButton kToolbarButtons[] = {
    {"New", "New", "new", "mnuNew", false},
    {"Open", "Open", "open", "mnuOpen", false},
    {"Save", "Save", "save", "mnuSave", true},
    {"Send", "Send as SMS", "send", "mnuSend", false},
    {"Store", "Store to SMS-Inbox", "store", "mnuStore", false},
    {"Internet", "Send via Internet", "internet", "mnuInternet", false},
    {"IR", "Upload via IR to 61xx", "ir", "mnuIR", true},
    {"Options", "Options", "options", "mnuOptions", false},
};

// Entries whose commands come with the phone link, the web upload, the
// infrared upload and the options dialog.
const char *const kDeliveryMenus[] = {"mnuSend", "mnuStore", "mnuInternet", "mnuIR", "mnuOptions"};

} // namespace

MainWindowBase::MainWindowBase(const ProgramProfile &profile, Prompt &prompt, SettingsStore &settings,
                               std::unique_ptr<AppFolders> folders, const QString &commandLine,
                               const DocumentFactory &makeDocument, QWidget *parent,
                               const FileCommandsFactory &makeFileCommands)
    : QMainWindow(parent), m_profile(profile), m_prompt(prompt), m_settings(settings), m_folders(std::move(folders)),
      m_runMarks(settings, profile.settingsSection), m_context{profile, prompt, settings, m_runMarks, QString()},
      m_recentFiles(profile), m_document(makeDocument(*m_folders)),
      m_commandLine(commandLine), m_webUpload(profile)
{
    setObjectName(QStringLiteral("frmEdit"));
    setContextMenuPolicy(Qt::NoContextMenu);
    const FileCommands::Pieces pieces{*m_document, m_prompt, m_recentFiles, m_dialogFolders, m_runMarks};
    m_files = makeFileCommands ? makeFileCommands(pieces) : std::make_unique<FileCommands>(pieces);
    // Only a main window leaves the run marks for a second start; a run
    // nobody watches (a screenshot) is no instance and writes none.
    m_runMarks.setEnabled(m_prompt.attended());
    connect(m_document.get(), &LogoDocument::titleChanged, &m_runMarks, &RunMarks::showTitle);
    m_context.appFolder = m_folders->programFolder();
    m_openUrl = [](const QUrl &url) { QDesktopServices::openUrl(url); };
    m_webHost = m_settings.read(m_profile.settingsSection, QStringLiteral("WebHost"), m_profile.defaultWebHost);

    // Caption and the full 72 x 14 picture.
    setWindowTitle(m_profile.productName);
    setWindowIcon(icon(m_profile.desktopEntry));
    m_document->grid().setSize(LogoGrid::MaxWidth, LogoGrid::MaxHeight);
}

MainWindowBase::~MainWindowBase() = default;

QIcon MainWindowBase::icon(const QString &name)
{
    return resourceIcon(name);
}

void MainWindowBase::setUpWindow()
{
    buildMenus();
    buildToolbar();
    makeSharedLabels();
    buildCentralArea();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    connect(m_document.get(), &LogoDocument::titleChanged, this, &QWidget::setWindowTitle);
    connect(&m_recentFiles, &RecentFiles::changed, this, &MainWindowBase::rebuildRecentMenu);
    connectDeliveryCommands();

    // Folders of the dialogs and the recent files, and the version marks of
    // this installation.
    m_dialogFolders.load(m_settings, m_profile);
    m_recentFiles.load(m_settings);
    writeVersionSettings();
    startProgram();
    m_document->setCurrentFile(QStringLiteral("Untitled"));
    m_document->setTitle(true);
    // A run nobody watches asks nothing and leaves the desktop as it is. The
    // registration (and its question, if any) waits until the window is up.
    if (m_prompt.attended())
        QTimer::singleShot(0, this, [this] { registerFileTypesAtStartup(m_profile, m_prompt, m_settings); });
    openCommandLine();
    // The window starts with nothing to undo, also after the command-line file.
    m_document->clearHistory();
    applyBranding();
    // The options dialog leaves out the pages of the methods the branding hid.
    m_delivery->setBranding(m_branding.hideSendViaSMS, m_branding.hideStoreToInbox, m_branding.hideSendViaIR);
    applyTrueAspect(m_settings.readInt(m_profile.settingsSection, kTrueAspectKey, 0) == 1);
    // Placed once its size is final: a branding picture or the true-aspect
    // preview makes it taller, and the saved position is the whole frame's.
    placeWindow();
    // The pages of earlier runs: a browser has long read them. This run's
    // pages stay until the next start, as a browser may start slowly. A run
    // nobody watches leaves those of a running window alone.
    if (m_prompt.attended())
        m_webUpload.deleteTemporaryPages();
}

// ------------------------------------------------------------------ menus

void MainWindowBase::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    buildFileMenu(file);

    m_helpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    m_helpMenu->setObjectName(QStringLiteral("mnuHelp"));
    insertEntries(m_helpMenu, {
                                  {"mnuHelpInformation", "&Information", {}, [this] { showInformation(); }},
                                  {"mnuSep5"},
                                  {"mnuHelpFAQ", "&Help on Website", {}, [this] { openHelp(HelpLink::Faq); }},
                                  {"mnuHelpSamples", "&Download Samples", {}, [this] { openHelp(HelpLink::Samples); }},
                                  {"mnuHelpUpdates", "&Check for Updates", {}, [this] { openHelp(HelpLink::Updates); }},
                                  {"mnuSep4"},
                                  {"mnuAbout", "&About", {}, [this] { showAbout(); }},
                              });
    // The program's own menus go between File and Help.
    addProgramMenus(file);
    addViewEntries();
}

void MainWindowBase::addViewEntries()
{
    auto *view = findChild<QMenu *>(QStringLiteral("mnuView"), Qt::FindDirectChildrenOnly);
    if (!view)
        view = addMenu(QStringLiteral("mnuView"), QStringLiteral("&View"), {});
    std::vector<MenuEntry> entries;
    if (!view->isEmpty())
        entries.emplace_back(QStringLiteral("mnuSepAspect"));
    entries.emplace_back(QStringLiteral("mnuTrueAspect"), QStringLiteral("True &aspect preview"), QString(),
                         [this] { onTrueAspectToggled(); });
    insertEntries(view, entries);
    m_trueAspectAction = menuAction(QStringLiteral("mnuTrueAspect"));
    m_trueAspectAction->setCheckable(true);
}

// ------------------------------------------------------------------ true aspect

void MainWindowBase::onTrueAspectToggled()
{
    // The entry has already toggled its check mark: the mark is the new state.
    const bool on = m_trueAspectAction->isChecked();
    m_settings.writeInt(m_profile.settingsSection, kTrueAspectKey, on ? 1 : 0);
    applyTrueAspect(on);
}

void MainWindowBase::applyTrueAspect(bool on)
{
    m_trueAspectAction->setChecked(on);
    applyPreviewAspect(on ? std::optional<QSizeF>(pixelAspect(m_settings)) : std::nullopt);
}

QMenu *MainWindowBase::addEditMenu(const std::vector<MenuEntry> &entries)
{
    // The picture library is installed before any window is made, so the
    // document's history is on the undo stack.
    QUndoStack *history = undoStackOf(document());
    Q_ASSERT(history);
    std::vector<MenuEntry> all{{"mnuUndo", "&Undo", "Ctrl+Z", [history] { history->undo(); }},
                               {"mnuRedo", "&Redo", "Ctrl+Shift+Z", [history] { history->redo(); }},
                               {"mnuSep7"}};
    all.insert(all.end(), entries.begin(), entries.end());
    QMenu *edit = addMenu(QStringLiteral("mnuEdit"), QStringLiteral("&Edit"), all);
    QAction *undo = menuAction(QStringLiteral("mnuUndo"));
    QAction *redo = menuAction(QStringLiteral("mnuRedo"));
    redo->setShortcuts({QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))});
    connect(history, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(history, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    undo->setEnabled(history->canUndo());
    redo->setEnabled(history->canRedo());
    return edit;
}

QMenu *MainWindowBase::addMenu(const QString &name, const QString &caption, const std::vector<MenuEntry> &entries)
{
    auto *menu = new QMenu(caption, this);
    menuBar()->insertMenu(m_helpMenu ? m_helpMenu->menuAction() : nullptr, menu);
    menu->setObjectName(name);
    insertEntries(menu, entries);
    return menu;
}

QMenu *MainWindowBase::addSubmenu(QMenu *parent, const QString &name, const QString &caption,
                                  const std::vector<MenuEntry> &entries)
{
    QMenu *menu = parent->addMenu(caption);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    m_menuActions.insert(name, menu->menuAction());
    insertEntries(menu, entries);
    return menu;
}

void MainWindowBase::insertEntries(QMenu *menu, const std::vector<MenuEntry> &entries, const QString &before)
{
    addEntries(menu, entries, before.isEmpty() ? nullptr : menuAction(before), true);
}

void MainWindowBase::addEntries(QMenu *menu, const std::vector<MenuEntry> &entries, QAction *before,
                                bool withShortcuts)
{
    for (const MenuEntry &e : entries) {
        auto *a = new QAction(e.caption, menu);
        a->setObjectName(e.name);
        if (e.caption.isEmpty())
            a->setSeparator(true);
        else if (withShortcuts && !e.shortcut.isEmpty())
            a->setShortcut(QKeySequence(e.shortcut, QKeySequence::PortableText));
        if (e.run)
            connect(a, &QAction::triggered, this, e.run);
        menu->insertAction(before, a);
        m_menuActions.insert(e.name, a);
    }
}

void MainWindowBase::buildToolbar()
{
    QToolBar *toolbar = addToolBar(QStringLiteral("Toolbar"));
    toolbar->setObjectName(QStringLiteral("Toolbar1"));
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setIconSize(QSize(24, 24));
    toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolbar->toggleViewAction()->setVisible(false);
    for (const ToolbarButton &b : kToolbarButtons) {
        if (!menuAction(QString::fromLatin1(b.menuName)))
            continue;   // a command this program doesn't have
        const QString key = QString::fromLatin1(b.key);
        QAction *a = toolbar->addAction(icon(QString::fromLatin1(b.icon)), key);
        a->setObjectName(QStringLiteral("Toolbar1_") + key);
        a->setData(key);
        a->setToolTip(QString::fromLatin1(b.toolTip));
        connect(a, &QAction::triggered, this, [this, key] { runToolbarButton(key); });
        m_toolbarActions.insert(key, a);
        if (b.groupEnd)
            toolbar->addSeparator();
    }
}

void MainWindowBase::makeSharedLabels()
{
    m_linkLabel = new QLabel(m_webHost, this);
    m_linkLabel->setObjectName(QStringLiteral("lblURL"));
    m_linkLabel->setToolTip(QStringLiteral("Click here to open the URL in your browser."));
    m_linkLabel->setCursor(Qt::PointingHandCursor);
    QFont linkFont = m_linkLabel->font();
    linkFont.setUnderline(true);
    m_linkLabel->setFont(linkFont);
    m_linkLabel->installEventFilter(this);
    showLinkReleased();

    m_brandingPicture = new QLabel(this);
    m_brandingPicture->setObjectName(QStringLiteral("picBranding"));
    m_brandingPicture->setAlignment(Qt::AlignCenter);
    m_brandingPicture->hide();
}

QVBoxLayout *MainWindowBase::nameBlock(const QString &subtitle, QWidget *extra)
{
    auto *block = new QVBoxLayout;
    block->setSpacing(2);
    auto *name = new QLabel(m_profile.productName, this);
    name->setObjectName(QStringLiteral("lblProduct"));
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    name->setFont(big);
    name->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    auto *under = new QLabel(subtitle, this);
    under->setObjectName(QStringLiteral("lblSubtitle"));
    under->setAlignment(Qt::AlignRight | Qt::AlignTop);
    under->setEnabled(false);
    m_linkLabel->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    block->addStretch(1);
    block->addWidget(name);
    block->addWidget(under);
    block->addStretch(2);
    if (extra)
        block->addWidget(extra);
    block->addWidget(m_linkLabel);
    return block;
}

// ------------------------------------------------------------------ delivery

// The one place where the delivery commands meet their controllers, for both
// programs: an entry bound here runs the same code in either window, and its
// pre-checks (an operator where the program needs one, an empty picture, the
// configured port) are the controller's. An entry left unbound stays disabled.
void MainWindowBase::connectDeliveryCommands()
{
    setDeliveryEnabled(false);
    m_delivery = new DeliveryController(*m_document, m_context, this);
    bindCommand(QStringLiteral("mnuSend"), [this] { m_delivery->sendPicture(); });
    bindCommand(QStringLiteral("mnuStore"), [this] { m_delivery->storePicture(); });
    bindCommand(QStringLiteral("mnuInternet"), [this] {
        if (m_files->askIfEmpty(false))
            m_webUpload.openUploadPage(m_document->grid(), m_document->currentMCC(), m_document->currentMNC(),
                                       m_prompt, m_linkLabel->text(), m_openUrl);
    });
    bindCommand(QStringLiteral("mnuIR"), [this] { m_delivery->sendByInfrared(); });
    bindCommand(QStringLiteral("mnuOptions"), [this] { m_delivery->showOptions(); });
}

void MainWindowBase::bindCommand(const QString &menuName, std::function<void()> run)
{
    QAction *entry = menuAction(menuName);
    if (!entry)
        return;
    connect(entry, &QAction::triggered, this, std::move(run));
    setCommandEnabled(menuName, true);
}

void MainWindowBase::setDeliveryEnabled(bool enabled)
{
    for (const char *name : kDeliveryMenus)
        setCommandEnabled(QString::fromLatin1(name), enabled);
}

void MainWindowBase::setCommandEnabled(const QString &menuName, bool enabled)
{
    if (QAction *entry = menuAction(menuName))
        entry->setEnabled(enabled);
    for (const ToolbarButton &b : kToolbarButtons)
        if (menuName == QLatin1String(b.menuName))
            if (QAction *button = toolbarAction(QString::fromLatin1(b.key)))
                button->setEnabled(enabled);
}

void MainWindowBase::runToolbarButton(const QString &key)
{
    for (const ToolbarButton &b : kToolbarButtons) {
        if (key != QLatin1String(b.key))
            continue;
        QAction *entry = menuAction(QString::fromLatin1(b.menuName));
        if (entry && entry->isEnabled())
            entry->trigger();
        return;
    }
}

// ------------------------------------------------------------------ start-up

void MainWindowBase::writeVersionSettings()
{
    const QString section = m_profile.settingsSection;
    auto twoDigits = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    m_settings.write(section, QStringLiteral("VerMajor"), twoDigits(LOGO_VERSION_MAJOR));
    m_settings.write(section, QStringLiteral("VerMinor"), twoDigits(LOGO_VERSION_MINOR));
    m_settings.write(section, QStringLiteral("VerRevision"), twoDigits(LOGO_VERSION_PATCH));
    m_settings.write(section, QStringLiteral("VerIR"), QStringLiteral("02"));
    m_settings.write(section, QStringLiteral("VerCable"), QStringLiteral("00"));
}

void MainWindowBase::applyBranding()
{
    const BrandingFile file = BrandingFile::locate(*m_folders, m_profile.brandingFileName);
    for (const BrandedMethod &m : kBrandedMethods) {
        if (!file.hides(QString::fromLatin1(m.brandingKey)))
            continue;
        m_branding.*(m.flag) = true;
        if (QAction *entry = menuAction(QString::fromLatin1(m.menuName)))
            entry->setVisible(false);
        if (QAction *button = toolbarAction(QString::fromLatin1(m.toolbarKey)))
            button->setVisible(false);
    }

    QString picture = file.value(QStringLiteral("Branding"), QStringLiteral("BackgroundPic"));
    if (picture.isEmpty())
        return;
    picture.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString path = file.folder() + picture;
    QPixmap pixmap;
    if (!QFileInfo(path).isFile() || !pixmap.load(path))
        return;
    if (pixmap.width() > kBrandingRoom.width() || pixmap.height() > kBrandingRoom.height())
        pixmap = pixmap.scaled(kBrandingRoom, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    m_brandingPicture->setPixmap(pixmap);
    m_brandingPicture->show();
    m_branding.backgroundShown = true;
}

void MainWindowBase::placeWindow()
{
    adjustSize();
    const QString section = m_profile.settingsSection;
    const QPoint saved(m_settings.readInt(section, QStringLiteral("Left"), kDefaultLeftTwips) / kTwipsPerPixel,
                       m_settings.readInt(section, QStringLiteral("Top"), kDefaultTopTwips) / kTwipsPerPixel);
    move(saved);
    keepFrameOnScreen();
}

void MainWindowBase::keepFrameOnScreen()
{
    const QRect frame = frameGeometry();
    QSize screen(frame.right() + 1, frame.bottom() + 1);
    if (const QScreen *s = QGuiApplication::primaryScreen())
        screen = s->geometry().size();
    const QPoint placed = keepOnScreen(frame.topLeft(), frame.size(), screen);
    if (placed != frame.topLeft())
        move(placed);
}

void MainWindowBase::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // Before the window is shown its frame (title bar, borders) is unknown, so
    // the start-up placement counted the client area only; the first exposure
    // checks again with the frame the window manager gave it.
    if (!m_frameChecked && windowHandle())
        windowHandle()->installEventFilter(this);
}

// ------------------------------------------------------------------ events

bool MainWindowBase::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == windowHandle() && event->type() == QEvent::Expose && !m_frameChecked &&
        windowHandle()->isExposed()) {
        m_frameChecked = true;
        windowHandle()->removeEventFilter(this);
        keepFrameOnScreen();
        return false;
    }
    if (watched == m_linkLabel) {
        if (event->type() == QEvent::MouseButtonPress) {
            showLinkPressed();
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            showLinkReleased();
            const auto *me = static_cast<QMouseEvent *>(event);
            if (m_linkLabel->rect().contains(me->position().toPoint()))
                openHelp(HelpLink::Home);
            return true;
        }
        return false;
    }
    if (watched->isWidgetType() && m_dropTargets.contains(static_cast<QWidget *>(watched)) && filterDrop(event))
        return true;
    return QMainWindow::eventFilter(watched, event);
}

} // namespace logo
