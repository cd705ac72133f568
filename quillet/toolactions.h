#pragma once
// The commands of the editing grid's tools as menu entries and toolbar
// buttons: the Tools menu, the clipboard entries of the Edit menu and the
// zoom entries of the View menu. The entries are built before the grid
// exists, so they reach it through view.
#include "widgets/mainwindowbase.h"

#include <functional>
#include <vector>

class QMainWindow;

namespace logo {
class SettingsStore;
}

namespace quillet {

class GridView;

using GridAccess = std::function<GridView *()>;
using ActionLookup = std::function<QAction *(const QString &)>;

// "mnuToolPencil" ... "mnuToolSelect", each choosing its tool.
std::vector<logo::MenuEntry> toolMenuEntries(GridAccess view);
// Cut, Copy, Paste and Delete of the selection, and a separator after them.
std::vector<logo::MenuEntry> clipboardMenuEntries(GridAccess view);
// Zoom in, out and back, and the grid lines switch; the window follows the zoom.
std::vector<logo::MenuEntry> zoomMenuEntries(QMainWindow *window, GridAccess view);

// The program's setting that keeps the grid lines switched on (1) or off (0).
inline const QString kGridLinesKey = QStringLiteral("GridLines");

// Makes the tool entries one exclusive, checked group with their icons and
// puts them on a toolbar of their own ("Tools"), gives the entries looked up
// their extra keys and check marks, and shows the grid lines as the settings
// keep them (and keeps each change there).
void finishToolActions(QMainWindow &window, GridView &view, const ActionLookup &action, logo::SettingsStore &settings,
                       const QString &section);

} // namespace quillet
