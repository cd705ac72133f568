#pragma once
// The store dialog: shows the sender number a stored picture will carry (the
// counter plus the program's base) and runs the store job.
#include <QDialog>

class QLabel;
class QPushButton;

namespace logo {

class SmsDelivery;

class StoreDialog : public QDialog {
    Q_OBJECT
public:
    explicit StoreDialog(SmsDelivery &delivery, QWidget *parent = nullptr);

    QLabel *numberLabel;
    QPushButton *storeButton;
    QPushButton *cancelButton;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void onStoreClicked();

    SmsDelivery &m_delivery;
    int m_kept = 0;
};

} // namespace logo
