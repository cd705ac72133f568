#pragma once
// A picture box that shows the logo at natural size: picDisplay (the logo on a
// phone display, top-left corner at (15, 31)) and picMyBMP (the bare 72 x 14
// picture). The box keeps its own pixels: while the preview blinks the picture
// may differ from what it shows. With a pixel shape the whole box (background
// and logo) is drawn that many times taller than wide, as the phones' display
// pixels are, each row a band of whole screen rows: the logo's pixels stay
// crisp blocks of black and green.
#include <QImage>
#include <QPoint>
#include <QSizeF>
#include <QWidget>
#include <optional>

namespace logo {
class LogoGrid;
}

namespace quillet {

class LogoPreview : public QWidget {
    Q_OBJECT
public:
    // background: drawn behind the logo (a null image for none); origin: where
    // the logo's top-left pixel goes.
    LogoPreview(const QImage &background, QPoint origin, QWidget *parent = nullptr);

    // The 102 x 79 phone display behind picDisplay, its screen green.
    static QImage phoneDisplay();
    static constexpr QPoint kDisplayOrigin{15, 31};

    // Fills the logo area with the display green.
    void clearPreview();
    // clearPreview, then every set pixel of the picture in black.
    void drawPreview(const logo::LogoGrid &grid);
    void setPixel(int c, int r, bool on);
    // Pixels of this shape (width to height), or square ones for none; the box
    // takes the height the shape gives it.
    void setPixelShape(std::optional<QSizeF> shape);
    std::optional<QSizeF> pixelShape() const { return m_shape; }

    bool isPixelSet(int c, int r) const;
    QImage logoImage() const { return m_logo; }
    QPoint origin() const { return m_origin; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The natural size before any pixel shape, and the box drawn at it.
    QSize squareSize() const;
    QImage squareImage() const;
    // How far the shape stretches the box from top to bottom.
    qreal heightScale() const;
    // Repaints the part of the box that shows the logo's rectangle.
    void updateLogoRect(const QRect &logoRect);

    std::optional<QSizeF> m_shape;
    QImage m_background;
    QPoint m_origin;
    QImage m_logo;  // 72 x 14
};

} // namespace quillet
