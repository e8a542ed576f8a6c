// The add-in's commands as the connect class knows them: one row per command,
// saying which sinks it has, where it sits in the IDE's menus and on the
// toolbar, its face, and what it runs. The rows come from the add-in library
// (toolkit/), the one place that binds a command to its tool; the connect
// class adds an item and a button for each and runs the row when either is
// clicked.
#pragma once

#include <functional>
#include <span>

namespace tarno {

enum class MenuPlace { Tools, ToolsPopup, Edit, EditPopup };

struct CommandRow {
  const char* suffix;      // the sinks are Menu<suffix> and Ctrl<suffix>
  MenuPlace menu;
  int position;            // Before position in the menu; order of appending in a popup
  const char* caption;     // UTF-8
  bool menu_begin_group;
  int button;              // toolbar button number, from 1
  const char* tool_tip;    // UTF-8
  bool button_begin_group;
  const char* face;        // picture box of frmImage
  const char* runs;        // the window or generator the command runs
  // What the command does; empty while its window is not built yet. Tests
  // may swap an action and must put it back.
  std::function<void()> action;
};

// Runs the row's action to completion; false when nothing is bound. The
// action runs from a copy, since it may rebind the table while it runs.
bool RunRow(const CommandRow& row);

// The auto-save window, which stays loaded from the connection (when auto-save
// is on) until the disconnection. Swappable like the command actions.
struct AutoSaveWindowHooks {
  std::function<void()> load_hidden;  // load without showing (starts its timer)
  std::function<void()> unload;       // stops its timer
};

// What the connect class is given by whoever creates it.
struct CommandTable {
  std::span<CommandRow> rows;  // in toolbar button order
  AutoSaveWindowHooks& auto_save;
};

}  // namespace tarno
