#include "widgets/optionsdialog.h"

#include "desktop/programcontext.h"
#include "desktop/settingsstore.h"
#include "graphic/logodocument.h"
#include "sms/digits.h"
#include "phone/atengine.h"
#include "phone/porttest.h"
#include "phone/seriallink.h"
#include "widgets/dialoglayout.h"
#include "widgets/resourceicon.h"

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

// Tabs in order: caption and key.
const struct {
    const char *caption;
    const char *key;
} kTabs[] = {{"Serial Port", "Serial"}, {"SMS", "SMS"}, {"Advanced", "Advanced"}, {"IR Port", "IR"}};

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

OptionsDialog::OptionsDialog(ProgramContext &context, AtEngine &engine, QWidget *parent, bool showDevices)
    : QDialog(parent), m_context(context), m_engine(engine), m_showDevices(showDevices)
{
    setUpDialog(this, QStringLiteral("frmOptionsDialog"), QStringLiteral("Options"));

    tabBar = named(new QTabBar(this), QStringLiteral("TabStrip1"));
    tabBar->setExpanding(false);
    for (const auto &t : kTabs) {
        const int i = tabBar->addTab(QString::fromLatin1(t.caption));
        tabBar->setTabData(i, QString::fromLatin1(t.key));
    }
    m_pages = named(new QStackedWidget(this), QStringLiteral("pages"));
    buildSerialFrame();
    buildSmsFrame();
    buildAdvancedFrame();
    buildIrFrame();

    okButton = dialogButton(this, QStringLiteral("cmdOK"), QStringLiteral("&OK"), true);
    cancelButton = dialogButton(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"), false);

    auto *top = new QVBoxLayout(this);
    top->setSpacing(0);
    top->addWidget(tabBar);
    top->addWidget(m_pages);
    top->addSpacing(10);
    top->addLayout(buttonRow({okButton, cancelButton}));
    top->setSizeConstraint(QLayout::SetFixedSize);

    connect(tabBar, &QTabBar::currentChanged, this, &OptionsDialog::showCurrentPage);
    connect(comPortList, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            onComPortChosen();
    });
    connect(irPortList, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            onIrPortChosen();
    });
    for (QComboBox *list : {comDeviceList, irDeviceList})
        connect(list, &QComboBox::currentTextChanged, this,
                [this, list](const QString &text) { deviceEdited(list, text); });
    connect(testButton, &QPushButton::clicked, this, &OptionsDialog::testPort);
    connect(readMessageCentreButton, &QToolButton::clicked, this, &OptionsDialog::readMessageCentre);
    connect(okButton, &QPushButton::clicked, this, &OptionsDialog::onOkClicked);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
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
    list->setMinimumContentsLength(DeviceChars);
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
    portBox = frame(this, QStringLiteral("fraCOMport"), QStringLiteral("Nokia Data Suite / Nokia virtual serial port"));
    comPortList = portList(portBox, QStringLiteral("cmbComPort"));
    testButton = dialogButton(portBox, QStringLiteral("cmdTest"), QStringLiteral("&Test"), false);
    comDeviceList = deviceList(portBox, QStringLiteral("cmbComDevice"));
    portStatusLabel = named(new QLabel(portBox), QStringLiteral("lblSerialStatus"));
    portStatusLabel->setWordWrap(true);
    portStatusLabel->setMinimumHeight(2 * portStatusLabel->fontMetrics().lineSpacing());
    // A status naming a long device wraps in the frame, never widens it.
    portStatusLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto *port = new QHBoxLayout;
    port->addWidget(comPortList);
    port->addStretch(1);
    port->addWidget(testButton);
    auto *box = new QVBoxLayout(portBox);
    box->addLayout(port);
    box->addLayout(deviceRow(portBox, comDeviceList, QStringLiteral("&Device:")));
    box->addWidget(portStatusLabel);
    box->addStretch(1);
    m_pages->addWidget(portBox);
    m_frames.insert(QStringLiteral("Serial"), portBox);
}

void OptionsDialog::buildSmsFrame()
{
    smsBox = frame(this, QStringLiteral("fraSMS"), QStringLiteral("Short Message Service"));
    messageCentreLabel = named(new QLabel(QStringLiteral("Message Center Number:"), smsBox), QStringLiteral("lblOptSMSC"));
    prefixLabel = named(new QLabel(QStringLiteral("+"), smsBox), QStringLiteral("lblPrefix"));
    messageCentreEdit = named(new QLineEdit(smsBox), QStringLiteral("txtOptSMSC"));
    messageCentreEdit->installEventFilter(this);
    messageCentreLabel->setBuddy(messageCentreEdit);
    readMessageCentreButton = named(new QToolButton(smsBox), QStringLiteral("cmdReadSMSC"));
    readMessageCentreButton->setToolTip(QStringLiteral("Read Message Center Number from phone"));
    readMessageCentreButton->setIcon(resourceIcon(QStringLiteral("readsmsc")));
    readMessageCentreButton->setIconSize(QSize(20, 20));
    readStatusLabel = named(new QLabel(smsBox), QStringLiteral("lblReadStatus"));
    readStatusLabel->setWordWrap(true);
    readStatusLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusReportBox = named(new QCheckBox(QStringLiteral("Status &Report"), smsBox), QStringLiteral("chkStatusReport"));

    auto *number = new QHBoxLayout;
    number->addWidget(prefixLabel);
    number->addWidget(messageCentreEdit, 1);
    number->addWidget(readMessageCentreButton);
    auto *box = new QVBoxLayout(smsBox);
    box->addWidget(messageCentreLabel);
    box->addLayout(number);
    box->addWidget(readStatusLabel);
    box->addStretch(1);
    box->addWidget(statusReportBox);
    m_pages->addWidget(smsBox);
    m_frames.insert(QStringLiteral("SMS"), smsBox);
}

void OptionsDialog::buildAdvancedFrame()
{
    advancedBox = frame(this, QStringLiteral("fraAdvanced"), QStringLiteral("Advanced"));
    phonebookLabel = named(new QLabel(QStringLiteral("Read phonebook from:"), advancedBox), QStringLiteral("lblRead"));
    readSimBox = named(new QCheckBox(QStringLiteral("SIM"), advancedBox), QStringLiteral("chkPbookReadSM"));
    readPhoneBox = named(new QCheckBox(QStringLiteral("Phone"), advancedBox), QStringLiteral("chkPbookReadME"));
    fileTypeLabel = named(new QLabel(QStringLiteral("Associate Nokia filetypes:"), advancedBox), QStringLiteral("lblFT"));
    claimTypesBox = named(new QCheckBox(QStringLiteral("Always at startup"), advancedBox), QStringLiteral("chkFT"));
    claimTypesBox->setToolTip(QStringLiteral("Associate known Nokia logo filetypes at program-startup, recommended"));
    askTypesBox = named(new QCheckBox(QStringLiteral("Display warning"), advancedBox), QStringLiteral("chkFTWarn"));
    askTypesBox->setToolTip(
        QStringLiteral("Display warning if not all known Nokia logo filetypes are associated at program-startup"));
    quickLinkBox = named(new QCheckBox(QStringLiteral("&Quick link (advance as soon as the phone answers)"), advancedBox),
                         QStringLiteral("chkQuickLink"));
    quickLinkBox->setToolTip(QStringLiteral("Go on with the next command as soon as the phone has answered, "
                                            "instead of once a second"));
    // The switches of the file types a program offers to claim at start-up.
    const bool fileTypes = !m_context.profile.extraFileTypes.isEmpty();
    for (QWidget *w : {static_cast<QWidget *>(fileTypeLabel), static_cast<QWidget *>(claimTypesBox), static_cast<QWidget *>(askTypesBox)})
        w->setVisible(fileTypes);

    auto *grid = new QGridLayout(advancedBox);
    grid->addWidget(phonebookLabel, 0, 0, 1, 2);
    grid->addWidget(readSimBox, 1, 0);
    grid->addWidget(readPhoneBox, 1, 1);
    grid->setRowMinimumHeight(2, 8);
    grid->addWidget(fileTypeLabel, 3, 0, 1, 2);
    grid->addWidget(claimTypesBox, 4, 0);
    grid->addWidget(askTypesBox, 4, 1);
    grid->setRowMinimumHeight(5, 8);
    grid->addWidget(quickLinkBox, 6, 0, 1, 3);
    grid->setRowStretch(7, 1);
    grid->setColumnStretch(2, 1);
    m_pages->addWidget(advancedBox);
    m_frames.insert(QStringLiteral("Advanced"), advancedBox);
}

void OptionsDialog::buildIrFrame()
{
    infraredBox = frame(this, QStringLiteral("fraIR"), QStringLiteral("IR port (only for upload via IR to 61xx)"));
    irPortList = portList(infraredBox, QStringLiteral("cmbIRPort"));
    irDeviceList = deviceList(infraredBox, QStringLiteral("cmbIRDevice"));
    instructionLabel = named(new QLabel(QStringLiteral("Select the physical COM-port for your IR-device."), infraredBox),
                     QStringLiteral("lblInstr"));

    auto *port = new QHBoxLayout;
    port->addWidget(irPortList);
    port->addStretch(1);
    auto *box = new QVBoxLayout(infraredBox);
    box->addLayout(port);
    box->addLayout(deviceRow(infraredBox, irDeviceList, QStringLiteral("D&evice:")));
    box->addWidget(instructionLabel);
    box->addStretch(1);
    m_pages->addWidget(infraredBox);
    m_frames.insert(QStringLiteral("IR"), infraredBox);
}

// ------------------------------------------------------------------ branding

void OptionsDialog::applyBranding(bool smsHidden, bool storeHidden, bool irHidden)
{
    const bool phoneHidden = smsHidden && storeHidden;
    if (phoneHidden && irHidden) {
        tabBar->hide();
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
    for (int i = 0; i < tabBar->count(); ++i)
        if (tabBar->tabData(i).toString() == key) {
            tabBar->removeTab(i);
            break;
        }
    QGroupBox *f = m_frames.value(key);
    m_pages->removeWidget(f);
    f->hide();
}

void OptionsDialog::showCurrentPage()
{
    if (QGroupBox *f = m_frames.value(tabBar->tabData(tabBar->currentIndex()).toString()))
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
    SettingsStore &settings = m_context.settings;
    const QString own = m_context.section();
    m_smsc = settings.read(kSharedSection, kSMSC);
    messageCentreEdit->setText(m_smsc);
    readSimBox->setChecked(settings.readBool(kSharedSection, kReadSM, true));
    readPhoneBox->setChecked(settings.readBool(kSharedSection, kReadME, true));
    quickLinkBox->setChecked(quickLinkSetting(settings));
    // These count as on only when they read as exactly 1.
    claimTypesBox->setChecked(settings.readInt(own, kFileTypeOnStartup, 0) == 1);
    askTypesBox->setChecked(settings.readInt(own, kFileTypeWarn, 0) == 1);
    statusReportBox->setChecked(settings.readInt(own, kStatusReport, 0) == 1);
    portStatusLabel->clear();
    readStatusLabel->clear();

    m_comPort = settings.readInt(kSharedSection, kCOMPort, 0);
    m_irPort = settings.readInt(kSharedSection, kIRPort, 2);
    m_devices.clear();
    for (int n = 1; n <= PortCount; ++n)
        m_devices.insert(n, settings.portDevice(n));
    const QStringList present = SerialLink::availableDevices();
    m_filling = true;
    for (QComboBox *list : {comDeviceList, irDeviceList}) {
        list->clear();
        list->addItems(present);
    }
    refreshPortTexts();
    // A number outside the list selects nothing (and then counts as none).
    comPortList->setCurrentIndex(comPortList->findData(m_comPort));
    irPortList->setCurrentIndex(irPortList->findData(m_irPort));
    m_filling = false;
    onComPortChosen();
    onIrPortChosen();
    showCurrentPage();
}

bool OptionsDialog::save()
{
    SettingsStore &settings = m_context.settings;
    const QString own = m_context.section();
    settings.write(kSharedSection, kSMSC, m_smsc);
    settings.writeInt(kSharedSection, kCOMPort, m_comPort);
    settings.writeInt(kSharedSection, kIRPort, m_irPort);
    settings.writeBool(kSharedSection, kReadSM, readSimBox->isChecked());
    settings.writeBool(kSharedSection, kReadME, readPhoneBox->isChecked());
    settings.writeBool(kSharedSection, kQuickLink, quickLinkBox->isChecked());
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
    if (!m_context.profile.extraFileTypes.isEmpty()) {
        settings.writeInt(own, kFileTypeOnStartup, claimTypesBox->isChecked() ? 1 : 0);
        settings.writeInt(own, kFileTypeWarn, askTypesBox->isChecked() ? 1 : 0);
    }
    settings.writeInt(own, kStatusReport, statusReportBox->isChecked() ? 1 : 0);
    return settings.sync();
}

// ------------------------------------------------------------------ message centre

bool OptionsDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == messageCentreEdit && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        // Leaving for another window (a message box among them) is no
        // decision; leaving for OK or Cancel is judged (or not) by them.
        QWidget *next = QApplication::focusWidget();
        const bool report = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
                            next != okButton && next != cancelButton;
        takeMessageCentre(report);
    }
    return QDialog::eventFilter(watched, event);
}

void OptionsDialog::takeMessageCentre(bool report)
{
    m_smsc = digitsOnly(messageCentreEdit->text());
    messageCentreEdit->setText(m_smsc);
    if (report)
        validate();
}

bool OptionsDialog::validate()
{
    if (!m_smsc.startsWith(QLatin1Char('0')))
        return true;
    m_context.prompt.critical(m_context.profile.productName, PortTestJob::countryCodeMessage());
    return false;
}

void OptionsDialog::onOkClicked()
{
    takeMessageCentre(false);
    if (!validate()) {
        messageCentreEdit->setFocus();
        return;
    }
    // Settings that could not be written keep the dialog open: the user can
    // make room and try again, or cancel.
    if (!save()) {
        m_context.prompt.critical(m_context.profile.productName, m_context.settings.writeFailedMessage());
        return;
    }
    accept();
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
