#include "workbench/form_canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <functional>
#include <map>
#include <variant>

#include "gui/qt_convert.h"
#include "platform/vb_text.h"

namespace tarno::workbench {
namespace {

constexpr int kTwipsPerPixel = 15;

double Number(const std::optional<ide::Variant>& v, double fallback = 0) {
  if (!v) return fallback;
  return std::visit(
      [&](const auto& x) -> double {
        using T = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<T, bool>) return x ? -1 : 0;
        else if constexpr (std::is_arithmetic_v<T>) return static_cast<double>(x);
        else return fallback;
      },
      *v);
}

QString Text(const std::optional<ide::Variant>& v) {
  if (!v) return {};
  if (const auto* s = std::get_if<std::u16string>(&*v)) return QString::fromStdU16String(*s);
  return {};
}

int Px(double twips) { return static_cast<int>(twips / kTwipsPerPixel); }

// Pixels per unit of the container's ScaleMode, in which its controls'
// positions and sizes are written (1 twips, 2 points, 3 pixels, 5 inches,
// 6 millimetres, 7 centimetres; others as twips).
double PixelsPerUnit(const host::MemControl& container) {
  switch (static_cast<int>(Number(container.Get(u"ScaleMode"), 1))) {
    case 2: return 20.0 / kTwipsPerPixel;
    case 3: return 1.0;
    case 5: return 1440.0 / kTwipsPerPixel;
    case 6: return 1440.0 / 25.4 / kTwipsPerPixel;
    case 7: return 1440.0 / 2.54 / kTwipsPerPixel;
    default: return 1.0 / kTwipsPerPixel;
  }
}

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

QColor Colour(const host::MemControl& c, std::u16string_view property, const QColor& fallback) {
  auto v = c.Get(property);
  if (!v) return fallback;
  return gui::ToQColor(static_cast<int32_t>(static_cast<int64_t>(Number(v))), QPalette());
}

// A border pen from BorderStyle (0 none, 1 solid, 2 dash, 3 dot, 4 dash-dot,
// 5 dash-dot-dot, 6 inside solid), BorderWidth and BorderColor.
QPen BorderPen(const host::MemControl& c) {
  int style = static_cast<int>(Number(c.Get(u"BorderStyle"), 1));
  if (style == 0) return QPen(Qt::NoPen);
  static const Qt::PenStyle kStyles[] = {Qt::SolidLine, Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                         Qt::DashDotLine, Qt::DashDotDotLine, Qt::SolidLine};
  QPen pen(Colour(c, u"BorderColor", Qt::black));
  pen.setStyle(kStyles[std::clamp(style, 0, 6)]);
  pen.setWidth(std::max(1, static_cast<int>(Number(c.Get(u"BorderWidth"), 1))));
  return pen;
}

// A shape's fill from FillStyle (0 solid, 1 transparent, 2 to 7 hatches).
QBrush FillBrush(const host::MemControl& c) {
  static const Qt::BrushStyle kStyles[] = {Qt::SolidPattern, Qt::NoBrush,    Qt::HorPattern,   Qt::VerPattern,
                                           Qt::BDiagPattern, Qt::FDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
  int style = std::clamp(static_cast<int>(Number(c.Get(u"FillStyle"), 1)), 0, 7);
  return QBrush(Colour(c, u"FillColor", Qt::black), kStyles[style]);
}

void DrawShape(QPainter& p, const host::MemControl& c, QRect r) {
  // 0 rectangle, 1 square, 2 oval, 3 circle, 4 rounded rectangle, 5 rounded square.
  int shape = static_cast<int>(Number(c.Get(u"Shape"), 0));
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
  if (Number(c.Get(u"BackStyle"), 0) == 1) outline(QBrush(Colour(c, u"BackColor", Qt::white)), Qt::NoPen);
  outline(FillBrush(c), BorderPen(c));
  p.setBrush(Qt::NoBrush);
}

}  // namespace

FormCanvas::FormCanvas(std::shared_ptr<host::MemVBE> vbe, std::shared_ptr<host::MemComponent> component,
                       QWidget* parent)
    : QWidget(parent), vbe_(std::move(vbe)), component_(std::move(component)) {
  setFocusPolicy(Qt::ClickFocus);
  setMinimumSize(sizeHint());
}

QSize FormCanvas::sizeHint() const {
  const auto& form = component_->designer()->form();
  int w = Px(Number(form->Get(u"ClientWidth"), Number(form->Get(u"ScaleWidth"), 4800)));
  int h = Px(Number(form->Get(u"ClientHeight"), Number(form->Get(u"ScaleHeight"), 3600)));
  // Controls placed beyond the client area (a form sized at run time) stay in view.
  QRect all(0, 0, std::max(w, 40), std::max(h, 30));
  for (const auto& c : component_->designer()->controls())
    if (Placed(*c) && Shown(*c)) all = all.united(RectOf(*c));
  return {std::min(all.right(), 4000) + 2, std::min(all.bottom(), 4000) + 2};
}

double FormCanvas::UnitOf(const host::MemControl& control) const {
  auto parent = control.parent();
  return PixelsPerUnit(parent ? *parent : *component_->designer()->form());
}

QPointF FormCanvas::OriginOf(const host::MemControl& control) const {
  QPointF at;
  for (auto p = control.parent(); p; p = p->parent()) {
    double k = UnitOf(*p);
    at += QPointF(Number(p->Get(u"Left")) * k, Number(p->Get(u"Top")) * k);
  }
  return at;
}

bool FormCanvas::Shown(const host::MemControl& control) const {
  // The designer keeps the controls of a tab strip's other tabs 75,000 twips
  // to the left; what is inside them goes with them.
  for (const host::MemControl* c = &control; c;) {
    auto parent = c->parent();
    if (!parent) break;
    if (IsSSTab(*parent) && Number(c->Get(u"Left")) * UnitOf(*c) < -2500) return false;
    c = parent.get();
  }
  return true;
}

QRect FormCanvas::RectOf(const host::MemControl& control) const {
  const double k = UnitOf(control);
  const QPointF at = OriginOf(control);
  if (IsLine(control)) {
    QPointF a(Number(control.Get(u"X1")) * k, Number(control.Get(u"Y1")) * k);
    QPointF b(Number(control.Get(u"X2")) * k, Number(control.Get(u"Y2")) * k);
    QRect r = QRectF(a + at, b + at).normalized().toRect();
    return {r.left(), r.top(), std::max(r.width(), 1), std::max(r.height(), 1)};
  }
  double x = Number(control.Get(u"Left")) * k + at.x(), y = Number(control.Get(u"Top")) * k + at.y();
  int w = static_cast<int>(Number(control.Get(u"Width")) * k), h = static_cast<int>(Number(control.Get(u"Height")) * k);
  return {static_cast<int>(x), static_cast<int>(y), std::max(w, 1), std::max(h, 1)};
}

QLineF FormCanvas::LineOf(const host::MemControl& line) const {
  const double k = UnitOf(line);
  const QPointF at = OriginOf(line);
  return {QPointF(Number(line.Get(u"X1")) * k, Number(line.Get(u"Y1")) * k) + at,
          QPointF(Number(line.Get(u"X2")) * k, Number(line.Get(u"Y2")) * k) + at};
}

std::vector<std::shared_ptr<host::MemControl>> FormCanvas::PaintOrder() const {
  // In the designer's order, each container followed by what it holds; among
  // the controls of one container the windowless ones first, as the IDE draws
  // them on the container itself, beneath its windowed controls.
  std::map<const host::MemControl*, std::vector<std::shared_ptr<host::MemControl>>> held;
  for (const auto& c : component_->designer()->controls())
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

void FormCanvas::ClickAt(QPoint p, bool ctrl) {
  auto& designer = *component_->designer();
  auto hit = ControlAt(p);
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

void FormCanvas::Activate() { vbe_->ShowDesigner(component_); }

void FormCanvas::mousePressEvent(QMouseEvent* e) {
  setFocus(Qt::MouseFocusReason);
  ClickAt(e->position().toPoint(), e->modifiers() & Qt::ControlModifier);
}

void FormCanvas::focusInEvent(QFocusEvent* e) {
  QWidget::focusInEvent(e);
  Activate();
}

void FormCanvas::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const auto& designer = *component_->designer();
  QSize size = sizeHint();
  p.fillRect(QRect(QPoint(0, 0), size), QColor(236, 233, 216));
  // The designer's grid.
  p.setPen(QColor(160, 160, 160));
  for (int y = 0; y < size.height(); y += 8)
    for (int x = 0; x < size.width(); x += 8) p.drawPoint(x, y);
  for (const auto& c : PaintOrder()) {
    QRect r = RectOf(*c);
    const QString cls = QString::fromStdU16String(ClassOf(*c));
    QString caption = Text(c->Get(u"Caption"));
    if (caption.isEmpty() && c->Has(u"Text")) caption = Text(c->Get(u"Text"));
    if (caption.isEmpty()) caption = QString::fromStdU16String(c->name());
    caption.remove(u'&');
    p.setPen(QColor(64, 64, 64));
    if (cls == u"Line") {
      p.setPen(BorderPen(*c));
      p.drawLine(LineOf(*c));
    } else if (cls == u"Shape") {
      DrawShape(p, *c, r);
    } else if (cls == u"SSTab") {
      DrawTabs(p, *c, r);
    } else if (cls == u"TextBox" || cls == u"ListBox" || cls == u"ComboBox") {
      p.fillRect(r, Qt::white);
      p.drawRect(r.adjusted(0, 0, -1, -1));
      p.drawText(r.adjusted(3, 0, -3, 0), Qt::AlignLeft | Qt::AlignVCenter, caption);
    } else if (cls == u"CommandButton") {
      p.fillRect(r, QColor(224, 224, 224));
      p.drawRect(r.adjusted(0, 0, -1, -1));
      p.drawText(r, Qt::AlignCenter, caption);
    } else if (cls == u"OptionButton" || cls == u"CheckBox") {
      QRect mark(r.left() + 1, r.center().y() - 6, 12, 12);
      p.fillRect(mark, Qt::white);
      if (cls == u"OptionButton") p.drawEllipse(mark);
      else p.drawRect(mark);
      p.drawText(r.adjusted(18, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, caption);
    } else if (cls == u"Label") {
      p.drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, caption);
    } else if (cls == u"Frame") {
      p.drawRect(r.adjusted(0, 6, -1, -1));
      QRect t = p.fontMetrics().boundingRect(caption).translated(r.left() + 8, r.top() + p.fontMetrics().ascent());
      p.fillRect(t.adjusted(-2, 0, 2, 0), QColor(236, 233, 216));
      p.drawText(r.left() + 8, r.top() + p.fontMetrics().ascent(), caption);
    } else {
      p.setPen(QPen(QColor(96, 96, 96), 1, Qt::DashLine));
      p.drawRect(r.adjusted(0, 0, -1, -1));
      p.drawText(r.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignTop, caption);
    }
  }
  // Selection handles: the first selected control's are filled.
  const auto& selected = designer.selected();
  for (size_t i = 0; i < selected.size(); ++i) {
    if (!Shown(*selected[i])) continue;
    QRect r = RectOf(*selected[i]);
    std::vector<QPoint> handles = {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight(),
                                   QPoint(r.center().x(), r.top()), QPoint(r.center().x(), r.bottom()),
                                   QPoint(r.left(), r.center().y()), QPoint(r.right(), r.center().y())};
    if (IsLine(*selected[i])) {
      QLineF l = LineOf(*selected[i]);
      handles = {l.p1().toPoint(), l.p2().toPoint()};
    }
    for (QPoint h : handles) {
      QRect box(h.x() - 3, h.y() - 3, 6, 6);
      p.fillRect(box, i == 0 ? QColor(0, 0, 128) : Qt::white);
      p.setPen(QColor(0, 0, 128));
      p.drawRect(box);
    }
  }
}

}  // namespace tarno::workbench

namespace tarno::workbench {

void FormCanvas::DrawTabs(QPainter& p, const host::MemControl& tabs, const QRect& r) const {
  // A tab strip: rows of TabsPerRow tabs of TabHeight above the page; the
  // current tab (Tab) is raised and joins the page.
  const int count = std::max(1, static_cast<int>(Number(tabs.Get(u"Tabs"), 3)));
  const int perRow = std::clamp(static_cast<int>(Number(tabs.Get(u"TabsPerRow"), 3)), 1, count);
  const int current = static_cast<int>(Number(tabs.Get(u"Tab"), 0));
  const int rows = (count + perRow - 1) / perRow;
  const int tabHeight = std::max(12, static_cast<int>(Number(tabs.Get(u"TabHeight"), 300) * UnitOf(tabs)));
  const QRect page(r.left(), r.top() + rows * tabHeight, r.width(), std::max(1, r.height() - rows * tabHeight));
  const QColor face(236, 233, 216);
  p.fillRect(page, face);
  p.setPen(QColor(64, 64, 64));
  p.drawRect(page.adjusted(0, 0, -1, -1));
  const int width = r.width() / perRow;
  for (int i = 0; i < count; ++i) {
    const int row = i / perRow, col = i % perRow;
    QRect tab(r.left() + col * width, r.top() + row * tabHeight, col == perRow - 1 ? r.width() - col * width : width,
              tabHeight);
    const bool on = i == current;
    if (!on) tab.adjust(0, 2, 0, 0);
    p.fillRect(tab, on ? face : QColor(214, 210, 194));
    p.drawLine(tab.bottomLeft(), tab.topLeft());
    p.drawLine(tab.topLeft(), tab.topRight());
    p.drawLine(tab.topRight(), tab.bottomRight());
    if (on) {
      p.setPen(face);
      p.drawLine(tab.bottomLeft() + QPoint(1, 1), tab.bottomRight() + QPoint(-1, 1));
      p.setPen(QColor(64, 64, 64));
    }
    QString caption = gui::StripAccessKeys(Text(tabs.Get(u"TabCaption(" + vb::FromInt(i) + u")")));
    QFont font = p.font();
    font.setBold(on);
    p.setFont(font);
    p.drawText(tab.adjusted(2, 0, -2, 0), Qt::AlignCenter, caption);
    font.setBold(false);
    p.setFont(font);
  }
}

}  // namespace tarno::workbench
