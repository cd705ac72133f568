#pragma once
// The reading dialog: the phonebook read under way, in three status lines (the
// current one bold), and Cancel. Activating it starts the read; the read's end
// hides it.
#include "desktop/waitcursor.h"

#include <QDialog>
#include <optional>

class QLabel;
class QPushButton;

namespace logo {

class PhonebookJob;

class ReadingDialog : public QDialog {
    Q_OBJECT
public:
    explicit ReadingDialog(PhonebookJob &job, QWidget *parent = nullptr);

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
    void activated();
    void cancelReading();
    void onStatusLine(int line);
    void jobEnded();

    PhonebookJob &m_job;
    bool m_pendingStart = false;
    std::optional<WaitCursor> m_wait;
};

} // namespace logo
