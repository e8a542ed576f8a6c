// A form designer's view: the form's client area and its controls drawn at
// their twips geometry (15 twips a pixel) with their captions; lines and
// shapes with their borders and fills, a tab strip with its tab captions and
// the controls of its current tab only. Click selects one control,
// Ctrl+click adds or removes one; the selection is the designer's
// SelectedVBControls in the order chosen, and the view's component the IDE's
// SelectedVBComponent.
#pragma once

#include <QLineF>
#include <QWidget>
#include <memory>
#include <vector>

#include "host/mem_host.h"

class QPainter;

namespace tarno::workbench {

class FormCanvas : public QWidget {
 public:
  FormCanvas(std::shared_ptr<host::MemVBE> vbe, std::shared_ptr<host::MemComponent> component,
             QWidget* parent = nullptr);

  const std::shared_ptr<host::MemComponent>& component() const { return component_; }
  // A control's rectangle in pixels on the view (containers' offsets added;
  // a line's is the box around its end points).
  QRect RectOf(const host::MemControl& control) const;
  // A Line control's end points on the view.
  QLineF LineOf(const host::MemControl& line) const;
  // False for a control on a tab strip's tab that is not the current one
  // (and whatever it holds): the view draws the current tab only.
  bool Shown(const host::MemControl& control) const;
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
  // Pixels per unit of the control's container, and the container's place.
  double UnitOf(const host::MemControl& control) const;
  QPointF OriginOf(const host::MemControl& control) const;
  // The shown controls in drawing order (hit tests go the other way).
  std::vector<std::shared_ptr<host::MemControl>> PaintOrder() const;
  void DrawTabs(QPainter& p, const host::MemControl& tabs, const QRect& r) const;

  std::shared_ptr<host::MemVBE> vbe_;
  std::shared_ptr<host::MemComponent> component_;
};

}  // namespace tarno::workbench
