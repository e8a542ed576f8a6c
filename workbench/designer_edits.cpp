#include "workbench/designer_edits.h"

#include <QAction>
#include <QUndoCommand>
#include <utility>

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

}  // namespace

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
