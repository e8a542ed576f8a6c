// One headless window on screen: a top-level widget whose client area holds
// one widget per control (ControlView), at the control's geometry.
#pragma once

#include <QWidget>
#include <map>
#include <memory>
#include <typeindex>
#include <vector>

#include "ui/ui.h"

namespace tarno::gui {

class ControlView;
class Desktop;

class FormView : public QWidget {
 public:
  FormView(Desktop& desktop, ui::Form& form);
  ~FormView() override;

  ui::Form& form() const { return *form_; }
  Desktop& desktop() const { return *desktop_; }

  // The widget that shows the control; nullptr for controls without a
  // window of their own (Timer, ImageList, CommonDialog).
  QWidget* WidgetOf(const ui::Control& control) const;
  ControlView* ViewOf(const ui::Control& control) const;

  // Model to widgets (Desktop::Sync calls it): rebuilds the control widgets
  // when the form's controls changed (a control array grew), then copies
  // caption, size, every control's state, visibility and the focus.
  void Sync();

  // Cuts the window off its form (unloaded or destroyed): it raises nothing
  // any more and waits to be deleted.
  void Detach();

  // The client area in pixels as the form's size gives it.
  QSize ClientSize() const;

 protected:
  void closeEvent(QCloseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  bool focusNextPrevChild(bool next) override;

 private:
  void Build();
  void Stack();
  void ShowWindow();

  Desktop* desktop_;
  ui::Form* form_;
  std::type_index type_;
  std::vector<ui::Control*> built_for_;
  std::vector<std::unique_ptr<ControlView>> views_;
  std::map<const ui::Control*, ControlView*> by_control_;
  bool placed_ = false;
  bool detached_ = false;
};

}  // namespace tarno::gui
