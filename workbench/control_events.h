// The events VB 6's intrinsic controls and designers raise, with the
// parameter lists their handlers take, in the order the Procedure list shows
// them (alphabetical, as the IDE lists them).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarno::workbench {

struct EventDef {
  std::u16string name;    // "KeyPress"
  std::u16string params;  // "KeyAscii As Integer"
};

// By class name ("TextBox", "Form"); empty for a class whose events are not
// known (an ActiveX control) and for those that raise none (Line, Shape).
const std::vector<EventDef>& EventsOf(std::u16string_view className);

// The handler's first line as the IDE writes it: "Private Sub Text1_Change()",
// with "Index As Integer" first for a member of a control array.
std::u16string HandlerDeclaration(const std::u16string& object, const EventDef& event, bool array);

}  // namespace tarno::workbench
