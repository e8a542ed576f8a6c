// The windows of the two checks: the check windows (frmHensuFind,
// frmProcFind), which pick a project and one module or all of them, and the
// results windows (frmKekka, frmProcFindKekka), which show the report and save
// it as a log file.
#pragma once

#include <memory>
#include <string>

#include "addin/host_api.h"
#include "checks/procedure_check.h"
#include "checks/variable_check.h"
#include "ui/ui.h"

namespace tarno::checks {

// The kind column's text for a component type.
std::u16string ComponentKindText(int type);

// What both check windows share: the project box, the module list, the
// all-modules box, the start and close buttons and the busy notice.
class CheckWindow : public ui::Form {
 public:
  ui::Label Label1{*this, u"Label1"};
  ui::ComboBox Combo1{*this, u"Combo1"};
  ui::ListView ListView1{*this, u"ListView1"};
  ui::CheckBox Check1{*this, u"Check1"};
  ui::CommandButton Command1{*this, u"Command1"};
  ui::CommandButton Command2{*this, u"Command2"};
  ui::PictureBox Picture1{*this, u"Picture1"};
  ui::Label Label2{*this, u"Label2"};

  void Combo1_Click();
  void Check1_Click();
  void Command1_Click();
  void Command2_Click() { Unload(); }

 protected:
  CheckWindow(std::u16string name, const std::u16string& caption, const std::u16string& startToolTip);
  void Form_Load() override;
  // The chosen project (Combo1.ListIndex + 1).
  std::shared_ptr<ide::VBProject> ChosenProject();
  // Runs the check on all components or on one (1-based); host failures throw.
  virtual void RunCheck(bool allModules, int componentIndex) = 0;
  virtual bool ResultEmpty() const = 0;
  // Shows the results window (modally) and releases the result afterwards.
  virtual void ShowResults() = 0;
  // Releases the result after a failed check.
  virtual void DropResult() = 0;
};

class frmHensuFind : public CheckWindow {
 public:
  frmHensuFind();

  void CheckModuleVariables(int componentIndex);
  void CheckProjectVariables();

 protected:
  void RunCheck(bool allModules, int componentIndex) override;
  bool ResultEmpty() const override;
  void ShowResults() override;
  void DropResult() override;
};

class frmProcFind : public CheckWindow {
 public:
  frmProcFind();

  void CheckModuleProcedures(int componentIndex);
  void CheckProjectProcedures();

 protected:
  void RunCheck(bool allModules, int componentIndex) override;
  bool ResultEmpty() const override;
  void ShowResults() override;
  void DropResult() override;

 private:
  std::unique_ptr<ProcedureCheckResult> result_;
};

// What both results windows share: the report box, save and close.
class ResultWindow : public ui::Form {
 public:
  ui::TextBox Text1{*this, u"Text1"};
  ui::CommandButton Command1{*this, u"Command1"};
  ui::CommandButton Command2{*this, u"Command2"};
  ui::CommonDialog CommonDialog1{*this, u"CommonDialog1"};

  void Command1_Click();
  void Command2_Click() { Unload(); }

 protected:
  ResultWindow(std::u16string name, const std::u16string& caption, const std::u16string& saveToolTip);
};

// Shows the current variable check result (CurrentVariableCheckResult).
class frmKekka : public ResultWindow {
 public:
  frmKekka();

 protected:
  void Form_Load() override;
};

class frmProcFindKekka : public ResultWindow {
 public:
  frmProcFindKekka();
  // Keeps the project name and the result and shows the window modally.
  void Init(const std::u16string& projectName, const ProcedureCheckResult& result);

 protected:
  void Form_Load() override;

 private:
  std::u16string projectName_;
  ProcedureCheckResult result_;
};

}  // namespace tarno::checks
