// A form designer's view: the form's client area and its controls drawn at
// their twips geometry (15 twips a pixel) with their captions. Click selects
// one control, Ctrl+click adds or removes one; the selection is the
// designer's SelectedVBControls in the order chosen, and the view's
// component the IDE's SelectedVBComponent.
#pragma once

#include <QWidget>
#include <memory>

#include "host/mem_host.h"

namespace tarno::workbench {

class FormCanvas : public QWidget {
 public:
  FormCanvas(std::shared_ptr<host::MemVBE> vbe, std::shared_ptr<host::MemComponent> component,
             QWidget* parent = nullptr);

  const std::shared_ptr<host::MemComponent>& component() const { return component_; }
  // A control's rectangle in pixels on the view (containers' offsets added).
  QRect RectOf(const host::MemControl& control) const;
  // The topmost control at the point, nullptr on the bare form.
  std::shared_ptr<host::MemControl> ControlAt(QPoint p) const;
  // What a click does (ctrl: the Ctrl key held).
  void ClickAt(QPoint p, bool ctrl);
  // Makes the designer the selected component (as the focus does).
  void Activate();
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;

 private:
  std::shared_ptr<host::MemVBE> vbe_;
  std::shared_ptr<host::MemComponent> component_;
};

}  // namespace tarno::workbench
