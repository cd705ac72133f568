#include "graphic/filecommands.h"

#include "desktop/safewrite.h"
#include "desktop/waitcursor.h"
#include "graphic/fileformats.h"
#include "graphic/logofile.h"
#include "graphic/pathutil.h"
#include "graphic/pictureimport.h"
#include "graphic/regularfile.h"
#include "graphic/savenames.h"

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

// ---------------------------------------------------------------- questions

bool askIfEmptyPicture(const LogoDocument &doc, Prompt &prompt, bool requireOperator)
{
    const ProgramProfile &profile = doc.profile();
    if (requireOperator && profile.requiresOperator && doc.currentMCC().isEmpty()) {
        prompt.message(profile.productName, QStringLiteral("Select an operator first."), Icon::None, Buttons::Ok);
        return false;
    }
    if (!doc.grid().isEmpty())
        return true;
    const QString text = profile.emptyPictureText + QStringLiteral("\r\n\r\n") +
                         QStringLiteral("Do you want to continue anyway?");
    return prompt.message(profile.productName, text, Icon::Question, Buttons::YesNo) == Answer::Yes;
}

FileCommands::FileCommands(const Pieces &pieces)
    : m_doc(pieces.document), m_prompt(pieces.prompt), m_recent(pieces.recent), m_folders(pieces.folders),
      m_marks(pieces.marks)
{
}

FileCommands::~FileCommands() = default;

FileCommands::SaveAnswer FileCommands::askSaveChanges(bool closing)
{
    m_doc.setQuestionAnswered(false);
    if (m_doc.state() != LogoDocument::State::Modified || !(profile().marksModified || closing))
        return SaveAnswer::Proceed;
    const QString text = m_doc.currentFile() + QStringLiteral("\r\nhas not been saved yet.\r\n\r\n") +
                         QStringLiteral("Do you want to save it now?");
    switch (m_prompt.message(profile().productName, text, Icon::Exclamation, Buttons::YesNoCancel)) {
    case Answer::Yes:
        switch (save()) {
        case SaveResult::Failed:     // the save has said so
        case SaveResult::Cancelled:
            return SaveAnswer::Cancel;
        case SaveResult::Stopped:
            // Only an empty picture may go unsaved; one stopped for another
            // reason (no operator chosen, a refused folder) stays.
            if (!m_doc.grid().isEmpty())
                return SaveAnswer::Cancel;
            m_doc.setQuestionAnswered(true);
            return SaveAnswer::Proceed;
        default:
            m_doc.setQuestionAnswered(true);
            return SaveAnswer::Proceed;
        }
    case Answer::No:
        m_doc.setQuestionAnswered(true);
        return SaveAnswer::Proceed;
    default:
        return SaveAnswer::Cancel;
    }
}

// ---------------------------------------------------------------- commands

bool FileCommands::openFile(const QString &path)
{
    WaitCursor wait;
    const ForeignFormat format = foreignFormatOf(path);
    if (format == ForeignFormat::None || startsAsNativeFile(path))
        return readLogoFile(path);
    return openForeign(path, int(format));
}

bool FileCommands::readLogoFile(const QString &path)
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
    m_doc.replaceByLoad(QStringLiteral("Open"), [&] {
        m_doc.grid().setSize(content.width, content.height);
        m_doc.grid().bits2grid(content.bits);
        m_doc.setNetworkCode(content.isNol ? content.mcc : QString(), content.isNol ? content.mnc : QString());
        finishLogoRead(path);
    });
    return true;
}

void FileCommands::finishLogoRead(const QString &path)
{
    m_doc.setCurrentFile(path);
    m_doc.setNameFromRead(false);
    m_recent.add(path);
    m_doc.setState(LogoDocument::State::Loading);
    m_doc.showReplacedPicture();
    m_doc.setTitle(true);
}

void FileCommands::finishForeignRead(const QString &path)
{
    m_doc.setNetworkCode(QString(), QString());
    m_recent.add(path);
    nameAfterRead(path);
    m_doc.setState(LogoDocument::State::Loading);
    m_doc.showReplacedPicture();
    m_doc.setTitle(true);
}

void FileCommands::finishImport(const QString &path)
{
    // The picture under a new name is saved nowhere: no step of the history
    // is that name's saved state.
    const QString previous = m_doc.currentFile();
    nameAfterRead(path);
    if (m_doc.currentFile() != previous)
        m_doc.history().resetClean();
    m_doc.setState(LogoDocument::State::Loading);
    m_doc.showReplacedPicture();
    m_doc.setTitle(false);
}

void FileCommands::nameAfterRead(const QString &path)
{
    const QString pseudoName = profile().foreignReadName;
    m_doc.setCurrentFile(pseudoName.isEmpty() ? stripExtension(path) + savedExtension(SavedType::Ngg) : pseudoName);
    m_doc.setNameFromRead(pseudoName.isEmpty());
}

QString FileCommands::trailerCredit() const
{
    return QStringLiteral(", %1 %2").arg(profile().productName, versionText());
}

FileCommands::WriteResult FileCommands::writeLogoFile(const QString &path)
{
    if (!askIfEmpty())
        return WriteResult::Declined;
    return writeNativeFile(path);
}

FileCommands::WriteResult FileCommands::writeNativeFile(const QString &path)
{
    WaitCursor wait;
    const bool nol = isNolPath(path);
    qint16 mcc = 0, mnc = 0;
    if (nol) {
        // The network code must be a 16-bit number; an empty or oversized code
        // writes nothing. A negative code read from a file is written back as
        // it was read, never with its sign dropped.
        bool okC = false, okN = false;
        const int c = m_doc.currentMCC().trimmed().toInt(&okC);
        const int n = m_doc.currentMNC().trimmed().toInt(&okN);
        if (!okC || !okN || c > 32767 || n > 32767 || c < -32768 || n < -32768)
            return WriteResult::NoNetworkCode;
        mcc = qint16(c);
        mnc = qint16(n);
    }
    const QByteArray bytes = buildLogoFile(m_doc.grid(), nol, mcc, mnc, randomFiller(), trailerCredit(), QString());
    if (!writeFileAtomically(path, bytes))
        return WriteResult::IoError;
    finishLogoWrite(path);
    return WriteResult::Written;
}

void FileCommands::reportFailedSave(const QString &path, WriteResult result)
{
    QStringList lines{path, QStringLiteral("could not be saved.")};
    if (result == WriteResult::NoNetworkCode)
        lines << QString() << QStringLiteral("A NOL file needs the network code (MCC and MNC) of an operator.");
    m_prompt.critical(profile().productName, joinLines(lines));
    // Whatever was saved before, the file on disk is not known to hold this
    // picture now.
    m_doc.markUnsaved();
}

void FileCommands::finishLogoWrite(const QString &path)
{
    m_doc.setCurrentFile(path);
    m_doc.setNameFromRead(false);
    m_recent.add(path);
    m_doc.setTitle(true);
}

static FileCommands::SaveResult saveResultOf(FileCommands::WriteResult r)
{
    switch (r) {
    case FileCommands::WriteResult::Written: return FileCommands::SaveResult::Saved;
    case FileCommands::WriteResult::Declined: return FileCommands::SaveResult::Stopped;
    default: return FileCommands::SaveResult::Failed;
    }
}

FileCommands::SaveResult FileCommands::save()
{
    if (profile().isPseudoName(m_doc.currentFile()) || (m_doc.nameFromRead() && QFileInfo::exists(m_doc.currentFile())))
        return saveAs();
    m_marks.setBusy(true);
    const WriteResult r = writeLogoFile(m_doc.currentFile());
    if (r == WriteResult::NoNetworkCode || r == WriteResult::IoError)
        reportFailedSave(m_doc.currentFile(), r);
    m_marks.setBusy(false);
    return saveResultOf(r);
}

FileCommands::SaveResult FileCommands::saveAs()
{
    m_marks.setBusy(true);
    if (!askIfEmpty()) {
        m_marks.setBusy(false);
        return SaveResult::Stopped;
    }
    FileRequest req;
    req.title = QStringLiteral("Save As");
    // NOL is offered, and preselected, only with a network code to write.
    const SavedType types[] = {SavedType::Ngg, SavedType::Nol};
    req.filter = dialogEntry(types[0]);
    if (!m_doc.currentMCC().isEmpty()) {
        req.filter += QLatin1Char('|') + dialogEntry(types[1]);
        req.filterIndex = 2;
    } else {
        req.filterIndex = 1;
    }
    req.defaultExt = savedExtension(types[req.filterIndex - 1]).mid(1);
    // The whole name, so that it reads back as what is written: "logo.nlm.ngg"
    // stays itself, "Vodafone.de.ngg" keeps its ".de".
    req.fileName = m_doc.currentFile() == QStringLiteral("Untitled")
                       ? QString()
                       : proposedNativeName(fileNameOf(m_doc.currentFile()), types[req.filterIndex - 1]);
    // A name made from a read proposes its own folder, where Save would have written.
    if (m_doc.nameFromRead())
        req.initialDir = folderOf(m_doc.currentFile());
    else
        req.initialDir = m_folders.saveFolder.isEmpty() ? m_folders.openFolder : m_folders.saveFolder;
    const QString chosen = chooseSaveName(req, types);
    if (chosen.isEmpty()) {
        m_marks.setBusy(false);
        return SaveResult::Cancelled;
    }
    m_folders.saveFolder = folderOf(chosen);
    if (!acceptSaveTarget(chosen)) {
        m_marks.setBusy(false);
        return SaveResult::Stopped;
    }
    // The empty picture was asked about above, once.
    const WriteResult r = writeNativeFile(chosen);
    if (r != WriteResult::Written)
        reportFailedSave(chosen, r);
    m_marks.setBusy(false);
    return saveResultOf(r);
}

QString FileCommands::chooseSaveName(FileRequest request, const SavedType *filterTypes)
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
            profile().productName,
            fileNameOf(name) + QStringLiteral(" already exists.\r\nDo you want to replace it?"), Icon::Exclamation,
            Buttons::YesNo);
        if (replace == Answer::Yes)
            return name;
        request.fileName = fileNameOf(name);
        request.initialDir = folderOf(name);
        request.filterIndex = filter;
    }
}

void FileCommands::openCommand()
{
    m_marks.setBusy(true);
    if (askSaveChanges() == FileCommands::SaveAnswer::Proceed) {
        FileRequest req;
        req.title = QStringLiteral("Open");
        req.filter = openDialogFilter();
        req.initialDir = m_folders.openFolder;
        const QString chosen = m_prompt.openFileName(req);
        if (!chosen.isEmpty()) {
            m_folders.openFolder = folderOf(chosen);
            openFile(chosen);
        }
    }
    m_doc.setQuestionAnswered(false);
    m_marks.setBusy(false);
}

void FileCommands::openRecent(int n)
{
    const QString path = m_recent.file(n);
    if (n < 1 || n > RecentFiles::Count || path.isEmpty())
        return;
    if (!QFileInfo::exists(path)) {
        // Gone since it was listed: say so, and the entry goes.
        showCantRead();
        m_recent.remove(path);
        return;
    }
    m_marks.setBusy(true);
    if (askSaveChanges() == FileCommands::SaveAnswer::Proceed)
        openFile(path);
    m_doc.setQuestionAnswered(false);
    m_marks.setBusy(false);
}

void FileCommands::openFileReceived(const QString &path)
{
    if (askSaveChanges() != FileCommands::SaveAnswer::Proceed)
        return;
    if (isImportPicturePath(path) && foreignFormatOf(path) == ForeignFormat::None) {
        // A picture Import reads comes in as Import brings it.
        m_folders.importFolder = folderOf(path);
        if (!importPicture(path))
            showCantRead();
    } else {
        m_folders.openFolder = folderOf(path);
        openFile(path);
    }
    m_doc.setQuestionAnswered(false);
}

} // namespace logo
