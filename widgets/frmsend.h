#pragma once
// The send dialog: the destination number in international form. Send saves it
// as "LastDA" and runs the job in the sending-progress dialog.
#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace logo {

class SmsDelivery;

class frmSend : public QDialog {
    Q_OBJECT
public:
    explicit frmSend(SmsDelivery &delivery, QWidget *parent = nullptr);

    QLineEdit *txtDA;
    QComboBox *cmbPhonebook;
    QToolButton *cmdPhonebook;
    QPushButton *cmdSend;
    QPushButton *cmdCancel;

    // The number that was in "LastDA" when the dialog was activated.
    QString lastUsedNumber() const { return m_lastUsed; }

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillPhonebookList();
    void cmbPhonebook_Click(int index);
    void cmdSend_Click();

    SmsDelivery &m_delivery;
    QString m_lastUsed;
};

} // namespace logo
