#pragma once
// picMain: the enlarged editing grid. Each cell is a 6 x 6 square on a 7-pixel
// pitch with a one-pixel grid line between cells; every eighth column and the
// eighth row get a darker boundary line. The left button sets the cell under
// the mouse, the right button clears it, dragging paints every cell passed,
// also between two positions a fast pointer reports far apart; the other
// tools (drawingtools.h) draw their shapes, fill and select the same way.
// The cells grow with the window and with the zoom: the static functions
// below give the 7-pixel cells of the natural size, the members the cells as
// they are shown now.
#include <QFrame>
#include <QPoint>
#include <QRgb>
#include <QSize>
#include <QString>
#include <QWidget>

namespace logo {
class LogoDocument;
}

namespace quillet {

inline constexpr QRgb kDisplayGreen = qRgb(120, 190, 110);
inline constexpr QRgb kGridLineColour = qRgb(95, 153, 89);
inline constexpr QRgb kOctetLineColour = qRgb(79, 128, 74);
inline constexpr int kCellPitch = 7;
inline constexpr int kMinCellPitch = 3;
inline constexpr int kMaxCellPitch = 40;

class DrawingTools;
class Selection;

class GridView : public QWidget {
    Q_OBJECT
public:
    explicit GridView(logo::LogoDocument &document, QWidget *parent = nullptr);

    // 7 x width + 1 by 7 x height + 1 pixels: the cells and the lines around them.
    static QSize naturalSize(int width, int height);
    // The cell under a point of the widget (may lie outside the picture).
    static QPoint cellAt(QPointF pos);
    // The square of a cell: (7c + 1, 7r + 1) to (7c + 6, 7r + 6).
    static QRect cellRect(int c, int r);
    // Index of the last vertical octet line: lines are drawn at x = 56 (d + 1)
    // for d from 0 to this value (none when it is negative).
    static int lastOctetLine(int width);
    // The mouse buttons as the classic button value: left 1, right 2, middle 4, summed.
    static int buttonValue(Qt::MouseButtons buttons);

    bool isPressed() const;
    QSize sizeHint() const override;

    DrawingTools &tools() { return *m_tools; }
    Selection &selection() { return *m_selection; }

    // ---- zoom ----
    // The pitch of the cells shown now (7 at the natural size).
    int cellPitch() const { return m_pitch; }
    // The cell under a point of the widget at the present pitch.
    QPoint cellUnder(QPointF pos) const;
    // The square a cell is painted in at the present pitch.
    QRect cellSquare(int c, int r) const;
    // The size of the largest picture at the given pitch.
    static QSize largestSize(int pitch);
    // The pitch the zoom asks for: the smallest the cells get; the window is
    // sized for it, and a larger window makes the cells larger.
    int zoomPitch() const { return m_zoomPitch; }
    void setZoomPitch(int pitch);
    void zoomIn() { setZoomPitch(m_pitch + 1); }
    void zoomOut() { setZoomPitch(m_pitch - 1); }
    void resetZoom() { setZoomPitch(kCellPitch); }
    // The largest cells with which the largest picture fits into room, at
    // least those of the zoom.
    void fitTo(QSize room);
    bool gridLinesShown() const { return m_gridLines; }
    // Switches the lines between the cells.
    void setGridLinesShown(bool shown);

    // Follows a change of the picture's dimensions and repaints everything.
    void refresh();

signals:
    // The mouse moved over the cell (column, row), both from 0.
    void cursorCell(int column, int row);
    // One of the four arrow keys was pressed (Qt::Key_Up, ...).
    void arrowKey(int key);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void setPitch(int pitch);

    logo::LogoDocument &m_document;
    DrawingTools *m_tools = nullptr;
    Selection *m_selection = nullptr;
    QSize m_dims;
    int m_pitch = kCellPitch;
    int m_zoomPitch = kCellPitch;
    bool m_gridLines = true;
};

// gridFrame: the frame around the editing grid. It asks for room for the
// largest picture at the zoom's pitch (at least), fits the cells to the room
// it gets and centres the largest picture's place in it; a smaller picture
// keeps to that place's top-left corner.
class GridFrame : public QFrame {
    Q_OBJECT
public:
    explicit GridFrame(QWidget *parent = nullptr);
    void setView(GridView *view);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeView();

    GridView *m_view = nullptr;
};

} // namespace quillet
