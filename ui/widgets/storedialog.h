#pragma once
// The store dialog: shows the sender number a stored picture will carry (the
// counter plus the program's base); Store accepts it.
#include <QDialog>

class QLabel;
class QPushButton;

namespace logo {

class StoreDialog : public QDialog {
    Q_OBJECT
public:
    explicit StoreDialog(QWidget *parent = nullptr);

    // The number shown ("+999000005").
    void setNumberText(const QString &text);

    QLabel *numberLabel;
    QPushButton *storeButton;
    QPushButton *cancelButton;
};

} // namespace logo
