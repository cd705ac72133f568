#include "widgets/frmstore.h"

#include "phone/smsdelivery.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include "widgets/dialoglayout.h"
#include <QVBoxLayout>

namespace logo {

frmStore::frmStore(SmsDelivery &delivery, QWidget *parent) : QDialog(parent), m_delivery(delivery)
{
    setUpDialog(this, QStringLiteral("frmStore"), QStringLiteral("Store"));

    auto *frame = new QGroupBox(QStringLiteral("SMS-Inbox"), this);
    auto *line1 = new QLabel(QStringLiteral("Logo will be saved with this"), frame);
    auto *line2 = new QLabel(QStringLiteral("number:"), frame);
    lblNumber = new QLabel(frame);
    lblNumber->setObjectName(QStringLiteral("lblNumber"));
    QFont bold = lblNumber->font();
    bold.setBold(true);
    lblNumber->setFont(bold);
    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(line1);
    frameLayout->addWidget(line2);
    frameLayout->addWidget(lblNumber);

    cmdStore = dialogButton(this, QStringLiteral("cmdStore"), QStringLiteral("&Store"), true);
    cmdCancel = dialogButton(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"), false);
    QHBoxLayout *buttons = buttonRow({cmdStore, cmdCancel});

    auto *top = new QVBoxLayout(this);
    top->addWidget(frame);
    top->addLayout(buttons);
    // A small fixed dialog: nothing in it gains from a larger window.
    top->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdStore, &QPushButton::clicked, this, &frmStore::cmdStore_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmStore::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_kept = m_delivery.storeCount();
    lblNumber->setText(m_delivery.storeNumberText(m_kept));
}

void frmStore::cmdStore_Click()
{
    m_delivery.storeWith(m_kept);
    accept();
}

} // namespace logo
