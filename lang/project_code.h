// The code of a project as the language model reads it from the host: each
// component's code lines (views into the host's own text where the host
// lends them, else one copy), its hidden member attribute lines, and the
// controls of its designer. Read once, before parsing, on one thread; the
// host must not change while a model built from it is in use.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "addin/host_api.h"
#include "lang/conditional.h"

namespace tarno::lang {

using CondComp = std::vector<std::pair<std::u16string, CcValue>>;

struct ControlCode {
  std::u16string name;
  std::u16string className;  // TextBox, or a user control's name
  bool array = false;        // a control array (controls of one name, each with an Index)
};

struct ModuleCode {
  std::u16string name;
  int type = 0;  // ide::ComponentType
  std::vector<std::u16string_view> lines;
  std::vector<std::u16string_view> hidden;  // Attribute Name.VB_... lines
  std::vector<ControlCode> controls;        // one entry per name
  std::shared_ptr<void> keepAlive;          // the copied text, when the host lends none
};

struct ProjectCode {
  std::u16string name;
  int type = 0;  // ide::ProjectType
  std::u16string fileName;
  CondComp condComp;
  std::vector<ModuleCode> modules;  // components with a code module, in project order
  std::vector<int> componentIndex;  // 1-based VBComponents index of each module
};

// Reads a project through the host operations. HostError passes through.
ProjectCode ReadProjectCode(ide::VBProject& project, CondComp condComp = {});

// The CondComp constants of a project loaded from a .vbp by the in-memory
// host (empty for other projects). A CondComp that does not read as
// "name = value : ..." throws std::runtime_error naming the project file.
CondComp ProjectCondComp(ide::VBProject& project);

}  // namespace tarno::lang
