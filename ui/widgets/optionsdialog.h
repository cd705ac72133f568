#pragma once
// The options dialog: how the programs reach the phone (the serial port, its
// test, the message centre and its read, the phonebook memories) and the
// infrared adapter's port. It edits a working copy, written to the settings
// only on OK; every opening shows the stored values again.
//
// On Linux each port number n stands for a device ("Device<n>" of the shared
// settings section); the dialog shows it beside the number and lets the user
// pick another one. The number stays what the settings and messages use.
#include "desktop/waitcursor.h"

#include <QDialog>
#include <QMap>
#include <QPointer>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTabBar;
class QToolButton;

namespace logo {

class AtEngine;
struct ProgramContext;
class PortTestJob;
enum class ReadResult;
enum class TestResult;

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int PortCount = 8;   // COM1 to COM8
    static constexpr int DeviceChars = 24;   // the room given to a device path, in average characters

    // The port test and the message-centre read run on engine.
    // showDevices: the device of each port number is shown and can be chosen
    // (everywhere but Windows, where COMn is the device).
    OptionsDialog(ProgramContext &context, AtEngine &engine, QWidget *parent = nullptr,
                  bool showDevices = defaultShowDevices());
    static bool defaultShowDevices();

    // What the branding file hid. Without sending and storing the phone's
    // pages go; without infrared its page goes; without all three, every page.
    void applyBranding(bool smsHidden, bool storeHidden, bool irHidden);

    // The ends of the port test and the message-centre read: the result and
    // its status line.
    void onPortTested(TestResult result, const QString &status);
    void onMessageCentreRead(ReadResult result, const QString &status);
    // While a job runs: OK, Cancel, the tabs, the port and both job buttons
    // are disabled, and the dialog can't be closed.
    void setLocked(bool locked);
    bool isLocked() const { return m_locked; }
    // Escape and Cancel; refused while locked.
    void reject() override;

    // The working copy.
    QString messageCentre() const { return m_smsc; }
    int phonePort() const { return m_comPort; }
    int irPort() const { return m_irPort; }
    QString deviceOf(int port) const;

    QTabBar *tabBar;
    QGroupBox *portBox, *smsBox, *advancedBox, *infraredBox;
    QComboBox *comPortList, *comDeviceList;
    QPushButton *testButton;
    QLabel *portStatusLabel;
    QLabel *messageCentreLabel, *prefixLabel, *readStatusLabel;
    QLineEdit *messageCentreEdit;
    QToolButton *readMessageCentreButton;
    QCheckBox *statusReportBox;
    QLabel *phonebookLabel, *fileTypeLabel;
    QCheckBox *readSimBox, *readPhoneBox, *claimTypesBox, *askTypesBox;
    QCheckBox *quickLinkBox;   // "QuickLink" of the shared section
    QComboBox *irPortList, *irDeviceList;
    QLabel *instructionLabel;
    QPushButton *okButton, *cancelButton;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildSerialFrame();
    void buildSmsFrame();
    void buildAdvancedFrame();
    void buildIrFrame();
    QComboBox *portList(QWidget *parent, const QString &name);
    QComboBox *deviceList(QWidget *parent, const QString &name);
    QHBoxLayout *deviceRow(QWidget *frame, QComboBox *list, const QString &caption);

    void load();
    bool save();
    void onComPortChosen();
    void onIrPortChosen();
    void deviceEdited(QComboBox *list, const QString &text);
    void showDevice(QComboBox *list, int port);
    void refreshPortTexts();
    void takeMessageCentre(bool report);
    bool validate();
    void showCurrentPage();
    void testPort();
    void readMessageCentre();
    void startJob(bool readMessageCentre);
    void onOkClicked();
    void updateJobButtons();
    void removePage(const QString &key);

    ProgramContext &m_context;
    AtEngine &m_engine;
    QPointer<PortTestJob> m_job;
    bool m_showDevices;
    QStackedWidget *m_pages;
    QMap<QString, QGroupBox *> m_frames;   // by tab key

    // Working copy.
    QString m_smsc;
    int m_comPort = 0;
    int m_irPort = 0;
    QMap<int, QString> m_devices;          // port number -> device

    bool m_locked = false;
    bool m_filling = false;                // lists being filled: their signals are ours
    std::optional<WaitCursor> m_wait;
};

} // namespace logo
