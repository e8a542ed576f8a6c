// A form designer's client area: the form's controls drawn at their twips
// geometry (15 twips a pixel) as the VB 6 designer draws them (see
// control_painter.h), each clipped to its container; lines and shapes, and
// tab strips whose tabs can be switched in the view. Click selects one
// control, Ctrl+click adds or removes one; the selection is the designer's
// SelectedVBControls in the order chosen, and the view's component the IDE's
// SelectedVBComponent. The frame around it is DesignerFrame's.
#pragma once

#include <QLineF>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "host/mem_host.h"
#include "platform/code_page.h"
#include "workbench/control_painter.h"
#include "workbench/frx_values.h"

class QPainter;

namespace tarno::workbench {

class DesignerEdits;

class FormCanvas : public QWidget {
 public:
  FormCanvas(std::shared_ptr<host::MemVBE> vbe, std::shared_ptr<host::MemComponent> component,
             QWidget* parent = nullptr);

  const std::shared_ptr<host::MemComponent>& component() const { return component_; }
  const CodePage& code_page() const { return code_page_; }
  FrxValues& frx() { return frx_; }
  // A control's rectangle in pixels on the view (containers' offsets added;
  // a line's is the box around its end points).
  QRect RectOf(const host::MemControl& control) const;
  // A Line control's end points on the view.
  QLineF LineOf(const host::MemControl& line) const;
  // False for a control on a tab strip's tab that is not the one the view
  // shows (and whatever it holds).
  bool Shown(const host::MemControl& control) const;
  // The tab a tab strip shows: its Tab property until a tab is clicked in
  // the view (the view's choice: the form does not change).
  int ShownTab(const host::MemControl& tabs) const;
  void ShowTab(const host::MemControl& tabs, int tab);
  // The tab of a tab strip whose caption is at the point, -1 when none.
  int TabAt(const host::MemControl& tabs, QPoint p) const;
  // The user control (its .ctl loaded in an open project) the control is
  // an instance of, when its designer holds controls to draw; nullptr for
  // any other control.
  std::shared_ptr<host::MemComponent> UserControlOf(const host::MemControl& control) const;
  // The topmost control at the point, nullptr on the bare form.
  std::shared_ptr<host::MemControl> ControlAt(QPoint p) const;
  // What a click does (ctrl: the Ctrl key held).
  void ClickAt(QPoint p, bool ctrl);
  // Makes the designer the selected component (as the focus does).
  void Activate();
  // After a change of the model: the size follows the form's, then a repaint.
  void Refresh();
  // Where each control was at the last paint (what the user sees).
  QRect PaintedRect(const host::MemControl& control) const;
  QFont FontOf(const host::MemControl& control) const;
  QSize sizeHint() const override;

  // Direct manipulation (through the edits given by set_edits, each one
  // undoable step). Positions snap to the designer's grid of 120 twips.
  static constexpr int kGrid = 120;
  // Moves the selected controls by the pixel offset, the first one's place
  // snapped to the grid.
  void MoveSelection(QPoint offset);
  // Gives the one selected control the rectangle its handle `handle` (0 top
  // left, 1 top right, 2 bottom left, 3 bottom right, 4 top, 5 bottom, 6
  // left, 7 right) makes when dragged by the offset; moved edges snap.
  void ResizeSelection(int handle, QPoint offset);
  // Ctrl+arrows and Shift+arrows: one grid step in twips.
  void NudgeSelection(int dxTwips, int dyTwips, bool size);
  // The handle of the selected control at the point, -1 when none.
  int HandleAt(QPoint p) const;
  // Selects the controls on the bare form that the band touches.
  void SelectBand(const QRect& band);
  // Called when the client size changed (the frame around follows).
  std::function<void()> on_resize;
  // Called when the selection changed or the view became the active one.
  std::function<void()> on_selection;
  // The class a click places ("TextBox"; empty: a click selects), and what
  // follows a placement (the toolbox goes back to its pointer).
  std::function<QString()> armed_tool;
  std::function<void()> tool_used;
  // Places a control of the class at the point (in the container there), as
  // a click with the toolbox's tool does; nullptr when the host refused it.
  std::shared_ptr<host::MemControl> PlaceControl(const QString& className, QPoint at);
  // Del, Ctrl+X, Ctrl+C and Ctrl+V (and the Edit menu): the selected
  // controls deleted, cut or copied; a paste goes into the one selected
  // container, else onto the form.
  void DeleteSelection();
  void CutSelection();
  void CopySelection();
  void Paste();
  // Where moves, resizes and keys write (none: the view only selects).
  void set_edits(DesignerEdits* edits) { edits_ = edits; }

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;

 private:
  QPointF OriginOf(const host::MemControl& control) const;
  // The control's Left in twips as the view places it: a control on a tab
  // the view shows although it is not the form's current one is brought
  // back from where the designer keeps it.
  double LeftOf(const host::MemControl& control) const;
  // The tab of a tab strip a control is on.
  int TabOf(const host::MemControl& tabs, const host::MemControl& control) const;
  // Where a control is visible: its containers' inner areas.
  QRect ClipOf(const host::MemControl& control) const;
  // The shown controls in drawing order (hit tests go the other way).
  std::vector<std::shared_ptr<host::MemControl>> PaintOrder() const;
  std::vector<std::shared_ptr<host::MemControl>> PaintOrder(const host::MemDesigner& designer) const;
  // Draws a control moved by the offset within the clip; a user control of
  // a loaded project with its own designer (nested ones up to a few deep).
  void DrawControl(QPainter& p, const host::MemControl& c, QPoint offset, const QRect& clip, PaintSupport& support,
                   int depth);
  void DrawUserControl(QPainter& p, const std::shared_ptr<host::MemComponent>& uc, const QRect& r, int depth);
  void DrawTabs(QPainter& p, const host::MemControl& tabs, const QRect& r) const;
  void DrawGrid(QPainter& p, const QRect& r, const QColor& back) const;

  std::shared_ptr<host::MemVBE> vbe_;
  std::shared_ptr<host::MemComponent> component_;
  CodePage code_page_;
  FrxValues frx_;
  std::map<const host::MemControl*, int> shown_tabs_;
  std::vector<QPoint> HandlesOf(const host::MemControl& c) const;
  void Commit(const QString& what, const std::vector<std::pair<std::shared_ptr<host::MemControl>,
                                                               std::pair<std::u16string, double>>>& values);

  std::map<const host::MemControl*, QRect> painted_;
  // The binary files of the user controls drawn in place.
  std::map<std::shared_ptr<host::MemComponent>, FrxValues> user_frx_;
  DesignerEdits* edits_ = nullptr;
  enum class Drag { None, Move, Resize, Band };
  Drag drag_ = Drag::None;
  int drag_handle_ = -1;
  QPoint drag_from_, drag_to_;
  bool click_on_release_ = false;
};

}  // namespace tarno::workbench
