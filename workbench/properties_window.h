// The Properties window (F4): the properties of the selected control, or of
// the form when none is selected, as VB lists them, alphabetically ("(Name)"
// first) or by category, with values in VB's display form. A value edited
// here is written through the host's Properties as one undoable edit. With
// several controls selected it lists the properties they all have (not
// their names and indexes), a value only where they agree, and an edit sets
// it on all of them as one step.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

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
  // The font and picture dialogs of the listed property ("Font", "Picture"),
  // as its "..." button opens them.
  void EditFontOf(const QString&) { EditFont(); }
  void EditPictureOf(const QString& listedName) { EditPicture(listedName); }
  // The control shown (the first of several), nullptr for the form.
  const std::shared_ptr<host::MemControl>& control() const { return control_; }
  // Every control shown; empty for the form.
  const std::vector<std::shared_ptr<host::MemControl>>& controls() const { return controls_; }
  // Asks for a picture file (a property's "..."): its path, empty when
  // cancelled.
  std::function<QString(const QString& property)> ask_picture;
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
  void EditPicture(const QString& listedName);
  // The controls an edit writes to (nullptr alone: the form).
  std::vector<std::shared_ptr<host::MemControl>> Targets() const;

  DesignerEdits& edits_;
  std::shared_ptr<host::MemComponent> component_;
  std::shared_ptr<host::MemControl> control_;
  std::vector<std::shared_ptr<host::MemControl>> controls_;
  QComboBox* objects_;
  QTabBar* tabs_;
  QTreeWidget* list_;
  bool filling_ = false;
};

}  // namespace tarno::workbench
