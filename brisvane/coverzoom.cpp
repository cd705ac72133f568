#include "coverzoom.h"

#include "coverview.h"
#include "desktop/settingsstore.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <algorithm>

namespace brisvane {

void addCoverZoomEntries(QMenu *view, CoverView *cover, logo::SettingsStore &settings, const QString &section)
{
    const int stored = std::clamp(settings.readInt(section, kCoverZoomKey, 1), 1, CoverView::kMaxZoom);
    cover->setZoom(stored);
    view->addSeparator()->setObjectName(QStringLiteral("mnuSepCoverZoom"));
    auto *group = new QActionGroup(view);
    group->setExclusive(true);
    for (int zoom = 1; zoom <= CoverView::kMaxZoom; ++zoom) {
        QAction *a = view->addAction(QStringLiteral("Cover &%1x").arg(zoom));
        a->setObjectName(QStringLiteral("mnuCoverZoom%1").arg(zoom));
        a->setCheckable(true);
        a->setChecked(zoom == stored);
        group->addAction(a);
        QObject::connect(a, &QAction::triggered, cover, [cover, &settings, section, zoom] {
            cover->setZoom(zoom);
            settings.writeInt(section, kCoverZoomKey, zoom);
        });
    }
}

} // namespace brisvane
