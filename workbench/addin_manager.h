// The Add-In Manager: the add-ins of VBADDIN.INI with two boxes each,
// "Loaded" (connects or disconnects the add-in on OK) and "Load on Startup"
// (the entry's value, written back on OK).
#pragma once

#include <QDialog>

class QTableWidget;

namespace tarno::workbench {

class MainWindow;

class AddInManager : public QDialog {
 public:
  AddInManager(MainWindow& main, QWidget* parent = nullptr);

  QTableWidget* table() const { return table_; }
  // Row of the add-in, -1 when it is not listed.
  int RowOf(const QString& progId) const;
  void SetLoaded(int row, bool loaded);
  void SetLoadAtStart(int row, bool on);
  // What OK does: connects and disconnects, writes the start-up values.
  void Apply();

 private:
  MainWindow& main_;
  QTableWidget* table_;
};

}  // namespace tarno::workbench
