// Menus and toolbars built from the host's command bars: a command bar's
// controls become a menu's actions (a popup a submenu, BeginGroup a
// separator before the item, the face the icon); a toolbar an add-in added
// becomes a QToolBar whose buttons show the face with the tooltip. Clicking
// an add-in's item raises its CommandBarEvents click through the host; the
// IDE's own items run the handler given for their caption, or are disabled.
#pragma once

#include <QIcon>
#include <QMenu>
#include <QToolBar>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "host/command_bars.h"

namespace tarno::workbench {

using ControlClick = std::function<void(const std::shared_ptr<host::MemCommandBarControl>&)>;
// The IDE's own items by caption ("&Undo", ...).
using BuiltInActions = std::map<std::u16string, std::function<void()>>;

QIcon FaceIcon(const Picture& face);

// Empties the menu and fills it with the controls (deleted ones left out).
void FillMenu(QMenu& menu, const host::MemCommandBarControls& controls, const ControlClick& click,
              const BuiltInActions& builtIns);
// Empties the toolbar and fills it with the bar's buttons.
void FillToolBar(QToolBar& bar, const host::MemCommandBar& commandBar, const ControlClick& click);

}  // namespace tarno::workbench
