#include "workbench/form_canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <variant>

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
    if (c->Has(u"Left")) all = all.united(RectOf(*c));
  return {std::min(all.right(), 4000) + 2, std::min(all.bottom(), 4000) + 2};
}

QRect FormCanvas::RectOf(const host::MemControl& control) const {
  const auto& form = *component_->designer()->form();
  auto unit = [&](const host::MemControl& c) {
    auto parent = c.parent();
    return PixelsPerUnit(parent ? *parent : form);
  };
  double k = unit(control);
  double x = Number(control.Get(u"Left")) * k, y = Number(control.Get(u"Top")) * k;
  int w = static_cast<int>(Number(control.Get(u"Width")) * k), h = static_cast<int>(Number(control.Get(u"Height")) * k);
  for (auto p = control.parent(); p; p = p->parent()) {
    double pk = unit(*p);
    x += Number(p->Get(u"Left")) * pk;
    y += Number(p->Get(u"Top")) * pk;
  }
  return {static_cast<int>(x), static_cast<int>(y), std::max(w, 1), std::max(h, 1)};
}

std::shared_ptr<host::MemControl> FormCanvas::ControlAt(QPoint p) const {
  const auto& controls = component_->designer()->controls();
  for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
    if (!(*it)->Has(u"Left")) continue;
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
  for (const auto& c : designer.controls()) {
    if (!c->Has(u"Left")) continue;
    QRect r = RectOf(*c);
    const QString cls = QString::fromStdU16String(c->ClassName());
    QString caption = Text(c->Get(u"Caption"));
    if (caption.isEmpty() && c->Has(u"Text")) caption = Text(c->Get(u"Text"));
    if (caption.isEmpty()) caption = QString::fromStdU16String(c->name());
    caption.remove(u'&');
    p.setPen(QColor(64, 64, 64));
    if (cls == u"TextBox" || cls == u"ListBox" || cls == u"ComboBox") {
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
    QRect r = RectOf(*selected[i]);
    for (QPoint h : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight(), QPoint(r.center().x(), r.top()),
                     QPoint(r.center().x(), r.bottom()), QPoint(r.left(), r.center().y()),
                     QPoint(r.right(), r.center().y())}) {
      QRect box(h.x() - 3, h.y() - 3, 6, 6);
      p.fillRect(box, i == 0 ? QColor(0, 0, 128) : Qt::white);
      p.setPen(QColor(0, 0, 128));
      p.drawRect(box);
    }
  }
}

}  // namespace tarno::workbench
