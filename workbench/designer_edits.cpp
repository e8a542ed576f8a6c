#include "workbench/designer_edits.h"

#include <QAction>
#include <QUndoCommand>
#include <algorithm>
#include <cstdio>
#include <utility>

#include "platform/vb_text.h"
#include "workbench/property_values.h"

namespace tarno::workbench {
namespace {

void Write(const PropertyChange& c, const ide::Variant& v) {
  DesignerEdits::PropertiesOf(c.component, c.control)->Item(c.name)->SetValue(v);
}

class SetValues : public QUndoCommand {
 public:
  SetValues(const QString& what, std::vector<PropertyChange> changes, std::function<void()>& onChange)
      : QUndoCommand(what), changes_(std::move(changes)), on_change_(onChange) {}
  void redo() override {
    // All or nothing: a refused value takes back those set before it.
    size_t done = 0;
    try {
      for (; done < changes_.size(); ++done) Write(changes_[done], changes_[done].after);
    } catch (...) {
      while (done-- > 0) Write(changes_[done], changes_[done].before);
      throw;
    }
    if (on_change_) on_change_();
  }
  void undo() override {
    for (auto it = changes_.rbegin(); it != changes_.rend(); ++it) Write(*it, it->before);
    if (on_change_) on_change_();
  }

 private:
  std::vector<PropertyChange> changes_;
  std::function<void()>& on_change_;
};

void Apply(ide::Font& f, const host::FontValues& v) {
  f.SetName(v.name);
  f.SetSize(v.size);
  f.SetBold(v.bold);
  f.SetItalic(v.italic);
  f.SetUnderline(v.underline);
  f.SetStrikethru(v.strikethru);
}

class SetFontValues : public QUndoCommand {
 public:
  SetFontValues(std::shared_ptr<ide::Font> font, host::FontValues before, host::FontValues after,
                std::function<void()>& onChange)
      : QUndoCommand(QStringLiteral("Font")), font_(std::move(font)), before_(std::move(before)),
        after_(std::move(after)), on_change_(onChange) {}
  void redo() override {
    Apply(*font_, after_);
    if (on_change_) on_change_();
  }
  void undo() override {
    Apply(*font_, before_);
    if (on_change_) on_change_();
  }

 private:
  std::shared_ptr<ide::Font> font_;
  host::FontValues before_, after_;
  std::function<void()>& on_change_;
};

// A control placed from the toolbox; undo removes it, redo places another
// of the same class (it gets the same free default name) where it was.
class AddNew : public QUndoCommand {
 public:
  AddNew(std::shared_ptr<host::MemComponent> component, std::shared_ptr<host::MemControl> container,
         std::u16string className, double left, double top, std::function<void()>& onChange)
      : QUndoCommand(QStringLiteral("Add")), component_(std::move(component)), container_(std::move(container)),
        class_(std::move(className)), left_(left), top_(top), on_change_(onChange) {}
  void redo() override {
    if (std::exchange(placed_, false)) return;  // placed before it was recorded
    auto list = container_ ? container_->ContainedVBControls() : component_->designer()->ContainedVBControls();
    control_ = std::dynamic_pointer_cast<host::MemControl>(list->Add(u"VB." + class_, nullptr, false));
    auto properties = control_->Properties();
    if (control_->Has(u"Left")) {
      properties->Item(u"Left")->SetValue(ide::Variant(static_cast<float>(left_)));
      properties->Item(u"Top")->SetValue(ide::Variant(static_cast<float>(top_)));
    } else if (control_->Has(u"X1")) {  // a line: from its place, one grid step across
      const char16_t* names[] = {u"X1", u"Y1", u"X2", u"Y2"};
      const double values[] = {left_, top_, left_ + 1215, top_};
      for (int i = 0; i < 4; ++i) properties->Item(names[i])->SetValue(ide::Variant(static_cast<float>(values[i])));
    }
    component_->designer()->SetSelected({control_});
    if (on_change_) on_change_();
  }
  void undo() override {
    component_->designer()->RemoveNewControl(control_);
    if (on_change_) on_change_();
  }
  const std::shared_ptr<host::MemControl>& control() const { return control_; }
  void MarkPlaced() { placed_ = true; }

 private:
  bool placed_ = false;
  std::shared_ptr<host::MemComponent> component_;
  std::shared_ptr<host::MemControl> container_;
  std::u16string class_;
  double left_, top_;
  std::shared_ptr<host::MemControl> control_;
  std::function<void()>& on_change_;
};

// Controls deleted: undo puts the same objects back in their places.
class DeleteControls : public QUndoCommand {
 public:
  DeleteControls(const QString& what, std::shared_ptr<host::MemComponent> component,
                 std::vector<std::shared_ptr<host::MemControl>> controls, std::function<void()>& onChange)
      : QUndoCommand(what), component_(std::move(component)), controls_(std::move(controls)), on_change_(onChange) {}
  void redo() override {
    if (std::exchange(done_, false)) return;  // deleted before it was recorded
    removal_ = component_->designer()->RemoveControls(controls_);
    if (on_change_) on_change_();
  }
  void undo() override {
    component_->designer()->Restore(removal_);
    if (on_change_) on_change_();
  }

 private:
  std::shared_ptr<host::MemComponent> component_;
  std::vector<std::shared_ptr<host::MemControl>> controls_;
  host::MemDesigner::Removal removal_;
  std::function<void()>& on_change_;

 public:
  bool done_ = false;
};

// Pasted controls: the choices (names, indexes, a control that became the
// array's first) are made once; redo after an undo places the same controls.
class PasteControls : public QUndoCommand {
 public:
  struct Placed {
    std::shared_ptr<host::MemControl> control;
    std::shared_ptr<host::MemControl> parent;
  };
  PasteControls(std::shared_ptr<host::MemComponent> component, std::vector<Placed> placed,
                std::vector<std::shared_ptr<host::MemControl>> arrayFirsts, std::function<void()>& onChange)
      : QUndoCommand(QStringLiteral("Paste")), component_(std::move(component)), placed_(std::move(placed)),
        firsts_(std::move(arrayFirsts)), on_change_(onChange) {}
  void redo() override {
    if (std::exchange(done_, false)) return;  // pasted before it was recorded
    auto& d = *component_->designer();
    std::vector<std::shared_ptr<host::MemControl>> chosen;
    try {
      for (const auto& c : firsts_) c->Properties()->Item(u"Index")->SetValue(ide::Variant(int16_t(0)));
      for (const auto& p : placed_) {
        d.InsertCopy(p.control, p.parent);
        if (std::none_of(placed_.begin(), placed_.end(), [&](const Placed& o) { return o.control == p.parent; }))
          chosen.push_back(p.control);
      }
    } catch (...) {
      // All or nothing: what was placed goes again.
      TakeBack();
      throw;
    }
    d.SetSelected(chosen);
    if (on_change_) on_change_();
  }
  void undo() override {
    TakeBack();
    if (on_change_) on_change_();
  }

 private:
  std::shared_ptr<host::MemComponent> component_;
  std::vector<Placed> placed_;
  std::vector<std::shared_ptr<host::MemControl>> firsts_;
  std::function<void()>& on_change_;

  void TakeBack() {
    auto& d = *component_->designer();
    for (auto it = placed_.rbegin(); it != placed_.rend(); ++it)
      if (std::find(d.controls().begin(), d.controls().end(), it->control) != d.controls().end())
        d.RemoveNewControl(it->control);
    for (const auto& c : firsts_)
      if (c->index() >= 0) c->Properties()->Item(u"Index")->SetValue(ide::Variant(int16_t(-1)));
  }

 public:
  bool done_ = false;
};

// Moves a pasted control's place by the offset (a line's end points).
void Shift(host::MemControl& c, double dx, double dy) {
  const bool line = c.Has(u"X1") && !c.Has(u"Left");
  const char16_t* xs[] = {u"Left", u"X1", u"X2"};
  const char16_t* ys[] = {u"Top", u"Y1", u"Y2"};
  for (const char16_t* x : xs)
    if (c.Has(x) && (line || x == std::u16string_view(u"Left"))) c.SetInitial(x, static_cast<float>(NumberOf(c, x) + dx));
  for (const char16_t* y : ys)
    if (c.Has(y) && (line || y == std::u16string_view(u"Top"))) c.SetInitial(y, static_cast<float>(NumberOf(c, y) + dy));
}

// Where a control's place starts: its Left and Top, a line's nearer ends.
std::pair<double, double> Corner(const host::MemControl& c) {
  if (c.Has(u"Left")) return {NumberOf(c, u"Left"), NumberOf(c, u"Top")};
  if (c.Has(u"X1"))
    return {std::min(NumberOf(c, u"X1"), NumberOf(c, u"X2")), std::min(NumberOf(c, u"Y1"), NumberOf(c, u"Y2"))};
  return {0, 0};
}

}  // namespace

void DesignerEdits::Delete(const QString& what, const std::shared_ptr<host::MemComponent>& component,
                           const std::vector<std::shared_ptr<host::MemControl>>& controls) {
  if (controls.empty()) return;
  auto command = std::make_unique<DeleteControls>(what, component, controls, on_change);
  command->redo();  // a host refusal throws before anything is recorded
  command->done_ = true;
  stack_.push(command.release());
}

void DesignerEdits::Copy(const std::shared_ptr<host::MemComponent>& component,
                         const std::vector<std::shared_ptr<host::MemControl>>& controls) {
  if (!controls.empty()) copied_ = CopyControls(component, controls);
}

void DesignerEdits::Cut(const std::shared_ptr<host::MemComponent>& component,
                        const std::vector<std::shared_ptr<host::MemControl>>& controls) {
  Copy(component, controls);
  Delete(QStringLiteral("Cut"), component, controls);
}

std::vector<std::shared_ptr<host::MemControl>> DesignerEdits::Paste(
    const std::shared_ptr<host::MemComponent>& component, const std::shared_ptr<host::MemControl>& container) {
  if (copied_.empty()) return {};
  auto& d = *component->designer();
  const bool elsewhere = copied_.source != component;
  // Binary values of another component, and those a designer held when
  // they were copied (a save may have moved them since), are held by this
  // designer until saved (once: a second paste of the same bytes takes the same).
  std::map<std::u16string, std::u16string> moved;
  for (const auto& [ref, binary] : copied_.binaries) {
    if (!elsewhere && !ReferencedFile(ref).starts_with(u'<')) continue;
    std::u16string held;
    for (const auto& [name, bytes] : d.held_binaries())
      if (bytes == binary.bytes) held = name;
    if (held.empty()) held = d.HoldBinary(binary.bytes);
    char hex[24];
    std::snprintf(hex, sizeof hex, "%04zX", binary.offset);
    moved[ref] = u"\"" + held + u"\":" + vb::U(hex);
  }
  // The chosen controls' corner goes to the container's top left.
  double left = 1e30, top = 1e30;
  for (const auto& item : copied_.items)
    if (item.parent < 0) {
      auto [x, y] = Corner(*item.control);
      left = std::min(left, x);
      top = std::min(top, y);
    }
  std::vector<PasteControls::Placed> placed;
  std::vector<std::shared_ptr<host::MemControl>> firsts;
  auto taken = [&](const std::u16string& name) {
    std::vector<std::shared_ptr<host::MemControl>> out;
    for (const auto& c : d.controls())
      if (vb::EqualsIgnoreCaseAscii(c->name(), name)) out.push_back(c);
    for (const auto& p : placed)
      if (vb::EqualsIgnoreCaseAscii(p.control->name(), name)) out.push_back(p.control);
    return out;
  };
  for (const auto& item : copied_.items) {
    auto copy = item.control->Copy();
    if (item.parent < 0) Shift(*copy, -left, -top);
    for (int i = 0; i < copy->PropertyCount() && !moved.empty(); ++i) {
      const host::PropType type = copy->PropertyDef(i).type;
      const ide::Variant v = copy->ValueAt(i);
      const auto* text = std::get_if<std::u16string>(&v);
      if (!text || (type != host::PropType::Picture && type != host::PropType::Group)) continue;
      std::u16string now = *text;
      if (type == host::PropType::Picture) {
        if (auto it = moved.find(now); it != moved.end()) now = it->second;
      } else {
        for (const auto& [from, to] : moved) now = vb::Replace(now, from, to);
      }
      if (now != *text) copy->SetInitial(copy->PropertyDef(i).name, now);
    }
    const auto same = taken(copy->name());
    if (!same.empty()) {
      int highest = -1;
      for (const auto& c : same) highest = std::max(highest, c->index());
      if (highest >= 0) {
        copy->set_index(highest + 1);
      } else if (ask_array && ask_array(QStringLiteral("You already have a control named '%1'. Do you want to create a "
                                                       "control array?")
                                            .arg(QString::fromStdU16String(same[0]->name())))) {
        firsts.push_back(same[0]);
        copy->set_index(1);
      } else {
        // The class's next free default name, past those pasted before it too.
        for (int n = 1;; ++n) {
          std::u16string name = copy->cls().defaultName + vb::FromInt(n);
          if (taken(name).empty() && !vb::EqualsIgnoreCaseAscii(name, d.form()->name())) {
            copy->set_name(name);
            break;
          }
        }
        copy->set_index(-1);
      }
    }
    placed.push_back({copy, item.parent < 0 ? container : placed[size_t(item.parent)].control});
  }
  auto command = std::make_unique<PasteControls>(component, std::move(placed), std::move(firsts), on_change);
  command->redo();  // a host refusal throws before anything is recorded
  command->done_ = true;
  stack_.push(command.release());
  return d.selected();
}

std::shared_ptr<host::MemControl> DesignerEdits::AddControl(const std::shared_ptr<host::MemComponent>& component,
                                                            const std::shared_ptr<host::MemControl>& container,
                                                            const std::u16string& className, double left, double top) {
  auto command = std::make_unique<AddNew>(component, container, className, left, top, on_change);
  command->redo();  // a host refusal throws before anything is recorded
  command->MarkPlaced();
  auto control = command->control();
  stack_.push(command.release());
  return control;
}

void AddUndoActions(QWidget& widget, QUndoStack& stack) {
  QAction* undo = stack.createUndoAction(&widget, QStringLiteral("&Undo"));
  undo->setShortcut(QKeySequence::Undo);
  QAction* redo = stack.createRedoAction(&widget, QStringLiteral("&Redo"));
  redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  for (QAction* a : {undo, redo}) {
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    widget.addAction(a);
  }
}

DesignerEdits::DesignerEdits(QObject* parent) : stack_(parent) {}

std::shared_ptr<ide::Properties> DesignerEdits::PropertiesOf(const std::shared_ptr<host::MemComponent>& component,
                                                            const std::shared_ptr<host::MemControl>& control) {
  return control ? control->Properties() : component->Properties();
}

void DesignerEdits::Set(const QString& what, std::vector<PropertyChange> changes) {
  std::erase_if(changes, [](const PropertyChange& c) { return c.before == c.after; });
  if (changes.empty()) return;
  auto command = std::make_unique<SetValues>(what, std::move(changes), on_change);
  command->redo();  // throws before anything is recorded
  // The stack runs redo() once more when pushed: the values are set already.
  stack_.push(command.release());
}

void DesignerEdits::Set(const std::shared_ptr<host::MemComponent>& component,
                        const std::shared_ptr<host::MemControl>& control, const std::u16string& name,
                        const ide::Variant& value) {
  ide::Variant before = PropertiesOf(component, control)->Item(name)->Value();
  Set(QString::fromStdU16String(name), {{component, control, name, before, value}});
}

void DesignerEdits::SetFont(const std::shared_ptr<host::MemComponent>& component,
                            const std::shared_ptr<host::MemControl>& control, const std::u16string& name,
                            const host::FontValues& font) {
  auto object = PropertiesOf(component, control)->Item(name)->Object();
  if (!object) throw ide::HostError("Property.Object", "not a font");
  host::FontValues before;
  before.name = object->Name();
  before.size = object->Size();
  before.bold = object->Bold();
  before.italic = object->Italic();
  before.underline = object->Underline();
  before.strikethru = object->Strikethru();
  before.weight = font.weight;
  before.charset = font.charset;
  if (before == font) return;
  stack_.push(new SetFontValues(object, before, font, on_change));
}

}  // namespace tarno::workbench
