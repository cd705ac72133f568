#pragma once
// Works modal dialogs as a user would, from the event loop they run in: each
// step waits until the dialog of its name is the active modal window, then
// acts on it; the steps come in the order given. A dialog still open when the
// time is up is hidden and the test fails, so nothing hangs.
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>

class QWidget;

namespace logotest {

class ModalScript : public QObject {
public:
    explicit ModalScript(int timeoutMs = 30000);
    ~ModalScript() override;

    void then(const QString &dialogName, std::function<void(QWidget *)> action);
    // Names of the dialogs met so far, in order.
    QStringList seen;
    // Steps whose dialog never came.
    int pending() const { return int(m_steps.size()); }

private:
    void poll();

    struct Step {
        QString name;
        std::function<void(QWidget *)> action;
    };
    std::deque<Step> m_steps;
    QTimer m_poll;
    QTimer m_timeout;
};

} // namespace logotest

namespace logotest {
// Runs action once on the modal dialog named name as soon as it is shown (a
// dialog that a command opens with exec()); the poller is scope's child.
void whenModalShown(QObject &scope, const QString &name, std::function<void(QWidget *)> action);
} // namespace logotest
