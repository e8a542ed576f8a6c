#include "ui/form.h"

#include <algorithm>

#include "platform/vb_text.h"
#include "ui/control.h"
#include "ui/controls.h"
#include "ui/services.h"

namespace tarno::ui {

namespace {
// Never destroyed: windows with static storage (frmImage) outlive them otherwise.
std::vector<Form*>& LoadedList() {
  static auto* forms = new std::vector<Form*>;
  return *forms;
}
std::vector<Form*>& Modals() {
  static auto* forms = new std::vector<Form*>;
  return *forms;
}
void Erase(std::vector<Form*>& v, Form* f) { v.erase(std::remove(v.begin(), v.end(), f), v.end()); }
bool CanTakeFocus(const Control* c) {
  return c->CanFocus() && c->TabStop() && c->EffectivelyEnabled() && c->EffectivelyVisible();
}
}  // namespace

std::vector<Form*> LoadedForms() { return LoadedList(); }
std::vector<Form*> ModalStack() { return Modals(); }

Form::Form(std::u16string name) : name_(std::move(name)), caption_(name_) {}

Form::~Form() {
  Erase(LoadedList(), this);
  Erase(Modals(), this);
}

void Form::Register(Control* c) {
  controls_.push_back(c);
  tab_order_.push_back(c);
}

void Form::Unregister(Control* c) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
  tab_order_.erase(std::remove(tab_order_.begin(), tab_order_.end(), c), tab_order_.end());
  if (active_ == c) active_ = nullptr;
}

void Form::Load() {
  if (loaded_) return;
  loaded_ = true;
  LoadedList().push_back(this);
  Form_Load();
}

void Form::Show(int modal) {
  if (modal == vbModal && loaded_ && visible_)
    throw VbError(400, "Form already displayed; can't show modally: " + vb::ToUtf8(name_));
  Load();
  if (!loaded_) return;  // Form_Load unloaded it
  visible_ = true;
  if (!resized_once_) {
    resized_once_ = true;
    Form_Resize();
  }
  if (!loaded_) return;
  Form_Activate();
  if (!loaded_) return;
  if (!active_ || !CanTakeFocus(active_)) {
    for (Control* c : TabOrder())
      if (CanTakeFocus(c)) {
        MoveFocus(c);
        break;
      }
  }
  if (modal != vbModal) return;
  ++modal_depth_;
  Modals().push_back(this);
  try {
    Modal().Run(*this);
  } catch (...) {
    Erase(Modals(), this);
    --modal_depth_;
    throw;
  }
  Erase(Modals(), this);
  --modal_depth_;
}

void Form::Hide() { visible_ = false; }

void Form::Refresh() { Events().Repaint(); }

bool Form::Unload() { return DoUnload(vbFormCode); }

bool Form::CloseBox() { return DoUnload(vbFormControlMenu); }

bool Form::DoUnload(int16_t mode) {
  if (!loaded_) return true;
  int16_t cancel = 0;
  Form_QueryUnload(cancel, mode);
  if (cancel != 0 || !loaded_) return !loaded_;
  Form_Unload(cancel);
  if (cancel != 0 || !loaded_) return !loaded_;
  loaded_ = false;
  visible_ = false;
  resized_once_ = false;
  active_ = nullptr;
  Erase(LoadedList(), this);
  return true;
}

void Form::Move(int left, int top, int width, int height) {
  bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (resized && loaded_ && visible_) Form_Resize();
}

void Form::SetWindowState(int v) {
  bool changed = v != window_state_;
  window_state_ = v;
  if (changed && loaded_ && visible_) Form_Resize();
}

std::vector<Control*> Form::TabOrder() const {
  std::vector<Control*> out;
  for (Control* c : tab_order_)
    if (c->HasTabIndex()) out.push_back(c);
  return out;
}

void Form::MoveInTabOrder(Control* c, int position) {
  tab_order_.erase(std::remove(tab_order_.begin(), tab_order_.end(), c), tab_order_.end());
  std::vector<Control*> order = TabOrder();
  if (position >= static_cast<int>(order.size())) {
    tab_order_.push_back(c);
  } else {
    auto at = std::find(tab_order_.begin(), tab_order_.end(), order[position]);
    tab_order_.insert(at, c);
  }
}

Control* Form::FindControl(const std::u16string& displayName) const {
  for (Control* c : controls_)
    if (c->DisplayName() == displayName) return c;
  return nullptr;
}

void Form::MoveFocus(Control* to) {
  if (to == active_) return;
  Control* from = active_;
  active_ = to;
  if (from && from->OnLostFocus) from->OnLostFocus();
  if (to && active_ == to && to->OnGotFocus) to->OnGotFocus();
}

void Form::FocusNext() {
  std::vector<Control*> order = TabOrder();
  if (order.empty()) return MoveFocus(nullptr);
  size_t start = 0;
  if (active_) {
    auto it = std::find(order.begin(), order.end(), active_);
    if (it != order.end()) start = static_cast<size_t>(it - order.begin()) + 1;
  }
  for (size_t i = 0; i < order.size(); ++i) {
    Control* c = order[(start + i) % order.size()];
    if (CanTakeFocus(c)) return MoveFocus(c);
  }
  MoveFocus(nullptr);
}

void Form::ControlLostFocusAbility(Control*) {
  if (active_ && (!active_->EffectivelyEnabled() || !active_->EffectivelyVisible())) FocusNext();
}

CommandButton* Form::DefaultButton() const {
  for (Control* c : controls_)
    if (auto* b = dynamic_cast<CommandButton*>(c); b && b->Default()) return b;
  return nullptr;
}

CommandButton* Form::CancelButton() const {
  for (Control* c : controls_)
    if (auto* b = dynamic_cast<CommandButton*>(c); b && b->Cancel()) return b;
  return nullptr;
}

FormDescription Form::Describe() const {
  FormDescription d;
  d.name = name_;
  d.caption = caption_;
  d.left = left_;
  d.top = top_;
  d.width = width_;
  d.height = height_;
  d.visible = visible_;
  for (Control* c : controls_) d.controls.push_back(c->Describe());
  return d;
}

}  // namespace tarno::ui
