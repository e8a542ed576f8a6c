// The add-in's 17 commands, each bound to its tool's window or generator:
// the one table the connect class is given (AddInCommands), also read by
// `tarno menus` and the tests. Every menu item and its toolbar twin run the
// same command through RunCommand. A new command is one row here and one
// name in Command.
#pragma once

#include <array>
#include <functional>

#include "addin/connect/command_row.h"

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

// In command (and toolbar button) order.
const std::array<CommandRow, kCommandCount>& CommandRows();
const CommandRow& RowOf(Command command);
// The command of a row of CommandRows().
Command CommandOf(const CommandRow& row);

// The action bound to a command; empty while its window is not built yet.
// Tests may swap an action and must put it back.
std::function<void()>& CommandAction(Command command);
// Runs the command's action to completion; false when nothing is bound.
bool RunCommand(Command command);

// The auto-save window's hooks (frmProject).
AutoSaveWindowHooks& AutoSaveWindow();

// The table for the connect class: these rows and the auto-save window.
CommandTable AddInCommands();

}  // namespace tarno
