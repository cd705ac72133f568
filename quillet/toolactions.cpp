#include "toolactions.h"

#include "drawingtools.h"
#include "gridview.h"
#include "selection.h"
#include "desktop/settingsstore.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QToolBar>

namespace quillet {

std::vector<logo::MenuEntry> toolMenuEntries(GridAccess view)
{
    std::vector<logo::MenuEntry> entries;
    for (const ToolEntry &t : toolEntries()) {
        const Tool tool = t.tool;
        entries.emplace_back(QString::fromLatin1(t.name), QString::fromLatin1(t.caption),
                             QString::fromLatin1(t.shortcut), [view, tool] { view()->tools().setTool(tool); });
    }
    return entries;
}

std::vector<logo::MenuEntry> clipboardMenuEntries(GridAccess view)
{
    // Ctrl+V stays Flip Vertical: Paste takes Ctrl+Shift+V (and Shift+Insert).
    return {
        {"mnuCut", "Cu&t", "Ctrl+X", [view] { view()->selection().cut(); }},
        {"mnuCopy", "&Copy", "Ctrl+C", [view] { view()->selection().copy(); }},
        {"mnuPaste", "&Paste", "Ctrl+Shift+V",
         [view] {
             view()->tools().setTool(Tool::Select);
             view()->selection().paste();
         }},
        {"mnuDelete", "De&lete", "Del", [view] { view()->selection().deleteCells(); }},
        {"mnuSepClipboard"},
    };
}

std::vector<logo::MenuEntry> zoomMenuEntries(QMainWindow *window, GridAccess view)
{
    // The window takes the size of the new zoom; a larger window then makes
    // the cells larger again.
    return {
        {"mnuSepZoom"},
        {"mnuZoomIn", "Zoom &In", "Ctrl++",
         [window, view] {
             view()->zoomIn();
             window->adjustSize();
         }},
        {"mnuZoomOut", "Zoom &Out", "Ctrl+-",
         [window, view] {
             view()->zoomOut();
             window->adjustSize();
         }},
        {"mnuZoomReset", "Actual &Size", "Ctrl+0",
         [window, view] {
             view()->resetZoom();
             window->adjustSize();
         }},
        {"mnuGridLines", "&Grid Lines", "Ctrl+G", [view] { view()->setGridLinesShown(!view()->gridLinesShown()); }},
    };
}

void finishToolActions(QMainWindow &window, GridView &view, const ActionLookup &action, logo::SettingsStore &settings,
                       const QString &section)
{
    window.addToolBarBreak();
    auto *toolbar = window.addToolBar(QStringLiteral("Tools"));
    toolbar->setObjectName(QStringLiteral("ToolbarTools"));
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setIconSize(QSize(24, 24));
    toolbar->toggleViewAction()->setVisible(false);
    auto *group = new QActionGroup(&window);
    group->setExclusive(true);
    for (const ToolEntry &t : toolEntries()) {
        QAction *a = action(QString::fromLatin1(t.name));
        a->setCheckable(true);
        a->setChecked(t.tool == view.tools().tool());
        a->setIcon(toolIcon(t.tool));
        a->setToolTip(QString(QString::fromLatin1(t.caption)).remove(QLatin1Char('&')) +
                      QStringLiteral(" (%1)").arg(QString::fromLatin1(t.shortcut)));
        group->addAction(a);
        toolbar->addAction(a);
    }
    QObject::connect(&view.tools(), &DrawingTools::toolChanged, group, [action](Tool tool) {
        for (const ToolEntry &t : toolEntries())
            if (t.tool == tool)
                action(QString::fromLatin1(t.name))->setChecked(true);
    });

    action(QStringLiteral("mnuZoomIn"))
        ->setShortcuts({QKeySequence(QStringLiteral("Ctrl++")), QKeySequence(QStringLiteral("Ctrl+="))});
    action(QStringLiteral("mnuPaste"))
        ->setShortcuts({QKeySequence(QStringLiteral("Ctrl+Shift+V")), QKeySequence(QStringLiteral("Shift+Ins"))});
    QAction *lines = action(QStringLiteral("mnuGridLines"));
    lines->setCheckable(true);
    view.setGridLinesShown(settings.readInt(section, kGridLinesKey, 1) != 0);
    lines->setChecked(view.gridLinesShown());
    QObject::connect(lines, &QAction::toggled, &view, [&settings, section](bool on) {
        settings.writeInt(section, kGridLinesKey, on ? 1 : 0);
    });
}

} // namespace quillet
