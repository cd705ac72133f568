#pragma once
// picMain: the enlarged editing grid. Each cell is a 6 x 6 square on a 7-pixel
// pitch with a one-pixel grid line between cells; every eighth column and the
// eighth row get a darker boundary line. The left button sets the cell under
// the mouse, the right button clears it, dragging paints every cell passed,
// also between two positions a fast pointer reports far apart.
#include <QPoint>
#include <QRgb>
#include <QSize>
#include <QWidget>

namespace logo {
class LogoDocument;
}

namespace quillet {

inline constexpr QRgb kDisplayGreen = qRgb(120, 190, 110);
inline constexpr QRgb kGridLineColour = qRgb(95, 153, 89);
inline constexpr QRgb kOctetLineColour = qRgb(79, 128, 74);
inline constexpr int kCellPitch = 7;

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

    bool isPressed() const { return m_pressed; }
    QSize sizeHint() const override;

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
    void paintWith(int buttonValue, QPoint cell);

    logo::LogoDocument &m_document;
    bool m_pressed = false;
    QPoint m_lastCell;   // the pointer's cell at the last press or move
    QSize m_dims;
};

} // namespace quillet
