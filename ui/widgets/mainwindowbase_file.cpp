// The window's File menu, its recent files, the files it is given (command
// line, drops, hand-over) and its closing.
#include "widgets/mainwindowbase.h"

#include "desktop/placement.h"
#include "graphic/pathutil.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

namespace logo {

// ------------------------------------------------------------------ the File menu

void MainWindowBase::buildFileMenu(QMenu *file)
{
    FileCommands *files = m_files.get();
    // Open, Save, Import and Exit have their keys in both programs.
    const auto deliveryKey = [this](const char *key) {
        return m_profile.deliveryShortcuts ? QString::fromLatin1(key) : QString();
    };
    insertEntries(file, {
                            {"mnuOpen", "&Open", "Ctrl+O", [files] { files->openCommand(); }},
                            {"mnuSave", "&Save", "Ctrl+S", [files] { files->save(); }},
                            {"mnuSaveAs", "Save &As...", {}, [files] { files->saveAs(); }},
                            {"mnuSep1"},
                            {"mnuSend", "Sen&d as SMS...", deliveryKey("Ctrl+D")},
                            {"mnuStore", "Sto&re to SMS-Inbox...", deliveryKey("Ctrl+R")},
                            {"mnuInternet", m_profile.internetCaption, deliveryKey("Ctrl+T")},
                            {"mnuIR", "IR-&Upload to 61xx", deliveryKey("Ctrl+U")},
                            {"mnuSep8"},
                            {"mnuImport", "Im&port BMP, GIF, JPG...", "Ctrl+P", [files] { files->importCommand(); }},
                            {"mnuRecentSep"},
                        });
    m_recentSeparator = menuAction(QStringLiteral("mnuRecentSep"));
    for (int i = 0; i < RecentFiles::Count; ++i) {
        const int n = i + 1;
        const QString name = QStringLiteral("mnuRecent%1").arg(n);
        insertEntries(file, {{name, QStringLiteral("&%1 ").arg(n), {}, [files, n] { files->openRecent(n); }}});
        m_recentActions[i] = menuAction(name);
    }
    insertEntries(file, {{"mnuSep2"}, {"mnuExit", "E&xit", "Ctrl+Q", [this] { close(); }}});
}

void MainWindowBase::openCommandLine()
{
    if (m_commandLine.isEmpty())
        return;
    // The file joins the stored recent files at the front under its full path
    // (a relative one would fail from another folder): the file actually
    // read, also when it is a foreign one.
    m_commandLine = QDir::cleanPath(QFileInfo(m_commandLine).absoluteFilePath());
    m_dialogFolders.openFolder = folderOf(m_commandLine);
    m_commandLineRead = m_files->openFile(m_commandLine);
}

// ------------------------------------------------------------------ closing

void MainWindowBase::closeEvent(QCloseEvent *event)
{
    if (!m_unloaded && m_files->askSaveChanges(true) == FileCommands::SaveAnswer::Cancel) {
        event->ignore();
        return;
    }
    unload();
    event->accept();
}

void MainWindowBase::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    // Everything the window keeps goes to disk in one write.
    SettingsBatch batch(m_settings);
    unloadProgram();
    const QString section = m_profile.settingsSection;
    m_settings.writeInt(section, QStringLiteral("Left"), x() * kTwipsPerPixel);
    m_settings.writeInt(section, QStringLiteral("Top"), y() * kTwipsPerPixel);
    m_recentFiles.save(m_settings);
    m_dialogFolders.save(m_settings, m_profile);
    m_runMarks.remove();
}

// ------------------------------------------------------------------ files

void MainWindowBase::openReceivedFile(const QString &path)
{
    QCoreApplication::processEvents();
    m_files->openFileReceived(path);
}

void MainWindowBase::rebuildRecentMenu()
{
    const QStringList recent = m_recentFiles.files();
    m_recentSeparator->setVisible(false);
    for (QAction *a : m_recentActions)
        a->setVisible(false);
    // Every non-empty entry is shown under its own number, also after a gap
    // (a list edited by hand).
    for (int i = 0; i < RecentFiles::Count; ++i) {
        const QString path = recent.value(i);
        if (path.isEmpty())
            continue;
        m_recentSeparator->setVisible(true);
        m_recentActions[i]->setText(QStringLiteral("&%1 ").arg(i + 1) + fileTitle(path));
        m_recentActions[i]->setVisible(true);
    }
}

void MainWindowBase::acceptFileDrops(QWidget *target)
{
    target->setAcceptDrops(true);
    target->installEventFilter(this);
    m_dropTargets << target;
}

bool MainWindowBase::filterDrop(QEvent *event)
{
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto *drag = static_cast<QDropEvent *>(event);
        const QList<QUrl> urls = drag->mimeData()->urls();
        if (urls.isEmpty() || !urls.front().isLocalFile())
            return false;
        drag->acceptProposedAction();
        return true;
    }
    if (event->type() != QEvent::Drop)
        return false;
    auto *drop = static_cast<QDropEvent *>(event);
    const QList<QUrl> urls = drop->mimeData()->urls();
    if (urls.isEmpty() || !urls.front().isLocalFile())
        return false;
    drop->acceptProposedAction();
    openReceivedFile(urls.front().toLocalFile());
    activateWindow();
    afterDrop();
    return true;
}

} // namespace logo
