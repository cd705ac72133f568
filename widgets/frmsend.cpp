#include "widgets/frmsend.h"

#include "graphic/pathutil.h"
#include "phone/smsdelivery.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include "widgets/dialoglayout.h"
#include <QToolButton>
#include <QVBoxLayout>

namespace logo {

namespace {
constexpr int kLastUsedItem = 9999;
}

frmSend::frmSend(SmsDelivery &delivery, QWidget *parent) : QDialog(parent), m_delivery(delivery)
{
    setObjectName(QStringLiteral("frmSend"));
    setWindowTitle(QStringLiteral("Send"));
    setModal(true);
    if (parent)
        setWindowIcon(parent->windowIcon());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *frame = new QGroupBox(QStringLiteral("Destination number"), this);
    auto *plus = new QLabel(QStringLiteral("+"), frame);
    txtDA = new QLineEdit(frame);
    txtDA->setObjectName(QStringLiteral("txtDA"));
    txtDA->installEventFilter(this);
    cmbPhonebook = new QComboBox(frame);
    cmbPhonebook->setObjectName(QStringLiteral("cmbPhonebook"));
    cmbPhonebook->setToolTip(QStringLiteral("Select number from phonebook."));
    cmdPhonebook = new QToolButton(frame);
    cmdPhonebook->setObjectName(QStringLiteral("cmdPhonebook"));
    cmdPhonebook->setToolTip(QStringLiteral("Read phonebook from phone."));
    cmdPhonebook->setText(QStringLiteral("..."));
    // Reading the phonebook comes with its own job; until then there is none.
    cmdPhonebook->setEnabled(false);

    auto *numberRow = new QHBoxLayout;
    numberRow->addWidget(plus);
    numberRow->addWidget(txtDA, 1);
    auto *bookRow = new QHBoxLayout;
    bookRow->addWidget(cmbPhonebook, 1);
    bookRow->addWidget(cmdPhonebook);
    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addLayout(numberRow);
    frameLayout->addLayout(bookRow);

    cmdSend = dialogButton(this, QStringLiteral("cmdSend"), QStringLiteral("&Send"), true);
    cmdCancel = dialogButton(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"), false);
    QHBoxLayout *buttons = buttonRow({cmdSend, cmdCancel});

    auto *top = new QVBoxLayout(this);
    top->addWidget(frame);
    top->addLayout(buttons);
    // A small fixed dialog: nothing in it gains from a larger window.
    top->setSizeConstraint(QLayout::SetFixedSize);

    fillPhonebookList();
    connect(cmbPhonebook, &QComboBox::activated, this, &frmSend::cmbPhonebook_Click);
    connect(cmdSend, &QPushButton::clicked, this, &frmSend::cmdSend_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmSend::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_lastUsed = m_delivery.lastDA();
    txtDA->setText(m_lastUsed);
    txtDA->setFocus();
}

void frmSend::fillPhonebookList()
{
    // Without a phonebook the list offers nothing to pick.
    cmbPhonebook->setEnabled(false);
    cmbPhonebook->clear();
    cmbPhonebook->addItem(QStringLiteral("No phonebook"));
    cmbPhonebook->setCurrentIndex(0);
}

void frmSend::cmbPhonebook_Click(int index)
{
    if (cmbPhonebook->itemData(index).toInt() == kLastUsedItem)
        txtDA->setText(m_lastUsed);
}

bool frmSend::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtDA && event->type() == QEvent::FocusOut)
        txtDA->setText(DigitsOnly(txtDA->text()));
    return QDialog::eventFilter(watched, event);
}

void frmSend::cmdSend_Click()
{
    txtDA->setText(DigitsOnly(txtDA->text()));
    if (m_delivery.sendTo(txtDA->text()))
        accept();
}

} // namespace logo
