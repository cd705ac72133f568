#pragma once
// The rectangular selection of the editing grid and the clipboard commands.
// A selection is marked by dragging; dragging inside it moves its cells
// (what was under them comes back where they leave), and every drag is one
// step of the document's history. Copy puts the selected cells (the whole
// picture without a selection) on the system clipboard as a black and white
// image; Paste takes any image from it, dark pixels set as Import reads a
// picture, and places it at the top-left as a selection that can be moved.
// A change of the picture from elsewhere (undo, another tool, a file) drops
// the selection and leaves its cells where they are.
#include "graphic/logogrid.h"

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QRect>

namespace logo {
class LogoDocument;
}

namespace quillet {

class Selection : public QObject {
    Q_OBJECT
public:
    explicit Selection(logo::LogoDocument &document, QObject *parent = nullptr);

    // The selected cells, inside the picture; empty without a selection.
    QRect rect() const { return m_rect; }
    bool isEmpty() const { return m_rect.isEmpty(); }
    void clear();

    // The selection tool's left button: a press inside the selection moves
    // it, elsewhere marks a new one; a click without a drag drops it.
    void press(QPoint cell);
    void drag(QPoint cell);
    void release(QPoint cell);

    void copy() const;
    void cut();
    void paste();
    // Clears the selected cells, one step.
    void deleteCells();

    // The selected cells (the whole picture without a selection) as an image:
    // set cells black, the others white.
    QImage image() const;
    // The picture an image gives: its top-left part (at most the largest
    // picture), transparent parts over the display's green, dark pixels set.
    static logo::LogoGrid gridFromImage(const QImage &image);

signals:
    void changed();

private:
    void onPictureChanged();
    // Places the floating cells with their top-left at topLeft, putting back
    // what they covered.
    void moveTo(QPoint topLeft);
    // Paints the cells that differ from target (inside one open stroke).
    void paintDifferences(const logo::LogoGrid &target);
    void setRect(const QRect &rect);

    enum class Drag { None, Marking, Moving };
    logo::LogoDocument &m_document;
    QRect m_rect;
    bool m_floating = false;     // the cells are lifted: m_content is what the selection shows
    logo::LogoGrid m_content;    // the lifted cells, the selection's size
    logo::LogoGrid m_under;      // what the lifted cells cover, the selection's size
    Drag m_drag = Drag::None;
    QPoint m_anchor;             // where the drag started
    QPoint m_startTopLeft;
    bool m_moved = false;
    bool m_strokeOpen = false;
    bool m_changing = false;     // the selection is changing the picture itself
};

} // namespace quillet
