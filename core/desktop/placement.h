#pragma once
// The main window's saved position: stored in twips, pulled back on screen.
#include <QPoint>
#include <QSize>

namespace logo {

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kDefaultLeftTwips = 200;
inline constexpr int kDefaultTopTwips = 300;

// Moves a window whose top-left corner is at pos back so that it lies fully on
// the screen: its right and bottom edges at most at the screen's, then neither
// coordinate below 0 (a window larger than the screen sticks to the top left).
QPoint keepOnScreen(QPoint pos, QSize window, QSize screen);

} // namespace logo
