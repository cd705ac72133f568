#include "logopreview.h"

#include "desktop/pixelaspect.h"
#include "picture/pictureimage.h"
#include "graphic/logogrid.h"
#include "gridview.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <initializer_list>

namespace quillet {

namespace {

// Tiny pixel glyphs for the soft-key caption of the phone display.
struct Glyph {
    int width;
    int top;                 // rows below the caption's top
    const char *rows[7];     // '#' for ink, ends at the first null row
};

void drawGlyphs(QImage &img, int x, int y, std::initializer_list<Glyph> glyphs, QRgb ink)
{
    for (const Glyph &g : glyphs) {
        for (int r = 0; r < 7 && g.rows[r]; ++r)
            for (int c = 0; c < g.width; ++c)
                if (g.rows[r][c] == '#')
                    img.setPixel(x + c, y + g.top + r, ink);
        x += g.width + 1;
    }
}

} // namespace

LogoPreview::LogoPreview(const QImage &background, QPoint origin, QWidget *parent)
    : QWidget(parent), m_background(background), m_origin(origin),
      m_logo(logo::LogoGrid::MaxWidth, logo::LogoGrid::MaxHeight, QImage::Format_RGB32)
{
    m_logo.fill(kDisplayGreen);
    setFixedSize(sizeHint());
}

QSize LogoPreview::squareSize() const
{
    if (!m_background.isNull())
        return m_background.size();
    return m_logo.size() + QSize(m_origin.x(), m_origin.y());
}

qreal LogoPreview::heightScale() const
{
    return m_shape ? m_shape->height() / m_shape->width() : 1.0;
}

QSize LogoPreview::sizeHint() const
{
    const QSize square = squareSize();
    return {square.width(), logo::stretchedRow(square.height(), heightScale())};
}

void LogoPreview::setPixelShape(std::optional<QSizeF> shape)
{
    if (shape && !(shape->width() > 0 && shape->height() > 0))
        shape.reset();
    m_shape = shape;
    setFixedSize(sizeHint());
    update();
}

void LogoPreview::updateLogoRect(const QRect &logoRect)
{
    const QRect area = logoRect.translated(m_origin);
    if (!m_shape) {
        update(area);
        return;
    }
    const qreal k = heightScale();
    const int top = logo::stretchedRow(area.top(), k);
    update(QRect(area.x(), top, area.width(), logo::stretchedRow(area.bottom() + 1, k) - top));
}

QImage LogoPreview::phoneDisplay()
{
    QImage img(102, 79, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        // The phone's bezel around the screen.
        QPainterPath bezel;
        bezel.addRoundedRect(QRectF(0.5, 0.5, 101, 78), 11, 11);
        QLinearGradient shade(0, 0, 0, 79);
        shade.setColorAt(0, QColor(86, 94, 104));
        shade.setColorAt(1, QColor(44, 49, 56));
        p.fillPath(bezel, shade);
        p.setPen(QColor(30, 33, 38));
        p.drawPath(bezel);
        p.setRenderHint(QPainter::Antialiasing, false);
        // The screen, with a thin inner shadow along its top and left.
        const QRect screen(7, 8, 88, 63);
        p.fillRect(screen.adjusted(-1, -1, 1, 1), QColor(28, 31, 35));
        p.fillRect(screen, QColor(kDisplayGreen));
        p.fillRect(screen.x(), screen.y(), screen.width(), 1, QColor(kGridLineColour));
        p.fillRect(screen.x(), screen.y(), 1, screen.height(), QColor(kGridLineColour));
    }
    const QRgb ink = qRgb(0, 0, 0);
    // Field strength at the left: an antenna and bars growing upwards.
    for (int y = 13; y <= 18; ++y)
        img.setPixel(11, y, ink);
    img.setPixel(9, 11, ink);
    img.setPixel(13, 11, ink);
    img.setPixel(10, 12, ink);
    img.setPixel(12, 12, ink);
    // Battery at the right: a small cell with its cap.
    for (int x = 88; x <= 92; ++x) {
        img.setPixel(x, 12, ink);
        img.setPixel(x, 18, ink);
    }
    for (int y = 12; y <= 18; ++y) {
        img.setPixel(88, y, ink);
        img.setPixel(92, y, ink);
    }
    img.setPixel(89, 11, ink);
    img.setPixel(90, 11, ink);
    img.setPixel(91, 11, ink);
    for (int y = 14; y <= 17; ++y)
        for (int x = 89; x <= 91; ++x)
            img.setPixel(x, y, ink);
    for (int i = 0; i < 4; ++i) {
        const int y = 49 + 4 * (3 - i);
        for (int x = 0; x <= i + 1; ++x) {
            img.setPixel(9 + x, y, ink);
            img.setPixel(9 + x, y + 1, ink);
            img.setPixel(92 - x, y, ink);
            img.setPixel(92 - x, y + 1, ink);
        }
    }
    // The soft key's caption under the logo.
    drawGlyphs(img, 41, 61,
               {{5, 0, {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
                {4, 2, {".##.", "#..#", "####", "#...", ".##."}},
                {4, 2, {"###.", "#..#", "#..#", "#..#", "#..#"}},
                {4, 2, {"#..#", "#..#", "#..#", "#..#", ".###"}}},
               ink);
    return img;
}

void LogoPreview::clearPreview()
{
    m_logo.fill(kDisplayGreen);
    updateLogoRect(m_logo.rect());
}

void LogoPreview::drawPreview(const logo::LogoGrid &grid)
{
    m_logo.fill(kDisplayGreen);
    for (int r = 0; r < grid.height(); ++r)
        for (int c = 0; c < grid.width(); ++c)
            if (grid.isSet(c, r))
                m_logo.setPixel(c, r, qRgb(0, 0, 0));
    updateLogoRect(m_logo.rect());
}

void LogoPreview::setPixel(int c, int r, bool on)
{
    if (!m_logo.valid(c, r))
        return;
    m_logo.setPixel(c, r, on ? qRgb(0, 0, 0) : kDisplayGreen);
    updateLogoRect(QRect(c, r, 1, 1));
}

bool LogoPreview::isPixelSet(int c, int r) const
{
    return m_logo.valid(c, r) && m_logo.pixel(c, r) == qRgb(0, 0, 0);
}

void LogoPreview::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (!m_shape) {
        if (!m_background.isNull())
            p.drawImage(0, 0, m_background);
        p.drawImage(m_origin, m_logo);
        return;
    }
    // The whole box at square pixels, then every row stretched to whole screen
    // rows: each pixel of the logo one crisp block of black or green.
    p.drawImage(0, 0, logo::stretchRows(squareImage(), heightScale()));
}

QImage LogoPreview::squareImage() const
{
    QImage square(squareSize(), QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::transparent);
    QPainter p(&square);
    if (!m_background.isNull())
        p.drawImage(0, 0, m_background);
    p.drawImage(m_origin, m_logo);
    return square;
}

} // namespace quillet
