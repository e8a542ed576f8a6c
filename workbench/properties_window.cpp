#include "workbench/properties_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/classic_colours.h"
#include "gui/qt_convert.h"
#include "workbench/designer_edits.h"
#include "workbench/property_display.h"
#include "workbench/picture_record.h"
#include "workbench/property_values.h"

namespace tarno::workbench {
namespace {

constexpr int kPositionRole = Qt::UserRole;  // the property's position in its control

// Properties the designer shows: a control's own and the form's, without the
// values a file keeps for a control's own use (groups, Tab(0).Caption).
bool ShownInList(const host::PropDef& def) {
  if (def.type == host::PropType::Group) return false;
  // The form's client area is kept in its file only: VB lists Width and Height.
  if (def.name.starts_with(u"Client")) return false;
  return def.name.find_first_of(u"(._") == std::u16string::npos;
}

std::optional<host::FontValues> AskFontDialog(QWidget* parent, const host::FontValues& current) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QStringLiteral("Font"));
  auto* form = new QFormLayout(&dialog);
  auto* name = new QComboBox;
  name->setEditable(true);
  name->addItems(gui::WindowsFontNames());
  name->setCurrentText(QString::fromStdU16String(current.name));
  auto* size = new QDoubleSpinBox;
  size->setRange(1, 2048);
  size->setDecimals(2);
  size->setValue(current.size);
  auto* bold = new QCheckBox(QStringLiteral("Bold"));
  bold->setChecked(current.bold);
  auto* italic = new QCheckBox(QStringLiteral("Italic"));
  italic->setChecked(current.italic);
  auto* underline = new QCheckBox(QStringLiteral("Underline"));
  underline->setChecked(current.underline);
  auto* strike = new QCheckBox(QStringLiteral("Strikeout"));
  strike->setChecked(current.strikethru);
  form->addRow(QStringLiteral("Font:"), name);
  form->addRow(QStringLiteral("Size:"), size);
  for (QCheckBox* b : {bold, italic, underline, strike}) form->addRow(b);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  host::FontValues chosen = current;
  chosen.name = name->currentText().toStdU16String();
  chosen.size = size->value();
  chosen.bold = bold->isChecked();
  chosen.weight = chosen.bold ? 700 : 400;
  chosen.italic = italic->isChecked();
  chosen.underline = underline->isChecked();
  chosen.strikethru = strike->isChecked();
  return chosen;
}

// The value column's editors: a list for enumerations and booleans, a line
// for the rest; the Font property opens the font dialog instead. Colours
// show a swatch beside their value.
class ValueDelegate : public QStyledItemDelegate {
 public:
  ValueDelegate(PropertiesWindow& window) : QStyledItemDelegate(window.list()), window_(window) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const host::PropDef* def = DefOf(index);
    if (!def || index.column() != 1) return nullptr;
    QStringList choices = EnumNames(Control(), *def);
    if (def->type == host::PropType::Boolean) choices = {QStringLiteral("True"), QStringLiteral("False")};
    if (!choices.isEmpty()) {
      auto* box = new QComboBox(parent);
      box->addItems(choices);
      return box;
    }
    if (def->type == host::PropType::Font || def->type == host::PropType::Picture) {
      // VB's "..." button at the value's right end opens the font or picture dialog.
      auto* button = new QToolButton(parent);
      button->setText(QStringLiteral("..."));
      button->setObjectName(QStringLiteral("ellipsis"));
      const QString name = index.sibling(index.row(), 0).data().toString();
      const bool font = def->type == host::PropType::Font;
      QObject::connect(button, &QToolButton::clicked, &window_, [w = &window_, name, font] {
        QMetaObject::invokeMethod(
            w, [w, name, font] { font ? w->EditFontOf(name) : w->EditPictureOf(name); }, Qt::QueuedConnection);
      });
      return button;
    }
    return QStyledItemDelegate::createEditor(parent, option, index);
  }
  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    if (qobject_cast<QToolButton*>(editor)) {
      editor->setGeometry(option.rect.right() - option.rect.height(), option.rect.top(), option.rect.height(),
                          option.rect.height());
      return;
    }
    QStyledItemDelegate::updateEditorGeometry(editor, option, index);
  }
  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    if (auto* box = qobject_cast<QComboBox*>(editor)) box->setCurrentText(index.data().toString());
    else QStyledItemDelegate::setEditorData(editor, index);
  }
  void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
    QString text;
    if (qobject_cast<QToolButton*>(editor)) return;  // its dialog writes the value
    if (auto* box = qobject_cast<QComboBox*>(editor)) text = box->currentText();
    else if (auto* line = qobject_cast<QLineEdit*>(editor)) text = line->text();
    const QString name = index.sibling(index.row(), 0).data().toString();
    // After the editor has gone: the edit rebuilds the list.
    QMetaObject::invokeMethod(
        &window_, [w = &window_, name, text] { w->Edit(name, text); }, Qt::QueuedConnection);
  }
  void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const host::PropDef* def = DefOf(index);
    // No swatch where several selected controls' colours differ (no value shown).
    if (!def || index.column() != 1 || !IsColour(*def) || index.data().toString().isEmpty())
      return QStyledItemDelegate::paint(p, option, index);
    const QRect swatch(option.rect.left() + 2, option.rect.top() + 2, 20, option.rect.height() - 4);
    const auto v = static_cast<int32_t>(static_cast<int64_t>(NumberOf(Control(), def->name)));
    p->fillRect(swatch, gui::ClassicColor(v));
    p->setPen(Qt::black);
    p->drawRect(swatch.adjusted(0, 0, -1, -1));
    QStyleOptionViewItem rest = option;
    rest.rect.setLeft(swatch.right() + 4);
    QStyledItemDelegate::paint(p, rest, index);
  }

 private:
  const host::MemControl& Control() const { return *window_.Shown(); }
  const host::PropDef* DefOf(const QModelIndex& index) const { return window_.DefAt(index); }
  PropertiesWindow& window_;
};

}  // namespace

PropertiesWindow::PropertiesWindow(DesignerEdits& edits, QWidget* parent) : QWidget(parent), edits_(edits) {
  setObjectName(QStringLiteral("properties"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  objects_ = new QComboBox;
  tabs_ = new QTabBar;
  tabs_->addTab(QStringLiteral("Alphabetic"));
  tabs_->addTab(QStringLiteral("Categorized"));
  list_ = new QTreeWidget;
  list_->setColumnCount(2);
  list_->setHeaderHidden(true);
  list_->setRootIsDecorated(false);
  list_->header()->setSectionResizeMode(0, QHeaderView::Interactive);
  list_->setColumnWidth(0, 130);
  list_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                         QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
  list_->setItemDelegate(new ValueDelegate(*this));
  layout->addWidget(objects_);
  layout->addWidget(tabs_);
  layout->addWidget(list_);
  warn = [this](const QString& t) { QMessageBox::warning(this, QStringLiteral("Properties"), t); };
  ask_font = [this](const host::FontValues& f) { return AskFontDialog(this, f); };
  ask_picture = [this](const QString&) {
    return QFileDialog::getOpenFileName(this, QStringLiteral("Load Picture"), {}, PictureFileFilter());
  };
  connect(tabs_, &QTabBar::currentChanged, this, [this] { Refresh(); });
  connect(objects_, &QComboBox::activated, this, [this](int i) {
    if (!component_) return;
    auto& designer = *component_->designer();
    std::vector<std::shared_ptr<host::MemControl>> chosen;
    if (i > 0 && static_cast<size_t>(i - 1) < designer.controls().size())
      chosen.push_back(designer.controls()[static_cast<size_t>(i - 1)]);
    designer.SetSelected(chosen);
    Refresh();
    if (edits_.on_change) edits_.on_change();
  });
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item, int) {
    if (!item) return;
    if (item->text(0) == QStringLiteral("Font")) return EditFont();
    const host::PropDef* def = DefAt(list_->indexFromItem(item));
    if (def && def->type == host::PropType::Picture) EditPicture(item->text(0));
  });
}

void PropertiesWindow::ShowDesigner(std::shared_ptr<host::MemComponent> component) {
  component_ = std::move(component);
  Refresh();
}

void PropertiesWindow::SetCategorized(bool categorized) { tabs_->setCurrentIndex(categorized ? 1 : 0); }

void PropertiesWindow::Refresh() {
  filling_ = true;
  list_->clear();
  objects_->clear();
  control_.reset();
  if (!component_ || !component_->designer()) {
    filling_ = false;
    return;
  }
  auto& designer = *component_->designer();
  controls_ = designer.selected();
  control_ = controls_.empty() ? nullptr : controls_.front();
  const host::MemControl& shown = control_ ? *control_ : *designer.form();
  const bool several = controls_.size() > 1;
  // With several selected: the properties all of them have, of one type.
  auto common = [&](const host::PropDef& def) {
    if (!several) return true;
    if (def.name == u"Name" || def.name == u"Index") return false;
    for (const auto& c : controls_) {
      const int at = c->PropertyPosition(def.name);
      if (at < 0 || c->PropertyDef(at).type != def.type) return false;
    }
    return true;
  };
  auto shownValue = [&](const host::PropDef& def) {
    const QString first = DisplayValue(shown, def);
    for (const auto& c : controls_)
      if (DisplayValue(*c, c->PropertyDef(c->PropertyPosition(def.name))) != first) return QString();
    return first;
  };
  auto label = [](const host::MemControl& c) {
    QString name = QString::fromStdU16String(c.name());
    if (c.index() >= 0) name += QStringLiteral("(%1)").arg(c.index());
    return name + u' ' + QString::fromStdU16String(c.cls().name);
  };
  objects_->addItem(label(*designer.form()));
  for (const auto& c : designer.controls()) objects_->addItem(label(*c));
  if (several) {
    objects_->setCurrentIndex(-1);  // VB's list is empty while several are selected
  } else if (control_) {
    auto at = std::find(designer.controls().begin(), designer.controls().end(), control_);
    objects_->setCurrentIndex(static_cast<int>(at - designer.controls().begin()) + 1);
  }
  // Alphabetically, case aside, with (Name) first; by category, the
  // categories in order and each alphabetically.
  std::vector<int> order;
  for (int i = 0; i < shown.PropertyCount(); ++i)
    if (ShownInList(shown.PropertyDef(i)) && common(shown.PropertyDef(i))) order.push_back(i);
  auto key = [&](int i) {
    const auto& def = shown.PropertyDef(i);
    return def.name == u"Name" ? QString() : QString::fromStdU16String(def.name).toLower();
  };
  std::sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
  const bool categorized = tabs_->currentIndex() == 1;
  std::map<QString, QTreeWidgetItem*> groups;
  list_->setRootIsDecorated(categorized);
  for (int i : order) {
    const auto& def = shown.PropertyDef(i);
    auto* item = new QTreeWidgetItem({ShownName(def), several ? shownValue(def) : DisplayValue(shown, def)});
    item->setData(0, kPositionRole, i);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    if (categorized) {
      QTreeWidgetItem*& group = groups[CategoryOf(def)];
      if (!group) {
        group = new QTreeWidgetItem({CategoryOf(def)});
        group->setFlags(Qt::ItemIsEnabled);
        QFont bold = list_->font();
        bold.setBold(true);
        group->setFont(0, bold);
      }
      group->addChild(item);
    } else {
      list_->addTopLevelItem(item);
    }
  }
  for (auto& [name, group] : groups) list_->addTopLevelItem(group);
  list_->expandAll();
  filling_ = false;
}

QStringList PropertiesWindow::Listed() const {
  QStringList out;
  for (QTreeWidgetItemIterator it(list_); *it; ++it)
    if ((*it)->data(0, kPositionRole).isValid()) out << (*it)->text(0);
  return out;
}

QTreeWidgetItem* PropertiesWindow::ItemOf(const QString& listedName) const {
  for (QTreeWidgetItemIterator it(list_); *it; ++it)
    if ((*it)->data(0, kPositionRole).isValid() && (*it)->text(0) == listedName) return *it;
  return nullptr;
}

QString PropertiesWindow::ValueText(const QString& listedName) const {
  QTreeWidgetItem* item = ItemOf(listedName);
  return item ? item->text(1) : QString();
}

bool PropertiesWindow::Edit(const QString& listedName, const QString& text) {
  QTreeWidgetItem* item = ItemOf(listedName);
  if (!item || !component_) return false;
  const host::MemControl& shown = control_ ? *control_ : *component_->designer()->form();
  const host::PropDef& def = shown.PropertyDef(item->data(0, kPositionRole).toInt());
  auto value = ParseValue(shown, def, text);
  if (!value) {
    warn(QStringLiteral("Invalid property value"));
    Refresh();
    return false;
  }
  try {
    std::vector<PropertyChange> changes;
    for (const auto& c : Targets())
      changes.push_back({component_, c, def.name, DesignerEdits::PropertiesOf(component_, c)->Item(def.name)->Value(),
                         *value});
    edits_.Set(QString::fromStdU16String(def.name), std::move(changes));
  } catch (const std::exception& e) {
    warn(QString::fromStdString(e.what()));
    Refresh();
    return false;
  }
  Refresh();
  return true;
}

void PropertiesWindow::EditFont() {
  if (!component_) return;
  const host::MemControl& shown = control_ ? *control_ : *component_->designer()->form();
  auto font = shown.GetFont();
  if (!font) return;
  auto chosen = ask_font(font->values());
  if (!chosen) return;
  // Several controls take the font as one step.
  edits_.stack().beginMacro(QStringLiteral("Font"));
  try {
    for (const auto& c : Targets()) edits_.SetFont(component_, c, u"Font", *chosen);
  } catch (const std::exception& e) {
    warn(QString::fromStdString(e.what()));
  }
  edits_.stack().endMacro();
  Refresh();
}

std::vector<std::shared_ptr<host::MemControl>> PropertiesWindow::Targets() const {
  if (controls_.empty()) return {nullptr};
  return controls_;
}

void PropertiesWindow::EditPicture(const QString& listedName) {
  QTreeWidgetItem* item = ItemOf(listedName);
  const host::MemControl* shown = Shown();
  if (!item || !shown || !ask_picture) return;
  const host::PropDef& def = shown->PropertyDef(item->data(0, kPositionRole).toInt());
  if (def.type != host::PropType::Picture) return;
  const QString file = ask_picture(listedName);
  if (file.isEmpty()) return;
  QString problem;
  const std::optional<std::string> record = PictureRecord(file, problem);
  if (!record) {
    warn(problem);
    return;
  }
  // The designer holds the bytes until the form is saved into its binary file.
  const std::u16string held = component_->designer()->HoldBinary(*record);
  const ide::Variant value(u"\"" + held + u"\":0000");
  try {
    std::vector<PropertyChange> changes;
    for (const auto& c : Targets())
      changes.push_back({component_, c, def.name, DesignerEdits::PropertiesOf(component_, c)->Item(def.name)->Value(),
                         value});
    edits_.Set(listedName, std::move(changes));
  } catch (const std::exception& e) {
    warn(QString::fromStdString(e.what()));
  }
  Refresh();
}

const host::MemControl* PropertiesWindow::Shown() const {
  if (control_) return control_.get();
  return component_ && component_->designer() ? component_->designer()->form().get() : nullptr;
}

const host::PropDef* PropertiesWindow::DefAt(const QModelIndex& index) const {
  const QVariant position = index.sibling(index.row(), 0).data(kPositionRole);
  const host::MemControl* shown = Shown();
  if (!position.isValid() || !shown || position.toInt() >= shown->PropertyCount()) return nullptr;
  return &shown->PropertyDef(position.toInt());
}

}  // namespace tarno::workbench
