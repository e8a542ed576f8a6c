// The Find and Replace window: what to find (and what to put instead), where
// (current procedure, module, project, all projects), whole word, match case,
// pattern matching. It stays open beside the code; its buttons run the
// window's FindReplace and show what came of it.
#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace tarno::workbench {

class FindReplace;

class FindDialog : public QDialog {
 public:
  FindDialog(FindReplace& finder, QWidget* parent = nullptr);

  // Shows the Replace With field and buttons (or hides them), with the
  // selected text (a single line) as what to find.
  void Start(bool replace, const QString& selected);
  // Copies the fields into the finder (the buttons do it first).
  void Apply();

  QComboBox* what() const { return what_; }
  QComboBox* with() const { return with_; }
  QLabel* status() const { return status_; }

 private:
  void Run(const std::function<void()>& action);

  FindReplace& finder_;
  QComboBox* what_;
  QComboBox* with_;
  QLabel* with_label_;
  QRadioButton* scopes_[4];
  QCheckBox* whole_;
  QCheckBox* case_;
  QCheckBox* pattern_;
  QPushButton* replace_;
  QPushButton* replace_all_;
  QPushButton* to_replace_;
  QLabel* status_;
};

}  // namespace tarno::workbench
