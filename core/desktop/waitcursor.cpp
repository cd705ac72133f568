#include "desktop/waitcursor.h"

#include "graphic/picturesupport.h"

namespace logo {

WaitCursor::WaitCursor()
{
    const PictureSupport *support = installedPictureSupport();
    if (support && support->showWaitPointer && support->restorePointer) {
        support->showWaitPointer();
        m_restore = support->restorePointer;
    }
}

WaitCursor::~WaitCursor()
{
    if (m_restore)
        m_restore();
}

} // namespace logo
