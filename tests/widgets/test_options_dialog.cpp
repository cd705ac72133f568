// The options dialog on a private settings store: what it shows, what OK and
// Cancel keep, the message-centre rules, branding and the lock while the port
// test or the message-centre read runs.
#include "common/testsupport.h"
#include "graphic/logodocument.h"
#include "phone/porttest.h"
#include "common/phonefakes.h"
#include "widgets/optionsdialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace logo;

namespace {

struct OptionsFixture : ::testing::Test, phonetest::Rig {
    OptionsDialog dlg{context, engine, nullptr, true};

    QString shared(const char *key) { return sb.settings().read(kSharedSection, key); }
    QString own(const char *key) { return sb.settings().read(doc.profile().settingsSection, key); }
    void leaveNumberBox()
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(dlg.messageCentreEdit, &out);
    }
    void choosePort(QComboBox *list, int port) { list->setCurrentIndex(list->findData(port)); }
};

} // namespace

TEST_F(OptionsFixture, ShowsTheStoredValuesCancelForgetsAndOkSaves)
{
    auto &s = sb.settings();
    s.write(kSharedSection, "SMSC", "4917");
    s.writeInt(kSharedSection, "COMPort", 3);
    s.write(kSharedSection, "PBookReadME", "False");
    s.write(kSharedSection, "Device3", "/dev/ttyUSB0");
    s.write(doc.profile().settingsSection, "StatusReport", "1");
    s.write(doc.profile().settingsSection, "FileTypeOnStartup", "1");
    s.write(doc.profile().settingsSection, "FileTypeWarn", "2");   // on only when exactly 1

    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "Options");
    EXPECT_EQ(dlg.messageCentreEdit->text(), "4917");
    EXPECT_EQ(dlg.comPortList->currentData().toInt(), 3);
    EXPECT_EQ(dlg.comPortList->currentText(), "COM3  (/dev/ttyUSB0)");
    EXPECT_EQ(dlg.comDeviceList->currentText(), "/dev/ttyUSB0");
    EXPECT_EQ(dlg.irPortList->currentData().toInt(), 2) << "infrared defaults to COM2";
    EXPECT_TRUE(dlg.readSimBox->isChecked());
    EXPECT_FALSE(dlg.readPhoneBox->isChecked());
    EXPECT_TRUE(dlg.statusReportBox->isChecked());
    EXPECT_TRUE(dlg.claimTypesBox->isChecked());
    EXPECT_FALSE(dlg.askTypesBox->isChecked());
    EXPECT_FALSE(dlg.quickLinkBox->isChecked()) << "the quick link is off unless set";
    EXPECT_EQ(dlg.portStatusLabel->text(), "First establish cable/IR connection, then test COM3");
    EXPECT_TRUE(dlg.testButton->isEnabled());

    auto change = [&] {
        choosePort(dlg.comPortList, 5);
        dlg.comDeviceList->setEditText("/dev/ttyACM0");
        dlg.messageCentreEdit->setText("+49 1");
        dlg.readPhoneBox->setChecked(true);
        dlg.askTypesBox->setChecked(true);
        dlg.quickLinkBox->setChecked(true);
    };
    change();
    EXPECT_EQ(dlg.comPortList->currentText(), "COM5  (/dev/ttyACM0)");
    const QByteArray before = logotest::readAll(sb.settingsFile());
    dlg.cancelButton->click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(logotest::readAll(sb.settingsFile()), before) << "nothing stored on Cancel";

    dlg.show();
    EXPECT_EQ(dlg.comPortList->currentData().toInt(), 3) << "reopened on the stored values";
    change();
    dlg.okButton->click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(shared("SMSC"), "491");
    EXPECT_EQ(shared("COMPort"), "5");
    EXPECT_EQ(shared("IRPort"), "2");
    EXPECT_EQ(shared("PBookReadSM"), "True");
    EXPECT_EQ(shared("PBookReadME"), "True");
    EXPECT_EQ(shared("QuickLink"), "True");
    EXPECT_EQ(shared("Device5"), "/dev/ttyACM0");
    EXPECT_EQ(shared("Device3"), "/dev/ttyUSB0");
    EXPECT_EQ(own("StatusReport"), "1");
    EXPECT_EQ(own("FileTypeOnStartup"), "1");
    EXPECT_EQ(own("FileTypeWarn"), "1");

    // A stored port outside the list selects nothing, locks out the test,
    // and OK stores no port; a device set back to the default is dropped.
    s.writeInt(kSharedSection, "COMPort", 9);
    dlg.show();
    EXPECT_EQ(dlg.comPortList->currentIndex(), -1);
    EXPECT_EQ(dlg.portStatusLabel->text(), "Select the virtual Nokia COM-port.");
    EXPECT_FALSE(dlg.testButton->isEnabled());
    EXPECT_FALSE(dlg.readMessageCentreButton->isEnabled());
    choosePort(dlg.irPortList, 5);
    dlg.irDeviceList->setEditText(SettingsStore::defaultPortDevice(5));
    choosePort(dlg.comPortList, -1);
    dlg.okButton->click();
    EXPECT_EQ(shared("COMPort"), "0");
    EXPECT_EQ(shared("IRPort"), "5");
    EXPECT_FALSE(s.contains(kSharedSection, "Device5"));
}

TEST_F(OptionsFixture, TheMessageCentreIsCleanedAndRefusedWithALeadingZero)
{
    const QString countryCode = "Please add the international country-code\r\nto your Message Center Number";
    dlg.show();
    dlg.messageCentreEdit->setText("+1 2-3");
    leaveNumberBox();
    EXPECT_EQ(dlg.messageCentreEdit->text(), "123");
    EXPECT_TRUE(prompt.shown.empty());

    dlg.messageCentreEdit->setText("0 171");
    leaveNumberBox();
    EXPECT_EQ(dlg.messageCentreEdit->text(), "0171");
    EXPECT_EQ(prompt.messages(), QStringList{countryCode});

    prompt.clear();
    dlg.okButton->click();
    EXPECT_EQ(prompt.messages(), QStringList{countryCode});
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(sb.settings().contains(kSharedSection, "SMSC"));

    dlg.messageCentreEdit->clear();
    dlg.okButton->click();
    EXPECT_FALSE(dlg.isVisible()) << "an empty number passes";
    EXPECT_TRUE(sb.settings().contains(kSharedSection, "SMSC"));
}

TEST_F(OptionsFixture, BrandingRemovesThePagesOfHiddenMethods)
{
    const struct {
        bool sms, store, ir;
        QStringList tabs;       // empty: no tabs and no frames at all
    } cases[] = {
        {true, true, false, {"IR"}},
        {false, false, true, {"Serial", "SMS", "Advanced"}},
        {true, false, false, {"Serial", "SMS", "Advanced", "IR"}},
        {true, true, true, {}},
    };
    for (const auto &c : cases) {
        OptionsDialog branded(context, engine, nullptr, true);
        branded.applyBranding(c.sms, c.store, c.ir);
        branded.show();
        QStringList keys;
        for (int i = 0; i < branded.tabBar->count(); ++i)
            keys << branded.tabBar->tabData(i).toString();
        if (c.tabs.isEmpty()) {
            EXPECT_FALSE(branded.tabBar->isVisible());
            for (QGroupBox *f : {branded.portBox, branded.smsBox, branded.advancedBox, branded.infraredBox})
                EXPECT_FALSE(f->isVisible()) << f->objectName().toStdString();
        } else {
            EXPECT_EQ(keys, c.tabs);
            EXPECT_EQ(branded.infraredBox->isVisible(), c.tabs.front() == "IR");
            EXPECT_EQ(branded.portBox->isVisible(), c.tabs.front() == "Serial");
        }
    }
}

TEST_F(OptionsFixture, LockedWhileATestRunsAndUnlockedAtItsEnd)
{
    sb.settings().writeInt(kSharedSection, "COMPort", 3);
    dlg.show();
    dlg.testButton->click();
    EXPECT_EQ(dlg.portStatusLabel->text(), "Testing COM3 ... please wait!");
    EXPECT_EQ(link.openedDevices, QStringList{SettingsStore::defaultPortDevice(3)});
    for (QWidget *w : std::initializer_list<QWidget *>{dlg.okButton, dlg.cancelButton, dlg.tabBar, dlg.testButton,
                                                       dlg.readMessageCentreButton, dlg.comPortList})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    dlg.reject();
    EXPECT_TRUE(dlg.isVisible()) << "Escape can't leave the dialog during a job";

    // The phone never answers: four ticks, then the result.
    for (int i = 0; i < 4; ++i)
        engine.tick();
    EXPECT_EQ(dlg.portStatusLabel->text(), "COM3 does not return valid data at the moment.");
    for (QWidget *w : std::initializer_list<QWidget *>{dlg.okButton, dlg.cancelButton, dlg.tabBar, dlg.testButton,
                                                       dlg.readMessageCentreButton, dlg.comPortList})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(OptionsFixture, TheReadNumberIsWhatOkKeeps)
{
    sb.settings().writeInt(kSharedSection, "COMPort", 3);
    sb.settings().write(kSharedSection, "SMSC", "4930");
    phonesim::PhoneCore phone;
    link.responder = phonetest::simulatedPhone(phone);
    ticks.autoFire = true;
    dlg.show();
    QSignalSpy done(&engine, &AtEngine::finished);
    dlg.readMessageCentreButton->click();
    EXPECT_EQ(dlg.readStatusLabel->text(), "Checking...");
    EXPECT_FALSE(dlg.okButton->isEnabled());
    ASSERT_TRUE(done.wait(5000));
    EXPECT_EQ(dlg.readStatusLabel->text(), "Number has been read.");
    EXPECT_EQ(dlg.messageCentreEdit->text(), "491710760000");
    EXPECT_TRUE(dlg.okButton->isEnabled());
    dlg.okButton->click();
    EXPECT_EQ(shared("SMSC"), "491710760000");

    // A phone without a number: the box is emptied and the user told where
    // to find it.
    phonesim::Options none;
    none.smsc.clear();
    phone = phonesim::PhoneCore(none);
    dlg.show();
    dlg.readMessageCentreButton->click();
    ASSERT_TRUE(done.wait(5000));
    EXPECT_EQ(dlg.readStatusLabel->text(), "Could not find Number.");
    EXPECT_TRUE(dlg.messageCentreEdit->text().isEmpty());
    EXPECT_TRUE(prompt.lastMessage().startsWith("Could not find the Message Center Number.\r\n\r\n"));
}

TEST_F(OptionsFixture, ALongDevicePathIsCutAndTheDialogKeepsItsSize)
{
    dlg.show();
    QCoreApplication::processEvents();
    const QSize normal = dlg.size();
    const QString path = QStringLiteral("/dev/serial/by-id/usb-") + QString(120, QLatin1Char('x')) +
                         QStringLiteral("-if00-port0");
    choosePort(dlg.comPortList, 3);
    dlg.comDeviceList->setEditText(path);
    // A status naming the device wraps inside the frame.
    dlg.portStatusLabel->setText(QStringLiteral("Can't talk to COM3 (%1: Permission denied).").arg(path));
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg.size(), normal);
    EXPECT_EQ(dlg.comDeviceList->currentText(), path) << "the box keeps the whole path";
    const QString item = dlg.comPortList->currentText();
    EXPECT_TRUE(item.startsWith(QStringLiteral("COM3  (/dev/"))) << item.toStdString();
    EXPECT_TRUE(item.endsWith(QStringLiteral("port0)"))) << item.toStdString();
    EXPECT_TRUE(item.contains(QChar(0x2026))) << item.toStdString();
    EXPECT_EQ(dlg.comPortList->currentData(Qt::ToolTipRole).toString(), path);
    EXPECT_FALSE(dlg.comPortList->itemData(0, Qt::ToolTipRole).isValid()) << "a short device needs no tool tip";
    dlg.okButton->click();
    EXPECT_EQ(shared("Device3"), path);
}

TEST(OptionsDialogBrisvane, HasNoFileTypeSwitches)
{
    phonetest::Rig rig(ProgramProfile::brisvane());
    OptionsDialog dlg(rig.context, rig.engine, nullptr, true);
    dlg.show();
    dlg.tabBar->setCurrentIndex(2);
    EXPECT_TRUE(dlg.advancedBox->isVisible());
    EXPECT_FALSE(dlg.claimTypesBox->isVisible());
    EXPECT_FALSE(dlg.askTypesBox->isVisible());
    dlg.okButton->click();
    EXPECT_FALSE(rig.sb.settings().contains("Brisvane Settings", "FileTypeOnStartup"));
    EXPECT_EQ(rig.sb.settings().read("Brisvane Settings", "StatusReport"), "0");
}
