#include "gui/control_view.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "gui/desktop.h"
#include "gui/form_view.h"
#include "gui/qt_convert.h"

namespace tarno::gui {

std::u16string KeyAsciiOf(const QKeyEvent& e) {
  switch (e.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return std::u16string(1, ui::vbKeyReturn);
    case Qt::Key_Escape: return std::u16string(1, ui::vbKeyEscape);
    case Qt::Key_Backspace: return std::u16string(1, ui::vbKeyBack);
    default: break;
  }
  if (e.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return {};
  std::u16string out;
  for (QChar c : e.text())
    if (c.unicode() >= 32 && c.unicode() != 127) out += c.unicode();
  return out;
}

ControlView::ControlView(FormView& form, ui::Control& control, QWidget* widget)
    : form_(&form), control_(&control), widget_(widget) {
  widget_->setObjectName(ToQ(control.DisplayName()));
  if (!control.CanFocus()) widget_->setFocusPolicy(Qt::NoFocus);
  else widget_->setFocusPolicy(control.TabStop() ? Qt::StrongFocus : Qt::ClickFocus);
  Watch(widget_);
}

ControlView::~ControlView() { delete widget_.data(); }

void ControlView::Detach() {
  detached_ = true;
  if (!widget_) return;
  widget_->blockSignals(true);
  for (QObject* o : widget_->findChildren<QObject*>()) o->blockSignals(true);
}

void ControlView::Watch(QWidget* w) { w->installEventFilter(this); }

Desktop& ControlView::desktop() const { return form_->desktop(); }
bool ControlView::Syncing() const { return desktop().Syncing(); }
int ControlView::Px(int twips) const { return desktop().Pixels(twips); }

void ControlView::Act(const std::function<void()>& action) {
  if (Syncing() || detached_) return;
  desktop().Dispatch(action);
}

void ControlView::Sync() {
  ui::Control& c = *control_;
  QRect r(Px(c.Left()), Px(c.Top()), Px(c.Width()), Px(c.Height()));
  if (widget_->geometry() != r) widget_->setGeometry(r);
  bool visible = c.Visible();
  bool enabled = c.Enabled();
  if (auto* tab = dynamic_cast<ui::SSTab*>(c.Container()); tab && c.ContainerTab() >= 0) {
    visible = visible && tab->Tab() == c.ContainerTab();
    enabled = enabled && c.ContainerTab() < tab->Tabs() && tab->TabEnabled(c.ContainerTab());
  }
  if (widget_->isEnabledTo(widget_->parentWidget()) != enabled) widget_->setEnabled(enabled);
  QString tip = ToQ(c.ToolTipText());
  if (widget_->toolTip() != tip) widget_->setToolTip(tip);
  if (!font_set_ || !(font_ == c.Font())) {
    font_ = c.Font();
    font_set_ = true;
    widget_->setFont(ToQFont(font_));
  }
  Update();
  if (widget_->isHidden() == visible) widget_->setVisible(visible);
}

bool ControlView::Key(QKeyEvent& e) {
  std::u16string keys = KeyAsciiOf(e);
  if (keys.empty()) return false;
  bool widgetToo = keys.size() == 1 && WidgetHandlesAfterKeyPress(keys[0]);
  Act([&] {
    for (char16_t k : keys) ui::PressKey(*control_, static_cast<int16_t>(k));
  });
  return !widgetToo;
}

void ControlView::DoubleClicked() {
  Act([this] {
    if (!ui::CanUse(*control_)) return;
    if (control_->OnDblClick) control_->OnDblClick();
  });
}

bool ControlView::eventFilter(QObject* watched, QEvent* e) {
  if (detached_) return false;
  switch (e->type()) {
    case QEvent::FocusIn: {
      auto reason = static_cast<QFocusEvent*>(e)->reason();
      bool byUser = reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason ||
                    reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
      if (byUser && !Syncing() && control_->CanFocus() && !control_->HasFocus())
        Act([this] { ui::Focus(*control_); });
      break;
    }
    case QEvent::KeyPress: {
      auto* k = static_cast<QKeyEvent*>(e);
      if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) break;
      if (Key(*k)) return true;
      break;
    }
    case QEvent::MouseButtonRelease: {
      auto* m = static_cast<QMouseEvent*>(e);
      if (ClickOnRelease() && watched == widget_ && m->button() == Qt::LeftButton &&
          widget_->rect().contains(m->position().toPoint()))
        Act([this] { ui::Click(*control_); });
      break;
    }
    case QEvent::MouseButtonDblClick:
      if (static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton && ClickOnRelease()) {
        DoubleClicked();
        return true;
      }
      break;
    default: break;
  }
  return QObject::eventFilter(watched, e);
}

}  // namespace tarno::gui
