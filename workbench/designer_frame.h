// The window around a form designer's client area, as the form will look:
// its border (BorderStyle), the title bar with the icon, caption and control
// box buttons (ControlBox, MinButton, MaxButton), and the menu bar built from
// the form's Menu controls, whose menus open to show their items. User
// controls and property pages have none of it: the client area alone.
#pragma once

#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <memory>
#include <vector>

#include "host/controls.h"

namespace tarno::workbench {

class FormCanvas;

class DesignerFrame : public QWidget {
 public:
  // Takes the canvas as its child.
  explicit DesignerFrame(FormCanvas* canvas, QWidget* parent = nullptr);

  FormCanvas* canvas() const { return canvas_; }
  // The menu bar's top-level menus (visible ones, in file order) and where
  // each caption is drawn.
  const std::vector<std::shared_ptr<host::MemControl>>& Menus() const { return menus_; }
  QRect MenuRect(size_t index) const { return menu_rects_.at(index); }
  // Opens a top-level menu below its caption; returns the popup (nullptr for
  // a menu without items).
  QMenu* OpenMenu(size_t index);
  // Recomputes the frame around the canvas (after the form changed).
  void Relayout();
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;

 private:
  bool HasFrame() const;
  bool HasTitleBar() const;
  bool ToolWindow() const;
  int BorderWidth() const;
  void LayoutMenus();

  FormCanvas* canvas_;
  std::vector<std::shared_ptr<host::MemControl>> menus_;
  std::vector<QRect> menu_rects_;
  QRect title_;
  QRect menu_bar_;
  QPointer<QMenu> popup_;
};

}  // namespace tarno::workbench
