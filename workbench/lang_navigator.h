// The code panes' navigator over the language model (lang/model.h) of every
// project the window has open, so that a definition or a reference may lie in
// another project of the group. The model is built on the first question
// after the code changed (a module's text, a component added or removed, or
// Invalidate for what the versions do not show, such as a designer's
// controls), never while the user types: typing in a 100,000-line project
// costs nothing until the next question.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "host/mem_host.h"
#include "workbench/code_navigator.h"

namespace tarno::lang {
class Model;
struct Ref;
}  // namespace tarno::lang

namespace tarno::workbench {

class LangNavigator : public CodeNavigator {
 public:
  using Projects = std::function<const std::vector<std::shared_ptr<host::MemProject>>&()>;
  explicit LangNavigator(Projects projects);
  ~LangNavigator() override;

  std::optional<CodePlace> DefinitionAt(const CodePlace& at) override;
  std::vector<CodePlace> ReferencesAt(const CodePlace& at) override;
  NameAt Describe(const CodePlace& at) override;
  // As `tarno refs` looks the name up.
  std::vector<CodePlace> ReferencesOf(std::u16string_view dotted) override;

  // Drops the model: the next question builds it again.
  void Invalidate();
  // How many times the model was built (it is built lazily).
  int builds() const { return builds_; }
  // Why the last build failed; empty when it did not.
  const std::u16string& error() const { return error_; }

 private:
  // What the model was built from: each component with code and its text's version.
  using Stamp = std::vector<std::pair<const host::MemComponent*, uint64_t>>;
  Stamp Current() const;
  // The model of the code as it is now; nullptr when it cannot be built.
  const lang::Model* Fresh();
  // The model's module of the component; -1 when it has none.
  int ModuleOf(const host::MemComponent* component) const;
  struct Hit {
    uint32_t module = 0;
    uint32_t symbol = 0xFFFFFFFFu;  // lang::kNoSymbol: a name the model did not bind
    const lang::Ref* ref = nullptr;  // the reference there (none on a declaration)
    bool found = false;
  };
  // The declaration or reference at the place, or just before it (a caret
  // right after a name is on that name).
  Hit HitAt(const CodePlace& at);
  std::optional<CodePlace> PlaceOf(uint32_t symbol) const;
  std::vector<CodePlace> PlacesOfRefs(const std::vector<uint32_t>& symbols) const;

  Projects projects_;
  std::unique_ptr<lang::Model> model_;
  Stamp stamp_;
  bool stale_ = true;
  // The component of each model module, and the way back.
  std::vector<std::shared_ptr<host::MemComponent>> components_;
  std::unordered_map<const host::MemComponent*, uint32_t> modules_;
  int builds_ = 0;
  std::u16string error_;
};

}  // namespace tarno::workbench
