#include "widgets/senddialog.h"

#include "desktop/prompt.h"
#include "graphic/pathutil.h"
#include "sms/digits.h"
#include "phone/phonebook.h"
#include "phone/smsdelivery.h"

#include <QCollator>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include "widgets/dialoglayout.h"
#include "widgets/resourceicon.h"
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace logo {

SendDialog::SendDialog(Prompt &prompt, const QString &title, Phonebook *phonebook, QWidget *parent)
    : QDialog(parent), m_prompt(prompt), m_title(title), m_phonebook(phonebook)
{
    setUpDialog(this, QStringLiteral("frmSend"), QStringLiteral("Send"));

    auto *frame = new QGroupBox(QStringLiteral("Destination number"), this);
    auto *plus = new QLabel(QStringLiteral("+"), frame);
    numberEdit = new QLineEdit(frame);
    numberEdit->setObjectName(QStringLiteral("txtDA"));
    numberEdit->installEventFilter(this);
    phonebookList = new QComboBox(frame);
    phonebookList->setObjectName(QStringLiteral("cmbPhonebook"));
    phonebookList->setToolTip(QStringLiteral("Select number from phonebook."));
    phonebookButton = new QToolButton(frame);
    phonebookButton->setObjectName(QStringLiteral("cmdPhonebook"));
    phonebookButton->setToolTip(QStringLiteral("Read phonebook from phone."));
    phonebookButton->setIcon(resourceIcon(QStringLiteral("phonebook")));
    phonebookButton->setIconSize(QSize(20, 20));
    phonebookButton->setEnabled(m_phonebook != nullptr);
    phonebookList->setMinimumWidth(180);

    auto *numberRow = new QHBoxLayout;
    numberRow->addWidget(plus);
    numberRow->addWidget(numberEdit, 1);
    auto *bookRow = new QHBoxLayout;
    bookRow->addWidget(phonebookList, 1);
    bookRow->addWidget(phonebookButton);
    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addLayout(numberRow);
    frameLayout->addLayout(bookRow);

    sendButton = dialogButton(this, QStringLiteral("cmdSend"), QStringLiteral("&Send"), true);
    cancelButton = dialogButton(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"), false);
    frameAboveButtons(this, frame, buttonRow({sendButton, cancelButton}));

    fillPhonebookList();
    connect(phonebookList, &QComboBox::activated, this, &SendDialog::onPhonebookEntryChosen);
    connect(phonebookButton, &QToolButton::clicked, this, &SendDialog::readPhonebook);
    connect(sendButton, &QPushButton::clicked, this, &SendDialog::onSendClicked);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void SendDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The cache is read the first time the dialog opens without a phonebook.
    if (m_phonebook && !phonebookRead()) {
        emit phonebookWanted();
        fillPhonebookList();
    }
    m_number.clear();
    numberEdit->setText(m_lastUsed);
    numberEdit->setFocus();
}

bool SendDialog::phonebookRead() const
{
    return m_phonebook && m_phonebook->isRead();
}

void SendDialog::fillPhonebookList()
{
    phonebookList->clear();
    if (!phonebookRead()) {
        // Without a phonebook the list offers nothing to pick.
        phonebookList->setEnabled(false);
        phonebookList->addItem(QStringLiteral("No phonebook"));
        phonebookList->setCurrentIndex(0);
        return;
    }
    // The last used number first, then the names as the user's language
    // sorts them (Ärger with the A, not after Zoë).
    QList<QPair<QString, int>> items;
    const QList<PhonebookEntry> &entries = m_phonebook->entries();
    for (int slot = 0; slot < entries.size(); ++slot) {
        const PhonebookEntry &e = entries[slot];
        if (!e.index.isEmpty())
            items.append({e.name.isEmpty() ? e.number : e.name, slot});
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(items.begin(), items.end(), [&collator](const auto &a, const auto &b) {
        return collator.compare(a.first, b.first) < 0;
    });
    items.prepend({QStringLiteral(" Last used number"), LastUsedItem});
    for (const auto &item : items)
        phonebookList->addItem(item.first, item.second);
    phonebookList->setEnabled(true);
    phonebookList->setCurrentIndex(0);
}

void SendDialog::onPhonebookEntryChosen(int index)
{
    const QVariant value = phonebookList->itemData(index);
    if (!value.isValid() || !phonebookRead())
        return;
    const int slot = value.toInt();
    const QList<PhonebookEntry> &entries = m_phonebook->entries();
    if (slot == LastUsedItem)
        numberEdit->setText(m_lastUsed);
    else if (slot >= 0 && slot < entries.size())
        numberEdit->setText(digitsOnly(entries[slot].number));
}

void SendDialog::readPhonebook()
{
    if (!m_phonebook)
        return;
    if (phonebookRead() &&
        m_prompt.message(m_title,
                             joinLines({QStringLiteral("Phonebook has already been read."), QString(),
                                        QStringLiteral("Do you want to read it again?")}),
                             Icon::Information, Buttons::YesNo) != Answer::Yes)
        return;
    emit phonebookReadRequested();
    fillPhonebookList();
}

bool SendDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == numberEdit && event->type() == QEvent::FocusOut)
        numberEdit->setText(digitsOnly(numberEdit->text()));
    return QDialog::eventFilter(watched, event);
}

void SendDialog::onSendClicked()
{
    numberEdit->setText(digitsOnly(numberEdit->text()));
    m_number = acceptDestination(numberEdit->text(), m_prompt, m_title);
    if (!m_number.isEmpty())
        accept();
}

} // namespace logo
