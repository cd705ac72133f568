#pragma once
// A picture box that shows the logo at natural size: picDisplay (the logo on a
// phone display, top-left corner at (15, 31)) and picMyBMP (the bare 72 x 14
// picture). The box keeps its own pixels: while the preview blinks the picture
// may differ from what it shows.
#include <QImage>
#include <QPoint>
#include <QWidget>

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

    bool isPixelSet(int c, int r) const;
    QImage logoImage() const { return m_logo; }
    QPoint origin() const { return m_origin; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_background;
    QPoint m_origin;
    QImage m_logo;  // 72 x 14
};

} // namespace quillet
