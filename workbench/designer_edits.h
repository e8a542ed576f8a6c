// The form designers' edits, undoable: every change of a property value (the
// Properties window's, a move or resize with the mouse or the keys) goes
// through the host's Properties of the control or form, so that the designer
// model keeps everything else; Undo sets the values back the same way.
#pragma once

#include <QUndoStack>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/controls.h"
#include "host/mem_host.h"
#include "workbench/copied_controls.h"

namespace tarno::workbench {

// One property of one control (nullptr control: the form itself).
struct PropertyChange {
  std::shared_ptr<host::MemComponent> component;
  std::shared_ptr<host::MemControl> control;
  std::u16string name;
  ide::Variant before;
  ide::Variant after;
};

class DesignerEdits {
 public:
  explicit DesignerEdits(QObject* parent = nullptr);

  QUndoStack& stack() { return stack_; }
  // Sets the values as one undoable step named `what`; changes whose value
  // stays the same are left out, and nothing is recorded when none is left.
  // A value the host refuses throws ide::HostError, nothing changed then.
  void Set(const QString& what, std::vector<PropertyChange> changes);
  // Sets one property from its current value to `value`.
  void Set(const std::shared_ptr<host::MemComponent>& component, const std::shared_ptr<host::MemControl>& control,
           const std::u16string& name, const ide::Variant& value);
  // Sets a font property's values through its font object.
  void SetFont(const std::shared_ptr<host::MemComponent>& component, const std::shared_ptr<host::MemControl>& control,
               const std::u16string& name, const host::FontValues& font);
  // Places a new control of the intrinsic class ("TextBox") with the IDE's
  // default name and size at the place (twips in its container; nullptr
  // container: the form) through the designer's ContainedVBControls; its
  // undo takes it back. Returns the control.
  std::shared_ptr<host::MemControl> AddControl(const std::shared_ptr<host::MemComponent>& component,
                                               const std::shared_ptr<host::MemControl>& container,
                                               const std::u16string& className, double left, double top);
  // Deletes the controls and what they hold as one undoable step (undo puts
  // them back where they were); the others' tab indexes close up.
  void Delete(const QString& what, const std::shared_ptr<host::MemComponent>& component,
              const std::vector<std::shared_ptr<host::MemControl>>& controls);
  // Copy keeps copies of the controls for Paste (in any designer); Cut is a
  // copy and a delete.
  void Copy(const std::shared_ptr<host::MemComponent>& component,
            const std::vector<std::shared_ptr<host::MemControl>>& controls);
  void Cut(const std::shared_ptr<host::MemComponent>& component,
           const std::vector<std::shared_ptr<host::MemControl>>& controls);
  bool CanPaste() const { return !copied_.empty(); }
  // Pastes what was copied into the container (nullptr: the form) as one
  // undoable step, the pasted controls keeping their places relative to
  // each other with the first at the container's top left corner, last in
  // the tab order, and selected. A name that is free stays; one an array
  // has takes the array's next index; one a single control has asks
  // `ask_array` (VB's question): Yes makes the two an array (Index 0 and 1),
  // No gives the pasted control the class's next default name. Pasted into
  // another component, the binary files its values name come along (held by
  // the designer until saved). Returns the pasted controls that were chosen.
  std::vector<std::shared_ptr<host::MemControl>> Paste(const std::shared_ptr<host::MemComponent>& component,
                                                       const std::shared_ptr<host::MemControl>& container);
  std::function<bool(const QString& question)> ask_array;

  // Called after every change, undo and redo (views repaint, dirty marks).
  std::function<void()> on_change;

  // The property collection an edit writes through.
  static std::shared_ptr<ide::Properties> PropertiesOf(const std::shared_ptr<host::MemComponent>& component,
                                                      const std::shared_ptr<host::MemControl>& control);

 private:
  QUndoStack stack_;
  CopiedControls copied_;
};

// Undo (Ctrl+Z) and Redo (Ctrl+Y, Ctrl+Shift+Z) of the stack while the
// widget or one inside it has the focus.
void AddUndoActions(QWidget& widget, QUndoStack& stack);

}  // namespace tarno::workbench
