#include "ui/control.h"

#include "platform/vb_text.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/services.h"

namespace tarno::ui {

Control::Control(Form& form, std::u16string name, int16_t index)
    : form_(&form), name_(std::move(name)), index_(index) {
  form_->Register(this);
}

Control::~Control() { form_->Unregister(this); }

std::u16string Control::DisplayName() const {
  if (index_ < 0) return name_;
  return name_ + u"(" + vb::FromInt(index_) + u")";
}

void Control::SetContainer(Control* container, int tab) {
  container_ = container;
  container_tab_ = dynamic_cast<SSTab*>(container) ? tab : -1;
  form_->ControlLostFocusAbility(nullptr);
}

void Control::SetEnabled(bool v) {
  enabled_ = v;
  if (!v) form_->ControlLostFocusAbility(this);
}

void Control::SetVisible(bool v) {
  visible_ = v;
  if (!v) form_->ControlLostFocusAbility(this);
}

void Control::Move(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
}

int Control::TabIndex() const {
  if (!HasTabIndex()) return -1;
  int i = 0;
  for (Control* c : form_->TabOrder()) {
    if (c == this) return i;
    ++i;
  }
  return -1;
}

void Control::SetTabIndex(int v) {
  if (!HasTabIndex()) throw VbError(err::InvalidPropertyValue, "Control has no TabIndex");
  if (v < 0) throw VbError(err::InvalidPropertyValue, "Invalid property value");
  form_->MoveInTabOrder(this, v);
}

bool Control::EffectivelyEnabled() const {
  if (!enabled_) return false;
  if (container_ && !container_->EffectivelyEnabled()) return false;
  if (auto* tab = dynamic_cast<const SSTab*>(container_); tab && container_tab_ >= 0 &&
                                                         container_tab_ < tab->Tabs() &&
                                                         !tab->TabEnabled(container_tab_))
    return false;
  return true;
}

bool Control::EffectivelyVisible() const {
  if (!visible_) return false;
  if (!container_) return true;
  if (!container_->EffectivelyVisible()) return false;
  if (auto* tab = dynamic_cast<const SSTab*>(container_); tab && container_tab_ >= 0)
    return tab->Tab() == container_tab_;
  return true;
}

void Control::SetFocus() {
  if (!form_->Loaded() || !form_->Enabled() || !CanFocus() || !EffectivelyEnabled() || !EffectivelyVisible())
    throw VbError(err::InvalidCall, "Invalid procedure call or argument: " + vb::ToUtf8(DisplayName()) +
                                        " cannot take the focus");
  form_->MoveFocus(this);
}

void Control::Refresh() { Events().Repaint(); }

bool Control::HasFocus() const { return form_->ActiveControl() == this; }

ControlDescription Control::Describe() const {
  ControlDescription d;
  d.kind = Kind();
  d.name = DisplayName();
  d.tool_tip = tool_tip_;
  d.left = left_;
  d.top = top_;
  d.width = width_;
  d.height = height_;
  if (container_) d.container = container_->DisplayName();
  d.container_tab = container_tab_;
  d.enabled = enabled_;
  d.visible = visible_;
  d.tab_index = TabIndex();
  d.font = font_;
  DescribeProperties(d);
  return d;
}

ControlDescription CaptionControl::Describe() const {
  ControlDescription d = Control::Describe();
  d.caption = caption_;
  return d;
}

}  // namespace tarno::ui
