// The Object and Procedure lists above a code pane, and its Procedure /
// Full Module view switch. The lists follow the caret; choosing an object
// goes to its first handler (writing its default event's when it has none,
// as the IDE does), choosing a procedure goes to it, writing an event's
// empty handler when it has none. Events without a handler are in italics.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "host/mem_host.h"
#include "workbench/code_outline.h"

class QComboBox;
class QToolButton;

namespace tarno::workbench {

class ProcedureBar : public QWidget {
 public:
  ProcedureBar(std::shared_ptr<host::MemComponent> component, QWidget* parent = nullptr);

  // Shows the object and procedure the line is in.
  void Follow(int line);
  // Chooses the object or the procedure by its label as the user would.
  bool ChooseObject(const QString& name);
  bool ChooseProc(const QString& label);

  QComboBox* objects() const { return objects_; }
  QComboBox* procs() const { return procs_; }
  QToolButton* procedureView() const { return procedure_view_; }
  QToolButton* fullModuleView() const { return full_view_; }

  // The caret goes to the line (the module may have a new handler).
  std::function<void(int line, bool newHandler)> on_go;
  // The view switch: true for Procedure view.
  std::function<void(bool procedureView)> on_view;

 private:
  void FillObjects();
  void FillProcs(const OutlineObject& object);
  const OutlineObject* CurrentObject() const;
  void Go(const OutlineProc& proc);

  std::shared_ptr<host::MemComponent> component_;
  QComboBox* objects_;
  QComboBox* procs_;
  QToolButton* procedure_view_;
  QToolButton* full_view_;
  std::vector<OutlineObject> shown_objects_;
  std::vector<OutlineProc> shown_procs_;
  uint64_t filled_version_ = ~uint64_t(0);
  size_t filled_controls_ = 0;
};

}  // namespace tarno::workbench
