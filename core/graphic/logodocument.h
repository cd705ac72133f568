#pragma once
// The current document of a main window: the picture, its network code, its
// file name and whether it is saved, and the history of its changes, with the
// editing commands. No widgets, no files and no questions: the windows observe
// the signals and paint, and the file commands (graphic/filecommands.h) read
// and write it.
#include "desktop/profile.h"
#include "graphic/documenthistory.h"
#include "graphic/logogrid.h"
#include "graphic/textlogo.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

namespace logo {

class LogoDocument : public QObject {
    Q_OBJECT
public:
    // Loading: a read or an import is putting a picture in place.
    enum class State : qint16 { Clean, Modified, Loading };

    explicit LogoDocument(const ProgramProfile &profile, QObject *parent = nullptr);
    ~LogoDocument() override;

    const ProgramProfile &profile() const { return m_profile; }

    LogoGrid &grid() { return m_grid; }
    const LogoGrid &grid() const { return m_grid; }

    QString currentFile() const { return m_currentFile; }
    void setCurrentFile(const QString &name) { m_currentFile = name; }
    // True while the name came from a foreign read or an import (the file of
    // that name, if any, is not this document's).
    bool nameFromRead() const { return m_nameFromRead; }
    void setNameFromRead(bool fromRead) { m_nameFromRead = fromRead; }
    QString currentMCC() const { return m_mcc; }
    QString currentMNC() const { return m_mnc; }
    void setNetworkCode(const QString &mcc, const QString &mnc);
    State state() const { return m_state; }
    void setState(State s) { m_state = s; }

    // ---- title ----
    QString title() const { return m_title; }
    // Caption "<product> [<file shortened>]" or "...*]"; clean true makes the
    // state Clean (and the present step of the history the saved one), false
    // Modified (for a program that follows unsaved changes; the other's
    // documents stay clean and unmarked).
    void setTitle(bool clean);
    // Whatever was saved before, the file on disk is not known to hold this
    // picture now: a clean document becomes modified.
    void markUnsaved();

    // ---- history ----
    // Every change of the picture is a step that can be undone and redone:
    // painting (a whole drag as one step), the tools, a text logo, and New, a
    // read or an import when no save-changes question was answered before
    // them (an answered question starts the history afresh). Undo and redo
    // change the picture and its network code, never the name of a file: the
    // name follows the last Open, Save or Save As (only a pseudo-name such as
    // "Untitled" comes back with its picture); they repaint and put the
    // modified mark of the title as it belongs: clean exactly at the step of
    // the last save, read or New under the present name. The history is the
    // picture support's (graphic/picturesupport.h) where one is installed,
    // with undo and redo on the toolkit's undo stack (undoStackOf(),
    // picture/undohistory.h); without one it keeps the saved state only.
    DocumentHistory &history() { return *m_history; }
    static constexpr int HistoryLimit = 200;
    // Forgets every step; the present state stays clean or modified.
    void clearHistory();
    // The save-changes question was answered (the picture saved or given
    // up): the next New, read or import starts the history afresh. Any step
    // recorded in between, or false, takes this back.
    void setQuestionAnswered(bool answered) { m_questionAnswered = answered; }

    // ---- replacing the picture ----
    void newDocument();
    // A read or an import: change puts the new picture, network code and
    // name in place; the whole change is one step named text.
    void replaceByLoad(const QString &text, const std::function<void()> &change);
    // Every cell changed by a read or an import: repaints, the preview at once.
    void showReplacedPicture() { emit pictureChanged(true); }

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

signals:
    void cellChanged(int c, int r);
    // Every cell may have changed. redrawPreview is true when the whole picture
    // was repainted (New, a read, an import, Invert): the phone preview then
    // shows it at once, even while it blinks. The move and flip tools pass
    // false and leave a blinking preview to its next tick.
    void pictureChanged(bool redrawPreview);
    void titleChanged(const QString &title);
    void networkCodeChanged();

protected:
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
    void record(std::unique_ptr<HistoryStep> step);
    void showTitle(bool clean);

    const ProgramProfile &m_profile;
    LogoGrid m_grid;
    QString m_currentFile = QStringLiteral("Untitled");
    bool m_nameFromRead = false;
    QString m_mcc, m_mnc;
    State m_state = State::Clean;
    QString m_title;

private:
    class Step;
    class PaintStep;
    class ToolStep;
    class ReplaceStep;
    std::unique_ptr<DocumentHistory> m_history;
    bool m_questionAnswered = false;   // the save-changes question let the next load go on
    int m_stroke = 0;
    bool m_strokeOpen = false;
};

} // namespace logo
