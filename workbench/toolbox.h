// The toolbox of the intrinsic controls: the pointer and one tool per class,
// in the IDE's order. A chosen tool places its control at the next click on
// a form view, then the pointer is chosen again.
#pragma once

#include <QString>
#include <QToolBar>

class QActionGroup;

namespace tarno::workbench {

class Toolbox : public QToolBar {
 public:
  explicit Toolbox(QWidget* parent = nullptr);
  // The chosen tool's class ("TextBox"), empty for the pointer.
  QString Armed() const;
  void Choose(const QString& className);
  void ChoosePointer() { Choose(QString()); }

 private:
  QActionGroup* group_;
};

}  // namespace tarno::workbench
