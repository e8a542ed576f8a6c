// The add-in's 17 commands: where each sits in the IDE's menus and on the
// toolbar, and what it runs. Every menu item and its toolbar twin run the
// same command through RunCommand.
#pragma once

#include <array>
#include <functional>

namespace tarno {

enum class Command {
  Handler,
  Hensuu,
  Proc,
  CodePatrn,
  ProjectTool,
  CopyTool,
  ContorolTool,
  ContorolPatrnTool,
  ContorolTabIndexTool,
  ContorolIndexTool,
  Edit,
  CommentOut,
  CommentDel,
  Comment,
  ErrorHeader,
  ErrorHuter,
  ContorolErrTool,
};
inline constexpr int kCommandCount = 17;

enum class MenuPlace { Tools, ToolsPopup, Edit, EditPopup };

struct CommandRow {
  Command command;
  const char* suffix;      // the sinks are Menu<suffix> and Ctrl<suffix>
  MenuPlace menu;
  int position;            // Before position in the menu; order of appending in a popup
  const char* caption;     // UTF-8
  bool menu_begin_group;
  int button;              // toolbar button number, 1 to 17
  const char* tool_tip;    // UTF-8
  bool button_begin_group;
  const char* face;        // picture box of frmImage
  const char* runs;        // the window or generator the command runs
};

// In command (and toolbar button) order.
const std::array<CommandRow, kCommandCount>& CommandRows();
const CommandRow& RowOf(Command command);

// The action bound to a command; empty while its window is not built yet.
// Tests may swap an action and must put it back.
std::function<void()>& CommandAction(Command command);
// Runs the command's action to completion; false when nothing is bound.
bool RunCommand(Command command);

// The auto-save window, which stays loaded from the connection (when auto-save
// is on) until the disconnection. Swappable like the command actions.
struct AutoSaveWindowHooks {
  std::function<void()> load_hidden;  // load without showing (starts its timer)
  std::function<void()> unload;       // stops its timer
};
AutoSaveWindowHooks& AutoSaveWindow();

}  // namespace tarno
