#include "desktop/placement.h"

#include <algorithm>

namespace logo {

QPoint keepOnScreen(QPoint pos, QSize window, QSize screen)
{
    int x = std::min(pos.x(), screen.width() - window.width());
    int y = std::min(pos.y(), screen.height() - window.height());
    return {std::max(x, 0), std::max(y, 0)};
}

} // namespace logo
