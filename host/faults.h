// Fault injection: a test makes a named host operation fail, so that every
// "a host error is ignored" and "a host failure ends the run" path can be
// exercised. Every operation of the in-memory host calls CheckFault with its
// name before it does anything; an armed fault throws ide::HostError.
//
// Operation names are "<Object>.<Operation>", the interface name and the
// member as in addin/host_api.h, with "Set" for writes:
//   CodeModule.Lines, .CountOfLines, .CountOfDeclarationLines, .InsertLines,
//     .DeleteLines, .ProcStartLine, .ProcBodyLine, .ProcCountLines,
//     .ProcOfLine, .Find, .Members, .Parent
//   CodePane.GetSelection, .SetSelection, .CodeModule
//   Window.Type, .Caption
//   VBE.VBProjects, .ActiveCodePane, .ActiveWindow, .SelectedVBComponent,
//     .CommandBars, .Events
//   VBProjects.Count, .Item
//   VBProject.Name, .Type, .FileName, .Saved, .SaveAs, .VBComponents
//   VBComponents.Count, .Item, .Add, .Remove
//   VBComponent.Name, .SetName, .Type, .CodeModule, .Designer, .Properties,
//     .FileNames, .IsDirty, .SetIsDirty, .SaveAs, .Collection
//   VBForm.VBControls, .SelectedVBControls, .ContainedVBControls
//   VBControls.Count, .Item, .Add
//   VBControl.ClassName, .ProgId, .ControlObject, .Properties,
//     .ContainedVBControls
//   Properties.Count, .Item
//   Property.Name, .Value, .SetValue, .Object, .SetObject
//   Font.Name, .SetName, .Size, .SetSize, .Bold, .SetBold, .Italic,
//     .SetItalic, .Strikethru, .SetStrikethru, .Underline, .SetUnderline,
//     .Count, .ItemName, .ItemValue, .SetItemValue
//   CommandBars.Count, .Item, .Add
//   CommandBar.Name, .Controls, .Visible, .SetVisible, .Delete
//   CommandBarControls.Count, .Item, .Add
//   CommandBarControl.Type, .Caption, .SetCaption, .ToolTipText,
//     .SetToolTipText, .DescriptionText, .SetDescriptionText, .BeginGroup,
//     .SetBeginGroup, .PasteFace, .Delete, .Controls
//   Events.CommandBarEvents
//   CommandBarEvents.SetClickHandler
#pragma once

#include <string>

namespace tarno::host {

class FaultInjector {
 public:
  // The next call of the operation fails; later calls succeed.
  void FailOnce(const std::string& operation);
  // Every call fails until cleared.
  void FailAlways(const std::string& operation);
  // The n-th call (1-based) counted from now fails, and only that one.
  void FailOnCall(const std::string& operation, int n);
  void Clear(const std::string& operation);
  void ClearAll();
  // Calls of an armed operation since it was armed (0 when not armed).
  int Calls(const std::string& operation) const;
  // Failures raised so far for the operation since it was armed.
  int Failures(const std::string& operation) const;

  // Throws ide::HostError(operation, ...) when a fault is due.
  void Check(const char* operation);
  bool Armed() const { return armed_; }

 private:
  bool armed_ = false;
};

// The process-wide injector that the in-memory host consults.
FaultInjector& Faults();

inline void CheckFault(const char* operation) {
  if (Faults().Armed()) Faults().Check(operation);
}

// Clears every fault when it goes out of scope (tests).
class FaultScope {
 public:
  FaultScope() = default;
  FaultScope(const FaultScope&) = delete;
  FaultScope& operator=(const FaultScope&) = delete;
  ~FaultScope() { Faults().ClearAll(); }
};

}  // namespace tarno::host
