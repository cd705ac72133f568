#pragma once
// The editing tools' picture transforms, inside the current dimensions.
#include "graphic/logogrid.h"

#include <QList>
#include <QPoint>

namespace logo {

// Rotations by one pixel; what leaves one edge comes in at the other.
void moveUp(LogoGrid &g);
void moveDown(LogoGrid &g);
void moveLeft(LogoGrid &g);
void moveRight(LogoGrid &g);
// Mirrors left to right / top to bottom.
void flipHorizontal(LogoGrid &g);
void flipVertical(LogoGrid &g);
// Set cells become clear and every other cell becomes set.
void invert(LogoGrid &g);

// The cells of a straight line from one cell to another, both ends included,
// each a neighbour (sides or corners) of the one before: what a drag passes
// between two pointer positions, however fast the pointer went.
QList<QPoint> cellsOnLine(QPoint from, QPoint to);

} // namespace logo
