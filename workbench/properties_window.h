// The Properties window (F4): the properties of the selected control, or of
// the form when none is selected, as VB lists them, alphabetically ("(Name)"
// first) or by category, with values in VB's display form. A value edited
// here is written through the host's Properties as one undoable edit.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "host/mem_host.h"

class QComboBox;
class QModelIndex;
class QTabBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace tarno::workbench {

class DesignerEdits;

class PropertiesWindow : public QWidget {
 public:
  PropertiesWindow(DesignerEdits& edits, QWidget* parent = nullptr);

  // The designer whose selection is shown (nullptr: nothing).
  void ShowDesigner(std::shared_ptr<host::MemComponent> component);
  // Reads the selection and the values again.
  void Refresh();
  void SetCategorized(bool categorized);

  // What the list shows, in its order: property names as listed ("(Name)"),
  // and one's value text.
  QStringList Listed() const;
  QString ValueText(const QString& listedName) const;
  // Edits a value as typing it would: false (after a message) when VB would
  // refuse it.
  bool Edit(const QString& listedName, const QString& text);
  // The control shown, nullptr for the form.
  const std::shared_ptr<host::MemControl>& control() const { return control_; }
  QTreeWidget* list() const { return list_; }
  // The control or form whose properties are listed; nullptr for none.
  const host::MemControl* Shown() const;
  // The property a row of the list stands for, nullptr for a category row.
  const host::PropDef* DefAt(const QModelIndex& index) const;

  std::function<void(const QString&)> warn;
  // Asks for a font (the Font property's "..."); nullopt when cancelled.
  std::function<std::optional<host::FontValues>(const host::FontValues&)> ask_font;

 private:
  QTreeWidgetItem* ItemOf(const QString& listedName) const;
  void EditFont();

  DesignerEdits& edits_;
  std::shared_ptr<host::MemComponent> component_;
  std::shared_ptr<host::MemControl> control_;
  QComboBox* objects_;
  QTabBar* tabs_;
  QTreeWidget* list_;
  bool filling_ = false;
};

}  // namespace tarno::workbench
