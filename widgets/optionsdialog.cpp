#include "widgets/optionsdialog.h"

#include "desktop/settingsstore.h"
#include "graphic/logodocument.h"
#include "graphic/pathutil.h"
#include "phone/atengine.h"
#include "phone/porttest.h"
#include "phone/seriallink.h"
#include "widgets/dialoglayout.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace logo {

namespace {

const QString kSMSC = QStringLiteral("SMSC");
const QString kCOMPort = QStringLiteral("COMPort");
const QString kIRPort = QStringLiteral("IRPort");
const QString kReadSM = QStringLiteral("PBookReadSM");
const QString kReadME = QStringLiteral("PBookReadME");
const QString kStatusReport = QStringLiteral("StatusReport");
const QString kFileTypeOnStartup = QStringLiteral("FileTypeOnStartup");
const QString kFileTypeWarn = QStringLiteral("FileTypeWarn");
const QString kQuickLink = QStringLiteral("QuickLink");

// A status text on a label: the message line breaks (CR LF) as the label's own.
QString labelText(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// Tabs in order: caption and key.
const struct {
    const char *caption;
    const char *key;
} kTabs[] = {{"Serial Port", "Serial"}, {"SMS", "SMS"}, {"Advanced", "Advanced"}, {"IR Port", "IR"}};

// The room given to a device path, in average characters.
constexpr int kDeviceChars = 24;

QString deviceKey(int port)
{
    return QStringLiteral("Device%1").arg(port);
}

QGroupBox *frame(QWidget *parent, const QString &name, const QString &caption)
{
    auto *box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    return box;
}

template <class T>
T *named(T *w, const QString &name)
{
    w->setObjectName(name);
    return w;
}

} // namespace

bool OptionsDialog::defaultShowDevices()
{
#ifdef Q_OS_WIN
    return false;
#else
    return true;
#endif
}

OptionsDialog::OptionsDialog(LogoDocument &doc, PortTest &jobs, QWidget *parent, bool showDevices)
    : QDialog(parent), m_doc(doc), m_jobs(jobs), m_showDevices(showDevices)
{
    initWidgetResources();
    setUpDialog(this, QStringLiteral("frmOptionsDialog"), QStringLiteral("Options"));

    TabStrip1 = named(new QTabBar(this), QStringLiteral("TabStrip1"));
    TabStrip1->setExpanding(false);
    for (const auto &t : kTabs) {
        const int i = TabStrip1->addTab(QString::fromLatin1(t.caption));
        TabStrip1->setTabData(i, QString::fromLatin1(t.key));
    }
    m_pages = named(new QStackedWidget(this), QStringLiteral("pages"));
    buildSerialFrame();
    buildSmsFrame();
    buildAdvancedFrame();
    buildIrFrame();

    cmdOK = dialogButton(this, QStringLiteral("cmdOK"), QStringLiteral("&OK"), true);
    cmdCancel = dialogButton(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"), false);

    auto *top = new QVBoxLayout(this);
    top->setSpacing(0);
    top->addWidget(TabStrip1);
    top->addWidget(m_pages);
    top->addSpacing(10);
    top->addLayout(buttonRow({cmdOK, cmdCancel}));
    top->setSizeConstraint(QLayout::SetFixedSize);

    connect(TabStrip1, &QTabBar::currentChanged, this, &OptionsDialog::showCurrentPage);
    connect(cmbComPort, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            onComPortChosen();
    });
    connect(cmbIRPort, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            onIrPortChosen();
    });
    for (QComboBox *list : {cmbComDevice, cmbIRDevice})
        connect(list, &QComboBox::currentTextChanged, this,
                [this, list](const QString &text) { deviceEdited(list, text); });
    connect(cmdTest, &QPushButton::clicked, this, &OptionsDialog::testPort);
    connect(cmdReadSMSC, &QToolButton::clicked, this, &OptionsDialog::readMessageCentre);
    connect(cmdOK, &QPushButton::clicked, this, &OptionsDialog::onOkClicked);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(&m_jobs, &PortTest::testDone, this, &OptionsDialog::onPortTested);
    connect(&m_jobs, &PortTest::readSMSCDone, this, &OptionsDialog::onMessageCentreRead);
    showCurrentPage();
}

// ------------------------------------------------------------------ building

QComboBox *OptionsDialog::portList(QWidget *parent, const QString &name)
{
    auto *list = named(new QComboBox(parent), name);
    for (int n = 1; n <= PortCount; ++n)
        list->addItem(QStringLiteral("COM%1").arg(n), n);
    list->setCurrentIndex(-1);
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return list;
}

QComboBox *OptionsDialog::deviceList(QWidget *parent, const QString &name)
{
    auto *list = named(new QComboBox(parent), name);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setMinimumWidth(170);
    // A long path scrolls in the box instead of widening the dialog.
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMinimumContentsLength(kDeviceChars);
    list->setToolTip(QStringLiteral("The device this port number stands for on this computer."));
    list->setVisible(m_showDevices);
    return list;
}

QHBoxLayout *OptionsDialog::deviceRow(QWidget *frame, QComboBox *list, const QString &caption)
{
    auto *label = new QLabel(caption, frame);
    label->setBuddy(list);
    label->setVisible(m_showDevices);
    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(list, 1);
    return row;
}

void OptionsDialog::buildSerialFrame()
{
    fraCOMport = frame(this, QStringLiteral("fraCOMport"), QStringLiteral("Nokia Data Suite / Nokia virtual serial port"));
    cmbComPort = portList(fraCOMport, QStringLiteral("cmbComPort"));
    cmdTest = dialogButton(fraCOMport, QStringLiteral("cmdTest"), QStringLiteral("&Test"), false);
    cmbComDevice = deviceList(fraCOMport, QStringLiteral("cmbComDevice"));
    lblSerialStatus = named(new QLabel(fraCOMport), QStringLiteral("lblSerialStatus"));
    lblSerialStatus->setWordWrap(true);
    lblSerialStatus->setMinimumHeight(2 * lblSerialStatus->fontMetrics().lineSpacing());
    // A status naming a long device wraps in the frame, never widens it.
    lblSerialStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto *port = new QHBoxLayout;
    port->addWidget(cmbComPort);
    port->addStretch(1);
    port->addWidget(cmdTest);
    auto *box = new QVBoxLayout(fraCOMport);
    box->addLayout(port);
    box->addLayout(deviceRow(fraCOMport, cmbComDevice, QStringLiteral("&Device:")));
    box->addWidget(lblSerialStatus);
    box->addStretch(1);
    m_pages->addWidget(fraCOMport);
    m_frames.insert(QStringLiteral("Serial"), fraCOMport);
}

void OptionsDialog::buildSmsFrame()
{
    fraSMS = frame(this, QStringLiteral("fraSMS"), QStringLiteral("Short Message Service"));
    lblOptSMSC = named(new QLabel(QStringLiteral("Message Center Number:"), fraSMS), QStringLiteral("lblOptSMSC"));
    lblPrefix = named(new QLabel(QStringLiteral("+"), fraSMS), QStringLiteral("lblPrefix"));
    txtOptSMSC = named(new QLineEdit(fraSMS), QStringLiteral("txtOptSMSC"));
    txtOptSMSC->installEventFilter(this);
    lblOptSMSC->setBuddy(txtOptSMSC);
    cmdReadSMSC = named(new QToolButton(fraSMS), QStringLiteral("cmdReadSMSC"));
    cmdReadSMSC->setToolTip(QStringLiteral("Read Message Center Number from phone"));
    cmdReadSMSC->setIcon(QIcon(QStringLiteral(":/icons/readsmsc.svg")));
    cmdReadSMSC->setIconSize(QSize(20, 20));
    lblReadStatus = named(new QLabel(fraSMS), QStringLiteral("lblReadStatus"));
    lblReadStatus->setWordWrap(true);
    lblReadStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    chkStatusReport = named(new QCheckBox(QStringLiteral("Status &Report"), fraSMS), QStringLiteral("chkStatusReport"));

    auto *number = new QHBoxLayout;
    number->addWidget(lblPrefix);
    number->addWidget(txtOptSMSC, 1);
    number->addWidget(cmdReadSMSC);
    auto *box = new QVBoxLayout(fraSMS);
    box->addWidget(lblOptSMSC);
    box->addLayout(number);
    box->addWidget(lblReadStatus);
    box->addStretch(1);
    box->addWidget(chkStatusReport);
    m_pages->addWidget(fraSMS);
    m_frames.insert(QStringLiteral("SMS"), fraSMS);
}

void OptionsDialog::buildAdvancedFrame()
{
    fraAdvanced = frame(this, QStringLiteral("fraAdvanced"), QStringLiteral("Advanced"));
    lblRead = named(new QLabel(QStringLiteral("Read phonebook from:"), fraAdvanced), QStringLiteral("lblRead"));
    chkPbookReadSM = named(new QCheckBox(QStringLiteral("SIM"), fraAdvanced), QStringLiteral("chkPbookReadSM"));
    chkPbookReadME = named(new QCheckBox(QStringLiteral("Phone"), fraAdvanced), QStringLiteral("chkPbookReadME"));
    lblFT = named(new QLabel(QStringLiteral("Associate Nokia filetypes:"), fraAdvanced), QStringLiteral("lblFT"));
    chkFT = named(new QCheckBox(QStringLiteral("Always at startup"), fraAdvanced), QStringLiteral("chkFT"));
    chkFT->setToolTip(QStringLiteral("Associate known Nokia logo filetypes at program-startup, recommended"));
    chkFTWarn = named(new QCheckBox(QStringLiteral("Display warning"), fraAdvanced), QStringLiteral("chkFTWarn"));
    chkFTWarn->setToolTip(
        QStringLiteral("Display warning if not all known Nokia logo filetypes are associated at program-startup"));
    chkQuickLink = named(new QCheckBox(QStringLiteral("&Quick link (advance as soon as the phone answers)"), fraAdvanced),
                         QStringLiteral("chkQuickLink"));
    chkQuickLink->setToolTip(QStringLiteral("Go on with the next command as soon as the phone has answered, "
                                            "instead of once a second"));
    // The switches of the file types a program offers to claim at start-up.
    const bool fileTypes = !m_doc.profile().extraFileTypes.isEmpty();
    for (QWidget *w : {static_cast<QWidget *>(lblFT), static_cast<QWidget *>(chkFT), static_cast<QWidget *>(chkFTWarn)})
        w->setVisible(fileTypes);

    auto *grid = new QGridLayout(fraAdvanced);
    grid->addWidget(lblRead, 0, 0, 1, 2);
    grid->addWidget(chkPbookReadSM, 1, 0);
    grid->addWidget(chkPbookReadME, 1, 1);
    grid->setRowMinimumHeight(2, 8);
    grid->addWidget(lblFT, 3, 0, 1, 2);
    grid->addWidget(chkFT, 4, 0);
    grid->addWidget(chkFTWarn, 4, 1);
    grid->setRowMinimumHeight(5, 8);
    grid->addWidget(chkQuickLink, 6, 0, 1, 3);
    grid->setRowStretch(7, 1);
    grid->setColumnStretch(2, 1);
    m_pages->addWidget(fraAdvanced);
    m_frames.insert(QStringLiteral("Advanced"), fraAdvanced);
}

void OptionsDialog::buildIrFrame()
{
    fraIR = frame(this, QStringLiteral("fraIR"), QStringLiteral("IR port (only for upload via IR to 61xx)"));
    cmbIRPort = portList(fraIR, QStringLiteral("cmbIRPort"));
    cmbIRDevice = deviceList(fraIR, QStringLiteral("cmbIRDevice"));
    lblInstr = named(new QLabel(QStringLiteral("Select the physical COM-port for your IR-device."), fraIR),
                     QStringLiteral("lblInstr"));

    auto *port = new QHBoxLayout;
    port->addWidget(cmbIRPort);
    port->addStretch(1);
    auto *box = new QVBoxLayout(fraIR);
    box->addLayout(port);
    box->addLayout(deviceRow(fraIR, cmbIRDevice, QStringLiteral("D&evice:")));
    box->addWidget(lblInstr);
    box->addStretch(1);
    m_pages->addWidget(fraIR);
    m_frames.insert(QStringLiteral("IR"), fraIR);
}

// ------------------------------------------------------------------ branding

void OptionsDialog::applyBranding(bool smsHidden, bool storeHidden, bool irHidden)
{
    const bool phoneHidden = smsHidden && storeHidden;
    if (phoneHidden && irHidden) {
        TabStrip1->hide();
        m_pages->hide();
        for (QGroupBox *f : std::as_const(m_frames))
            f->hide();
        return;
    }
    if (phoneHidden) {
        for (const QString &key : {QStringLiteral("Serial"), QStringLiteral("SMS"), QStringLiteral("Advanced")})
            removePage(key);
    } else if (irHidden) {
        removePage(QStringLiteral("IR"));
    }
    showCurrentPage();
}

void OptionsDialog::removePage(const QString &key)
{
    for (int i = 0; i < TabStrip1->count(); ++i)
        if (TabStrip1->tabData(i).toString() == key) {
            TabStrip1->removeTab(i);
            break;
        }
    QGroupBox *f = m_frames.value(key);
    m_pages->removeWidget(f);
    f->hide();
}

void OptionsDialog::showCurrentPage()
{
    if (QGroupBox *f = m_frames.value(TabStrip1->tabData(TabStrip1->currentIndex()).toString()))
        m_pages->setCurrentWidget(f);
}

// ------------------------------------------------------------------ load and save

void OptionsDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    load();
}

void OptionsDialog::load()
{
    SettingsStore &settings = m_doc.settings();
    const QString own = m_doc.section();
    m_smsc = settings.read(kSharedSection, kSMSC);
    txtOptSMSC->setText(m_smsc);
    chkPbookReadSM->setChecked(settings.readBool(kSharedSection, kReadSM, true));
    chkPbookReadME->setChecked(settings.readBool(kSharedSection, kReadME, true));
    chkQuickLink->setChecked(quickLinkSetting(settings));
    // These count as on only when they read as exactly 1.
    chkFT->setChecked(settings.readInt(own, kFileTypeOnStartup, 0) == 1);
    chkFTWarn->setChecked(settings.readInt(own, kFileTypeWarn, 0) == 1);
    chkStatusReport->setChecked(settings.readInt(own, kStatusReport, 0) == 1);
    lblSerialStatus->clear();
    lblReadStatus->clear();

    m_comPort = settings.readInt(kSharedSection, kCOMPort, 0);
    m_irPort = settings.readInt(kSharedSection, kIRPort, 2);
    m_devices.clear();
    for (int n = 1; n <= PortCount; ++n)
        m_devices.insert(n, settings.portDevice(n));
    const QStringList present = SerialLink::availableDevices();
    m_filling = true;
    for (QComboBox *list : {cmbComDevice, cmbIRDevice}) {
        list->clear();
        list->addItems(present);
    }
    refreshPortTexts();
    // A number outside the list selects nothing (and then counts as none).
    cmbComPort->setCurrentIndex(cmbComPort->findData(m_comPort));
    cmbIRPort->setCurrentIndex(cmbIRPort->findData(m_irPort));
    m_filling = false;
    onComPortChosen();
    onIrPortChosen();
    showCurrentPage();
}

bool OptionsDialog::save()
{
    SettingsStore &settings = m_doc.settings();
    const QString own = m_doc.section();
    settings.write(kSharedSection, kSMSC, m_smsc);
    settings.writeInt(kSharedSection, kCOMPort, m_comPort);
    settings.writeInt(kSharedSection, kIRPort, m_irPort);
    settings.writeBool(kSharedSection, kReadSM, chkPbookReadSM->isChecked());
    settings.writeBool(kSharedSection, kReadME, chkPbookReadME->isChecked());
    settings.writeBool(kSharedSection, kQuickLink, chkQuickLink->isChecked());
    // A device that is the number's own default needs no entry.
    for (int n = 1; n <= PortCount; ++n) {
        const QString device = m_devices.value(n);
        if (device.isEmpty() || device == SettingsStore::defaultPortDevice(n)) {
            if (settings.contains(kSharedSection, deviceKey(n)))
                settings.remove(kSharedSection, deviceKey(n));
        } else if (settings.read(kSharedSection, deviceKey(n)) != device) {
            settings.write(kSharedSection, deviceKey(n), device);
        }
    }
    if (!m_doc.profile().extraFileTypes.isEmpty()) {
        settings.writeInt(own, kFileTypeOnStartup, chkFT->isChecked() ? 1 : 0);
        settings.writeInt(own, kFileTypeWarn, chkFTWarn->isChecked() ? 1 : 0);
    }
    settings.writeInt(own, kStatusReport, chkStatusReport->isChecked() ? 1 : 0);
    return settings.sync();
}

// ------------------------------------------------------------------ ports

QString OptionsDialog::deviceOf(int port) const
{
    const QString device = m_devices.value(port);
    return device.isEmpty() ? SettingsStore::defaultPortDevice(port) : device;
}

void OptionsDialog::refreshPortTexts()
{
    for (QComboBox *list : {cmbComPort, cmbIRPort})
        for (int i = 0; i < list->count(); ++i) {
            const int n = list->itemData(i).toInt();
            QString text = QStringLiteral("COM%1").arg(n);
            QString tip;
            if (m_showDevices) {
                // A long path is cut in its middle, whole in the tool tip.
                const QString device = deviceOf(n);
                const QString shown = list->fontMetrics().elidedText(
                    device, Qt::ElideMiddle, list->fontMetrics().averageCharWidth() * kDeviceChars);
                text += QStringLiteral("  (%1)").arg(shown);
                if (shown != device)
                    tip = device;
            }
            list->setItemText(i, text);
            list->setItemData(i, tip.isEmpty() ? QVariant() : QVariant(tip), Qt::ToolTipRole);
        }
}

void OptionsDialog::showDevice(QComboBox *list, int port)
{
    const bool filling = m_filling;
    m_filling = true;
    list->setEnabled(port > 0 && !(m_locked && list == cmbComDevice));
    list->setEditText(port > 0 ? deviceOf(port) : QString());
    m_filling = filling;
}

void OptionsDialog::deviceEdited(QComboBox *list, const QString &text)
{
    if (m_filling)
        return;
    const int port = (list == cmbComDevice ? cmbComPort : cmbIRPort)->currentData().toInt();
    if (port <= 0)
        return;
    m_devices.insert(port, text.trimmed());
    refreshPortTexts();
}

void OptionsDialog::onComPortChosen()
{
    m_comPort = cmbComPort->currentIndex() >= 0 ? cmbComPort->currentData().toInt() : 0;
    if (m_comPort > 0)
        lblSerialStatus->setText(QStringLiteral("First establish cable/IR connection, then test COM%1").arg(m_comPort));
    else
        lblSerialStatus->setText(QStringLiteral("Select the virtual Nokia COM-port."));
    showDevice(cmbComDevice, m_comPort);
    updateJobButtons();
}

void OptionsDialog::onIrPortChosen()
{
    m_irPort = cmbIRPort->currentIndex() >= 0 ? cmbIRPort->currentData().toInt() : 0;
    showDevice(cmbIRDevice, m_irPort);
}

// ------------------------------------------------------------------ message centre

bool OptionsDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtOptSMSC && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        // Leaving for another window (a message box among them) is no
        // decision; leaving for OK or Cancel is judged (or not) by them.
        QWidget *next = QApplication::focusWidget();
        const bool report = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
                            next != cmdOK && next != cmdCancel;
        takeMessageCentre(report);
    }
    return QDialog::eventFilter(watched, event);
}

void OptionsDialog::takeMessageCentre(bool report)
{
    m_smsc = DigitsOnly(txtOptSMSC->text());
    txtOptSMSC->setText(m_smsc);
    if (report)
        validate();
}

bool OptionsDialog::validate()
{
    if (!m_smsc.startsWith(QLatin1Char('0')))
        return true;
    m_doc.prompt().critical(m_doc.profile().productName, PortTest::CountryCodeMessage());
    return false;
}

void OptionsDialog::onOkClicked()
{
    takeMessageCentre(false);
    if (!validate()) {
        txtOptSMSC->setFocus();
        return;
    }
    // Settings that could not be written keep the dialog open: the user can
    // make room and try again, or cancel.
    if (!save()) {
        m_doc.prompt().critical(m_doc.profile().productName, m_doc.settings().writeFailedMessage());
        return;
    }
    accept();
}

// ------------------------------------------------------------------ the jobs

void OptionsDialog::LockDialog(bool locked)
{
    m_locked = locked;
    cmdOK->setEnabled(!locked);
    cmdCancel->setEnabled(!locked);
    TabStrip1->setEnabled(!locked);
    // Both jobs talk to the chosen port: neither it nor the other job may
    // change while one runs.
    cmbComPort->setEnabled(!locked);
    cmbComDevice->setEnabled(!locked && m_comPort > 0);
    updateJobButtons();
}

void OptionsDialog::updateJobButtons()
{
    const bool can = m_comPort > 0 && !m_locked;
    cmdTest->setEnabled(can);
    cmdReadSMSC->setEnabled(can);
}

void OptionsDialog::testPort()
{
    QCoreApplication::processEvents();
    m_wait.emplace();
    LockDialog(true);
    lblSerialStatus->setText(QStringLiteral("Testing COM%1 ... please wait!").arg(m_comPort));
    m_jobs.testPort(m_comPort, deviceOf(m_comPort));
}

void OptionsDialog::onPortTested(int code)
{
    m_wait.reset();
    LockDialog(false);
    lblSerialStatus->setText(labelText(m_jobs.testStatus(code, m_comPort)));
    if (code == PortTest::TestNokia)
        cmdOK->setFocus();
    else
        cmbComPort->setFocus();
}

void OptionsDialog::readMessageCentre()
{
    QCoreApplication::processEvents();
    m_wait.emplace();
    LockDialog(true);
    lblReadStatus->setText(QStringLiteral("Checking..."));
    m_jobs.readMessageCentre(m_comPort, deviceOf(m_comPort));
}

void OptionsDialog::onMessageCentreRead(int code)
{
    m_wait.reset();
    LockDialog(false);
    lblReadStatus->setText(labelText(m_jobs.readStatus(code)));
    if (code == PortTest::ReadInternational || code == PortTest::ReadNational) {
        // The read has stored the number; the working copy follows, so that
        // OK keeps it.
        m_smsc = m_doc.settings().read(kSharedSection, kSMSC);
        txtOptSMSC->setText(m_smsc);
    } else if (code == PortTest::ReadNoNumber) {
        m_smsc.clear();
        txtOptSMSC->clear();
    }
    const QString message =
        code == PortTest::ReadNotStored ? m_doc.settings().writeFailedMessage() : PortTest::ReadMessage(code);
    if (!message.isEmpty())
        m_doc.prompt().critical(m_doc.profile().productName, message);
}

void OptionsDialog::reject()
{
    // Cancel is locked while a job runs; Escape and the window's close
    // button are refused alike.
    if (m_locked)
        return;
    QDialog::reject();
}

void OptionsDialog::closeEvent(QCloseEvent *event)
{
    if (m_locked) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace logo
