// What a code window's Object and Procedure lists hold: "(General)" and the
// component's objects (the form as "Form", its controls, a control array
// once), and for each object its procedures: in (General) the declarations
// and every procedure that is no object's event handler, for an object its
// events, each with whether its handler exists. Adding a handler writes the
// empty procedure as the IDE does.
#pragma once

#include <string>
#include <vector>

#include "host/mem_host.h"
#include "workbench/control_events.h"

namespace tarno::workbench {

inline constexpr char16_t kGeneral[] = u"(General)";
inline constexpr char16_t kDeclarations[] = u"(Declarations)";

struct OutlineObject {
  std::u16string name;       // "(General)", "Form", "Text1"
  std::u16string className;  // "TextBox"; empty for (General)
  bool array = false;        // a control array (handlers take Index)
};

struct OutlineProc {
  std::u16string label;  // as listed: "Change", "Value [PropertyGet]", "(Declarations)"
  std::u16string name;   // the procedure's name ("Text1_Change"); empty for the declarations
  int kind = 0;          // ide::ProcKind
  bool exists = true;    // false: an event without a handler yet
};

// A procedure of the module: name, kind and first line (its declaration).
struct ModuleProc {
  std::u16string name;
  int kind = 0;
  int body = 0;
  int start = 0;  // ProcStartLine (comments above it included)
};

std::vector<ModuleProc> ModuleProcs(host::MemCodeModule& module);
std::vector<OutlineObject> OutlineObjects(host::MemComponent& component);
std::vector<OutlineProc> OutlineProcs(host::MemComponent& component, const OutlineObject& object);

// The object and procedure label the line is in (the declarations are
// "(General)" and "(Declarations)").
struct OutlinePlace {
  std::u16string object;
  std::u16string proc;
};
OutlinePlace Locate(host::MemComponent& component, int line);

// The line of the procedure's declaration, adding the empty event handler at
// the module's end first when it does not exist; the caret goes to the
// returned line + 1 (its empty body).
int GoToProc(host::MemComponent& component, const OutlineObject& object, const OutlineProc& proc);

}  // namespace tarno::workbench
