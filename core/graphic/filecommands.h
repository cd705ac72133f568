#pragma once
// The File commands of a window on its document: Open, Save, Save As, Import,
// Export and the recent files, with the save-changes and empty-picture
// questions and the file dialogs, all through the Prompt. No widgets: the
// window binds its menu entries here, and the command-line tool reads and
// writes with the same code.
#include "desktop/dialogfolders.h"
#include "desktop/prompt.h"
#include "desktop/recentfiles.h"
#include "desktop/runmarks.h"
#include "graphic/logodocument.h"
#include "graphic/savenames.h"

#include <QSize>

namespace logo {

// False to abandon: an empty picture the user does not want, or (when the
// program needs one and requireOperator is set) no network code.
bool askIfEmptyPicture(const LogoDocument &doc, Prompt &prompt, bool requireOperator = true);

class FileCommands {
public:
    // What the commands work on; every piece must outlive them.
    struct Pieces {
        LogoDocument &document;
        Prompt &prompt;
        RecentFiles &recent;
        DialogFolders &folders;
        RunMarks &marks;
    };
    enum class WriteResult { Written, Declined, NoNetworkCode, IoError };
    enum class SaveResult { Saved, Stopped, Cancelled, Failed };
    enum class SaveAnswer { Proceed, Cancel };

    explicit FileCommands(const Pieces &pieces);
    virtual ~FileCommands();

    LogoDocument &document() { return m_doc; }
    RecentFiles &recentFiles() { return m_recent; }
    DialogFolders &folders() { return m_folders; }

    // ---- questions ----
    bool askIfEmpty(bool requireOperator = true) { return askIfEmptyPicture(m_doc, m_prompt, requireOperator); }
    // Proceed to go on, Cancel to stop (Yes saves first). A save that was
    // tried and failed says so and gives Cancel, and so does a Save As dialog cancelled after
    // Yes or a save stopped before writing a picture that isn't empty: the
    // unsaved picture is never dropped. Declining to save an empty picture
    // goes on. A program whose title has no modified mark asks only when
    // closing is set (its window is about to close).
    SaveAnswer askSaveChanges(bool closing = false);

    // ---- commands ----
    // The Open dispatcher: picks the reader by the name, except that a file
    // starting with the magic of a NOL, NGG or NCG file is always read as one;
    // true when the picture was replaced.
    bool openFile(const QString &path);
    bool readLogoFile(const QString &path);
    WriteResult writeLogoFile(const QString &path);
    // Save and Save As. The result tells whether a file was written, the user
    // declined to save an empty picture, cancelled the dialog, or the write
    // failed (which the user is told, naming the file; the picture stays
    // unsaved). Save goes through Save As while the document has no file of
    // its own: a pseudo-name, or a name made from a foreign read or an import
    // that an existing file already carries (Save would silently replace it).
    // Save As proposes the document's whole name with the extension of the
    // type it preselects, and the filter chosen in the dialog gives a name
    // typed without a native extension its own.
    SaveResult save();
    SaveResult saveAs();
    void openCommand();               // File > Open with its dialog
    // 1..4. An entry whose file has gone says so and leaves the list.
    void openRecent(int n);
    // Drop, hand-over: a picture Import reads is imported, anything else opened.
    void openFileReceived(const QString &path);

    // Picture import and bitmap export commands (with their dialogs); the
    // export writes each pixel as a block of pixel.width() x pixel.height().
    void importCommand();
    void exportCommand(QSize pixel = QSize(1, 1));
    // Imports a picture file into the document, as a 72 x 14 picture; false
    // when it could not be loaded.
    bool importPicture(const QString &path);
    // Writes the picture black on the display green, each pixel a block of
    // pixel.width() x pixel.height(): a PNG file when the name ends in ".png"
    // (any case), else a Windows bitmap.
    bool exportPicture(const QString &path, QSize pixel = QSize(1, 1)) const;

    // Credit text in the trailer of written files.
    QString trailerCredit() const;

protected:
    // What follows a successful read of a native file, a foreign file or an
    // import; a program whose window does more overrides these.
    virtual void finishLogoRead(const QString &path);
    virtual void finishForeignRead(const QString &path);
    virtual void finishImport(const QString &path);
    // What follows a successful write: the document takes the name.
    virtual void finishLogoWrite(const QString &path);
    // Whether Save As may write to the chosen name; a refusal says why.
    virtual bool acceptSaveTarget(const QString &) { return true; }
    // The name after a foreign read or an import: the path with ".ngg", or
    // the profile's pseudo-name where it has one ("Imported").
    void nameAfterRead(const QString &path);
    // Writes the picture without asking about an empty one (the caller has).
    WriteResult writeNativeFile(const QString &path);
    // Tells the user that the file could not be written and why, and leaves
    // the picture marked unsaved.
    void reportFailedSave(const QString &path, WriteResult result);
    // Runs a save dialog until the user settles on a name or cancels (empty
    // text): the name typed, completed by the type of the chosen filter
    // (filterTypes, one per filter), and asked about when that completed name
    // already exists.
    QString chooseSaveName(FileRequest request, const SavedType *filterTypes);
    // "Can't read this file. Try another file."
    void showCantRead();
    // Reads a foreign format (NLM, NSL, NGL, OTB, WBMP, I61) chosen by name.
    bool openForeign(const QString &path, int format);
    // Reads the whole file; false (with the program's message) when it can't.
    bool loadRawFile(const QString &path, QByteArray &buffer);

    const ProgramProfile &profile() const { return m_doc.profile(); }

    LogoDocument &m_doc;
    Prompt &m_prompt;
    RecentFiles &m_recent;
    DialogFolders &m_folders;
    RunMarks &m_marks;
};

} // namespace logo
