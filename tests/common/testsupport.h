#pragma once
// Helpers shared by the suites: a private settings store and scratch folder,
// scripted prompts, fixture paths, small file helpers.
#include "desktop/prompt.h"
#include "desktop/settingsstore.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>

namespace logotest {

// A scratch folder with its own settings file; removed at the end of the test.
class Sandbox {
public:
    Sandbox();
    QString path(const QString &name) const;    // a file inside the folder
    QString dir() const;                         // ends in "/"
    logo::SettingsStore &settings() { return *m_settings; }
    // Drops and re-creates the settings store on the same file (a restart).
    void restartSettings();
    QString settingsFile() const { return m_dir.filePath(QStringLiteral("settings.ini")); }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<logo::SettingsStore> m_settings;
};

QString fixture(const QString &relative);
// A path below root of more than 1000 characters, with spaces and letters
// beyond ASCII, each folder within the file system's name limit.
QString longPath(const QString &root);
QByteArray readAll(const QString &path);
bool writeAll(const QString &path, const QByteArray &bytes);

} // namespace logotest

namespace logotest {
// Limits the size of files this process writes (the disk seems to fill up)
// for the life of the object.
class FileSizeLimit {
public:
    explicit FileSizeLimit(long bytes);
    ~FileSizeLimit();

private:
    unsigned long m_oldCur = 0, m_oldMax = 0;
};

// How many threads the process gained while work ran, counted once the
// global thread pool has let its idle threads go; -1 where the system
// doesn't say.
int threadsStartedBy(const std::function<void()> &work);
} // namespace logotest

#include <QProcessEnvironment>
#include <QStringList>

namespace logotest {
// Runs one of the built tools (logotool, phonesim), or the program at an
// absolute path, on the offscreen platform and waits for it.
struct ToolRun {
    int code = -1;              // -1 when it crashed or did not finish
    QString out, err;
    QStringList lines;          // stdout, one entry per non-empty line
};
QString toolPath(const QString &name);
ToolRun runTool(const QString &name, const QStringList &args,
                const QProcessEnvironment &extra = QProcessEnvironment());
inline ToolRun logotool(const QStringList &args, const QProcessEnvironment &extra = QProcessEnvironment())
{
    return runTool(QStringLiteral("logotool"), args, extra);
}
} // namespace logotest

#include <ostream>
// Texts in test failures as text, not as octets.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList &l, std::ostream *os)
{
    *os << '{' << l.join(QStringLiteral(", ")).toStdString() << '}';
}
