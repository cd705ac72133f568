#pragma once
// The reading dialog: the phonebook read under way, in three status lines (the
// current one bold), and Cancel. It only follows the read: its status lines,
// and its end hides the dialog; Cancel asks the read to stop.
#include "desktop/waitcursor.h"

#include <QDialog>
#include <QPointer>
#include <optional>

class QLabel;
class QPushButton;

namespace logo {

class PhonebookJob;

class ReadingDialog : public QDialog {
    Q_OBJECT
public:
    explicit ReadingDialog(QWidget *parent = nullptr);

    // The read the dialog follows from now on (none: null).
    void follow(PhonebookJob *job);

    // Makes the given line bold and the others normal, and repaints.
    void showStatusLine(QLabel *line);

    QLabel *initialisingLabel;    // "- Initializing"
    QLabel *simLabel;   // "- Reading from SIM"
    QLabel *phoneLabel;   // "- Reading from Phone"
    QPushButton *cancelButton;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    bool jobRunning() const;
    void cancelReading();
    void onStatusLine(int line);
    void jobEnded();

    QPointer<PhonebookJob> m_job;
    QList<QMetaObject::Connection> m_followed;
    std::optional<WaitCursor> m_wait;
};

} // namespace logo
