#include "quillet/mainwindow.h"

#include "desktop/appfolders.h"
#include "desktop/branding.h"
#include "desktop/filetypes.h"
#include "graphic/pathutil.h"
#include "widgets/deliverydialogs.h"
#include "quillet/gridview.h"
#include "quillet/helplinks.h"
#include "quillet/logopreview.h"
#include "quillet/placement.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

// The icons live in the shared library's resources; a static library needs
// them registered by hand.
static void initQuilletResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace quillet {

namespace {

const QColor kLinkColour(0, 0, 192);
const QColor kLinkPressedColour(192, 0, 0);

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

// Toolbar buttons in order: key, tool tip, icon, the menu entry it runs.
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

// Entries whose commands come with the phone link, the web upload and the
// options dialog.
const char *const kDeliveryMenus[] = {"mnuSend", "mnuStore", "mnuInternet", "mnuIR", "mnuOptions"};

QString versionText()
{
    return QStringLiteral("%1.%2.%3").arg(LOGO_VERSION_MAJOR).arg(LOGO_VERSION_MINOR).arg(LOGO_VERSION_PATCH);
}

QIcon icon(const QString &name)
{
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(name));
}

} // namespace

MainWindow::MainWindow(const logo::ProgramProfile &profile, logo::Prompt &prompt, logo::SettingsStore &settings,
                       const QString &appFolder, const QString &commandLine, QWidget *parent)
    : QMainWindow(parent), m_profile(profile), m_prompt(prompt), m_settings(settings),
      m_document(profile, prompt, settings), m_commandLine(commandLine), m_webUpload(profile)
{
    initQuilletResources();
    setObjectName(QStringLiteral("frmEdit"));
    m_document.setRunMarks(true);
    m_openUrl = [](const QUrl &url) { QDesktopServices::openUrl(url); };
    m_webHost = m_settings.read(m_profile.settingsSection, QStringLiteral("WebHost"), m_profile.defaultWebHost);

    // Caption and the full 72 x 14 picture.
    setWindowTitle(m_profile.productName);
    setWindowIcon(icon(QStringLiteral("quillet")));
    m_document.grid().setSize(logo::LogoGrid::MaxWidth, logo::LogoGrid::MaxHeight);

    buildMenus();
    buildToolbar();
    buildCentralArea();
    connect(&m_document, &logo::LogoDocument::titleChanged, this, &QWidget::setWindowTitle);
    connect(&m_document, &logo::LogoDocument::recentFilesChanged, this, &MainWindow::rebuildRecentMenu);
    connect(&m_document, &logo::LogoDocument::cellChanged, this, &MainWindow::onCellChanged);
    connect(&m_document, &logo::LogoDocument::pictureChanged, this, &MainWindow::onPictureChanged);
    setDeliveryEnabled(false);
    // Send as SMS and Store to SMS-Inbox run over the phone link.
    auto *delivery = new logo::WindowDelivery(m_document, this);
    connect(m_menuActions.value(QStringLiteral("mnuSend")), &QAction::triggered, delivery,
            &logo::WindowDelivery::mnuSend_Click);
    connect(m_menuActions.value(QStringLiteral("mnuStore")), &QAction::triggered, delivery,
            &logo::WindowDelivery::mnuStore_Click);
    setCommandEnabled(QStringLiteral("mnuSend"), true);
    setCommandEnabled(QStringLiteral("mnuStore"), true);
    connect(m_menuActions.value(QStringLiteral("mnuOptions")), &QAction::triggered, delivery,
            &logo::WindowDelivery::mnuOptions_Click);
    setCommandEnabled(QStringLiteral("mnuOptions"), true);
    connect(m_menuActions.value(QStringLiteral("mnuInternet")), &QAction::triggered, this,
            [this] { m_webUpload.mnuInternet_Click(m_document, m_lblURL->text(), m_openUrl); });
    setCommandEnabled(QStringLiteral("mnuInternet"), true);

    // Folders of the dialogs and the recent files, and the version marks of
    // this installation.
    m_document.loadSettings();
    writeVersionSettings();

    // An empty, clean picture with the animation off.
    m_document.setDocState(logo::LogoDocument::Clean);
    m_blink.setAnimating(false);
    m_document.newDocument();
    m_document.setCurrentFile(QStringLiteral("Untitled"));
    m_document.setTitle(true);
    m_document.setAppFolder(appFolder);
    logo::registerFileTypesAtStartup(m_profile, m_prompt, m_settings);

    // The file named on the command line joins the stored recent files at
    // the front under its full path (a relative one would fail from another
    // folder): the file actually read, also when it is a foreign one.
    if (!m_commandLine.isEmpty()) {
        m_commandLine = QDir::cleanPath(QFileInfo(m_commandLine).absoluteFilePath());
        m_document.setUserDir(logo::folderOf(m_commandLine));
        m_document.openFile(m_commandLine);
    }

    applyBranding();
    delivery->setBranding(m_branding.hideSendViaSMS, m_branding.hideStoreToInbox, m_branding.hideSendViaIR);
    // Placed once its size is final: a branding picture makes it taller, and
    // the saved position is the whole frame's.
    placeWindow();
    deleteTemporaryPages();
    m_picMain->setFocus();   // the arrow keys move the picture from the start
}

MainWindow::~MainWindow() = default;

// ------------------------------------------------------------------ building

QAction *MainWindow::addAction(QMenu *menu, const QString &name, const QString &caption, const QKeySequence &key,
                               void (MainWindow::*slot)())
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(name);
    if (!key.isEmpty())
        a->setShortcut(key);
    if (slot)
        connect(a, &QAction::triggered, this, slot);
    m_menuActions.insert(name, a);
    return a;
}

void MainWindow::buildMenus()
{
    logo::LogoDocument *doc = &m_document;
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    addAction(file, QStringLiteral("mnuNew"), QStringLiteral("&New"), QKeySequence(QStringLiteral("Ctrl+N")),
              &MainWindow::mnuNew_Click);
    file->addSeparator();
    connect(addAction(file, QStringLiteral("mnuOpen"), QStringLiteral("&Open"),
                      QKeySequence(QStringLiteral("Ctrl+O")), nullptr),
            &QAction::triggered, doc, &logo::LogoDocument::openCommand);
    connect(addAction(file, QStringLiteral("mnuSave"), QStringLiteral("&Save"),
                      QKeySequence(QStringLiteral("Ctrl+S")), nullptr),
            &QAction::triggered, doc, &logo::LogoDocument::save);
    connect(addAction(file, QStringLiteral("mnuSaveAs"), QStringLiteral("Save &As..."), {}, nullptr),
            &QAction::triggered, doc, &logo::LogoDocument::saveAs);
    file->addSeparator();
    addAction(file, QStringLiteral("mnuSend"), QStringLiteral("Sen&d as SMS..."),
              QKeySequence(QStringLiteral("Ctrl+D")), nullptr);
    addAction(file, QStringLiteral("mnuStore"), QStringLiteral("Sto&re to SMS-Inbox..."),
              QKeySequence(QStringLiteral("Ctrl+R")), nullptr);
    addAction(file, QStringLiteral("mnuInternet"), QStringLiteral("Send via Internet..."),
              QKeySequence(QStringLiteral("Ctrl+T")), nullptr);
    addAction(file, QStringLiteral("mnuIR"), QStringLiteral("IR-&Upload to 61xx"),
              QKeySequence(QStringLiteral("Ctrl+U")), nullptr);
    file->addSeparator();
    connect(addAction(file, QStringLiteral("mnuImport"), QStringLiteral("Im&port BMP, GIF, JPG..."),
                      QKeySequence(QStringLiteral("Ctrl+P")), nullptr),
            &QAction::triggered, doc, &logo::LogoDocument::importCommand);
    connect(addAction(file, QStringLiteral("mnuExport"), QStringLiteral("&Export BMP..."),
                      QKeySequence(QStringLiteral("Ctrl+E")), nullptr),
            &QAction::triggered, doc, &logo::LogoDocument::exportCommand);
    m_mnuRecentSep = file->addSeparator();
    m_mnuRecentSep->setObjectName(QStringLiteral("mnuRecentSep"));
    for (int i = 0; i < logo::LogoDocument::RecentCount; ++i) {
        const int n = i + 1;
        m_mnuRecent[i] = addAction(file, QStringLiteral("mnuRecent%1").arg(n), QStringLiteral("&%1 ").arg(n), {},
                                   nullptr);
        connect(m_mnuRecent[i], &QAction::triggered, doc, [doc, n] { doc->openRecent(n); });
    }
    file->addSeparator();
    addAction(file, QStringLiteral("mnuExit"), QStringLiteral("E&xit"), {}, &MainWindow::mnuExit_Click);

    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    QMenu *move = edit->addMenu(QStringLiteral("&Move"));
    move->setObjectName(QStringLiteral("mnuMove"));
    move->menuAction()->setObjectName(QStringLiteral("mnuMove"));
    m_menuActions.insert(QStringLiteral("mnuMove"), move->menuAction());
    addAction(move, QStringLiteral("mnuMoveUp"), QStringLiteral("&Up"), QKeySequence(Qt::Key_F1),
              &MainWindow::cmdUp_Click);
    addAction(move, QStringLiteral("mnuMoveDown"), QStringLiteral("&Down"), QKeySequence(Qt::Key_F2),
              &MainWindow::cmdDown_Click);
    addAction(move, QStringLiteral("mnuMoveLeft"), QStringLiteral("&Left"), QKeySequence(Qt::Key_F3),
              &MainWindow::cmdLeft_Click);
    addAction(move, QStringLiteral("mnuMoveRight"), QStringLiteral("&Right"), QKeySequence(Qt::Key_F4),
              &MainWindow::cmdRight_Click);
    connect(addAction(edit, QStringLiteral("mnuInvert"), QStringLiteral("&Invert"),
                      QKeySequence(QStringLiteral("Ctrl+I")), nullptr),
            &QAction::triggered, doc, &logo::LogoDocument::invert);
    connect(addAction(edit, QStringLiteral("mnuFlipX"), QStringLiteral("Flip &Horizontal"),
                      QKeySequence(QStringLiteral("Ctrl+H")), nullptr),
            &QAction::triggered, doc, &logo::LogoDocument::flipHorizontal);
    connect(addAction(edit, QStringLiteral("mnuFlipY"), QStringLiteral("Flip &Vertical"),
                      QKeySequence(QStringLiteral("Ctrl+V")), nullptr),
            &QAction::triggered, doc, &logo::LogoDocument::flipVertical);
    edit->addSeparator();
    addAction(edit, QStringLiteral("mnuOptions"), QStringLiteral("&Options"), {}, nullptr);

    QMenu *view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    m_mnuAnimation = addAction(view, QStringLiteral("mnuAnimation"), QStringLiteral("&Animation"),
                               QKeySequence(QStringLiteral("Ctrl+A")), &MainWindow::mnuAnimation_Click);
    m_mnuAnimation->setCheckable(true);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    addAction(help, QStringLiteral("mnuHelpInformation"), QStringLiteral("&Information"), {},
              &MainWindow::mnuHelpInformation_Click);
    help->addSeparator();
    connect(addAction(help, QStringLiteral("mnuHelpFAQ"), QStringLiteral("&Help on Website"), {}, nullptr),
            &QAction::triggered, this, [this] { openHelp(int(HelpLink::Faq)); });
    connect(addAction(help, QStringLiteral("mnuHelpSamples"), QStringLiteral("&Download Samples"), {}, nullptr),
            &QAction::triggered, this, [this] { openHelp(int(HelpLink::Samples)); });
    connect(addAction(help, QStringLiteral("mnuHelpUpdates"), QStringLiteral("&Check for Updates"), {}, nullptr),
            &QAction::triggered, this, [this] { openHelp(int(HelpLink::Updates)); });
    help->addSeparator();
    addAction(help, QStringLiteral("mnuAbout"), QStringLiteral("&About"), {}, &MainWindow::mnuAbout_Click);
}

void MainWindow::buildToolbar()
{
    m_toolbar = addToolBar(QStringLiteral("Toolbar"));
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setIconSize(QSize(24, 24));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolbar->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    for (const ToolbarButton &b : kToolbarButtons) {
        const QString key = QString::fromLatin1(b.key);
        QAction *a = m_toolbar->addAction(icon(QString::fromLatin1(b.icon)), key);
        a->setObjectName(QStringLiteral("Toolbar1_") + key);
        a->setData(key);
        a->setToolTip(QString::fromLatin1(b.toolTip));
        connect(a, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
        m_toolbarActions.insert(key, a);
        if (b.groupEnd)
            m_toolbar->addSeparator();
    }
}

void MainWindow::buildCentralArea()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralArea"));
    auto *outer = new QVBoxLayout(central);
    outer->setContentsMargins(10, 8, 10, 8);
    outer->setSpacing(8);

    // The editing grid in a sunken frame sized for the largest picture; a
    // smaller picture keeps to the top-left corner.
    auto *gridFrame = new QFrame(central);
    gridFrame->setObjectName(QStringLiteral("gridFrame"));
    gridFrame->setFrameShape(QFrame::Box);
    gridFrame->setFrameShadow(QFrame::Plain);
    gridFrame->setLineWidth(1);
    QPalette framePalette = gridFrame->palette();
    framePalette.setColor(QPalette::WindowText, QColor(kOctetLineColour));
    gridFrame->setPalette(framePalette);
    auto *gridLayout = new QVBoxLayout(gridFrame);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    m_picMain = new GridView(m_document, gridFrame);
    m_picMain->setAcceptDrops(true);
    m_picMain->installEventFilter(this);
    gridLayout->addWidget(m_picMain, 0, Qt::AlignLeft | Qt::AlignTop);
    const QSize largest = GridView::naturalSize(logo::LogoGrid::MaxWidth, logo::LogoGrid::MaxHeight);
    const int fw = gridFrame->frameWidth();
    gridFrame->setFixedSize(largest + QSize(2 * fw, 2 * fw));
    outer->addWidget(gridFrame, 0, Qt::AlignHCenter);
    connect(m_picMain, &GridView::cursorCell, this, &MainWindow::showCursorCell);
    connect(m_picMain, &GridView::arrowKey, this, &MainWindow::onArrowKey);

    auto *lower = new QHBoxLayout;
    lower->setSpacing(10);
    outer->addLayout(lower);

    // The phone preview and its animation switch.
    auto *preview = new QGroupBox(QStringLiteral("Preview"), central);
    preview->setObjectName(QStringLiteral("fraPreview"));
    auto *previewLayout = new QVBoxLayout(preview);
    previewLayout->setContentsMargins(10, 6, 10, 8);
    previewLayout->setSpacing(6);
    m_picDisplay = new LogoPreview(LogoPreview::phoneDisplay(), LogoPreview::kDisplayOrigin, preview);
    m_picDisplay->setObjectName(QStringLiteral("picDisplay"));
    m_picDisplay->setAcceptDrops(true);
    m_picDisplay->installEventFilter(this);
    previewLayout->addWidget(m_picDisplay, 0, Qt::AlignHCenter);
    m_chkAnimation = new QCheckBox(QStringLiteral("&Animation"), preview);
    m_chkAnimation->setObjectName(QStringLiteral("chkAnimation"));
    m_chkAnimation->setToolTip(QStringLiteral("Switch animation on and off"));
    connect(m_chkAnimation, &QCheckBox::clicked, this, &MainWindow::chkAnimation_Click);
    previewLayout->addWidget(m_chkAnimation, 0, Qt::AlignHCenter);
    lower->addWidget(preview);

    m_tmrAnimation = new QTimer(this);
    m_tmrAnimation->setObjectName(QStringLiteral("tmrAnimation"));
    m_tmrAnimation->setInterval(kAnimationInterval);
    connect(m_tmrAnimation, &QTimer::timeout, this, &MainWindow::tmrAnimation_Timer);

    // The bare picture, at natural size, for the bitmap export; never shown.
    m_picMyBMP = new LogoPreview(QImage(), QPoint(0, 0), central);
    m_picMyBMP->setObjectName(QStringLiteral("picMyBMP"));
    m_picMyBMP->setFixedSize(logo::LogoGrid::MaxWidth, logo::LogoGrid::MaxHeight);
    m_picMyBMP->hide();

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
        {"cmdUp", "up", "Move up", 0, 1, &MainWindow::cmdUp_Click},
        {"cmdLeft", "left", "Move left", 1, 0, &MainWindow::cmdLeft_Click},
        {"cmdRight", "right", "Move right", 1, 2, &MainWindow::cmdRight_Click},
        {"cmdDown", "down", "Move down", 2, 1, &MainWindow::cmdDown_Click},
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
    m_txtPos = new QLineEdit(moveBox);
    m_txtPos->setObjectName(QStringLiteral("txtPos"));
    m_txtPos->setToolTip(QStringLiteral("Position of cursor"));
    m_txtPos->setReadOnly(true);
    m_txtPos->setFocusPolicy(Qt::NoFocus);
    m_txtPos->setAlignment(Qt::AlignCenter);
    m_txtPos->setFixedWidth(m_txtPos->fontMetrics().horizontalAdvance(QStringLiteral("000/00")) + 16);
    posCaption->setBuddy(m_txtPos);
    moveLayout->setRowMinimumHeight(3, 6);
    moveLayout->addWidget(posCaption, 4, 0, 1, 3, Qt::AlignHCenter);
    moveLayout->addWidget(m_txtPos, 5, 0, 1, 3, Qt::AlignHCenter);
    moveLayout->setRowStretch(6, 1);
    lower->addWidget(moveBox);

    // A distributor's picture from the branding file, hidden without one.
    m_picBranding = new QLabel(central);
    m_picBranding->setObjectName(QStringLiteral("picBranding"));
    m_picBranding->setAlignment(Qt::AlignCenter);
    m_picBranding->hide();
    lower->addWidget(m_picBranding, 0, Qt::AlignVCenter);

    lower->addStretch(1);

    // The program's name and the link to its web site, at the bottom right.
    auto *side = new QVBoxLayout;
    side->setSpacing(2);
    auto *name = new QLabel(m_profile.productName, central);
    name->setObjectName(QStringLiteral("lblProduct"));
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    name->setFont(big);
    name->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    auto *subtitle = new QLabel(QStringLiteral("Group graphics editor\nVersion %1").arg(versionText()), central);
    subtitle->setObjectName(QStringLiteral("lblSubtitle"));
    subtitle->setAlignment(Qt::AlignRight | Qt::AlignTop);
    subtitle->setEnabled(false);
    m_lblURL = new QLabel(m_webHost, central);
    m_lblURL->setObjectName(QStringLiteral("lblURL"));
    m_lblURL->setToolTip(QStringLiteral("Click here to open the URL in your browser."));
    m_lblURL->setCursor(Qt::PointingHandCursor);
    QFont linkFont = m_lblURL->font();
    linkFont.setUnderline(true);
    m_lblURL->setFont(linkFont);
    m_lblURL->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    m_lblURL->installEventFilter(this);
    lblURL_MouseUp();
    side->addStretch(1);
    side->addWidget(name);
    side->addWidget(subtitle);
    side->addStretch(2);
    side->addWidget(m_lblURL);
    lower->addLayout(side);

    setCentralWidget(central);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

// ------------------------------------------------------------------ start-up

void MainWindow::placeWindow()
{
    adjustSize();
    const QString section = m_profile.settingsSection;
    const QPoint saved(m_settings.readInt(section, QStringLiteral("Left"), kDefaultLeftTwips) / kTwipsPerPixel,
                       m_settings.readInt(section, QStringLiteral("Top"), kDefaultTopTwips) / kTwipsPerPixel);
    move(saved);
    keepFrameOnScreen();
}

void MainWindow::keepFrameOnScreen()
{
    const QRect frame = frameGeometry();
    QSize screen(frame.right() + 1, frame.bottom() + 1);
    if (const QScreen *s = QGuiApplication::primaryScreen())
        screen = s->geometry().size();
    const QPoint placed = keepOnScreen(frame.topLeft(), frame.size(), screen);
    if (placed != frame.topLeft())
        move(placed);
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // Before the window is shown its frame (title bar, borders) is unknown, so
    // the start-up placement counted the client area only; the first exposure
    // checks again with the frame the window manager gave it.
    if (!m_frameChecked && windowHandle())
        windowHandle()->installEventFilter(this);
}

void MainWindow::writeVersionSettings()
{
    const QString section = m_profile.settingsSection;
    auto twoDigits = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    m_settings.write(section, QStringLiteral("VerMajor"), twoDigits(LOGO_VERSION_MAJOR));
    m_settings.write(section, QStringLiteral("VerMinor"), twoDigits(LOGO_VERSION_MINOR));
    m_settings.write(section, QStringLiteral("VerRevision"), twoDigits(LOGO_VERSION_PATCH));
    m_settings.write(section, QStringLiteral("VerIR"), QStringLiteral("02"));
    m_settings.write(section, QStringLiteral("VerCable"), QStringLiteral("00"));
}

void MainWindow::applyBranding()
{
    const logo::BrandingFile file =
        logo::BrandingFile::locate(logo::AppFolders(m_document.appFolder()), m_profile.brandingFileName);
    for (const BrandedMethod &m : kBrandedMethods) {
        if (!file.hides(QString::fromLatin1(m.brandingKey)))
            continue;
        m_branding.*(m.flag) = true;
        m_menuActions.value(QString::fromLatin1(m.menuName))->setVisible(false);
        m_toolbarActions.value(QString::fromLatin1(m.toolbarKey))->setVisible(false);
    }

    QString picture = file.ReadBrandingValue(QStringLiteral("Branding"), QStringLiteral("BackgroundPic"));
    if (picture.isEmpty())
        return;
    picture.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString path = file.folder() + picture;
    QPixmap pixmap;
    if (!QFileInfo(path).isFile() || !pixmap.load(path))
        return;
    // A large picture is shown smaller, so that it never dwarfs the editor.
    const QSize room(200, 160);
    if (pixmap.width() > room.width() || pixmap.height() > room.height())
        pixmap = pixmap.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    m_picBranding->setPixmap(pixmap);
    m_picBranding->show();
    m_branding.backgroundShown = true;
}

void MainWindow::deleteTemporaryPages()
{
    m_webUpload.deleteTemporaryPages();
}

// ------------------------------------------------------------------ closing

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_unloaded && m_document.askSaveChanges() == 2) {
        event->ignore();
        return;
    }
    unload();
    event->accept();
}

void MainWindow::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_tmrAnimation->stop();
    deleteTemporaryPages();
    const QString section = m_profile.settingsSection;
    m_settings.writeInt(section, QStringLiteral("Left"), x() * kTwipsPerPixel);
    m_settings.writeInt(section, QStringLiteral("Top"), y() * kTwipsPerPixel);
    m_document.saveSettings();
    m_settings.remove(section, QStringLiteral("CurrentAppname"));
    m_settings.remove(section, QStringLiteral("CurrentBusy"));
}

void MainWindow::mnuExit_Click()
{
    close();
}

// ------------------------------------------------------------------ commands

void MainWindow::setDeliveryEnabled(bool enabled)
{
    for (const char *name : kDeliveryMenus)
        setCommandEnabled(QString::fromLatin1(name), enabled);
}

void MainWindow::setCommandEnabled(const QString &menuName, bool enabled)
{
    if (QAction *menu = m_menuActions.value(menuName))
        menu->setEnabled(enabled);
    for (const ToolbarButton &b : kToolbarButtons)
        if (menuName == QLatin1String(b.menuName))
            m_toolbarActions.value(QString::fromLatin1(b.key))->setEnabled(enabled);
}

void MainWindow::Toolbar1_ButtonClick(const QString &key)
{
    for (const ToolbarButton &b : kToolbarButtons) {
        if (key != QLatin1String(b.key))
            continue;
        QAction *menu = m_menuActions.value(QString::fromLatin1(b.menuName));
        if (menu && menu->isEnabled())
            menu->trigger();
        return;
    }
}

void MainWindow::mnuNew_Click()
{
    if (m_document.askSaveChanges() == 7)
        m_document.newDocument();
}

void MainWindow::myOpenFileReceived(const QString &path)
{
    QCoreApplication::processEvents();
    m_document.openFileReceived(path);
}

void MainWindow::rebuildRecentMenu()
{
    const QStringList recent = m_document.recentFiles();
    m_mnuRecentSep->setVisible(false);
    for (QAction *a : m_mnuRecent)
        a->setVisible(false);
    // Every non-empty entry is shown under its own number, also after a gap
    // (a list edited by hand).
    for (int i = 0; i < logo::LogoDocument::RecentCount; ++i) {
        const QString path = recent.value(i);
        if (path.isEmpty())
            continue;
        m_mnuRecentSep->setVisible(true);
        m_mnuRecent[i]->setText(QStringLiteral("&%1 ").arg(i + 1) + logo::fileTitle(path));
        m_mnuRecent[i]->setVisible(true);
    }
}

// ------------------------------------------------------------------ editing

void MainWindow::onCellChanged(int c, int r)
{
    // While the preview blinks it is left alone; the next tick that shows the
    // picture, or switching the animation off, brings it up to date.
    if (m_blink.animating())
        return;
    const bool on = m_document.grid().isSet(c, r);
    m_picDisplay->setPixel(c, r, on);
    m_picMyBMP->setPixel(c, r, on);
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
    m_txtPos->setText(QStringLiteral("%1/%2").arg(c + 1).arg(r + 1));
}

void MainWindow::onArrowKey(int key)
{
    switch (key) {
    case Qt::Key_Up: cmdUp_Click(); break;
    case Qt::Key_Down: cmdDown_Click(); break;
    case Qt::Key_Left: cmdLeft_Click(); break;
    case Qt::Key_Right: cmdRight_Click(); break;
    default: break;
    }
}

void MainWindow::cmdUp_Click() { m_document.moveUp(); }
void MainWindow::cmdDown_Click() { m_document.moveDown(); }
void MainWindow::cmdLeft_Click() { m_document.moveLeft(); }
void MainWindow::cmdRight_Click() { m_document.moveRight(); }

// ------------------------------------------------------------------ animation

void MainWindow::chkAnimation_Click()
{
    m_blink.setAnimating(m_chkAnimation->isChecked());
    applyAnimation();
}

void MainWindow::mnuAnimation_Click()
{
    // The action has already toggled its check mark: the new mark is the
    // opposite of the one the user clicked on.
    m_blink.setAnimating(m_mnuAnimation->isChecked());
    applyAnimation();
}

void MainWindow::applyAnimation()
{
    const bool on = m_blink.animating();
    m_chkAnimation->setChecked(on);
    m_mnuAnimation->setChecked(on);
    if (on) {
        m_tmrAnimation->start();
    } else {
        m_tmrAnimation->stop();
        drawPreview();
    }
}

void MainWindow::tmrAnimation_Timer()
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
    m_picDisplay->drawPreview(m_document.grid());
    m_picMyBMP->drawPreview(m_document.grid());
}

void MainWindow::clearPreview()
{
    m_picDisplay->clearPreview();
    m_picMyBMP->clearPreview();
}

// ------------------------------------------------------------------ help

QString MainWindow::informationText()
{
    return QStringLiteral("All important objects of this program support 'ToolTips'.\r\n\r\n"
                          "Move your mouse over an object and wait a while, then\r\n"
                          "a small yellow box with a short explanation will appear.");
}

void MainWindow::mnuHelpInformation_Click()
{
    m_prompt.message(m_profile.productName, informationText(), logo::Icon::None, logo::Buttons::Ok);
}

void MainWindow::openHelp(int link)
{
    if (m_openUrl)
        m_openUrl(QUrl(helpAddress(HelpLink(link), m_webHost, m_profile), QUrl::TolerantMode));
}

void MainWindow::mnuAbout_Click()
{
    const QString text = m_profile.productName + QStringLiteral(" ") + versionText() +
                         QStringLiteral("\r\n\r\nEditor for the caller-group graphics of mobile phones.\r\n") +
                         m_webHost;
    m_prompt.message(QStringLiteral("About ") + m_profile.productName, text, logo::Icon::Information,
                     logo::Buttons::Ok);
}

void MainWindow::lblURL_MouseDown()
{
    QPalette pal = m_lblURL->palette();
    pal.setColor(QPalette::WindowText, kLinkPressedColour);
    m_lblURL->setPalette(pal);
}

void MainWindow::lblURL_MouseUp()
{
    QPalette pal = m_lblURL->palette();
    pal.setColor(QPalette::WindowText, kLinkColour);
    m_lblURL->setPalette(pal);
}

// ------------------------------------------------------------------ events

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == windowHandle() && event->type() == QEvent::Expose && !m_frameChecked &&
        windowHandle()->isExposed()) {
        m_frameChecked = true;
        windowHandle()->removeEventFilter(this);
        keepFrameOnScreen();
        return false;
    }
    if (watched == m_lblURL) {
        if (event->type() == QEvent::MouseButtonPress) {
            lblURL_MouseDown();
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            lblURL_MouseUp();
            const auto *me = static_cast<QMouseEvent *>(event);
            if (m_lblURL->rect().contains(me->position().toPoint()))
                openHelp(int(HelpLink::Home));
            return true;
        }
        return false;
    }

    if (watched == m_picMain || watched == m_picDisplay) {
        // Files dropped on the grid or the preview are opened.
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto *drag = static_cast<QDropEvent *>(event);
            const QList<QUrl> urls = drag->mimeData()->urls();
            if (!urls.isEmpty() && urls.front().isLocalFile()) {
                drag->acceptProposedAction();
                return true;
            }
            return false;
        }
        if (event->type() == QEvent::Drop) {
            auto *drop = static_cast<QDropEvent *>(event);
            const QList<QUrl> urls = drop->mimeData()->urls();
            if (urls.isEmpty() || !urls.front().isLocalFile())
                return false;
            drop->acceptProposedAction();
            myOpenFileReceived(urls.front().toLocalFile());
            activateWindow();
            m_picMain->setFocus();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace quillet
