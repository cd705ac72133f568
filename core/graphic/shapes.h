#pragma once
// The drawing tools' shapes and flood fill on the picture: the same cells for
// the preview while dragging, for the drawn result and for logotool draw.
//
// Every shape is given by two corner cells in either order (a line by its two
// ends) and is clipped to the picture's current width x height: corners may
// lie outside it, the cells outside are simply not drawn.
#include "graphic/logogrid.h"

#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>
#include <optional>

namespace logo {

enum class Shape {
    Line,             // the cells nearest the ideal line, one per step along the longer axis, both ends included
    Rectangle,        // exactly the border cells of the box
    FilledRectangle,  // every cell of the box
    Ellipse,          // a closed, 8-connected outline touching all four sides of the box, symmetric in both axes
    FilledEllipse,    // the outline and every cell inside it
};

// The cells of a shape inside the picture (0, 0) to (width - 1, height - 1),
// each once; a line from its first corner to its second.
QList<QPoint> shapeCells(Shape shape, QPoint from, QPoint to, QSize picture);
QList<QPoint> shapeCells(Shape shape, QPoint from, QPoint to, const LogoGrid &g);

// Sets (on) or clears every cell of the shape inside the picture. True when a
// cell changed.
bool drawShape(LogoGrid &g, Shape shape, QPoint from, QPoint to, bool on);

// Sets (on) or clears the given cells that are inside the picture. True when a
// cell changed.
bool paintCells(LogoGrid &g, const QList<QPoint> &cells, bool on);

// The cells a flood fill from start would change: start and every cell joined
// to it through cells of its colour by their sides (never by their corners, so
// a fill never leaks through a diagonal gap). Empty when start is outside the
// picture or already has the colour.
QList<QPoint> fillCells(const LogoGrid &g, QPoint start, bool on);
// The fill itself; true when a cell changed.
bool floodFill(LogoGrid &g, QPoint start, bool on);

// Shift held while dragging from anchor to pointer: the corner to draw to.
// A line keeps to the nearest of horizontal, vertical and 45 degrees; a box
// becomes a square (a circle for the ellipses) whose side is the longer side
// of the dragged box. Either is shortened so that it ends inside the picture,
// keeping its direction and shape; for a box dragged straight along one axis
// the square opens towards the side with more room.
QPoint constrainedCorner(Shape shape, QPoint anchor, QPoint pointer, QSize picture);

// The command words of the shapes ("line", "rect", "fillrect", "ellipse",
// "fillellipse"), for logotool draw.
QString shapeName(Shape shape);
std::optional<Shape> shapeByName(const QString &name);

} // namespace logo
