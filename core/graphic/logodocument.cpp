#include "graphic/logodocument.h"

#include "desktop/waitcursor.h"
#include "graphic/fileformats.h"
#include "graphic/pathutil.h"
#include "graphic/pictureimport.h"
#include "graphic/regularfile.h"
#include "graphic/savenames.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace logo {

namespace {

// A regular file whose first bytes are a NOL, NGG or NCG header: read as one,
// whatever its name suggests ("logo.nlm.ngg", written by Save after a
// foreign read of "logo.nlm.bak").
bool startsAsNativeFile(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return false;
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && hasNativeHeader(f.read(4));
}

} // namespace

LogoDocument::LogoDocument(const ProgramProfile &profile, Prompt &prompt, SettingsStore &settings,
                           QObject *parent)
    : QObject(parent), m_profile(profile), m_prompt(prompt), m_settings(settings)
{
    m_title = m_profile.productName;
    m_history.setUndoLimit(HistoryLimit);
    // Undo and redo (from the menu or anywhere else) put the title's mark as
    // the history has it; the document's own changes set the title themselves.
    connect(&m_history, &QUndoStack::indexChanged, this, [this] {
        if (!m_recording)
            showTitle(m_history.isClean());
    });
}

LogoDocument::~LogoDocument()
{
    // The history empties itself as it goes: that is no undo, and must not put
    // back the run marks a closing window has just taken away.
    disconnect(&m_history, nullptr, this, nullptr);
}

void LogoDocument::setNetworkCode(const QString &mcc, const QString &mnc)
{
    m_mcc = mcc;
    m_mnc = mnc;
    emit networkCodeChanged();
}

void LogoDocument::setAppFolder(const QString &folder)
{
    m_appFolder = folder;
    if (!m_appFolder.isEmpty() && !m_appFolder.endsWith(QLatin1Char('/')) &&
        !m_appFolder.endsWith(QLatin1Char('\\')))
        m_appFolder += QLatin1Char('/');
}

// ---------------------------------------------------------------- settings

void LogoDocument::loadSettings()
{
    m_userDir = m_settings.read(section(), QStringLiteral("UserDir"));
    m_userDirSave = m_settings.read(section(), QStringLiteral("UserDirSave"));
    m_importDir = m_settings.read(section(), QStringLiteral("ImportDir"));
    if (m_profile.isQuillet())
        m_exportDir = m_settings.read(section(), QStringLiteral("ExportDir"));
    QStringList recent;
    for (int i = 1; i <= RecentCount; ++i)
        recent << m_settings.read(m_profile.recentSection, QStringLiteral("File%1").arg(i));
    setRecentFiles(recent);
}

void LogoDocument::saveSettings()
{
    for (int i = 1; i <= RecentCount; ++i)
        m_settings.write(m_profile.recentSection, QStringLiteral("File%1").arg(i), m_recent.value(i - 1));
    m_settings.write(section(), QStringLiteral("UserDir"), m_userDir);
    m_settings.write(section(), QStringLiteral("UserDirSave"), m_userDirSave);
    m_settings.write(section(), QStringLiteral("ImportDir"), m_importDir);
    if (m_profile.isQuillet())
        m_settings.write(section(), QStringLiteral("ExportDir"), m_exportDir);
}

// ---------------------------------------------------------------- title, busy

void LogoDocument::setTitle(bool clean)
{
    if (clean)
        m_history.setClean();
    showTitle(clean);
}

void LogoDocument::showTitle(bool clean)
{
    // A program that doesn't follow unsaved changes shows no mark; its window
    // still asks about them when it closes.
    const bool mark = !clean && m_profile.marksModified;
    m_title = m_profile.productName + QStringLiteral(" [") + shortenPath(m_currentFile, m_profile.titlePathLength) +
              (mark ? QStringLiteral("*]") : QStringLiteral("]"));
    m_docState = clean ? Clean : Modified;
    if (m_runMarks)
        m_settings.write(section(), QStringLiteral("CurrentAppname"), m_title);
    emit titleChanged(m_title);
}

void LogoDocument::setBusy(bool busy)
{
    m_busy = busy;
    if (!m_runMarks)
        return;
    if (busy)
        m_settings.writeBool(section(), QStringLiteral("CurrentBusy"), true);
    else
        m_settings.remove(section(), QStringLiteral("CurrentBusy"));
}

// ---------------------------------------------------------------- questions

bool LogoDocument::askIfEmpty(bool requireOperator)
{
    if (requireOperator && m_profile.requiresOperator && m_mcc.isEmpty()) {
        m_prompt.message(m_profile.productName, QStringLiteral("Select an operator first."), Icon::None,
                         Buttons::Ok);
        return false;
    }
    if (!m_grid.isEmpty())
        return true;
    const QString text = m_profile.emptyPictureText + QStringLiteral("\r\n\r\n") +
                         QStringLiteral("Do you want to continue anyway?");
    return m_prompt.message(m_profile.productName, text, Icon::Question, Buttons::YesNo) == Answer::Yes;
}

LogoDocument::SaveAnswer LogoDocument::askSaveChanges(bool closing)
{
    m_questionAnswered = false;
    if (m_docState != Modified || !(m_profile.marksModified || closing))
        return SaveAnswer::Proceed;
    const QString text = m_currentFile + QStringLiteral("\r\nhas not been saved yet.\r\n\r\n") +
                         QStringLiteral("Do you want to save it now?");
    switch (m_prompt.message(m_profile.productName, text, Icon::Exclamation, Buttons::YesNoCancel)) {
    case Answer::Yes:
        switch (save()) {
        case SaveResult::Failed:     // the save has said so
        case SaveResult::Cancelled:
            return SaveAnswer::Cancel;
        case SaveResult::Stopped:
            // Only an empty picture may go unsaved; one stopped for another
            // reason (no operator chosen, a refused folder) stays.
            if (!m_grid.isEmpty())
                return SaveAnswer::Cancel;
            m_questionAnswered = true;
            return SaveAnswer::Proceed;
        default:
            m_questionAnswered = true;
            return SaveAnswer::Proceed;
        }
    case Answer::No:
        m_questionAnswered = true;
        return SaveAnswer::Proceed;
    default:
        return SaveAnswer::Cancel;
    }
}

// ---------------------------------------------------------------- commands

void LogoDocument::newDocument()
{
    const Snapshot before = snapshot();
    m_currentFile = QStringLiteral("Untitled");
    m_nameFromRead = false;
    setTitle(true);
    setNetworkCode(QString(), QString());
    // A new picture has the full size, whatever the last file had.
    m_grid.setSize(LogoGrid::MaxWidth, LogoGrid::MaxHeight);
    m_grid.clear();
    emit pictureChanged(true);
    recordReplacement(before, QStringLiteral("New"), true);
}

bool LogoDocument::openFile(const QString &path)
{
    WaitCursor wait;
    const ForeignFormat format = foreignFormatOf(path);
    if (format == ForeignFormat::None || startsAsNativeFile(path))
        return readLogoFile(path);
    return openForeign(path, int(format));
}

bool LogoDocument::readLogoFile(const QString &path)
{
    WaitCursor wait;
    QFile f;
    if (!openRegularFile(f, path))
        return false; // input errors end the command silently
    // Only the header and the largest picture are ever used; the trailer and
    // anything after it stay unread, however large the file.
    const QByteArray bytes = f.read(LogoFileReadLimit);
    if (f.error() != QFileDevice::NoError)
        return false;
    f.close();

    LogoFileContent content;
    if (parseLogoFile(bytes, content) != LogoParse::Ok) {
        showCantRead();
        return false;
    }
    // The whole picture changes in one step: nothing else runs in between.
    const Snapshot before = snapshot();
    m_mcc = content.isNol ? content.mcc : QString();
    m_mnc = content.isNol ? content.mnc : QString();
    m_grid.setSize(content.width, content.height);
    m_grid.bits2grid(content.bits);
    emit networkCodeChanged();
    finishLogoRead(path);
    recordReplacement(before, QStringLiteral("Open"), true);
    return true;
}

void LogoDocument::finishLogoRead(const QString &path)
{
    m_currentFile = path;
    m_nameFromRead = false;
    addRecentFile(path);
    m_docState = Loading;
    emit pictureChanged(true);
    setTitle(true);
}

void LogoDocument::finishForeignRead(const QString &path)
{
    setNetworkCode(QString(), QString());
    addRecentFile(path);
    nameAfterRead(path);
    m_docState = Loading;
    emit pictureChanged(true);
    setTitle(true);
}

void LogoDocument::finishImport(const QString &path)
{
    // The picture under a new name is saved nowhere: no step of the history
    // is that name's saved state.
    const QString previous = m_currentFile;
    nameAfterRead(path);
    if (m_currentFile != previous)
        m_history.resetClean();
    m_docState = Loading;
    emit pictureChanged(true);
    setTitle(false);
}

void LogoDocument::nameAfterRead(const QString &path)
{
    m_currentFile = m_profile.foreignReadName.isEmpty() ? stripExtension(path) + savedExtension(SavedType::Ngg)
                                                        : m_profile.foreignReadName;
    m_nameFromRead = m_profile.foreignReadName.isEmpty();
}

void LogoDocument::replaceGrid(const LogoGrid &g)
{
    m_grid = g;
}

QString LogoDocument::trailerCredit() const
{
    return QStringLiteral(", %1 %2").arg(m_profile.productName, versionText());
}

LogoDocument::WriteResult LogoDocument::writeLogoFile(const QString &path)
{
    if (!askIfEmpty())
        return WriteResult::Declined;
    return writeNativeFile(path);
}

LogoDocument::WriteResult LogoDocument::writeNativeFile(const QString &path)
{
    WaitCursor wait;
    const bool nol = isNolPath(path);
    qint16 mcc = 0, mnc = 0;
    if (nol) {
        // The network code must be a 16-bit number; an empty or oversized code
        // writes nothing. A negative code read from a file is written back as
        // it was read, never with its sign dropped.
        bool okC = false, okN = false;
        const int c = m_mcc.trimmed().toInt(&okC);
        const int n = m_mnc.trimmed().toInt(&okN);
        if (!okC || !okN || c > 32767 || n > 32767 || c < -32768 || n < -32768)
            return WriteResult::NoNetworkCode;
        mcc = qint16(c);
        mnc = qint16(n);
    }
    const QByteArray bytes = buildLogoFile(m_grid, nol, mcc, mnc, randomFiller(), trailerCredit(), QString());
    if (!writeFileAtomically(path, bytes))
        return WriteResult::IoError;
    finishLogoWrite(path);
    return WriteResult::Written;
}

void LogoDocument::reportFailedSave(const QString &path, WriteResult result)
{
    QStringList lines{path, QStringLiteral("could not be saved.")};
    if (result == WriteResult::NoNetworkCode)
        lines << QString() << QStringLiteral("A NOL file needs the network code (MCC and MNC) of an operator.");
    m_prompt.critical(m_profile.productName, joinLines(lines));
    // Whatever was saved before, the file on disk is not known to hold this
    // picture now.
    if (m_docState != Modified) {
        m_history.resetClean();
        showTitle(false);
    }
}

void LogoDocument::finishLogoWrite(const QString &path)
{
    m_currentFile = path;
    m_nameFromRead = false;
    addRecentFile(path);
    setTitle(true);
}

static LogoDocument::SaveResult saveResultOf(LogoDocument::WriteResult r)
{
    switch (r) {
    case LogoDocument::WriteResult::Written: return LogoDocument::SaveResult::Saved;
    case LogoDocument::WriteResult::Declined: return LogoDocument::SaveResult::Stopped;
    default: return LogoDocument::SaveResult::Failed;
    }
}

LogoDocument::SaveResult LogoDocument::save()
{
    if (m_profile.isPseudoName(m_currentFile) || (m_nameFromRead && QFileInfo::exists(m_currentFile)))
        return saveAs();
    setBusy(true);
    const WriteResult r = writeLogoFile(m_currentFile);
    if (r == WriteResult::NoNetworkCode || r == WriteResult::IoError)
        reportFailedSave(m_currentFile, r);
    setBusy(false);
    return saveResultOf(r);
}

LogoDocument::SaveResult LogoDocument::saveAs()
{
    setBusy(true);
    if (!askIfEmpty()) {
        setBusy(false);
        return SaveResult::Stopped;
    }
    FileRequest req;
    req.title = QStringLiteral("Save As");
    // NOL is offered, and preselected, only with a network code to write.
    const SavedType types[] = {SavedType::Ngg, SavedType::Nol};
    req.filter = dialogEntry(types[0]);
    if (!m_mcc.isEmpty()) {
        req.filter += QLatin1Char('|') + dialogEntry(types[1]);
        req.filterIndex = 2;
    } else {
        req.filterIndex = 1;
    }
    req.defaultExt = savedExtension(types[req.filterIndex - 1]).mid(1);
    // The whole name, so that it reads back as what is written: "logo.nlm.ngg"
    // stays itself, "Vodafone.de.ngg" keeps its ".de".
    req.fileName = m_currentFile == QStringLiteral("Untitled")
                       ? QString()
                       : proposedNativeName(fileNameOf(m_currentFile), types[req.filterIndex - 1]);
    // A name made from a read proposes its own folder, where Save would have written.
    if (m_nameFromRead)
        req.initialDir = folderOf(m_currentFile);
    else
        req.initialDir = m_userDirSave.isEmpty() ? m_userDir : m_userDirSave;
    const QString chosen = chooseSaveName(req, types);
    if (chosen.isEmpty()) {
        setBusy(false);
        return SaveResult::Cancelled;
    }
    m_userDirSave = folderOf(chosen);
    if (!acceptSaveTarget(chosen)) {
        setBusy(false);
        return SaveResult::Stopped;
    }
    // The empty picture was asked about above, once.
    const WriteResult r = writeNativeFile(chosen);
    if (r != WriteResult::Written)
        reportFailedSave(chosen, r);
    setBusy(false);
    return saveResultOf(r);
}

QString LogoDocument::chooseSaveName(FileRequest request, const SavedType *filterTypes)
{
    for (;;) {
        int filter = request.filterIndex;
        const QString typed = m_prompt.saveFileName(request, &filter);
        if (typed.isEmpty())
            return {};
        const int count = int(request.filter.count(QLatin1Char('|')) + 1) / 2;
        const SavedType chosen = filterTypes[std::clamp(filter, 1, count) - 1];
        const QString name = completeSavedName(typed, chosen);
        // The dialog asked about replacing the name it gave; one that got its
        // extension here is asked about now.
        if (name == typed || !QFileInfo::exists(name))
            return name;
        const Answer replace = m_prompt.message(
            m_profile.productName,
            fileNameOf(name) + QStringLiteral(" already exists.\r\nDo you want to replace it?"), Icon::Exclamation,
            Buttons::YesNo);
        if (replace == Answer::Yes)
            return name;
        request.fileName = fileNameOf(name);
        request.initialDir = folderOf(name);
        request.filterIndex = filter;
    }
}

void LogoDocument::openCommand()
{
    setBusy(true);
    if (askSaveChanges() == LogoDocument::SaveAnswer::Proceed) {
        FileRequest req;
        req.title = QStringLiteral("Open");
        req.filter = openDialogFilter();
        req.initialDir = m_userDir;
        const QString chosen = m_prompt.openFileName(req);
        if (!chosen.isEmpty()) {
            m_userDir = folderOf(chosen);
            openFile(chosen);
        }
    }
    m_questionAnswered = false;
    setBusy(false);
}

void LogoDocument::openRecent(int n)
{
    const QString path = m_recent.value(n - 1);
    if (n < 1 || n > RecentCount || path.isEmpty())
        return;
    if (!QFileInfo::exists(path)) {
        // Gone since it was listed: say so, and the entry goes.
        showCantRead();
        removeRecentFile(path);
        return;
    }
    setBusy(true);
    if (askSaveChanges() == LogoDocument::SaveAnswer::Proceed)
        openFile(path);
    m_questionAnswered = false;
    setBusy(false);
}

void LogoDocument::openFileReceived(const QString &path)
{
    if (askSaveChanges() != LogoDocument::SaveAnswer::Proceed)
        return;
    if (isImportPicturePath(path) && foreignFormatOf(path) == ForeignFormat::None) {
        // A picture Import reads comes in as Import brings it.
        m_importDir = folderOf(path);
        if (!importPicture(path))
            showCantRead();
    } else {
        m_userDir = folderOf(path);
        openFile(path);
    }
    m_questionAnswered = false;
}

// ---------------------------------------------------------------- recent files

void LogoDocument::setRecentFiles(const QStringList &files)
{
    m_recent = files.mid(0, RecentCount);
    while (m_recent.size() < RecentCount)
        m_recent << QString();
    emit recentFilesChanged();
}

void LogoDocument::addRecentFile(const QString &path)
{
    if (!m_profile.isPseudoName(path) && !path.isEmpty() && path != m_recent[0]) {
        int found = -1;
        for (int i = 1; i <= 2; ++i)
            if (m_recent[i] == path)
                found = i;
        if (found < 0)
            found = RecentCount - 1; // any other path drops the fourth entry
        for (int i = found; i > 0; --i)
            m_recent[i] = m_recent[i - 1];
        m_recent[0] = path;
    }
    emit recentFilesChanged();
}

void LogoDocument::removeRecentFile(const QString &path)
{
    m_recent.removeAll(path);
    setRecentFiles(m_recent);
}

} // namespace logo
