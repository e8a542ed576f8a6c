#include "workbench/procedure_bar.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QToolButton>

namespace tarno::workbench {
namespace {

QString Q(const std::u16string& s) { return QString::fromStdU16String(s); }

// The event the IDE writes when an object without handlers is chosen.
std::u16string DefaultEvent(const OutlineObject& o, const std::vector<OutlineProc>& procs) {
  if (o.className == u"Form" || o.className == u"MDIForm") return u"Load";
  for (const char16_t* e : {u"Change", u"Click", u"Timer", u"Initialize"})
    for (const auto& p : procs)
      if (p.label == e) return e;
  return procs.empty() ? std::u16string() : procs.front().label;
}

}  // namespace

ProcedureBar::ProcedureBar(std::shared_ptr<host::MemComponent> component, QWidget* parent)
    : QWidget(parent), component_(std::move(component)) {
  setAutoFillBackground(true);
  objects_ = new QComboBox;
  objects_->setObjectName(QStringLiteral("objects"));
  procs_ = new QComboBox;
  procs_->setObjectName(QStringLiteral("procedures"));
  for (QComboBox* box : {objects_, procs_}) {
    box->setMinimumContentsLength(12);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMaxVisibleItems(24);
  }
  procedure_view_ = new QToolButton;
  procedure_view_->setText(QStringLiteral("Procedure"));
  procedure_view_->setToolTip(QStringLiteral("Procedure View"));
  full_view_ = new QToolButton;
  full_view_->setText(QStringLiteral("Full Module"));
  full_view_->setToolTip(QStringLiteral("Full Module View"));
  auto* views = new QButtonGroup(this);
  for (QToolButton* b : {procedure_view_, full_view_}) {
    b->setCheckable(true);
    b->setAutoRaise(true);
    views->addButton(b);
  }
  full_view_->setChecked(true);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(2, 2, 2, 2);
  row->addWidget(objects_, 1);
  row->addWidget(procs_, 1);
  row->addWidget(procedure_view_);
  row->addWidget(full_view_);
  connect(procedure_view_, &QToolButton::toggled, this, [this](bool on) {
    if (on_view) on_view(on);
  });
  connect(objects_, &QComboBox::activated, this, [this](int) {
    const OutlineObject* o = CurrentObject();
    if (!o) return;
    FillProcs(*o);
    if (o->name == kGeneral) return;
    // The first handler it has, else its default event's new one.
    for (const auto& p : shown_procs_)
      if (p.exists) return Go(p);
    const std::u16string e = DefaultEvent(*o, shown_procs_);
    for (const auto& p : shown_procs_)
      if (p.label == e) return Go(p);
  });
  connect(procs_, &QComboBox::activated, this, [this](int i) {
    if (i >= 0 && static_cast<size_t>(i) < shown_procs_.size()) Go(shown_procs_[static_cast<size_t>(i)]);
  });
  FillObjects();
  Follow(1);
}

void ProcedureBar::FillObjects() {
  shown_objects_ = OutlineObjects(*component_);
  objects_->clear();
  for (const auto& o : shown_objects_) objects_->addItem(Q(o.name));
}

const OutlineObject* ProcedureBar::CurrentObject() const {
  int i = objects_->currentIndex();
  return i >= 0 && static_cast<size_t>(i) < shown_objects_.size() ? &shown_objects_[static_cast<size_t>(i)] : nullptr;
}

void ProcedureBar::FillProcs(const OutlineObject& object) {
  shown_procs_ = OutlineProcs(*component_, object);
  procs_->clear();
  QFont italic = procs_->font();
  italic.setItalic(true);
  QFont bold = procs_->font();
  bold.setBold(true);
  for (size_t i = 0; i < shown_procs_.size(); ++i) {
    const auto& p = shown_procs_[i];
    procs_->addItem(Q(p.label));
    // An event's handler that exists stands out; one not written yet is in italics.
    if (object.name != kGeneral) procs_->setItemData(static_cast<int>(i), p.exists ? bold : italic, Qt::FontRole);
  }
}

void ProcedureBar::Follow(int line) {
  // The objects are read again when the code or the controls changed.
  auto module = component_->code();
  const uint64_t version = module ? module->text().version() : 0;
  const size_t controls = component_->designer() ? component_->designer()->controls().size() : 0;
  if (version != filled_version_ || controls != filled_controls_) {
    FillObjects();
    filled_version_ = version;
    filled_controls_ = controls;
  }
  OutlinePlace at = Locate(*component_, line);
  int o = objects_->findText(Q(at.object));
  objects_->setCurrentIndex(std::max(o, 0));
  if (const OutlineObject* obj = CurrentObject()) FillProcs(*obj);
  procs_->setCurrentIndex(std::max(procs_->findText(Q(at.proc)), 0));
}

bool ProcedureBar::ChooseObject(const QString& name) {
  int i = objects_->findText(name);
  if (i < 0) return false;
  objects_->setCurrentIndex(i);
  Q_EMIT objects_->activated(i);
  return true;
}

bool ProcedureBar::ChooseProc(const QString& label) {
  int i = procs_->findText(label);
  if (i < 0) return false;
  procs_->setCurrentIndex(i);
  Q_EMIT procs_->activated(i);
  return true;
}

void ProcedureBar::Go(const OutlineProc& proc) {
  const OutlineObject* o = CurrentObject();
  if (!o) return;
  int line = 1;
  try {
    line = GoToProc(*component_, *o, proc);
  } catch (const std::exception&) {
    return;  // a host failure leaves the module as it was
  }
  if (on_go) on_go(line, !proc.exists);
}

}  // namespace tarno::workbench
