// coverart: draws Brisvane's ten built-in phone covers from shapes and writes
// them as PNG files. The pictures under resources/covers/ are its output:
//
//   coverart OUTPUT_FOLDER
//
// Every cover is 210 pixels high, about 157 wide, a candy-bar phone of its
// own shape and colours, with the display's logo window exactly at (42, 85)
// to (113, 98), filled with the display green.
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>
#include <functional>

namespace {

const QColor kDisplayGreen(120, 190, 110);
const QRect kLogoWindow(42, 85, 72, 14);

enum class Antenna { None, StubLeft, StubRight, Long };
enum class Keys { Grid, Ovals, Smile, Slide, Tilted, Rubber };
enum class Navi { SoftKeys, Roller, BigNavi, Rocker, Slider };

struct Model {
    const char *file;
    int width;
    // Outline: half widths of the body at its top, shoulder, waist and foot,
    // measured from the middle, and the corner radius.
    int top, shoulder, waist, foot, radius;
    Antenna antenna;
    QColor body, bodyEdge, face, key, keyText;
    Keys keys;
    Navi navi;
    QColor accent;       // navigation keys, trims
    bool metal = false;  // brushed highlights on the body
    bool bumpers = false; // rubber corners
};

QPainterPath outline(const Model &m)
{
    const qreal mid = m.width / 2.0;
    QPainterPath p;
    const qreal top = 10, bottom = 206;
    const qreal r = m.radius;
    p.moveTo(mid - m.top + r, top);
    p.lineTo(mid + m.top - r, top);
    p.quadTo(mid + m.top, top, mid + m.top + 1, top + r);
    p.cubicTo(mid + m.shoulder + 2, 60, mid + m.shoulder, 90, mid + m.shoulder, 110);
    p.cubicTo(mid + m.shoulder, 130, mid + m.waist, 150, mid + m.waist, 165);
    p.cubicTo(mid + m.waist, 185, mid + m.foot, bottom - r, mid + m.foot - r, bottom);
    p.lineTo(mid - m.foot + r, bottom);
    p.cubicTo(mid - m.foot, bottom - r, mid - m.waist, 185, mid - m.waist, 165);
    p.cubicTo(mid - m.waist, 150, mid - m.shoulder, 130, mid - m.shoulder, 110);
    p.cubicTo(mid - m.shoulder, 90, mid - m.shoulder - 2, 60, mid - m.top - 1, top + r);
    p.quadTo(mid - m.top, top, mid - m.top + r, top);
    p.closeSubpath();
    return p;
}

void drawAntenna(QPainter &g, const Model &m)
{
    const qreal mid = m.width / 2.0;
    QLinearGradient shade(0, 0, 12, 0);
    shade.setColorAt(0, m.bodyEdge.darker(130));
    shade.setColorAt(0.5, m.bodyEdge.lighter(160));
    shade.setColorAt(1, m.bodyEdge.darker(150));
    g.setPen(QPen(m.bodyEdge.darker(200), 1));
    switch (m.antenna) {
    case Antenna::None:
        return;
    case Antenna::StubLeft:
    case Antenna::StubRight: {
        const qreal x = m.antenna == Antenna::StubLeft ? mid - m.top + 10 : mid + m.top - 22;
        shade.setStart(x, 0);
        shade.setFinalStop(x + 12, 0);
        g.setBrush(shade);
        g.drawRoundedRect(QRectF(x, 0.5, 12, 16), 5, 5);
        break;
    }
    case Antenna::Long: {
        const qreal x = mid + m.top - 20;
        shade.setStart(x, 0);
        shade.setFinalStop(x + 9, 0);
        g.setBrush(shade);
        g.drawRoundedRect(QRectF(x, 0.5, 9, 16), 4, 4);
        g.drawRoundedRect(QRectF(x - 2, 12, 13, 6), 2, 2);
        break;
    }
    }
}

void drawBody(QPainter &g, const Model &m)
{
    const QPainterPath body = outline(m);
    // A soft shadow at the right and below, then the body lit from the left.
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(0, 0, 0, 45));
    g.drawPath(body.translated(2.5, 2.5));
    QLinearGradient light(0, 0, m.width, 0);
    light.setColorAt(0, m.bodyEdge);
    light.setColorAt(0.18, m.body.lighter(m.metal ? 135 : 115));
    light.setColorAt(0.55, m.body);
    light.setColorAt(1, m.bodyEdge.darker(115));
    g.setBrush(light);
    g.setPen(QPen(m.bodyEdge.darker(170), 1.2));
    g.drawPath(body);
    if (m.metal) {
        // Brushed lines across the metal.
        g.save();
        g.setClipPath(body);
        for (int y = 12; y < 206; y += 3) {
            g.setPen(QPen(QColor(255, 255, 255, (y * 37) % 40 + 10), 1));
            g.drawLine(0, y, m.width, y + 1);
        }
        g.restore();
    }
    if (m.bumpers) {
        g.save();
        g.setClipPath(body);
        g.setPen(Qt::NoPen);
        g.setBrush(m.accent);
        const qreal mid = m.width / 2.0;
        for (const QRectF &corner : {QRectF(mid - 90, 0, 36, 34), QRectF(mid + 54, 0, 36, 34),
                                     QRectF(mid - 90, 180, 36, 34), QRectF(mid + 54, 180, 36, 34)})
            g.drawEllipse(corner);
        g.setPen(QPen(m.accent.darker(140), 1));
        for (int y = 150; y < 176; y += 4) {
            g.drawLine(QPointF(mid - m.waist, y), QPointF(mid - m.waist + 4, y));
            g.drawLine(QPointF(mid + m.waist - 4, y), QPointF(mid + m.waist, y));
        }
        g.restore();
    }
    // The front plate around display and keys.
    if (m.face.isValid()) {
        const qreal mid = m.width / 2.0;
        QPainterPath face;
        face.addRoundedRect(QRectF(mid - m.top + 5, 18, 2 * (m.top - 5), 186), m.radius - 2, m.radius - 2);
        g.save();
        g.setClipPath(body);
        QLinearGradient plate(0, 18, 0, 204);
        plate.setColorAt(0, m.face.lighter(112));
        plate.setColorAt(1, m.face.darker(108));
        g.setBrush(plate);
        g.setPen(QPen(m.face.darker(150), 1));
        g.drawPath(face);
        g.restore();
    }
}

void drawEarpiece(QPainter &g, const Model &m)
{
    const qreal mid = m.width / 2.0;
    g.setPen(Qt::NoPen);
    g.setBrush(m.bodyEdge.darker(190));
    if (m.keys == Keys::Smile || m.keys == Keys::Rubber) {
        for (int i = -2; i <= 2; ++i)
            g.drawEllipse(QPointF(mid + 6 * i, 32), 1.6, 1.6);
        for (int i = -1; i <= 1; ++i)
            g.drawEllipse(QPointF(mid + 6 * i + 3, 37), 1.6, 1.6);
    } else {
        for (int i = 0; i < 3; ++i)
            g.drawRoundedRect(QRectF(mid - 12, 28 + 4 * i, 24, 2), 1, 1);
    }
}

void drawDisplay(QPainter &g, const Model &m)
{
    const qreal mid = m.width / 2.0;
    // Bezel, the glass, then the liquid-crystal panel in the display green.
    QLinearGradient bezel(0, 50, 0, 128);
    bezel.setColorAt(0, QColor(40, 44, 50));
    bezel.setColorAt(1, QColor(20, 22, 26));
    g.setBrush(bezel);
    g.setPen(QPen(m.bodyEdge.darker(220), 1));
    g.drawRoundedRect(QRectF(mid - 50, 50, 100, 78), 9, 9);
    g.setPen(Qt::NoPen);
    g.setBrush(kDisplayGreen.darker(118));
    g.drawRoundedRect(QRectF(32.5, 62.5, 90, 56), 3, 3);
    g.setBrush(kDisplayGreen);
    g.drawRect(QRect(34, 64, 88, 53));
    // Signal strength at the left, battery at the right, the soft-key line below.
    const QColor ink(30, 50, 30);
    g.setBrush(ink);
    for (int i = 0; i < 4; ++i) {
        g.drawRect(QRect(36, 104 - 8 * i, 2 + i, 5));
        g.drawRect(QRect(118 - i, 104 - 8 * i, 2 + i, 5));
    }
    g.drawRect(QRect(36, 68, 3, 4));
    g.drawRect(QRect(117, 68, 4, 4));
    for (int x = 64; x < 92; x += 2)
        g.drawRect(QRect(x, 108, 1, 1));
    for (int x = 70; x < 86; x += 3)
        g.drawRect(QRect(x, 111, 2, 2));
    // The logo window stays plain display green.
    g.setBrush(kDisplayGreen);
    g.drawRect(kLogoWindow);
}

void drawKeyFace(QPainter &g, const QRectF &r, const Model &m, const QString &label, bool oval)
{
    QLinearGradient shade(r.topLeft(), r.bottomLeft());
    shade.setColorAt(0, m.key.lighter(125));
    shade.setColorAt(1, m.key.darker(115));
    g.setBrush(shade);
    g.setPen(QPen(m.key.darker(170), 0.8));
    if (oval)
        g.drawEllipse(r);
    else
        g.drawRoundedRect(r, 3, 3);
    if (!label.isEmpty()) {
        QFont f = g.font();
        f.setPixelSize(8);
        f.setBold(true);
        g.setFont(f);
        g.setPen(m.keyText);
        g.drawText(r, Qt::AlignCenter, label);
    }
}

// The two keys at the sides of the navigation key: width w, height h, their
// inner edges gap from the middle, at height y.
void drawSideKeys(QPainter &g, const Model &m, qreal y, qreal w, qreal h, qreal gap, bool oval,
                  const QString &left = QString(), const QString &right = QString())
{
    const qreal mid = m.width / 2.0;
    drawKeyFace(g, QRectF(mid - gap - w, y, w, h), m, left, oval);
    drawKeyFace(g, QRectF(mid + gap, y, w, h), m, right, oval);
}

// A key in the accent colour; radius 0 draws an oval.
void drawAccentKey(QPainter &g, const Model &m, const QRectF &r, qreal radius)
{
    g.setBrush(m.accent);
    g.setPen(QPen(m.accent.darker(160), 1));
    if (radius > 0)
        g.drawRoundedRect(r, radius, radius);
    else
        g.drawEllipse(r);
}

void drawNavigation(QPainter &g, const Model &m)
{
    const qreal mid = m.width / 2.0;
    const QString c = QStringLiteral("C");
    switch (m.navi) {
    case Navi::SoftKeys:
        drawSideKeys(g, m, 134, 34, 11, 10, false);
        drawAccentKey(g, m, QRectF(mid - 7, 132, 14, 15), 4);
        break;
    case Navi::Roller:
        drawSideKeys(g, m, 135, 28, 10, 18, false);
        drawAccentKey(g, m, QRectF(mid - 11, 131, 22, 18), 6);
        g.setPen(QPen(m.accent.darker(200), 1));
        for (int y = 134; y < 148; y += 3)
            g.drawLine(QPointF(mid - 8, y), QPointF(mid + 8, y));
        break;
    case Navi::BigNavi:
        drawAccentKey(g, m, QRectF(mid - 24, 131, 48, 17), 0);
        drawSideKeys(g, m, 134, 20, 10, 28, true, c);
        break;
    case Navi::Rocker:
        drawSideKeys(g, m, 133, 30, 12, 16, true, QString(), c);
        drawAccentKey(g, m, QRectF(mid - 12, 131, 24, 8), 3);
        drawAccentKey(g, m, QRectF(mid - 12, 140, 24, 8), 3);
        break;
    case Navi::Slider:
        drawKeyFace(g, QRectF(mid - 30, 133, 60, 12), m, QString(), true);
        g.setPen(QPen(m.keyText, 1));
        g.drawLine(QPointF(mid, 134), QPointF(mid, 144));
        break;
    }
}

void drawKeypad(QPainter &g, const Model &m)
{
    const qreal mid = m.width / 2.0;
    static const char *const labels[12] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "*", "0", "#"};
    if (m.keys == Keys::Slide) {
        // The keys lie under a sliding cover: its seam and grip ridges.
        QPainterPath cover;
        cover.addRoundedRect(QRectF(mid - m.waist + 4, 152, 2 * (m.waist - 4), 52), 10, 10);
        QLinearGradient shade(0, 152, 0, 204);
        shade.setColorAt(0, m.accent.lighter(120));
        shade.setColorAt(1, m.accent.darker(115));
        g.save();
        g.setClipPath(outline(m));
        g.setBrush(shade);
        g.setPen(QPen(m.accent.darker(170), 1));
        g.drawPath(cover);
        g.restore();
        g.setPen(QPen(m.accent.darker(140), 1));
        for (int y = 186; y < 200; y += 3)
            g.drawLine(QPointF(mid - 16, y), QPointF(mid + 16, y));
        return;
    }
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 3; ++col) {
            const QString label = QString::fromLatin1(labels[row * 3 + col]);
            const qreal dx = (col - 1) * 30;
            qreal y = 153 + row * 13;
            QRectF r(mid + dx - 12, y, 24, 10);
            switch (m.keys) {
            case Keys::Grid:
                break;
            case Keys::Ovals:
                r = QRectF(mid + dx - 11, y, 22, 10);
                break;
            case Keys::Smile:
                // Rows curve upwards at their ends.
                r.translate(0, col == 1 ? 2 : -1);
                break;
            case Keys::Tilted:
                r.translate(0, (col - 1) * 1.5);
                r.adjust(1, 0, -1, 0);
                break;
            case Keys::Rubber:
                r = QRectF(mid + dx - 13, y, 26, 11);
                break;
            case Keys::Slide:
                break;
            }
            drawKeyFace(g, r, m, label, m.keys == Keys::Ovals || m.keys == Keys::Smile);
        }
    }
}

QImage drawCover(const Model &m)
{
    QImage img(m.width, 210, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter g(&img);
    g.setRenderHint(QPainter::Antialiasing);
    g.setRenderHint(QPainter::TextAntialiasing);
    drawAntenna(g, m);
    drawBody(g, m);
    drawEarpiece(g, m);
    drawNavigation(g, m);
    drawKeypad(g, m);
    g.setRenderHint(QPainter::Antialiasing, false);
    drawDisplay(g, m);
    g.end();
    return img;
}

// Index order of the covers: 7110, 8210, 8850, 6210, 3210, 6250, 8810, 6110, 5110, 9110.
const Model kModels[] = {
    // Dark body with a sliding keypad cover and a roller key.
    {"7110", 156, 58, 60, 56, 54, 18, Antenna::None, QColor(70, 74, 82), QColor(40, 42, 48), QColor(),
     QColor(180, 184, 190), QColor(40, 40, 40), Keys::Slide, Navi::Roller, QColor(98, 104, 116)},
    // Small and rounded, deep blue, oval keys.
    {"8210", 157, 54, 56, 54, 50, 24, Antenna::None, QColor(40, 70, 140), QColor(20, 36, 80), QColor(),
     QColor(210, 214, 222), QColor(30, 40, 80), Keys::Ovals, Navi::SoftKeys, QColor(200, 60, 50)},
    // Silver metal with a slide.
    {"8850", 157, 55, 57, 55, 55, 20, Antenna::None, QColor(196, 200, 206), QColor(120, 126, 134), QColor(),
     QColor(230, 232, 236), QColor(60, 60, 70), Keys::Slide, Navi::Slider, QColor(176, 182, 190), true},
    // Long bar, graphite front on silver sides.
    {"6210", 157, 60, 60, 58, 58, 14, Antenna::None, QColor(160, 166, 176), QColor(90, 96, 106),
     QColor(52, 60, 80), QColor(120, 130, 150), QColor(240, 240, 250), Keys::Grid, Navi::Rocker,
     QColor(190, 196, 206)},
    // Curvy with a waist, bright blue, keys in a smile.
    {"3210", 157, 56, 62, 50, 58, 26, Antenna::None, QColor(50, 110, 200), QColor(24, 60, 130), QColor(),
     QColor(236, 236, 236), QColor(30, 60, 140), Keys::Smile, Navi::BigNavi, QColor(240, 240, 240)},
    // Rugged: grey with yellow rubber corners.
    {"6250", 157, 62, 64, 62, 62, 16, Antenna::StubRight, QColor(110, 114, 110), QColor(64, 66, 64),
     QColor(), QColor(70, 72, 70), QColor(250, 220, 60), Keys::Rubber, Navi::SoftKeys, QColor(238, 196, 40),
     false, true},
    // Chrome slider, small.
    {"8810", 157, 50, 56, 54, 44, 28, Antenna::None, QColor(214, 216, 220), QColor(130, 134, 140), QColor(),
     QColor(240, 240, 242), QColor(50, 50, 60), Keys::Slide, Navi::Slider, QColor(150, 154, 162), true},
    // Dark green-grey with a stub antenna, rocker keys.
    {"6110", 157, 58, 60, 58, 56, 16, Antenna::StubLeft, QColor(70, 86, 78), QColor(36, 46, 40), QColor(),
     QColor(160, 176, 166), QColor(20, 40, 30), Keys::Tilted, Navi::Rocker, QColor(120, 140, 128)},
    // A red cover over a grey base, big navigation key, stub antenna.
    {"5110", 157, 58, 62, 60, 60, 20, Antenna::Long, QColor(190, 40, 40), QColor(110, 20, 24), QColor(),
     QColor(200, 200, 196), QColor(50, 50, 50), Keys::Ovals, Navi::BigNavi, QColor(90, 90, 96)},
    // The heavy communicator: wide, dark, square.
    {"9110", 162, 66, 66, 66, 66, 10, Antenna::Long, QColor(64, 64, 68), QColor(30, 30, 34),
     QColor(84, 84, 90), QColor(140, 140, 146), QColor(250, 250, 250), Keys::Grid, Navi::SoftKeys,
     QColor(40, 140, 60)},
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 1 || args[0].startsWith(QLatin1Char('-'))) {
        std::fprintf(args.contains(QStringLiteral("--help")) ? stdout : stderr, "usage: coverart OUTPUT_FOLDER\n");
        return args.contains(QStringLiteral("--help")) ? 0 : 2;
    }
    const QDir out(args[0]);
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "coverart: can't create %s\n", qPrintable(out.path()));
        return 1;
    }
    for (const Model &m : kModels) {
        const QString path = out.filePath(QString::fromLatin1(m.file) + QStringLiteral(".png"));
        if (!drawCover(m).save(path)) {
            std::fprintf(stderr, "coverart: can't write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
