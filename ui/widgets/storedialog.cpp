#include "widgets/storedialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include "widgets/dialoglayout.h"
#include <QVBoxLayout>

namespace logo {

StoreDialog::StoreDialog(QWidget *parent) : QDialog(parent)
{
    setUpDialog(this, QStringLiteral("frmStore"), QStringLiteral("Store"));

    auto *frame = new QGroupBox(QStringLiteral("SMS-Inbox"), this);
    auto *line1 = new QLabel(QStringLiteral("Logo will be saved with this"), frame);
    auto *line2 = new QLabel(QStringLiteral("number:"), frame);
    numberLabel = new QLabel(frame);
    numberLabel->setObjectName(QStringLiteral("lblNumber"));
    QFont bold = numberLabel->font();
    bold.setBold(true);
    numberLabel->setFont(bold);
    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(line1);
    frameLayout->addWidget(line2);
    frameLayout->addWidget(numberLabel);

    storeButton = dialogButton(this, QStringLiteral("cmdStore"), QStringLiteral("&Store"), true);
    cancelButton = dialogButton(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"), false);
    frameAboveButtons(this, frame, buttonRow({storeButton, cancelButton}));

    connect(storeButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void StoreDialog::setNumberText(const QString &text)
{
    numberLabel->setText(text);
}

} // namespace logo
