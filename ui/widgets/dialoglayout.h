#pragma once
// Small layout pieces shared by the phone dialogs.
#include <QDialog>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QPushButton>
#include <initializer_list>

namespace logo {

// The common start of the phone dialogs: name, caption, modal, the icon of
// the window they belong to, no context-help button.
inline void setUpDialog(QDialog *dialog, const QString &objectName, const QString &caption)
{
    dialog->setObjectName(objectName);
    if (!caption.isEmpty())
        dialog->setWindowTitle(caption);
    dialog->setModal(true);
    if (QWidget *window = dialog->parentWidget())
        dialog->setWindowIcon(window->windowIcon());
    dialog->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

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

// The frame above its row of buttons: a small fixed dialog, since nothing in
// it gains from a larger window.
inline void frameAboveButtons(QWidget *dialog, QWidget *frame, QLayout *buttons)
{
    auto *top = new QVBoxLayout(dialog);
    top->addWidget(frame);
    top->addLayout(buttons);
    top->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace logo
