#pragma once
// The phone cover behind the logo: the cover's picture from the top-left
// corner, and the logo painted 1:1, black on the display green, into the
// display window at (42, 85). It paints the document's picture as it is at
// each repaint, so it never shows anything else. With a pixel shape (the true
// aspect preview) the whole phone is drawn that many times taller than wide.
// A zoom of 2 or 3 shows every screen pixel as a crisp square block of 2 x 2
// or 3 x 3.
#include <QImage>
#include <QSizeF>
#include <QWidget>
#include <optional>

namespace logo {
class LogoGrid;
}

namespace brisvane {

class CoverView : public QWidget {
    Q_OBJECT
public:
    // The room kept for the covers: the widest built-in one, 162 x 210. A
    // larger picture of the user's gets more, up to kLargest; beyond that it
    // is cut off at the right and bottom.
    static constexpr QSize kRoom{162, 210};
    static constexpr QSize kLargest{324, 420};

    CoverView(const logo::LogoGrid &grid, QWidget *parent = nullptr);

    // A new background; a larger picture of the user's makes the box larger.
    void setCover(const QImage &cover);
    const QImage &cover() const { return m_cover; }
    // Display pixels of this shape (width to height), or square ones for none.
    void setPixelShape(std::optional<QSizeF> shape);
    // 1, 2 or 3 screen pixels for each pixel of the picture.
    static constexpr int kMaxZoom = 3;
    void setZoom(int zoom);
    int zoom() const { return m_zoom; }
    // What the box shows at square pixels.
    QImage picture() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSize squareSize() const;
    void fitSize();

    const logo::LogoGrid &m_grid;
    QImage m_cover;
    qreal m_heightScale = 1.0;
    int m_zoom = 1;
};

} // namespace brisvane
