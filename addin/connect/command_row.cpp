#include "addin/connect/command_row.h"

namespace tarno {

bool RunRow(const CommandRow& row) {
  std::function<void()> action = row.action;
  if (!action) return false;
  action();
  return true;
}

}  // namespace tarno
