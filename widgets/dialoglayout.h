#pragma once
// Small layout pieces shared by the phone dialogs.
#include <QHBoxLayout>
#include <QPushButton>
#include <initializer_list>

namespace logo {

// A push button with its objectName; the default button answers Enter, the
// others never take Enter over.
inline QPushButton *dialogButton(QWidget *parent, const QString &objectName, const QString &caption,
                                 bool isDefault)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(objectName);
    if (isDefault)
        b->setDefault(true);
    else
        b->setAutoDefault(false);
    return b;
}

// Buttons right-aligned in a row.
inline QHBoxLayout *buttonRow(std::initializer_list<QWidget *> buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    for (QWidget *b : buttons)
        row->addWidget(b);
    return row;
}

} // namespace logo
