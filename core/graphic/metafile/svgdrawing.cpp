#include "graphic/metafile/renderers.h"

#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTransform>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace logo {

namespace {

using Pairs = std::vector<std::pair<QString, QString>>;

// An element's attributes, with its style split into properties; a property
// is read from the style first (it wins there) and written back where it was.
class Presentation {
public:
    explicit Presentation(const QXmlStreamAttributes &attributes)
    {
        for (const QXmlStreamAttribute &a : attributes) {
            if (a.qualifiedName() == QLatin1String("style")) {
                m_hasStyle = true;
                for (const QString &item : a.value().toString().split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
                    const qsizetype colon = item.indexOf(QLatin1Char(':'));
                    if (colon > 0)
                        m_style.emplace_back(item.left(colon).trimmed(), item.mid(colon + 1).trimmed());
                }
            } else {
                m_attributes.emplace_back(a.qualifiedName().toString(), a.value().toString());
            }
        }
    }

    QString value(const QString &name) const
    {
        if (const auto *p = find(m_style, name))
            return p->second;
        if (const auto *p = find(m_attributes, name))
            return p->second;
        return {};
    }
    double number(const QString &name) const { return value(name).toDouble(); }

    void set(const QString &name, const QString &value)
    {
        if (auto *p = find(m_style, name))
            p->second = value;
        else if (auto *q = find(m_attributes, name))
            q->second = value;
        else
            m_attributes.emplace_back(name, value);
    }
    void set(const QString &name, double value) { set(name, QString::number(value, 'g', 10)); }

    void remove(const QString &name)
    {
        for (Pairs *pairs : {&m_style, &m_attributes})
            pairs->erase(std::remove_if(pairs->begin(), pairs->end(), [&](const auto &p) { return p.first == name; }),
                         pairs->end());
    }

    void write(QXmlStreamWriter &out) const
    {
        for (const auto &[name, value] : m_attributes)
            out.writeAttribute(name, value);
        if (m_hasStyle) {
            QStringList items;
            for (const auto &[name, value] : m_style)
                items << name + QLatin1Char(':') + value;
            out.writeAttribute(QStringLiteral("style"), items.join(QLatin1String("; ")));
        }
    }

private:
    template <typename P>
    static auto find(P &pairs, const QString &name) -> decltype(&pairs.front())
    {
        const auto it = std::find_if(pairs.begin(), pairs.end(), [&](const auto &p) { return p.first == name; });
        return it == pairs.end() ? nullptr : &*it;
    }

    Pairs m_attributes;
    Pairs m_style;
    bool m_hasStyle = false;
};

// An SVG transform list ("matrix(...) translate(...)", applied right to left).
QTransform parseTransform(const QString &text)
{
    static const QRegularExpression item(QStringLiteral("(matrix|translate|scale|rotate)\\s*\\(([^)]*)\\)"));
    static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
    QTransform total;
    for (auto it = item.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        std::vector<double> v;
        for (const QString &n : m.captured(2).split(separators, Qt::SkipEmptyParts))
            v.push_back(n.toDouble());
        auto at = [&](size_t i, double fallback) { return i < v.size() ? v[i] : fallback; };
        QTransform t;
        const QString kind = m.captured(1);
        if (kind == QLatin1String("matrix") && v.size() == 6)
            t = QTransform(v[0], v[1], v[2], v[3], v[4], v[5]);
        else if (kind == QLatin1String("translate"))
            t.translate(at(0, 0), at(1, 0));
        else if (kind == QLatin1String("scale"))
            t.scale(at(0, 1), at(1, at(0, 1)));
        else if (kind == QLatin1String("rotate"))
            t.translate(at(1, 0), at(2, 0)).rotate(at(0, 0)).translate(-at(1, 0), -at(2, 0));
        total = t * total;
    }
    return total;
}

// A vector of the root's units in the units of a system placed by `ctm`.
QPointF vectorIn(const QTransform &ctm, const QPointF &rootVector)
{
    bool invertible = false;
    const QTransform inverse = ctm.inverted(&invertible);
    if (!invertible)
        return rootVector;
    return inverse.map(rootVector) - inverse.map(QPointF(0, 0));
}

bool isShape(QStringView name)
{
    for (const char *shape : {"rect", "ellipse", "circle", "line", "polyline", "polygon", "path"})
        if (name == QLatin1String(shape))
            return true;
    return false;
}

// Moves one shape's outline onto the pixel grid (see fitToGdi).
void fitShape(QStringView name, Presentation &shape, const QTransform &parent, const QTransform &own,
              const QSizeF &unitsPerPixel)
{
    const QString stroke = shape.value(QStringLiteral("stroke"));
    if (stroke.isEmpty() || stroke == QLatin1String("none"))
        return;

    const QTransform ctm = own * parent;
    const QPointF half(unitsPerPixel.width() / 2, unitsPerPixel.height() / 2);

    // Whole pixels wide, one at least.
    const QPointF pixel = vectorIn(ctm, QPointF(unitsPerPixel.width(), 0));
    const double localPerPixel = std::hypot(pixel.x(), pixel.y());
    if (localPerPixel > 0) {
        const double width = shape.number(QStringLiteral("stroke-width"));
        shape.set(QStringLiteral("stroke-width"), std::max(1.0, std::round(width / localPerPixel)) * localPerPixel);
    }

    const QPointF in = vectorIn(ctm, half);
    const double dx = std::abs(in.x()), dy = std::abs(in.y());
    // A figure one pixel across still gets its outline: pulled in, it keeps a
    // trace of a size (SVG draws nothing of size 0).
    auto pullIn = [&](const char *attribute, double by) {
        const QString key = QString::fromLatin1(attribute);
        const double size = shape.number(key);
        if (size > 0)
            shape.set(key, std::max(size - by, by * 1e-3));
    };
    if (name == QLatin1String("rect")) {
        shape.set(QStringLiteral("x"), shape.number(QStringLiteral("x")) + dx);
        shape.set(QStringLiteral("y"), shape.number(QStringLiteral("y")) + dy);
        pullIn("width", 2 * dx);
        pullIn("height", 2 * dy);
    } else if (name == QLatin1String("ellipse")) {
        pullIn("rx", dx);
        pullIn("ry", dy);
    } else if (name == QLatin1String("circle")) {
        pullIn("r", std::min(dx, dy));
    } else {
        const QPointF move = vectorIn(parent, half);
        const QString before = shape.value(QStringLiteral("transform"));
        const QString translate =
            QStringLiteral("translate(%1 %2) ").arg(move.x(), 0, 'g', 10).arg(move.y(), 0, 'g', 10);
        shape.set(QStringLiteral("transform"), translate + before);
    }
}

void undoConverterFaults(SvgWriter writer, QStringView name, Presentation &element)
{
    if (writer == SvgWriter::Libwmf && name == QLatin1String("image")) {
        // Its box is already where it goes; the transform would place it again.
        element.remove(QStringLiteral("transform"));
    } else if (writer == SvgWriter::Libemf2svg && isShape(name) &&
               element.value(QStringLiteral("stroke-width")) == QLatin1String("1px") &&
               element.value(QStringLiteral("stroke")) == element.value(QStringLiteral("fill"))) {
        // The outline stands for "no pen".
        element.set(QStringLiteral("stroke"), QStringLiteral("none"));
    }
}

// Hardens smoothed edges: a pixel at least half covered is fully drawn in its
// own colour, anything less is not drawn.
QImage withoutSmoothing(const QImage &premultiplied)
{
    QImage image = premultiplied.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qAlpha(line[x]) >= 128 ? (line[x] | 0xFF000000u) : qRgba(0, 0, 0, 0);
    }
    return image;
}

} // namespace

QByteArray fitToGdi(const QByteArray &svg, SvgWriter writer, const QSizeF &unitsPerPixel)
{
    QXmlStreamReader in(svg);
    in.setNamespaceProcessing(false); // written back as read, prefixes and all
    QByteArray result;
    QXmlStreamWriter out(&result);
    std::vector<QTransform> ctm{QTransform()};
    while (!in.atEnd()) {
        switch (in.readNext()) {
        case QXmlStreamReader::StartElement: {
            const QStringView name = in.qualifiedName();
            Presentation element(in.attributes());
            undoConverterFaults(writer, name, element);
            const QTransform own = parseTransform(element.value(QStringLiteral("transform")));
            if (isShape(name))
                fitShape(name, element, ctm.back(), own, unitsPerPixel);
            out.writeStartElement(name.toString());
            element.write(out);
            ctm.push_back(own * ctm.back());
            break;
        }
        case QXmlStreamReader::EndElement:
            out.writeEndElement();
            if (ctm.size() > 1)
                ctm.pop_back();
            break;
        case QXmlStreamReader::Invalid:
            return {};
        default:
            out.writeCurrentToken(in);
            break;
        }
    }
    return result;
}

QImage drawSvg(const QByteArray &svg, const QRectF &viewBox, const QSize &natural, const QSize &limit)
{
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return {};
    if (!viewBox.isNull())
        renderer.setViewBox(viewBox);
    const QSize kept(std::min(natural.width(), limit.width()), std::min(natural.height(), limit.height()));
    QImage image(kept, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(natural)));
    }
    return withoutSmoothing(image);
}

} // namespace logo
