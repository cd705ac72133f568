#pragma once
// The editing grid's tools: the pencil, the shapes (line, rectangles,
// ellipses), the flood fill and the rectangular selection. A tool turns the
// mouse's press, drag and release on cells into changes of the picture: the
// pencil paints as the pointer passes, a shape is previewed while dragging and
// drawn on release, the fill changes the joined cells on press. Whatever a
// press and its drag change is one step of the document's history. The left
// button draws black (set cells), the right button the background (clear
// cells); the other buttons do nothing.
#include "graphic/shapes.h"

#include <QIcon>
#include <QList>
#include <QObject>
#include <QPoint>
#include <optional>
#include <span>

namespace logo {
class LogoDocument;
}

namespace quillet {

class Selection;

enum class Tool { Pencil, Line, Rectangle, FilledRectangle, Ellipse, FilledEllipse, Fill, Select };

// A tool as the Tools menu and the toolbar offer it.
struct ToolEntry {
    Tool tool;
    const char *name;       // objectName of the menu entry: "mnuToolLine"
    const char *caption;    // "&Line"
    const char *shortcut;   // one key: "L"
};
std::span<const ToolEntry> toolEntries();
// A small drawn picture of the tool for its button.
QIcon toolIcon(Tool tool);
// The shape a tool draws; none for the pencil, the fill and the selection.
std::optional<logo::Shape> toolShape(Tool tool);

class DrawingTools : public QObject {
    Q_OBJECT
public:
    explicit DrawingTools(logo::LogoDocument &document, QObject *parent = nullptr);

    Tool tool() const { return m_tool; }
    // Changing the tool abandons a shape being dragged.
    void setTool(Tool tool);
    // The selection tool hands its presses to this.
    void setSelection(Selection *selection) { m_selection = selection; }

    // buttonValue: the classic value of the pressed button (left 1, right 2,
    // middle 4); heldValue: of all buttons held during the drag. shift
    // constrains a shape: 45-degree lines, squares and circles.
    void press(QPoint cell, int buttonValue, bool shift);
    void move(QPoint cell, int heldValue, bool shift);
    void release(QPoint cell, bool shift);
    bool isPressed() const { return m_pressed; }
    // Escape: a shape being dragged is abandoned; without one the selection
    // is dropped (its cells stay where they are).
    void cancel();

    // The cells of the shape being dragged and the colour it draws them in.
    const QList<QPoint> &previewCells() const { return m_preview; }
    bool previewColour() const { return m_on; }

signals:
    void toolChanged(quillet::Tool tool);
    // The preview cells changed: the grid repaints them.
    void previewChanged();

private:
    void paintPencil(int value, QPoint cell);
    void updatePreview(QPoint cell, bool shift);
    QList<QPoint> shapeTo(QPoint cell, bool shift) const;
    // Paints the cells as one step of the history.
    void paintAsOneStep(const QList<QPoint> &cells, bool on);

    logo::LogoDocument &m_document;
    Selection *m_selection = nullptr;
    Tool m_tool = Tool::Pencil;
    bool m_pressed = false;
    bool m_drawing = false;   // the pressed button draws (left or right alone)
    bool m_on = true;
    QPoint m_anchor;
    QPoint m_lastCell;
    QList<QPoint> m_preview;
};

} // namespace quillet
