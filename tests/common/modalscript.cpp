#include "modalscript.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace logotest {

ModalScript::ModalScript(int timeoutMs)
{
    // A new single shot for every look, so that a dialog opened inside a
    // step's action (a progress dialog after Send) is found as well.
    m_poll.setInterval(5);
    m_poll.setSingleShot(true);
    connect(&m_poll, &QTimer::timeout, this, &ModalScript::poll);
    m_timeout.setSingleShot(true);
    m_timeout.setInterval(timeoutMs);
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        m_poll.stop();
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->isModal()) {
                ADD_FAILURE() << "the dialog " << w->objectName().toStdString() << " was left open";
                w->hide();
            }
    });
}

ModalScript::~ModalScript() = default;

void ModalScript::then(const QString &dialogName, std::function<void(QWidget *)> action)
{
    m_steps.push_back({dialogName, std::move(action)});
    m_poll.start();
    m_timeout.start();
}

void ModalScript::poll()
{
    if (m_steps.empty())
        return;
    QWidget *active = QApplication::activeModalWidget();
    if (!active || !active->isVisible() || active->objectName() != m_steps.front().name) {
        m_poll.start();
        return;
    }
    const Step step = m_steps.front();
    m_steps.pop_front();
    seen << step.name;
    if (!m_steps.empty())
        QTimer::singleShot(5, this, &ModalScript::poll);
    step.action(active);
}

} // namespace logotest

namespace logotest {

void whenModalShown(QObject &scope, const QString &name, std::function<void(QWidget *)> action)
{
    auto *poll = new QTimer(&scope);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, name, action] {
        QWidget *w = QApplication::activeModalWidget();
        if (!w || !w->isVisible() || w->objectName() != name)
            return;
        poll->stop();
        action(w);
    });
    poll->start();
}

} // namespace logotest
