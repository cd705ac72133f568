#pragma once
// The wait pointer of long commands, and the normal pointer over the boxes and
// dialogs shown in the middle of them (both no-ops without a GUI).
#include <QCursor>
#include <QGuiApplication>
#include <QList>

namespace logo {

// Shows the wait mouse pointer for the life of the object.
class WaitCursor {
public:
    WaitCursor()
    {
        m_active = qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
        if (m_active)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~WaitCursor()
    {
        if (m_active)
            QGuiApplication::restoreOverrideCursor();
    }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;

private:
    bool m_active = false;
};

// Shows the normal pointer for the life of the object, under whatever wait
// pointers are in force, and puts them back at its end: a message box or a
// file dialog in the middle of a long command waits for the user, not for the
// program.
class NormalCursor {
public:
    NormalCursor()
    {
        if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
            return;
        while (const QCursor *c = QGuiApplication::overrideCursor()) {
            m_paused.prepend(*c);
            QGuiApplication::restoreOverrideCursor();
        }
    }
    ~NormalCursor()
    {
        for (const QCursor &c : m_paused)
            QGuiApplication::setOverrideCursor(c);
    }
    NormalCursor(const NormalCursor &) = delete;
    NormalCursor &operator=(const NormalCursor &) = delete;

private:
    QList<QCursor> m_paused;   // bottom of the stack first
};

} // namespace logo
