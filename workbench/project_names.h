// The names a project's modules declare, for the pretty listing; a module's
// names are read again only when it changed.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "host/mem_host.h"
#include "workbench/pretty_listing.h"

namespace tarno::workbench {

class ProjectNames {
 public:
  const DeclaredNames& Of(const std::vector<std::shared_ptr<host::MemComponent>>& components);

 private:
  struct ModuleNames {
    uint64_t version = 0;
    DeclaredNames names;
  };
  std::map<const host::MemComponent*, ModuleNames> modules_;
  std::vector<std::pair<const host::MemComponent*, uint64_t>> seen_;
  DeclaredNames merged_;
};

}  // namespace tarno::workbench
