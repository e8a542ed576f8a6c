#include "workbench/project_names.h"

namespace tarno::workbench {

const DeclaredNames& ProjectNames::Of(const std::vector<std::shared_ptr<host::MemComponent>>& components) {
  std::vector<std::pair<const host::MemComponent*, uint64_t>> now;
  for (const auto& c : components)
    if (c->code()) now.emplace_back(c.get(), c->code()->text().version());
  if (now == seen_) return merged_;
  std::map<const host::MemComponent*, ModuleNames> kept;
  merged_.clear();
  for (const auto& c : components) {
    auto m = c->code();
    if (!m) continue;
    ModuleNames& mine = kept[c.get()];
    auto old = modules_.find(c.get());
    if (old != modules_.end() && old->second.version == m->text().version()) {
      mine = std::move(old->second);
    } else {
      mine.version = m->text().version();
      CollectDeclaredNames(m->LineViews(), mine.names);
    }
    for (auto it = mine.names.cbegin(); it != mine.names.cend(); ++it)
      if (!merged_.contains(it.key())) merged_.insert(it.key(), it.value());
  }
  modules_ = std::move(kept);
  seen_ = std::move(now);
  return merged_;
}

}  // namespace tarno::workbench
