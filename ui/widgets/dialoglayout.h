#pragma once
// Small layout pieces shared by the phone dialogs.
#include <QDialog>
#include <QIcon>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QPushButton>
#include <initializer_list>

// The icons live in the widgets library's resources; a static library needs
// them registered by hand (at global scope, where the resource's name lives).
inline void initWidgetResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(widgeticons);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace logo {

// An icon of the programs' resources (resources/icons/<name>.svg, drawn at 16,
// 24 and 48 pixels when the programs are built).
inline QIcon resourceIcon(const QString &name)
{
    initWidgetResources();
    QIcon icon;
    for (const int size : {16, 24, 48})
        icon.addFile(QStringLiteral(":/icons/%1-%2.png").arg(name).arg(size), QSize(size, size));
    return icon;
}

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
