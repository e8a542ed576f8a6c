#include "host/command_bars.h"

#include "host/faults.h"
#include "platform/vb_text.h"

namespace tarno::host {

// --- controls ------------------------------------------------------------------

void MemCommandBarControl::CheckLive(const char* operation) const {
  CheckFault(operation);
  if (deleted_) throw ide::HostError(operation, "the control was deleted");
}

void MemCommandBarControl::InitItems() {
  if (type_ == ide::ControlType::Popup && !items_) items_ = std::make_shared<MemCommandBarControls>();
}

int MemCommandBarControl::Type() {
  CheckLive("CommandBarControl.Type");
  return type_;
}
std::u16string MemCommandBarControl::Caption() {
  CheckLive("CommandBarControl.Caption");
  return caption_;
}
void MemCommandBarControl::SetCaption(const std::u16string& v) {
  CheckLive("CommandBarControl.SetCaption");
  caption_ = v;
}
std::u16string MemCommandBarControl::ToolTipText() {
  CheckLive("CommandBarControl.ToolTipText");
  return toolTip_;
}
void MemCommandBarControl::SetToolTipText(const std::u16string& v) {
  CheckLive("CommandBarControl.SetToolTipText");
  toolTip_ = v;
}
std::u16string MemCommandBarControl::DescriptionText() {
  CheckLive("CommandBarControl.DescriptionText");
  return description_;
}
void MemCommandBarControl::SetDescriptionText(const std::u16string& v) {
  CheckLive("CommandBarControl.SetDescriptionText");
  description_ = v;
}
bool MemCommandBarControl::BeginGroup() {
  CheckLive("CommandBarControl.BeginGroup");
  return beginGroup_;
}
void MemCommandBarControl::SetBeginGroup(bool v) {
  CheckLive("CommandBarControl.SetBeginGroup");
  beginGroup_ = v;
}

void MemCommandBarControl::PasteFace() {
  CheckLive("CommandBarControl.PasteFace");
  if (type_ == ide::ControlType::Popup) throw ide::HostError("CommandBarControl.PasteFace", "a popup has no face");
  auto picture = SystemClipboard().GetData();
  if (!picture) throw ide::HostError("CommandBarControl.PasteFace", "the clipboard holds no picture");
  face_ = std::move(*picture);
}

void MemCommandBarControl::MarkDeleted() {
  deleted_ = true;
  if (items_) {
    for (const auto& c : items_->items()) c->MarkDeleted();
  }
}

void MemCommandBarControl::Delete() {
  CheckLive("CommandBarControl.Delete");
  if (auto owner = owner_.lock()) owner->Remove(this);
  MarkDeleted();
}

std::shared_ptr<ide::CommandBarControls> MemCommandBarControl::Controls() {
  CheckLive("CommandBarControl.Controls");
  if (!items_) throw ide::HostError("CommandBarControl.Controls", "the control is not a popup");
  return items_;
}

MemCommandBarControl::ClickResult MemCommandBarControl::Click() {
  ClickResult r;
  if (deleted_) return r;
  // Copy first: a handler may connect or drop event sources.
  auto sources = sources_;
  auto self = shared_from_this();
  for (const auto& weak : sources) {
    auto s = weak.lock();
    if (!s || !s->handler()) continue;
    ++r.sinks;
    auto handler = s->handler();
    handler(self, r.handled, r.cancelDefault);
  }
  std::erase_if(sources_, [](const auto& w) { return w.expired(); });
  return r;
}

// --- control collections ---------------------------------------------------------

int MemCommandBarControls::Count() {
  CheckFault("CommandBarControls.Count");
  return static_cast<int>(items_.size());
}

std::shared_ptr<ide::CommandBarControl> MemCommandBarControls::Item(int index) {
  CheckFault("CommandBarControls.Item");
  if (index < 1 || index > static_cast<int>(items_.size())) {
    throw ide::HostError("CommandBarControls.Item", "no control at position " + std::to_string(index));
  }
  return items_[static_cast<size_t>(index - 1)];
}

std::shared_ptr<ide::CommandBarControl> MemCommandBarControls::Add(int type, int before) {
  CheckFault("CommandBarControls.Add");
  return Insert(type, before, false, "CommandBarControls.Add");
}

std::shared_ptr<MemCommandBarControl> MemCommandBarControls::Insert(int type, int before, bool builtIn,
                                                                    const char* operation) {
  if (!((type >= 1 && type <= 4) || type == ide::ControlType::Popup)) {
    throw ide::HostError(operation, "unsupported control type " + std::to_string(type));
  }
  const int n = static_cast<int>(items_.size());
  if (before < 0 || before > n + 1) {
    throw ide::HostError(operation, "position " + std::to_string(before) + " is outside 1 to " + std::to_string(n + 1));
  }
  auto c = std::make_shared<MemCommandBarControl>(type, builtIn);
  c->InitItems();
  c->AttachTo(weak_from_this());
  if (before == 0) items_.push_back(c);
  else items_.insert(items_.begin() + (before - 1), c);
  return c;
}

std::shared_ptr<MemCommandBarControl> MemCommandBarControls::AddBuiltIn(const std::u16string& caption,
                                                                        bool beginGroup, int type) {
  auto c = Insert(type, 0, true, "CommandBarControls.Add");
  c->set_caption(caption);
  c->set_beginGroup(beginGroup);
  return c;
}

std::shared_ptr<MemCommandBarControl> MemCommandBarControls::Find(const std::u16string& caption) const {
  for (const auto& c : items_) {
    if (c->caption() == caption) return c;
    if (c->items()) {
      if (auto inner = c->items()->Find(caption)) return inner;
    }
  }
  return nullptr;
}

void MemCommandBarControls::Remove(const MemCommandBarControl* control) {
  std::erase_if(items_, [control](const auto& c) { return c.get() == control; });
}

// --- bars ------------------------------------------------------------------------

MemCommandBar::MemCommandBar(std::u16string name, int position, bool temporary, bool builtIn)
    : name_(std::move(name)),
      position_(position),
      temporary_(temporary),
      builtIn_(builtIn),
      visible_(builtIn),
      items_(std::make_shared<MemCommandBarControls>()) {}

void MemCommandBar::CheckLive(const char* operation) const {
  CheckFault(operation);
  if (deleted_) throw ide::HostError(operation, "the command bar was deleted");
}

std::u16string MemCommandBar::Name() {
  CheckLive("CommandBar.Name");
  return name_;
}

std::shared_ptr<ide::CommandBarControls> MemCommandBar::Controls() {
  CheckLive("CommandBar.Controls");
  return items_;
}

bool MemCommandBar::Visible() {
  CheckLive("CommandBar.Visible");
  return visible_;
}

void MemCommandBar::SetVisible(bool v) {
  CheckLive("CommandBar.SetVisible");
  visible_ = v;
}

void MemCommandBar::Delete() {
  CheckLive("CommandBar.Delete");
  if (builtIn_) throw ide::HostError("CommandBar.Delete", "a built-in command bar cannot be deleted");
  if (auto owner = owner_.lock()) owner->Remove(this);
  deleted_ = true;
  for (const auto& c : items_->items()) c->MarkDeleted();
}

std::shared_ptr<MemCommandBars> MemCommandBars::CreateDefault() {
  auto bars = std::make_shared<MemCommandBars>();
  bars->AddBar(u"Menu Bar", 1, false, true);
  bars->AddBar(u"Standard", 1, false, true);
  auto tools = bars->AddBar(u"Tools", 5, false, true);
  tools->items()->AddBuiltIn(u"&Add Procedure...");
  tools->items()->AddBuiltIn(u"Procedure Attri&butes...");
  tools->items()->AddBuiltIn(u"&Menu Editor...", true);
  tools->items()->AddBuiltIn(u"&Options...", true);
  auto edit = bars->AddBar(u"Edit", 5, false, true);
  for (const char16_t* caption : {u"&Undo", u"&Redo", u"Cu&t", u"&Copy", u"&Paste", u"&Remove", u"Select &All"}) {
    edit->items()->AddBuiltIn(caption, caption == std::u16string_view(u"Cu&t"));
  }
  edit->items()->AddBuiltIn(u"&Find...", true);
  edit->items()->AddBuiltIn(u"Find Ne&xt");
  edit->items()->AddBuiltIn(u"R&eplace...");
  edit->items()->AddBuiltIn(u"&Indent", true);
  edit->items()->AddBuiltIn(u"&Outdent");
  return bars;
}

std::shared_ptr<MemCommandBar> MemCommandBars::AddBar(const std::u16string& name, int position, bool temporary,
                                                      bool builtIn) {
  auto bar = std::make_shared<MemCommandBar>(name, position, temporary, builtIn);
  bar->SetOwner(weak_from_this());
  bars_.push_back(bar);
  return bar;
}

int MemCommandBars::Count() {
  CheckFault("CommandBars.Count");
  return static_cast<int>(bars_.size());
}

std::shared_ptr<MemCommandBar> MemCommandBars::Bar(const std::u16string& name) const {
  for (const auto& b : bars_) {
    if (vb::EqualsIgnoreCaseAscii(b->name(), name)) return b;
  }
  return nullptr;
}

std::shared_ptr<ide::CommandBar> MemCommandBars::Item(const std::u16string& name) {
  CheckFault("CommandBars.Item");
  auto b = Bar(name);
  if (!b) throw ide::HostError("CommandBars.Item", "no command bar named \"" + vb::ToUtf8(name) + "\"");
  return b;
}

std::shared_ptr<ide::CommandBar> MemCommandBars::Add(const std::u16string& name, int position, bool temporary) {
  CheckFault("CommandBars.Add");
  if (name.empty()) throw ide::HostError("CommandBars.Add", "empty name");
  if (Bar(name)) throw ide::HostError("CommandBars.Add", "a command bar named \"" + vb::ToUtf8(name) + "\" exists");
  return AddBar(name, position, temporary, false);
}

void MemCommandBars::Remove(const MemCommandBar* bar) {
  std::erase_if(bars_, [bar](const auto& b) { return b.get() == bar; });
}

// --- events ----------------------------------------------------------------------

void MemCommandBarEvents::SetClickHandler(ide::ClickHandler handler) {
  CheckFault("CommandBarEvents.SetClickHandler");
  handler_ = std::move(handler);
}

std::shared_ptr<ide::CommandBarEvents> MemEvents::CommandBarEvents(
    const std::shared_ptr<ide::CommandBarControl>& control) {
  CheckFault("Events.CommandBarEvents");
  auto c = std::dynamic_pointer_cast<MemCommandBarControl>(control);
  if (!c) throw ide::HostError("Events.CommandBarEvents", "not a command bar control of this host");
  if (c->deleted()) throw ide::HostError("Events.CommandBarEvents", "the control was deleted");
  auto source = std::make_shared<MemCommandBarEvents>();
  c->AddSource(source);
  return source;
}

}  // namespace tarno::host
