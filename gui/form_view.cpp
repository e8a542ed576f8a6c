#include "gui/form_view.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>

#include "gui/control_view.h"
#include "gui/desktop.h"
#include "gui/qt_convert.h"

namespace tarno::gui {

namespace {
// Drawn first to last: shapes, images and labels lie under the controls that
// have windows of their own, as VB draws its graphical controls.
int Layer(const ui::Control& c) {
  if (dynamic_cast<const ui::Shape*>(&c)) return 0;
  if (dynamic_cast<const ui::Image*>(&c)) return 1;
  if (dynamic_cast<const ui::Label*>(&c)) return 2;
  return 3;
}

Qt::WindowFlags FlagsFor(const ui::Form& f) {
  Qt::WindowFlags flags = Qt::Window;
  if (f.BorderStyle() == 0) return flags | Qt::FramelessWindowHint;
  flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (f.ControlBox()) {
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (f.BorderStyle() == 1 || f.BorderStyle() == 2) flags |= Qt::WindowMinimizeButtonHint;
    if (f.BorderStyle() == 2) flags |= Qt::WindowMaximizeButtonHint;
  }
  return flags;
}

bool Sizable(const ui::Form& f) { return f.BorderStyle() == 2 || f.BorderStyle() == 5; }
}  // namespace

FormView::FormView(Desktop& desktop, ui::Form& form)
    : QWidget(nullptr, FlagsFor(form)), desktop_(&desktop), form_(&form), type_(typeid(form)) {
  setObjectName(ToQ(form.Name()));
  setAttribute(Qt::WA_DeleteOnClose, false);
  setAutoFillBackground(true);
  Build();
}

FormView::~FormView() = default;

void FormView::Build() {
  // The old views may be inside one of their own signals (a handler that
  // loaded a control array member): they go once the event loop returns.
  for (auto& v : views_) {
    v->Detach();
    if (v->widget()) v->widget()->hide();
    v.release()->deleteLater();
  }
  views_.clear();
  by_control_.clear();
  built_for_ = form_->Controls();
  for (ui::Control* c : built_for_)
    if (auto v = MakeControlView(*this, *c)) {
      by_control_[c] = v.get();
      views_.push_back(std::move(v));
    }
  // Containers are known only now that every widget exists.
  for (auto& v : views_) {
    ui::Control* container = v->control().Container();
    ControlView* holder = container ? ViewOf(*container) : nullptr;
    QWidget* parent = holder ? holder->ContentWidget() : this;
    if (v->widget()->parentWidget() != parent) v->widget()->setParent(parent);
  }
  Stack();
}

void FormView::Stack() {
  for (int layer = 0; layer <= 3; ++layer)
    for (auto& v : views_)
      if (Layer(v->control()) == layer) v->widget()->raise();
}

void FormView::Detach() {
  detached_ = true;
  for (auto& v : views_) v->Detach();
}

ControlView* FormView::ViewOf(const ui::Control& control) const {
  auto it = by_control_.find(&control);
  return it == by_control_.end() ? nullptr : it->second;
}

QWidget* FormView::WidgetOf(const ui::Control& control) const {
  ControlView* v = ViewOf(control);
  return v ? v->widget() : nullptr;
}

QSize FormView::ClientSize() const {
  const ui::Form& f = *form_;
  if (f.BorderStyle() == 0) return {desktop_->Pixels(f.Width()), desktop_->Pixels(f.Height())};
  return {desktop_->Pixels(f.ScaleWidth()), desktop_->Pixels(f.ScaleHeight())};
}

void FormView::Sync() {
  ui::Form& f = *form_;
  if (std::type_index(typeid(f)) != type_) {  // another window at the same address
    type_ = typeid(f);
    setWindowFlags(FlagsFor(f));
    built_for_.clear();
  }
  if (f.Controls() != built_for_) Build();
  QString title = ToQ(f.Caption());
  if (windowTitle() != title) setWindowTitle(title);
  if (isEnabled() != f.Enabled()) setEnabled(f.Enabled());
  QSize size = ClientSize();
  if (Sizable(f)) {
    if (this->size() != size) resize(size);
  } else if (minimumSize() != size || maximumSize() != size) {
    setFixedSize(size);
  }
  for (auto& v : views_) {
    ui::Control* container = v->control().Container();
    ControlView* holder = container ? ViewOf(*container) : nullptr;
    QWidget* parent = holder ? holder->ContentWidget() : this;
    if (v->widget()->parentWidget() != parent) {
      v->widget()->setParent(parent);
      Stack();
    }
    v->Sync();
  }
  if (f.Visible() && isHidden()) ShowWindow();
  if (!f.Visible() && !isHidden()) hide();
  if (ui::Control* active = f.ActiveControl(); active && isVisible()) {
    ControlView* v = ViewOf(*active);
    QWidget* target = v ? v->FocusWidget() : nullptr;
    if (target && focusWidget() != target && target->isVisible() && target->isEnabled())
      target->setFocus(Qt::OtherFocusReason);
  }
}

void FormView::ShowWindow() {
  ui::Form& f = *form_;
  setWindowModality(f.ShownModal() ? Qt::ApplicationModal : Qt::NonModal);
  if (!placed_) {
    placed_ = true;
    QRect frame(0, 0, ClientSize().width(), ClientSize().height());
    if (f.StartUpPosition() == 0) {
      move(desktop_->Pixels(f.Left()), desktop_->Pixels(f.Top()));
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
      frame.moveCenter(screen->availableGeometry().center());
      move(frame.topLeft());
    }
  }
  if (f.WindowState() == 2) showMaximized();
  else if (f.WindowState() == 1) showMinimized();
  else show();
  if (QGuiApplication::platformName() != QLatin1String("offscreen")) raise();  // offscreen has no stacking
  activateWindow();
}

void FormView::closeEvent(QCloseEvent* e) {
  // The close box asks the window (QueryUnload); the next Sync hides it if it unloaded.
  e->ignore();
  if (detached_) return;
  desktop_->Dispatch([this] { ui::ClickCloseBox(*form_); });
}

void FormView::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  if (detached_ || desktop_->Syncing() || !isVisible() || !Sizable(*form_) || e->size() == ClientSize()) return;
  int width = desktop_->Twips(e->size().width()) + (form_->Width() - form_->ScaleWidth());
  int height = desktop_->Twips(e->size().height()) + (form_->Height() - form_->ScaleHeight());
  desktop_->Dispatch([this, width, height] { ui::ResizeWindow(*form_, width, height); });
}

bool FormView::focusNextPrevChild(bool next) {
  if (detached_) return true;
  // Tab order is the window's own (TabIndex, TabStop), not Qt's.
  desktop_->Dispatch([this, next] {
    if (next) return ui::PressTab(*form_);
    auto order = form_->TabOrder();
    auto at = std::find(order.begin(), order.end(), form_->ActiveControl());
    size_t start = at == order.end() ? 0 : static_cast<size_t>(at - order.begin());
    for (size_t i = 1; i <= order.size(); ++i) {
      ui::Control* c = order[(start + order.size() - i) % order.size()];
      if (c->CanFocus() && c->TabStop() && ui::CanUse(*c)) return ui::Focus(*c);
    }
  });
  return true;
}

}  // namespace tarno::gui
