// A place in a component's code: a line and a run of characters on it.
#pragma once

#include <memory>

#include "host/mem_host.h"

namespace tarno::workbench {

struct CodePlace {
  std::shared_ptr<host::MemComponent> component;
  int line = 0;    // 1-based
  int column = 1;  // 1-based, UTF-16 units
  int length = 0;
};

}  // namespace tarno::workbench
