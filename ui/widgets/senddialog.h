#pragma once
// The send dialog: the destination number in international form, typed or
// picked from the phonebook. Send saves it as "LastDA" and runs the job in the
// sending-progress dialog.
#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace logo {

class PhonebookJob;
class SmsDelivery;
class ReadingDialog;

class SendDialog : public QDialog {
    Q_OBJECT
public:
    // Without a phonebook job (and its reading dialog) the list stays empty.
    SendDialog(SmsDelivery &delivery, PhonebookJob *phonebook, ReadingDialog *reading, QWidget *parent = nullptr);
    static constexpr int LastUsedItem = 9999;

    QLineEdit *numberEdit;
    QComboBox *phonebookList;
    QToolButton *phonebookButton;
    QPushButton *sendButton;
    QPushButton *cancelButton;

    // The number that was in "LastDA" when the dialog was activated.
    QString lastUsedNumber() const { return m_lastUsed; }

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillPhonebookList();
    void onPhonebookEntryChosen(int index);
    void readPhonebook();
    void onSendClicked();
    bool phonebookRead() const;

    SmsDelivery &m_delivery;
    PhonebookJob *m_phonebook;
    ReadingDialog *m_reading;
    QString m_lastUsed;
};

} // namespace logo
