#pragma once
// Shows the wait mouse pointer for the life of the object (a no-op without a GUI).
#include <QGuiApplication>
#include <QCursor>

namespace logo {

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

} // namespace logo
