#pragma once
// The current document of a main window: the picture, its network code, its
// name and state, the recent-file list and the folders, with the file commands
// that change them. No widgets: the windows observe the signals and paint; every
// question and dialog goes through the Prompt.
#include "desktop/profile.h"
#include "desktop/prompt.h"
#include "desktop/settingsstore.h"
#include "graphic/logofile.h"
#include "graphic/logogrid.h"
#include "graphic/savenames.h"
#include "graphic/textlogo.h"

#include <QObject>
#include <QSize>
#include <QStringList>
#include <QUndoStack>

namespace logo {

class LogoDocument : public QObject {
    Q_OBJECT
public:
    enum DocState : qint16 { Clean = 0, Modified = 1, Loading = 2 };
    enum class WriteResult { Written, Declined, NoNetworkCode, IoError };
    static constexpr int RecentCount = 4;

    LogoDocument(const ProgramProfile &profile, Prompt &prompt, SettingsStore &settings,
                 QObject *parent = nullptr);
    ~LogoDocument() override;

    const ProgramProfile &profile() const { return m_profile; }
    Prompt &prompt() { return m_prompt; }
    SettingsStore &settings() { return m_settings; }

    LogoGrid &grid() { return m_grid; }
    const LogoGrid &grid() const { return m_grid; }

    QString currentFile() const { return m_currentFile; }
    void setCurrentFile(const QString &name) { m_currentFile = name; }
    QString currentMCC() const { return m_mcc; }
    QString currentMNC() const { return m_mnc; }
    void setNetworkCode(const QString &mcc, const QString &mnc);
    DocState docState() const { return m_docState; }
    void setDocState(DocState s) { m_docState = s; }

    // The program folder (branding file, phonebook cache, ...), ending in a separator.
    QString appFolder() const { return m_appFolder; }
    void setAppFolder(const QString &folder);

    // Folders kept in the program's settings section.
    QString userDir() const { return m_userDir; }
    void setUserDir(const QString &d) { m_userDir = d; }
    QString userDirSave() const { return m_userDirSave; }
    void setUserDirSave(const QString &d) { m_userDirSave = d; }
    QString importDir() const { return m_importDir; }
    void setImportDir(const QString &d) { m_importDir = d; }
    QString exportDir() const { return m_exportDir; }
    void setExportDir(const QString &d) { m_exportDir = d; }

    // ---- settings of the document's window ----
    void loadSettings();          // folders and recent files
    void saveSettings();          // folders and recent files (the window adds its position)
    QString section() const { return m_profile.settingsSection; }

    // ---- title, state, busy mark ----
    QString title() const { return m_title; }
    // Caption "<product> [<file shortened>]" or "...*]"; clean true makes the
    // state Clean (and the present step of the history the saved one), false
    // Modified (for a program that follows unsaved changes; the other's
    // documents stay clean and unmarked). With run marks the caption is
    // stored as "CurrentAppname".
    void setTitle(bool clean);
    // With run marks the busy flag is also stored as "CurrentBusy".
    void setBusy(bool busy);
    bool isBusy() const { return m_busy; }
    // The run marks ("CurrentAppname", "CurrentBusy") tell a second start of
    // the program about the running window. Only a main window leaves them:
    // a document of the command-line tool or of a test never touches them.
    void setRunMarks(bool on) { m_runMarks = on; }

    // ---- questions ----
    // False to abandon: an empty picture the user does not want, or (when the
    // program needs one and requireOperator is set) no network code.
    bool askIfEmpty(bool requireOperator = true);
    // Proceed to go on, Cancel to stop (Yes saves first). A save that was
    // tried and failed says so and gives Cancel, and so does a Save As dialog cancelled after
    // Yes or a save stopped before writing a picture that isn't empty: the
    // unsaved picture is never dropped. Declining to save an empty picture
    // goes on. A program whose title has no modified mark asks only when
    // closing is set (its window is about to close).
    enum class SaveAnswer { Proceed, Cancel };
    SaveAnswer askSaveChanges(bool closing = false);

    // ---- commands ----
    void newDocument();
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
    enum class SaveResult { Saved, Stopped, Cancelled, Failed };
    SaveResult save();
    SaveResult saveAs();
    void openCommand();               // File > Open with its dialog
    // 1..4. An entry whose file has gone says so and leaves the list.
    void openRecent(int n);
    // Drop, hand-over: a picture Import reads is imported, anything else opened.
    void openFileReceived(const QString &path);

    // Picture import and bitmap export commands (with their dialogs).
    void importCommand();
    void exportCommand();
    // Imports a picture file into the document, as a 72 x 14 picture; false
    // when it could not be loaded.
    bool importPicture(const QString &path);
    // Writes the picture black on the display green, each pixel a block of
    // pixel.width() x pixel.height(): a PNG file when the name ends in ".png"
    // (any case), else a Windows bitmap.
    bool exportPicture(const QString &path, QSize pixel = QSize(1, 1)) const;

    // ---- recent files ----
    QStringList recentFiles() const { return m_recent; }
    void setRecentFiles(const QStringList &files);
    void addRecentFile(const QString &path);
    // Drops every entry equal to path; the later ones move up.
    void removeRecentFile(const QString &path);
    // True while the name came from a foreign read or an import (the file of
    // that name, if any, is not this document's).
    bool nameFromRead() const { return m_nameFromRead; }

    // ---- history ----
    // Every change of the picture is a step that can be undone and redone:
    // painting (a whole drag as one step), the tools, a text logo, and New, a
    // read or an import when no save-changes question was answered before
    // them (an answered question starts the history afresh). Undo and redo
    // change the picture and its network code, never the name of a file: the
    // name follows the last Open, Save or Save As (only a pseudo-name such as
    // "Untitled" comes back with its picture); they repaint and put the
    // modified mark of the title as it belongs: clean exactly at the step of
    // the last save, read or New under the present name.
    QUndoStack &history() { return m_history; }
    static constexpr int HistoryLimit = 200;
    // Forgets every step; the present state stays clean or modified.
    void clearHistory();

    // ---- editing ----
    // Sets or clears one cell inside the dimensions (marks a clean document
    // modified). A cell that already shows so is no change.
    void paintCell(int c, int r, bool on);
    // Cells painted from beginStroke to endStroke (a press and drag of the
    // mouse) are one step; a paint outside a stroke is a step of its own.
    void beginStroke();
    void endStroke();
    void moveUp();
    void moveDown();
    void moveLeft();
    void moveRight();
    void flipHorizontal();
    void flipVertical();
    void invert();
    // Replaces the picture by the lines drawn in the font (72 x 14, the name
    // and network code kept) as one step. The result says why when the text
    // can't be drawn; the picture then stays as it is.
    TextLogo insertText(const QStringList &lines, TextFont font);

    // Credit text in the trailer of written files.
    QString trailerCredit() const;

signals:
    void cellChanged(int c, int r);
    // Every cell may have changed. redrawPreview is true when the whole picture
    // was repainted (New, a read, an import, Invert): the phone preview then
    // shows it at once, even while it blinks. The move and flip tools pass
    // false and leave a blinking preview to its next tick.
    void pictureChanged(bool redrawPreview);
    void titleChanged(const QString &title);
    void recentFilesChanged();
    void networkCodeChanged();

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
    void replaceGrid(const LogoGrid &g);
    void afterTool(bool redrawPreview);

    // What a step replacing the whole picture puts back: the picture with its
    // size, and its network code; the name only as the step allows.
    struct Snapshot {
        LogoGrid grid;
        QString mcc, mnc, file;
        bool nameFromRead = false;
        bool operator==(const Snapshot &) const = default;
    };
    Snapshot snapshot() const;
    void restore(const Snapshot &s);
    // After undo or redo put a picture and network code back; a program that
    // shows more of them (Brisvane's operator list) follows here.
    virtual void afterRestore() {}
    // Records what New, a read or an import (load true) or a text logo did
    // since before was taken.
    void recordReplacement(const Snapshot &before, const QString &text, bool load);
    // Records a change of the picture that also gave the document a name of
    // the picture's own (Brisvane's "Clear Logo", "Untitled"), and makes its
    // result the saved state: that picture is built in or empty. Undo and redo
    // put the name on either side back too, as long as no Open, Save or Save
    // As has named the document since. Nothing is recorded when the picture
    // stayed as it was.
    void recordRelabel(const Snapshot &before, const QString &text);
    using Transform = void (*)(LogoGrid &);
    void applyTool(const QString &text, Transform forward, Transform backward, bool redrawPreview);
    void record(QUndoCommand *step);
    void showTitle(bool clean);

    const ProgramProfile &m_profile;
    Prompt &m_prompt;
    SettingsStore &m_settings;
    LogoGrid m_grid;
    QString m_currentFile = QStringLiteral("Untitled");
    bool m_nameFromRead = false;
    QString m_mcc, m_mnc;
    DocState m_docState = Clean;
    QString m_title;
    bool m_busy = false;
    bool m_runMarks = false;
    QStringList m_recent{QString(), QString(), QString(), QString()};
    QString m_appFolder;
    QString m_userDir, m_userDirSave, m_importDir, m_exportDir;

private:
    class Step;
    class PaintStep;
    class ToolStep;
    class ReplaceStep;
    QUndoStack m_history;
    bool m_recording = false;      // a step is being pushed: the title is set by the change itself
    bool m_questionAnswered = false;   // the save-changes question let the next load go on
    int m_stroke = 0;
    bool m_strokeOpen = false;
};

} // namespace logo
