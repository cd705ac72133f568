#include "mainwindow.h"

#include "coverview.h"
#include "coverzoom.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QUndoStack>
#include <QVBoxLayout>

namespace brisvane {

namespace {

QLabel *makeLabel(const char *name, QWidget *parent, bool bold = false)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    if (bold) {
        QFont f = label->font();
        f.setBold(true);
        label->setFont(f);
    }
    return label;
}

// Shows text cut to width with "..." at its end, the whole text in the tool
// tip when it had to be cut: a long name from the operator file never widens
// the window.
void showElided(QLabel *label, const QString &text, int width)
{
    const QString shown = label->fontMetrics().elidedText(text, Qt::ElideRight, width);
    label->setText(shown);
    label->setToolTip(shown == text ? QString() : text);
}

} // namespace

MainWindow::MainWindow(logo::Prompt &prompt, logo::SettingsStore &settings, std::unique_ptr<logo::AppFolders> folders,
                       const QString &commandLine, QWidget *parent)
    : MainWindowBase(
          logo::ProgramProfile::brisvane(), prompt, settings, std::move(folders), commandLine,
          [&](const logo::AppFolders &f) { return std::make_unique<BrisvaneDocument>(prompt, f); }, parent,
          [](const logo::FileCommands::Pieces &p) {
              return std::make_unique<BrisvaneFileCommands>(static_cast<BrisvaneDocument &>(p.document), p.prompt,
                                                            p.recent, p.folders, p.marks);
          }),
      m_covers(MainWindowBase::folders())
{
    setUpWindow();
    addCoverZoomEntries(findChild<QMenu *>(QStringLiteral("mnuView")), m_cover, m_settings, m_profile.settingsSection);
    // The window itself holds the focus at start, so that the wheel reaches
    // the operator list only once the user has gone to it (a click, Tab or Alt+O).
    centralWidget()->setFocusPolicy(Qt::ClickFocus);
    centralWidget()->setFocus();
}

MainWindow::~MainWindow() = default;

// ------------------------------------------------------------------ building

void MainWindow::addProgramMenus(QMenu *)
{
    // Undo takes back a logo replaced by the clear picture, a default logo, a
    // file or an import.
    addEditMenu({{"mnuOptions", "&Options..."}});

    QMenu *extras = addMenu(QStringLiteral("mnuExtras"), QStringLiteral("Ex&tras"), {});
    std::vector<logo::MenuEntry> covers;
    for (int i = 0; i < PhoneCovers::Count; ++i)
        covers.push_back({QStringLiteral("mnuXpress%1").arg(i), PhoneCovers::caption(i), {},
                          [this, i] { chooseCover(i); }});
    addSubmenu(extras, QStringLiteral("mnuXpressM"), QStringLiteral("X&press yourself..."), covers);
    for (int i = 0; i < PhoneCovers::Count; ++i) {
        m_coverActions[i] = menuAction(QStringLiteral("mnuXpress%1").arg(i));
        m_coverActions[i]->setCheckable(true);
    }
    BrisvaneFileCommands *files = &brisvaneFiles();
    const OperatorPanel none;
    insertEntries(extras, {
                              {"mnuSep6"},
                              {"mnuLoadDefault", none.loadDefaultCaption, {}, [files] { files->loadDefaultLogo(); }},
                              {"mnuSaveDefault", none.saveDefaultCaption, {}, [files] { files->saveDefaultLogo(); }},
                          });
}

void MainWindow::buildCentralArea()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralArea"));
    acceptFileDrops(central);
    // The cover from the client area's top-left corner; the operator list and
    // its labels stand to its right.
    auto *row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 10, 8);
    row->setSpacing(14);
    m_cover = new CoverView(doc().grid(), central);
    row->addWidget(m_cover, 0, Qt::AlignLeft | Qt::AlignTop);

    auto *side = new QVBoxLayout;
    side->setContentsMargins(0, 10, 0, 0);
    side->setSpacing(8);
    side->addWidget(buildOperatorPanel(central));
    // A distributor's picture from the branding file, hidden without one.
    side->addWidget(brandingLabel(), 0, Qt::AlignLeft);
    auto *copyright = makeLabel("lblCopyright", central);
    copyright->setText(QStringLiteral("\u00A9 ") + logo::kApplicationName);
    copyright->setAlignment(Qt::AlignRight);
    copyright->setEnabled(false);
    side->addLayout(nameBlock(QStringLiteral("Operator logo editor\nVersion %1").arg(logo::versionText()), copyright),
                    1);
    row->addLayout(side);
    setCentralWidget(central);

    connect(&doc(), &BrisvaneDocument::operatorListChanged, this, &MainWindow::fillOperatorList);
    connect(&doc(), &BrisvaneDocument::selectionChanged, this, &MainWindow::showSelection);
    connect(&doc(), &logo::LogoDocument::pictureChanged, m_cover, qOverload<>(&QWidget::update));
    connect(&doc(), &logo::LogoDocument::cellChanged, m_cover, qOverload<>(&QWidget::update));
}

QWidget *MainWindow::buildOperatorPanel(QWidget *parent)
{
    auto *panel = new QWidget(parent);
    auto *column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);

    m_operatorList = new QComboBox(panel);
    m_operatorList->setObjectName(QStringLiteral("cmbOperator"));
    m_operatorList->setToolTip(QStringLiteral("Select your operator here"));
    m_operatorList->setMinimumWidth(m_operatorList->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 34);
    // As wide as that, whatever the operator file holds.
    m_operatorList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_operatorList->setMinimumContentsLength(34);
    m_operatorList->setMaxVisibleItems(20);
    // The wheel turns the list only once it has been clicked or tabbed to: a
    // wheel passing over it must not pick another operator.
    m_operatorList->setFocusPolicy(Qt::StrongFocus);
    m_operatorList->installEventFilter(this);
    connect(m_operatorList, &QComboBox::activated, this, &MainWindow::onOperatorActivated);
    auto *caption = new QLabel(QStringLiteral("&Operator:"), panel);
    caption->setBuddy(m_operatorList);
    column->addWidget(caption);
    column->addWidget(m_operatorList);

    // The chosen network as a card: country and code, the default-logo mark,
    // then the operator's name, its country as written and its web address.
    auto *card = new QFrame(panel);
    card->setObjectName(QStringLiteral("fraOperator"));
    card->setFrameShape(QFrame::StyledPanel);
    card->setFrameShadow(QFrame::Sunken);
    auto *grid = new QGridLayout(card);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    m_labels.country = makeLabel("lblCountry", card, true);
    m_labels.mccMnc = makeLabel("lblMCCMNC", card, true);
    m_labels.mccMnc->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_labels.def = makeLabel("lblDef", card, true);
    QFont markFont = m_labels.def->font();
    markFont.setPointSizeF(markFont.pointSizeF() * 1.8);
    m_labels.def->setFont(markFont);
    m_labels.def->setFixedWidth(m_labels.def->fontMetrics().horizontalAdvance(OperatorPanel::DefaultMarkText) + 4);
    m_labels.def->setCursor(Qt::PointingHandCursor);
    m_labels.def->installEventFilter(this);
    m_labels.op1 = makeLabel("lblOp1", card, true);
    m_labels.op2 = makeLabel("lblOp2", card);
    m_labels.url = makeLabel("lblOpURL", card);
    // Room for the longest line a card shows, so the window keeps its size.
    const int lineHeight = m_labels.op1->fontMetrics().height();
    for (QLabel *l : {m_labels.country, m_labels.mccMnc, m_labels.op1, m_labels.op2, m_labels.url})
        l->setMinimumHeight(lineHeight);
    // The large mark keeps to the line: its glyph sits in the upper half.
    m_labels.def->setFixedHeight(lineHeight);
    m_labels.def->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(m_labels.country, 0, 0);
    grid->addWidget(m_labels.mccMnc, 0, 1);
    grid->addWidget(m_labels.def, 0, 2, Qt::AlignTop);
    grid->addWidget(m_labels.op1, 1, 0, 1, 3);
    grid->addWidget(m_labels.op2, 2, 0, 1, 3);
    grid->addWidget(m_labels.url, 3, 0, 1, 3);
    grid->setColumnStretch(0, 1);
    column->addWidget(card);
    // The room of the card's lines: the list's width inside the card's frame
    // and margins; the country shares its line with the code and the mark.
    m_lineWidth = m_operatorList->minimumWidth() - 2 * card->frameWidth() - 16;
    // The code is never cut: room for any code a file can hold (two 16-bit
    // numbers), the country gives way.
    m_codeWidth = m_labels.mccMnc->fontMetrics().horizontalAdvance(QStringLiteral("-00000--00000")) +
                  2 * m_labels.mccMnc->fontMetrics().averageCharWidth();
    m_countryWidth = m_lineWidth - m_codeWidth - m_labels.def->width() - 2 * grid->horizontalSpacing();
    return panel;
}

// ------------------------------------------------------------------ start-up and closing

void MainWindow::startProgram()
{
    doc().reloadOperatorList();
    // "Your own!" only when the user has a cover of his own.
    const bool own = m_covers.hasOwnCover();
    m_coverActions[PhoneCovers::OwnCover]->setVisible(own);
    m_coverActions[PhoneCovers::OwnCover]->setEnabled(own);
    chooseCover(m_covers.storedIndex(m_settings, m_profile.settingsSection));
    doc().resetLogo();
}

void MainWindow::unloadProgram()
{
    m_settings.writeInt(m_profile.settingsSection, PhoneCovers::SettingKey, m_chosenCover);
}

void MainWindow::applyPreviewAspect(std::optional<QSizeF> pixelShape)
{
    m_cover->setPixelShape(pixelShape);
}

// ------------------------------------------------------------------ covers

void MainWindow::chooseCover(int index)
{
    const PhoneCovers::Shown shown = m_covers.show(index);
    for (int i = 0; i < PhoneCovers::Count; ++i)
        m_coverActions[i]->setChecked(i == shown.index);
    m_coverIndex = shown.index;
    m_chosenCover = shown.ownCoverUnreadable ? PhoneCovers::OwnCover : shown.index;
    m_cover->setCover(shown.picture);
    // A new background: the operator of the logo's code again, and the logo
    // into the new display.
    doc().selectOperatorFromCode();
    m_cover->update();
    if (shown.ownCoverUnreadable)
        m_prompt.exclaim(m_profile.productName,
                         QStringLiteral("Can't read your own cover %1.\nThe %2 is shown instead; \"%3\" stays chosen "
                                        "for the next start.")
                             .arg(QDir::toNativeSeparators(m_covers.ownCoverPath()),
                                  PhoneCovers::caption(shown.index), PhoneCovers::caption(PhoneCovers::OwnCover)));
}

// ------------------------------------------------------------------ operators

void MainWindow::fillOperatorList()
{
    const QSignalBlocker quiet(m_operatorList);
    m_operatorList->clear();
    // An entry longer than the list's open width is cut there, the whole
    // text in its tool tip.
    const int room = 2 * m_operatorList->minimumWidth();
    for (const OperatorListEntry &e : doc().operatorList()) {
        const QString shown = m_operatorList->fontMetrics().elidedText(e.text, Qt::ElideRight, room);
        m_operatorList->addItem(shown, e.item);
        if (shown != e.text)
            m_operatorList->setItemData(m_operatorList->count() - 1, e.text, Qt::ToolTipRole);
    }
}

void MainWindow::onOperatorActivated(int row)
{
    doc().onOperatorChosen(m_operatorList->itemData(row).toInt());
}

void MainWindow::showSelection()
{
    {
        const QSignalBlocker quiet(m_operatorList);
        m_operatorList->setCurrentIndex(m_operatorList->findData(doc().selectedItem()));
    }
    const OperatorPanel &p = doc().panel();
    showElided(m_labels.country, p.country, m_countryWidth);
    showElided(m_labels.mccMnc, p.mccMnc, m_codeWidth);
    showElided(m_labels.op1, p.op1, m_lineWidth);
    showElided(m_labels.op2, p.op2, m_lineWidth);
    showElided(m_labels.url, p.url, m_lineWidth);
    m_labels.def->setEnabled(p.defaultMark);
    m_labels.def->setText(p.defaultMark ? OperatorPanel::DefaultMarkText : QString());
    m_labels.def->setToolTip(p.defaultMark ? OperatorPanel::DefaultMarkToolTip : QString());
    QAction *load = menuAction(QStringLiteral("mnuLoadDefault"));
    // The operator's name in the captions, cut as on the card.
    const QFontMetrics menuFont(load->font());
    load->setText(menuFont.elidedText(p.loadDefaultCaption, Qt::ElideRight, 2 * m_lineWidth));
    load->setEnabled(p.loadDefaultEnabled);
    QAction *save = menuAction(QStringLiteral("mnuSaveDefault"));
    save->setText(menuFont.elidedText(p.saveDefaultCaption, Qt::ElideRight, 2 * m_lineWidth));
    save->setEnabled(p.saveDefaultEnabled);
    m_cover->update();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_operatorList && event->type() == QEvent::Wheel && !m_operatorList->hasFocus()) {
        event->ignore();
        return true;
    }
    // A click on the mark loads the operator's default logo.
    if (watched == m_labels.def && event->type() == QEvent::MouseButtonRelease) {
        if (m_labels.def->isEnabled())
            brisvaneFiles().loadDefaultLogo();
        return true;
    }
    return MainWindowBase::eventFilter(watched, event);
}

} // namespace brisvane
