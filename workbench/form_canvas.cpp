#include "workbench/form_canvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

#include "gui/classic_colours.h"
#include "gui/qt_convert.h"
#include "host/files/file_state.h"
#include "platform/vb_text.h"
#include "workbench/control_painter.h"
#include "workbench/designer_edits.h"
#include "workbench/designer_fonts.h"
#include "workbench/property_values.h"

namespace tarno::workbench {
namespace {

// Positions and sizes in a designer file are twips, whatever the ScaleMode
// of the form or of the container (PictureBox, Frame, UserControl) that
// holds the control: ScaleMode only changes the units code sees at run time.
// The projects we read agree: of 285 forms with ScaleMode = 3 (pixels), the
// lowest control of 284 ends within ClientHeight (twips) and none within
// ScaleHeight; the same holds for the 3 forms with a user scale (ScaleMode 0),
// for the 23 frames on pixel-mode forms (within the frame's Height) and for
// a pixel-mode PictureBox (4350 twips of controls in a box 6735 twips high,
// 447 pixels in its own scale).
constexpr double kTwipsPerPixel = 15;

// The designer keeps the controls of a tab strip's other tabs this far to the left.
constexpr double kOffTabShift = 75000;
constexpr double kOffTabLimit = -37500;

int Px(double twips) { return static_cast<int>(twips / kTwipsPerPixel); }

const std::u16string& ClassOf(const host::MemControl& c) { return c.cls().name; }
bool IsLine(const host::MemControl& c) { return ClassOf(c) == u"Line"; }
bool IsSSTab(const host::MemControl& c) { return ClassOf(c) == u"SSTab"; }
// Controls drawn on their container itself, beneath its windowed controls.
bool Windowless(const host::MemControl& c) {
  const auto& k = ClassOf(c);
  return k == u"Label" || k == u"Line" || k == u"Shape" || k == u"Image";
}
// Controls that have a place on the form (a line has its end points instead).
bool Placed(const host::MemControl& c) { return c.Has(u"Left") || IsLine(c); }

QColor Colour(const host::MemControl& c, std::u16string_view property, int32_t fallback) {
  auto v = c.Get(property);
  return gui::ClassicColor(v ? static_cast<int32_t>(static_cast<int64_t>(NumberOf(v))) : fallback);
}

// A border pen from BorderStyle (0 none, 1 solid, 2 dash, 3 dot, 4 dash-dot,
// 5 dash-dot-dot, 6 inside solid), BorderWidth and BorderColor.
QPen BorderPen(const host::MemControl& c) {
  int style = IntOf(c, u"BorderStyle", 1);
  if (style == 0) return QPen(Qt::NoPen);
  static const Qt::PenStyle kStyles[] = {Qt::SolidLine, Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                         Qt::DashDotLine, Qt::DashDotDotLine, Qt::SolidLine};
  QPen pen(Colour(c, u"BorderColor", static_cast<int32_t>(0x80000008u)));
  pen.setStyle(kStyles[std::clamp(style, 0, 6)]);
  pen.setWidth(std::max(1, IntOf(c, u"BorderWidth", 1)));
  return pen;
}

// A shape's fill from FillStyle (0 solid, 1 transparent, 2 to 7 hatches).
QBrush FillBrush(const host::MemControl& c) {
  static const Qt::BrushStyle kStyles[] = {Qt::SolidPattern, Qt::NoBrush,    Qt::HorPattern,   Qt::VerPattern,
                                           Qt::BDiagPattern, Qt::FDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
  int style = std::clamp(IntOf(c, u"FillStyle", 1), 0, 7);
  return QBrush(Colour(c, u"FillColor", 0), kStyles[style]);
}

void DrawShape(QPainter& p, const host::MemControl& c, QRect r) {
  // 0 rectangle, 1 square, 2 oval, 3 circle, 4 rounded rectangle, 5 rounded square.
  int shape = IntOf(c, u"Shape");
  if (shape == 1 || shape == 3 || shape == 5) {
    int side = std::min(r.width(), r.height());
    r = QRect(r.left() + (r.width() - side) / 2, r.top() + (r.height() - side) / 2, side, side);
  }
  QRect body = r.adjusted(0, 0, -1, -1);
  auto outline = [&](const QBrush& brush, const QPen& pen) {
    p.setBrush(brush);
    p.setPen(pen);
    if (shape == 2 || shape == 3) p.drawEllipse(body);
    else if (shape == 4 || shape == 5) p.drawRoundedRect(body, 20, 20, Qt::RelativeSize);
    else p.drawRect(body);
  };
  if (IntOf(c, u"BackStyle") == 1) outline(QBrush(Colour(c, u"BackColor", static_cast<int32_t>(0x80000005u))), Qt::NoPen);
  outline(FillBrush(c), BorderPen(c));
  p.setBrush(Qt::NoBrush);
}

CodePage CodePageOf(const host::MemComponent& component) {
  auto* state = static_cast<host::files::ComponentState*>(component.file_state.get());
  return state ? state->code_page : SystemCodePage();
}

std::filesystem::path FolderOf(const host::MemComponent& component) {
  auto* state = static_cast<host::files::ComponentState*>(component.file_state.get());
  return state ? state->path.parent_path() : std::filesystem::path();
}

}  // namespace

FormCanvas::FormCanvas(std::shared_ptr<host::MemVBE> vbe, std::shared_ptr<host::MemComponent> component,
                       QWidget* parent)
    : QWidget(parent),
      vbe_(std::move(vbe)),
      component_(std::move(component)),
      code_page_(CodePageOf(*component_)),
      frx_(FolderOf(*component_), code_page_) {
  setFocusPolicy(Qt::ClickFocus);
  setFixedSize(sizeHint());
  // Pictures not saved yet (chosen from a file, pasted from another form).
  frx_.held = [designer = std::weak_ptr<host::MemDesigner>(component_->designer())](const std::u16string& name) {
    auto d = designer.lock();
    return d ? d->HeldBinary(name) : nullptr;
  };
}

QSize FormCanvas::sizeHint() const {
  const auto& form = *component_->designer()->form();
  int w = Px(NumberOf(form.Get(u"ClientWidth"), NumberOf(form.Get(u"ScaleWidth"), 4800)));
  int h = Px(NumberOf(form.Get(u"ClientHeight"), NumberOf(form.Get(u"ScaleHeight"), 3600)));
  return {std::clamp(w, 1, 4000), std::clamp(h, 1, 4000)};
}

void FormCanvas::Refresh() {
  if (size() != sizeHint()) {
    setFixedSize(sizeHint());
    if (on_resize) on_resize();
  }
  update();
}

QFont FormCanvas::FontOf(const host::MemControl& control) const {
  return DesignerQFont(FontValuesOf(control, code_page_));
}

int FormCanvas::TabOf(const host::MemControl& tabs, const host::MemControl& control) const {
  // The tab strip lists each tab's controls (Tab(1).Control(0) = "Text1(2)").
  std::u16string listed = control.name();
  if (control.index() >= 0) listed += u"(" + vb::FromInt(control.index()) + u")";
  const int count = std::max(1, IntOf(tabs, u"Tabs", 3));
  for (int t = 0; t < count; ++t) {
    const std::u16string prefix = u"Tab(" + vb::FromInt(t) + u").Control(";
    const int n = IntOf(tabs, u"Tab(" + vb::FromInt(t) + u").ControlCount");
    for (int i = 0; i < n; ++i)
      if (vb::EqualsIgnoreCaseAscii(Utf16Of(tabs, prefix + vb::FromInt(i) + u")"), listed)) return t;
  }
  // Not listed (a control added since): where it lies tells.
  return NumberOf(control, u"Left") < kOffTabLimit ? -1 : IntOf(tabs, u"Tab");
}

int FormCanvas::ShownTab(const host::MemControl& tabs) const {
  auto it = shown_tabs_.find(&tabs);
  return it != shown_tabs_.end() ? it->second : IntOf(tabs, u"Tab");
}

void FormCanvas::ShowTab(const host::MemControl& tabs, int tab) {
  shown_tabs_[&tabs] = tab;
  update();
}

double FormCanvas::LeftOf(const host::MemControl& control) const {
  double left = NumberOf(control, u"Left");
  auto parent = control.parent();
  if (parent && IsSSTab(*parent) && left < kOffTabLimit) left += kOffTabShift;
  return left;
}

bool FormCanvas::Shown(const host::MemControl& control) const {
  for (const host::MemControl* c = &control; c;) {
    auto parent = c->parent();
    if (!parent) break;
    if (IsSSTab(*parent)) {
      const int tab = TabOf(*parent, *c);
      if (tab >= 0 ? tab != ShownTab(*parent) : true) return false;
    }
    c = parent.get();
  }
  return true;
}

QPointF FormCanvas::OriginOf(const host::MemControl& control) const {
  QPointF at;
  for (auto p = control.parent(); p; p = p->parent()) at += QPointF(LeftOf(*p), NumberOf(*p, u"Top"));
  return at / kTwipsPerPixel;
}

QRect FormCanvas::RectOf(const host::MemControl& control) const {
  const QPointF at = OriginOf(control);
  if (IsLine(control)) {
    QRect r = QRectF(LineOf(control).p1(), LineOf(control).p2()).normalized().toRect();
    return {r.left(), r.top(), std::max(r.width(), 1), std::max(r.height(), 1)};
  }
  const QPoint topLeft(static_cast<int>(LeftOf(control) / kTwipsPerPixel + at.x()),
                       static_cast<int>(NumberOf(control, u"Top") / kTwipsPerPixel + at.y()));
  if (DrawnAsIcon(control)) return {topLeft, QSize(kIconSide, kIconSide)};
  QSize size(std::max(Px(NumberOf(control, u"Width")), 1), std::max(Px(NumberOf(control, u"Height")), 1));
  if (ClassOf(control) == u"Label" && FlagOf(control, u"AutoSize"))
    size = AutoSizeOfLabel(control, FontOf(control), size.width());
  return {topLeft, size};
}

QLineF FormCanvas::LineOf(const host::MemControl& line) const {
  const QPointF at = OriginOf(line);
  auto point = [&](const char16_t* x, const char16_t* y) {
    return QPointF(NumberOf(line, x), NumberOf(line, y)) / kTwipsPerPixel + at;
  };
  return {point(u"X1", u"Y1"), point(u"X2", u"Y2")};
}

QRect FormCanvas::ClipOf(const host::MemControl& control) const {
  QRect clip = rect();
  for (auto p = control.parent(); p; p = p->parent()) {
    QRect inner = RectOf(*p);
    if (ClassOf(*p) == u"PictureBox" && IntOf(*p, u"BorderStyle", 1) == 1) inner.adjust(2, 2, -2, -2);
    clip &= inner;
  }
  return clip;
}

std::vector<std::shared_ptr<host::MemControl>> FormCanvas::PaintOrder() const {
  return PaintOrder(*component_->designer());
}

std::vector<std::shared_ptr<host::MemControl>> FormCanvas::PaintOrder(const host::MemDesigner& designer) const {
  // In the designer's order, each container followed by what it holds; among
  // the controls of one container the windowless ones first, as the IDE draws
  // them on the container itself, beneath its windowed controls.
  std::map<const host::MemControl*, std::vector<std::shared_ptr<host::MemControl>>> held;
  for (const auto& c : designer.controls())
    if (Placed(*c) && Shown(*c)) held[c->parent().get()].push_back(c);
  std::vector<std::shared_ptr<host::MemControl>> order;
  std::function<void(const host::MemControl*)> add = [&](const host::MemControl* container) {
    auto it = held.find(container);
    if (it == held.end()) return;
    for (const auto& c : it->second)
      if (Windowless(*c)) order.push_back(c);
    for (const auto& c : it->second) {
      if (Windowless(*c)) continue;
      order.push_back(c);
      add(c.get());
    }
  };
  add(nullptr);
  return order;
}

std::shared_ptr<host::MemControl> FormCanvas::ControlAt(QPoint p) const {
  const auto order = PaintOrder();
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    if (!ClipOf(**it).contains(p)) continue;
    if (IsLine(**it)) {
      // Near the line, within a few pixels.
      QLineF l = LineOf(**it);
      QPointF d = l.p2() - l.p1();
      double len2 = QPointF::dotProduct(d, d);
      double t = len2 > 0 ? std::clamp(QPointF::dotProduct(QPointF(p) - l.p1(), d) / len2, 0.0, 1.0) : 0;
      QPointF nearest = l.p1() + t * d;
      if (QLineF(nearest, QPointF(p)).length() <= 3) return *it;
      continue;
    }
    if (RectOf(**it).contains(p)) return *it;
  }
  return nullptr;
}

int FormCanvas::TabAt(const host::MemControl& tabs, QPoint p) const {
  const QRect r = RectOf(tabs);
  const int count = std::max(1, IntOf(tabs, u"Tabs", 3));
  const int perRow = std::clamp(IntOf(tabs, u"TabsPerRow", 3), 1, count);
  const int tabHeight = std::max(12, Px(NumberOf(tabs, u"TabHeight", 300)));
  const int rows = (count + perRow - 1) / perRow;
  if (!r.contains(p) || p.y() >= r.top() + rows * tabHeight) return -1;
  const int width = std::max(1, r.width() / perRow);
  const int index = (p.y() - r.top()) / tabHeight * perRow + std::min(perRow - 1, (p.x() - r.left()) / width);
  return index < count ? index : -1;
}

void FormCanvas::ClickAt(QPoint p, bool ctrl) {
  auto& designer = *component_->designer();
  auto hit = ControlAt(p);
  // A click on a tab strip's tab shows that tab's controls.
  if (hit && IsSSTab(*hit))
    if (int tab = TabAt(*hit, p); tab >= 0) ShowTab(*hit, tab);
  auto selected = designer.selected();
  if (!ctrl) {
    selected.clear();
    if (hit) selected.push_back(hit);
  } else if (hit) {
    auto at = std::find(selected.begin(), selected.end(), hit);
    if (at != selected.end()) selected.erase(at);
    else selected.push_back(hit);
  }
  designer.SetSelected(std::move(selected));
  Activate();
  update();
}

void FormCanvas::Activate() {
  vbe_->ShowDesigner(component_);
  if (on_selection) on_selection();
}

void FormCanvas::mousePressEvent(QMouseEvent* e) {
  setFocus(Qt::MouseFocusReason);
  const QPoint at = e->position().toPoint();
  drag_ = Drag::None;
  if (e->button() != Qt::LeftButton) return;
  drag_from_ = drag_to_ = at;
  if (const QString tool = armed_tool ? armed_tool() : QString(); !tool.isEmpty()) {
    PlaceControl(tool, at);
    if (tool_used) tool_used();
    return;
  }
  if (int handle = HandleAt(at); handle >= 0) {
    drag_ = Drag::Resize;
    drag_handle_ = handle;
    return;
  }
  const bool ctrl = e->modifiers() & Qt::ControlModifier;
  auto hit = ControlAt(at);
  const auto& selected = component_->designer()->selected();
  // A press on a control already chosen keeps the whole selection for a
  // move; released where it was pressed, it is a click on that control.
  click_on_release_ = hit && !ctrl && std::find(selected.begin(), selected.end(), hit) != selected.end();
  if (!click_on_release_) ClickAt(at, ctrl);
  if (ctrl) return;
  drag_ = hit ? Drag::Move : Drag::Band;
}

void FormCanvas::mouseMoveEvent(QMouseEvent* e) {
  if (drag_ == Drag::None) return;
  drag_to_ = e->position().toPoint();
  update();
}

void FormCanvas::mouseReleaseEvent(QMouseEvent* e) {
  const Drag drag = std::exchange(drag_, Drag::None);
  drag_to_ = e->position().toPoint();
  const QPoint offset = drag_to_ - drag_from_;
  const bool moved = offset.manhattanLength() >= 3;  // less is a click
  if (drag == Drag::Move && !moved && click_on_release_) ClickAt(drag_from_, false);
  click_on_release_ = false;
  if (drag == Drag::Move && moved) MoveSelection(offset);
  else if (drag == Drag::Resize && moved) ResizeSelection(drag_handle_, offset);
  else if (drag == Drag::Band && moved) SelectBand(QRect(drag_from_, drag_to_).normalized());
  update();
}

void FormCanvas::DeleteSelection() {
  const auto selected = component_->designer()->selected();
  if (!edits_ || selected.empty()) return;
  try {
    edits_->Delete(QStringLiteral("Delete"), component_, selected);
  } catch (const std::exception&) {
    // A control the designer does not have: nothing was deleted.
  }
  if (on_selection) on_selection();
  update();
}

void FormCanvas::CutSelection() {
  const auto selected = component_->designer()->selected();
  if (!edits_ || selected.empty()) return;
  try {
    edits_->Cut(component_, selected);
  } catch (const std::exception&) {
  }
  if (on_selection) on_selection();
  update();
}

void FormCanvas::CopySelection() {
  if (edits_) edits_->Copy(component_, component_->designer()->selected());
}

void FormCanvas::Paste() {
  if (!edits_ || !edits_->CanPaste()) return;
  const auto& selected = component_->designer()->selected();
  std::shared_ptr<host::MemControl> container;
  if (selected.size() == 1 && selected[0]->cls().container && selected[0]->cls().intrinsic &&
      ClassOf(*selected[0]) != u"Menu")
    container = selected[0];
  try {
    edits_->Paste(component_, container);
  } catch (const std::exception&) {
    // The host refused a control: nothing was pasted.
  }
  Activate();
  update();
}

void FormCanvas::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Delete && e->modifiers() == Qt::NoModifier) return DeleteSelection();
  if (e->matches(QKeySequence::Cut)) return CutSelection();
  if (e->matches(QKeySequence::Copy)) return CopySelection();
  if (e->matches(QKeySequence::Paste)) return Paste();
  int dx = 0, dy = 0;
  switch (e->key()) {
    case Qt::Key_Left: dx = -kGrid; break;
    case Qt::Key_Right: dx = kGrid; break;
    case Qt::Key_Up: dy = -kGrid; break;
    case Qt::Key_Down: dy = kGrid; break;
    default: return QWidget::keyPressEvent(e);
  }
  if (e->modifiers() & Qt::ShiftModifier) NudgeSelection(dx, dy, true);
  else if (e->modifiers() & Qt::ControlModifier) NudgeSelection(dx, dy, false);
  else return QWidget::keyPressEvent(e);
}

std::vector<QPoint> FormCanvas::HandlesOf(const host::MemControl& c) const {
  if (IsLine(c)) {
    QLineF l = LineOf(c);
    return {l.p1().toPoint(), l.p2().toPoint()};
  }
  const QRect r = RectOf(c);
  return {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight(), QPoint(r.center().x(), r.top()),
          QPoint(r.center().x(), r.bottom()), QPoint(r.left(), r.center().y()), QPoint(r.right(), r.center().y())};
}

int FormCanvas::HandleAt(QPoint p) const {
  const auto& selected = component_->designer()->selected();
  // Only one control at a time is sized, as in the IDE.
  if (selected.size() != 1 || IsLine(*selected[0]) || DrawnAsIcon(*selected[0]) || !Shown(*selected[0])) return -1;
  const auto handles = HandlesOf(*selected[0]);
  for (size_t i = 0; i < handles.size(); ++i)
    if (QRect(handles[i].x() - 3, handles[i].y() - 3, 7, 7).contains(p)) return static_cast<int>(i);
  return -1;
}

namespace {
double Snap(double twips) { return std::round(twips / FormCanvas::kGrid) * FormCanvas::kGrid; }
}  // namespace

void FormCanvas::Commit(const QString& what,
                        const std::vector<std::pair<std::shared_ptr<host::MemControl>, std::pair<std::u16string, double>>>& values) {
  if (!edits_) return;
  std::vector<PropertyChange> changes;
  for (const auto& [control, value] : values) {
    auto property = control->Properties()->Item(value.first);
    changes.push_back({component_, control, value.first, property->Value(), ide::Variant(static_cast<float>(value.second))});
  }
  try {
    edits_->Set(what, std::move(changes));
  } catch (const std::exception&) {
    // A value the host refuses (a size below zero...) leaves the controls as they were.
  }
  update();
}

void FormCanvas::MoveSelection(QPoint offset) {
  const auto selected = component_->designer()->selected();
  if (selected.empty()) return;
  // The first control lands on the grid; the others keep their places beside it.
  double dx = offset.x() * kTwipsPerPixel, dy = offset.y() * kTwipsPerPixel;
  const auto& first = *selected[0];
  if (!IsLine(first)) {
    dx = Snap(LeftOf(first) + dx) - LeftOf(first);
    dy = Snap(NumberOf(first, u"Top") + dy) - NumberOf(first, u"Top");
  }
  std::vector<std::pair<std::shared_ptr<host::MemControl>, std::pair<std::u16string, double>>> values;
  for (const auto& c : selected) {
    if (IsLine(*c)) {
      for (const char16_t* x : {u"X1", u"X2"}) values.push_back({c, {x, NumberOf(*c, x) + dx}});
      for (const char16_t* y : {u"Y1", u"Y2"}) values.push_back({c, {y, NumberOf(*c, y) + dy}});
    } else if (c->Has(u"Left")) {
      values.push_back({c, {u"Left", NumberOf(*c, u"Left") + dx}});
      values.push_back({c, {u"Top", NumberOf(*c, u"Top") + dy}});
    }
  }
  Commit(QStringLiteral("Move"), values);
}

void FormCanvas::ResizeSelection(int handle, QPoint offset) {
  const auto selected = component_->designer()->selected();
  if (selected.size() != 1) return;
  const auto& c = selected[0];
  double left = LeftOf(*c), top = NumberOf(*c, u"Top");
  double right = left + NumberOf(*c, u"Width"), bottom = top + NumberOf(*c, u"Height");
  const double dx = offset.x() * kTwipsPerPixel, dy = offset.y() * kTwipsPerPixel;
  const bool leftEdge = handle == 0 || handle == 2 || handle == 6, rightEdge = handle == 1 || handle == 3 || handle == 7;
  const bool topEdge = handle == 0 || handle == 1 || handle == 4, bottomEdge = handle == 2 || handle == 3 || handle == 5;
  if (leftEdge) left = std::min(Snap(left + dx), right - kGrid);
  if (rightEdge) right = std::max(Snap(right + dx), left + kGrid);
  if (topEdge) top = std::min(Snap(top + dy), bottom - kGrid);
  if (bottomEdge) bottom = std::max(Snap(bottom + dy), top + kGrid);
  const double shift = NumberOf(*c, u"Left") - LeftOf(*c);  // a control kept off its tab strip's page
  Commit(QStringLiteral("Size"), {{c, {u"Left", left + shift}},
                                  {c, {u"Top", top}},
                                  {c, {u"Width", right - left}},
                                  {c, {u"Height", bottom - top}}});
}

void FormCanvas::NudgeSelection(int dxTwips, int dyTwips, bool size) {
  std::vector<std::pair<std::shared_ptr<host::MemControl>, std::pair<std::u16string, double>>> values;
  for (const auto& c : component_->designer()->selected()) {
    if (!c->Has(u"Left") || IsLine(*c)) continue;
    if (size) {
      if (dxTwips) values.push_back({c, {u"Width", std::max<double>(kGrid, NumberOf(*c, u"Width") + dxTwips)}});
      if (dyTwips) values.push_back({c, {u"Height", std::max<double>(kGrid, NumberOf(*c, u"Height") + dyTwips)}});
    } else {
      if (dxTwips) values.push_back({c, {u"Left", NumberOf(*c, u"Left") + dxTwips}});
      if (dyTwips) values.push_back({c, {u"Top", NumberOf(*c, u"Top") + dyTwips}});
    }
  }
  Commit(size ? QStringLiteral("Size") : QStringLiteral("Move"), values);
}

std::shared_ptr<host::MemControl> FormCanvas::PlaceControl(const QString& className, QPoint at) {
  if (!edits_) return nullptr;
  // Inside the frame or picture box under the point, else on the form.
  std::shared_ptr<host::MemControl> container;
  for (auto c = ControlAt(at); c; c = c->parent())
    if (c->cls().container && c->cls().intrinsic) {
      container = c;
      break;
    }
  const QPoint origin = container ? RectOf(*container).topLeft() : QPoint();
  const double left = Snap((at.x() - origin.x()) * kTwipsPerPixel), top = Snap((at.y() - origin.y()) * kTwipsPerPixel);
  std::shared_ptr<host::MemControl> placed;
  try {
    placed = edits_->AddControl(component_, container, className.toStdU16String(), left, top);
  } catch (const std::exception&) {
    return nullptr;
  }
  if (on_selection) on_selection();
  update();
  return placed;
}

void FormCanvas::SelectBand(const QRect& band) {
  std::vector<std::shared_ptr<host::MemControl>> chosen;
  for (const auto& c : PaintOrder())
    if (!c->parent() && RectOf(*c).intersects(band)) chosen.push_back(c);
  // In the designer's order, as the IDE lists a band's controls.
  std::vector<std::shared_ptr<host::MemControl>> ordered;
  for (const auto& c : component_->designer()->controls())
    if (std::find(chosen.begin(), chosen.end(), c) != chosen.end()) ordered.push_back(c);
  component_->designer()->SetSelected(std::move(ordered));
  if (on_selection) on_selection();
  update();
}

void FormCanvas::focusInEvent(QFocusEvent* e) {
  QWidget::focusInEvent(e);
  Activate();
}

QRect FormCanvas::PaintedRect(const host::MemControl& control) const {
  auto it = painted_.find(&control);
  return it == painted_.end() ? QRect() : it->second;
}

void FormCanvas::DrawGrid(QPainter& p, const QRect& r, const QColor& back) const {
  // The designer's grid: a dot every 120 twips, dark on a light form.
  p.setPen(back.lightness() > 96 ? QColor(Qt::black) : QColor(Qt::white));
  const int step = 120 / static_cast<int>(kTwipsPerPixel);
  for (int y = r.top(); y <= r.bottom(); y += step)
    for (int x = r.left(); x <= r.right(); x += step) p.drawPoint(x, y);
}

void FormCanvas::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const auto& designer = *component_->designer();
  const auto& form = *designer.form();
  const QColor back = Colour(form, u"BackColor", static_cast<int32_t>(0x8000000Fu));
  p.fillRect(rect(), back);
  if (const std::u16string picture = Utf16Of(form, u"Picture"); !picture.empty()) {
    const QImage image = frx_.Picture(picture);
    if (!image.isNull()) p.drawImage(QPoint(0, 0), image);
  }
  DrawGrid(p, rect(), back);
  PaintSupport support{&frx_, [this](const host::MemControl& c) { return FontOf(c); }};
  painted_.clear();
  for (const auto& c : PaintOrder()) {
    const QRect r = RectOf(*c);
    painted_[c.get()] = r;
    DrawControl(p, *c, QPoint(), ClipOf(*c), support, 0);
  }
  // What a drag would do: outlines where the controls would go, or the band.
  if (drag_ != Drag::None && (drag_to_ - drag_from_).manhattanLength() >= 3) {
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    const QPoint d = drag_to_ - drag_from_;
    if (drag_ == Drag::Band) {
      p.drawRect(QRect(drag_from_, drag_to_).normalized());
    } else if (drag_ == Drag::Move) {
      for (const auto& c : designer.selected()) p.drawRect(RectOf(*c).translated(d).adjusted(0, 0, -1, -1));
    } else if (!designer.selected().empty()) {
      QRect r = RectOf(*designer.selected()[0]);
      const int h = drag_handle_;
      if (h == 0 || h == 2 || h == 6) r.setLeft(r.left() + d.x());
      if (h == 1 || h == 3 || h == 7) r.setRight(r.right() + d.x());
      if (h == 0 || h == 1 || h == 4) r.setTop(r.top() + d.y());
      if (h == 2 || h == 3 || h == 5) r.setBottom(r.bottom() + d.y());
      p.drawRect(r.normalized());
    }
  }
  // Selection handles: the first selected control's are filled.
  const auto& selected = designer.selected();
  for (size_t i = 0; i < selected.size(); ++i) {
    if (!Shown(*selected[i]) || !Placed(*selected[i])) continue;
    for (QPoint h : HandlesOf(*selected[i])) {
      QRect box(h.x() - 3, h.y() - 3, 6, 6);
      p.fillRect(box, i == 0 ? QColor(0, 0, 128) : Qt::white);
      p.setPen(QColor(0, 0, 128));
      p.drawRect(box);
    }
  }
}

void FormCanvas::DrawControl(QPainter& p, const host::MemControl& c, QPoint offset, const QRect& clip,
                             PaintSupport& support, int depth) {
  const QRect r = RectOf(c).translated(offset);
  p.save();
  p.setClipRect(clip);
  if (IsLine(c)) {
    p.setPen(BorderPen(c));
    p.drawLine(LineOf(c).translated(offset));
  } else if (ClassOf(c) == u"Shape") {
    DrawShape(p, c, r);
  } else if (IsSSTab(c)) {
    p.setFont(FontOf(c));
    DrawTabs(p, c, r);
  } else if (auto uc = UserControlOf(c); uc && depth < 4 && !DrawnAsIcon(c)) {
    DrawUserControl(p, uc, r, depth + 1);
  } else {
    PaintControl(p, c, r, support);
    if (depth == 0 && (ClassOf(c) == u"Frame" || ClassOf(c) == u"PictureBox")) {
      // The grid shows through a container's inside too.
      QRect inner = r.adjusted(2, 2, -2, -2);
      p.setClipRect(inner & clip);
      QPoint o = inner.topLeft();
      DrawGrid(p, QRect(o + QPoint((8 - o.x() % 8) % 8, (8 - o.y() % 8) % 8), inner.bottomRight()),
               Colour(c, u"BackColor", static_cast<int32_t>(0x8000000Fu)));
    }
  }
  p.restore();
}

std::shared_ptr<host::MemComponent> FormCanvas::UserControlOf(const host::MemControl& c) const {
  // "life4.SpinText": the user control SpinText of the project life4.
  if (c.cls().intrinsic) return nullptr;
  const std::u16string& progId = c.cls().progId;
  const size_t dot = progId.find(u'.');
  if (dot == std::u16string::npos) return nullptr;
  const std::u16string project = progId.substr(0, dot);
  for (const auto& p : vbe_->projects()) {
    if (!vb::EqualsIgnoreCaseAscii(p->name(), project)) continue;
    auto component = p->Component(c.cls().name);
    // One without controls of its own draws itself in code, which the view
    // cannot run: it stays a labelled box.
    if (component && component->type() == ide::ComponentType::UserControl && component->designer() &&
        !component->designer()->controls().empty())
      return component;
  }
  return nullptr;
}

void FormCanvas::DrawUserControl(QPainter& p, const std::shared_ptr<host::MemComponent>& uc, const QRect& r,
                                 int depth) {
  // The user control's own designer, as VB runs it in the form's designer:
  // its back colour and picture, then its controls, all within the instance.
  const auto& designer = *uc->designer();
  const auto& form = *designer.form();
  auto [it, fresh] = user_frx_.try_emplace(uc, FolderOf(*uc), CodePageOf(*uc));
  FrxValues& frx = it->second;
  if (fresh)
    frx.held = [d = std::weak_ptr<host::MemDesigner>(uc->designer())](const std::u16string& name) {
      auto held = d.lock();
      return held ? held->HeldBinary(name) : nullptr;
    };
  p.setClipRect(r, Qt::IntersectClip);
  if (IntOf(form, u"BackStyle", 1) != 0)  // 0: transparent, its container shows through
    p.fillRect(r, Colour(form, u"BackColor", static_cast<int32_t>(0x8000000Fu)));
  if (const std::u16string picture = Utf16Of(form, u"Picture"); !picture.empty()) {
    const QImage image = frx.Picture(picture);
    if (!image.isNull()) p.drawImage(r.topLeft(), image);
  }
  PaintSupport support{&frx, [this](const host::MemControl& c) { return FontOf(c); }};
  const QRect clip = p.clipBoundingRect().toAlignedRect();
  for (const auto& c : PaintOrder(designer))
    DrawControl(p, *c, r.topLeft(), ClipOf(*c).translated(r.topLeft()) & clip, support, depth);
}

void FormCanvas::DrawTabs(QPainter& p, const host::MemControl& tabs, const QRect& r) const {
  // A tab strip: rows of TabsPerRow tabs of TabHeight above the page; the
  // shown tab is raised and joins the page.
  const int count = std::max(1, IntOf(tabs, u"Tabs", 3));
  const int perRow = std::clamp(IntOf(tabs, u"TabsPerRow", 3), 1, count);
  const int current = ShownTab(tabs);
  const int rows = (count + perRow - 1) / perRow;
  const int tabHeight = std::max(12, Px(NumberOf(tabs, u"TabHeight", 300)));
  const QRect page(r.left(), r.top() + rows * tabHeight, r.width(), std::max(1, r.height() - rows * tabHeight));
  const QColor face = Colour(tabs, u"BackColor", static_cast<int32_t>(0x8000000Fu));
  p.fillRect(page, face);
  DrawRaised(p, page);
  const int width = std::max(1, r.width() / perRow);
  for (int i = 0; i < count; ++i) {
    const int row = i / perRow, col = i % perRow;
    QRect tab(r.left() + col * width, r.top() + row * tabHeight, col == perRow - 1 ? r.width() - col * width : width,
              tabHeight);
    const bool on = i == current;
    if (!on) tab.adjust(0, 2, 0, 0);
    p.fillRect(tab, face);
    p.setPen(gui::ClassicColor(static_cast<int32_t>(0x80000014u)));
    p.drawLine(tab.bottomLeft(), tab.topLeft());
    p.drawLine(tab.topLeft(), tab.topRight());
    p.setPen(gui::ClassicColor(static_cast<int32_t>(0x80000015u)));
    p.drawLine(tab.topRight(), tab.bottomRight());
    if (on) {
      p.setPen(face);
      p.drawLine(tab.bottomLeft() + QPoint(1, 1), tab.bottomRight() + QPoint(-1, 1));
    }
    p.setPen(Colour(tabs, u"ForeColor", static_cast<int32_t>(0x80000012u)));
    p.drawText(tab.adjusted(2, 0, -2, 0), Qt::AlignCenter | Qt::TextShowMnemonic,
               TextOf(tabs, u"TabCaption(" + vb::FromInt(i) + u")"));
  }
}

}  // namespace tarno::workbench
