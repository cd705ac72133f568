#pragma once
// The send dialog: the destination number in international form, typed or
// picked from the phonebook. It only asks: Send accepts the number when it
// can go, and whoever opened the dialog takes it from number().
#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace logo {

class Phonebook;
class Prompt;

class SendDialog : public QDialog {
    Q_OBJECT
public:
    // Messages go to prompt under title. Without a phonebook the list stays
    // empty and its button disabled.
    SendDialog(Prompt &prompt, const QString &title, Phonebook *phonebook, QWidget *parent = nullptr);
    static constexpr int LastUsedItem = 9999;

    QLineEdit *numberEdit;
    QComboBox *phonebookList;
    QToolButton *phonebookButton;
    QPushButton *sendButton;
    QPushButton *cancelButton;

    // The number the dialog shows when it opens ("LastDA").
    void setLastUsedNumber(const QString &number) { m_lastUsed = number; }
    QString lastUsedNumber() const { return m_lastUsed; }
    // The accepted number: its digits.
    QString number() const { return m_number; }
    // The list afresh from the phonebook.
    void fillPhonebookList();

signals:
    // Opened without a phonebook: the cache may fill it now.
    void phonebookWanted();
    // The phonebook button (after the question when there is one already):
    // the phonebook is to be read from the phone.
    void phonebookReadRequested();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onPhonebookEntryChosen(int index);
    void readPhonebook();
    void onSendClicked();
    bool phonebookRead() const;

    Prompt &m_prompt;
    QString m_title;
    Phonebook *m_phonebook;
    QString m_lastUsed;
    QString m_number;
};

} // namespace logo
