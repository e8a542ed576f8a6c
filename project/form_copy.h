// Copying a component (form, module, class, user control, ...) of an open
// project into an open project under a new name, through the host's
// operations only: the checks that refuse a copy, and the copy itself.
// Shared by frmCopy and `tarno copy`.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "addin/host_api.h"

namespace tarno::project {

// The text a component kind is listed under; empty for the kinds that are
// not listed (MS Forms designer, resource file, related document, ActiveX designer).
std::u16string ListedKindText(int componentType);
// Whether the kind's controls can be copied (forms, MDI forms, user controls, ActiveX designers).
bool ControlsCopyable(int componentType);

struct CopyRefusal {
  int step = 0;            // 1 to 9; 10 for a name VB cannot take (checked after step 7)
  std::u16string message;  // shown with the exclamation icon
  bool focus_name = false; // from step 3 on, the focus goes back to the name box
};

// The checks of a copy in their order, stopping at the first failure.
// `rows` is the number of listed components of the source project; `source`
// the chosen one (nullptr: none chosen); `target` the target project. Host failures throw ide::HostError.
std::optional<CopyRefusal> CheckCopy(int rows, const std::shared_ptr<ide::VBComponent>& source,
                                     const std::u16string& name, ide::VBProject* target);

// Whether VB takes the text as an object name: a letter first, then letters,
// digits and underscores (non-ASCII letters included, the full-width space not).
bool IsObjectName(const std::u16string& name);

struct CopyOptions {
  bool controls = false;  // also the controls
  bool code = false;      // also the source code
};

// The longest control name VB takes.
constexpr size_t kMaxControlName = 40;

// The first control of the source's designer whose name VB would not take
// in the copy (longer than kMaxControlName): the copy is refused before
// anything is written, as its event procedures would no longer bind.
std::optional<std::u16string> UncopyableControl(ide::VBComponent& source);

// Makes the copy: a new component of the source's kind, last in the target,
// named `name`, with the source's designer properties and, as asked, its
// controls (those inside containers too) and code. Property writes the host
// refuses are skipped. Returns the new component, or nullptr when the copy
// failed where its result would be broken (the component could not be added
// or named, or a code line could not be inserted); nothing is then left in
// the target.
std::shared_ptr<ide::VBComponent> CopyComponent(ide::VBComponent& source, ide::VBProject& target,
                                                const std::u16string& name, const CopyOptions& options);

}  // namespace tarno::project
