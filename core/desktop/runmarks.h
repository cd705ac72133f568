#pragma once
// The marks a running main window leaves in its settings section for a second
// start of the program: "CurrentAppname", the window's caption, and
// "CurrentBusy" while a command or dialog keeps the window busy. Only a main
// window turns them on; the command-line tool and the tests keep the busy
// flag alone and never touch the settings.
#include <QObject>
#include <QString>

namespace logo {

class SettingsStore;

class RunMarks : public QObject {
    Q_OBJECT
public:
    RunMarks(SettingsStore &settings, const QString &section, QObject *parent = nullptr);

    void setEnabled(bool on) { m_enabled = on; }
    bool isEnabled() const { return m_enabled; }

    // With the marks on, busy is also stored as "CurrentBusy" (and idle
    // removes it).
    void setBusy(bool busy);
    bool isBusy() const { return m_busy; }
    // The window's caption changed: with the marks on it is stored as
    // "CurrentAppname".
    void showTitle(const QString &title);
    // The window closes: both marks go, whether on or not.
    void remove();

private:
    SettingsStore &m_settings;
    QString m_section;
    bool m_enabled = false;
    bool m_busy = false;
};

} // namespace logo
