#pragma once
// The cover's size on the screen: "Cover &1x", "Cover &2x" and "Cover &3x" at
// the end of the View menu, one of them checked, the choice kept in the
// program's settings ("CoverZoom") and shown again at the next start.
#include <QString>

class QMenu;

namespace logo {
class SettingsStore;
}

namespace brisvane {

class CoverView;

inline const QString kCoverZoomKey = QStringLiteral("CoverZoom");

// Adds the entries (objectNames "mnuCoverZoom1" to "mnuCoverZoom3") to view
// and shows the cover at the zoom the settings keep.
void addCoverZoomEntries(QMenu *view, CoverView *cover, logo::SettingsStore &settings, const QString &section);

} // namespace brisvane
