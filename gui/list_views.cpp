// The list view (report view: columns with their widths, check boxes, full
// row selection) and the tree view (nodes with their image list pictures).
#include <QHeaderView>
#include <QKeyEvent>
#include <QTreeWidget>
#include <map>
#include <tuple>
#include <vector>

#include "gui/control_kinds.h"
#include "gui/desktop.h"
#include "gui/form_view.h"
#include "gui/path_elide.h"
#include "gui/qt_convert.h"

namespace tarno::gui {

namespace {

bool IsNavigationKey(int key) {
  switch (key) {
    case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_PageUp: case Qt::Key_PageDown:
    case Qt::Key_Home: case Qt::Key_End: case Qt::Key_Left: case Qt::Key_Right:
      return true;
    default: return false;
  }
}

class ListViewView : public ControlView {
 public:
  ListViewView(FormView& f, ui::ListView& c)
      : ControlView(f, c, new QTreeWidget(&f)), c_(c), w_(static_cast<QTreeWidget*>(widget())) {
    w_->setRootIsDecorated(false);
    w_->setUniformRowHeights(true);
    w_->setItemDelegate(new PathElidingDelegate(w_));
    w_->setSortingEnabled(false);  // the model sorts
    w_->setSelectionBehavior(QAbstractItemView::SelectRows);
    w_->header()->setSectionsClickable(true);
    w_->header()->setStretchLastSection(false);
    w_->header()->setSectionResizeMode(QHeaderView::Interactive);
    Watch(w_->viewport());
    QObject::connect(w_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
      int row = w_->indexOfTopLevelItem(item) + 1;
      if (row == checked_row_) {  // the click ticked the box: ItemCheck only
        checked_row_ = 0;
        return;
      }
      Act([this, row] { ui::ClickItem(c_, row); });
    });
    QObject::connect(w_, &QTreeWidget::itemDoubleClicked, this, [this] { DoubleClicked(); });
    QObject::connect(w_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
      if (Syncing() || column != 0 || !c_.Checkboxes()) return;
      int row = w_->indexOfTopLevelItem(item) + 1;
      bool checked = item->checkState(0) == Qt::Checked;
      if (row < 1 || row > c_.ListItems.Count() || c_.ListItems.Item(row).Checked() == checked) return;
      checked_row_ = row;
      Act([this, row, checked] { ui::CheckItem(c_, row, checked); });
    });
    QObject::connect(w_->header(), &QHeaderView::sectionClicked, this, [this](int section) {
      Act([this, section] { ui::ClickColumn(c_, section + 1); });
    });
    QObject::connect(w_->header(), &QHeaderView::sectionResized, this, [this](int section, int, int size) {
      if (Syncing() || section >= c_.ColumnHeaders.Count()) return;
      c_.ColumnHeaders.Item(section + 1).SetWidth(desktop().Twips(size));
      widths_.clear();
    });
  }

 protected:
  using Row = std::tuple<std::vector<std::u16string>, bool, bool, bool>;  // texts, checked, selected, ghosted

  void Update() override {
    int columns = std::max(1, c_.ColumnHeaders.Count());
    QStringList headers;
    std::vector<int> widths;
    for (int i = 1; i <= c_.ColumnHeaders.Count(); ++i) {
      headers << ToQ(c_.ColumnHeaders.Item(i).Text());
      widths.push_back(c_.ColumnHeaders.Item(i).Width());
    }
    bool report = c_.View() == ui::lvwReport;
    if (headers != headers_ || widths != widths_ || report == w_->isHeaderHidden()) {
      headers_ = headers;
      widths_ = widths;
      w_->setColumnCount(columns);
      w_->setHeaderLabels(headers);
      w_->setHeaderHidden(!report);
      for (size_t i = 0; i < widths.size(); ++i) w_->setColumnWidth(static_cast<int>(i), Px(widths[i]));
      for (int i = 1; i <= c_.ColumnHeaders.Count(); ++i) {
        int a = c_.ColumnHeaders.Item(i).Alignment();
        w_->headerItem()->setTextAlignment(i - 1, a == 1 ? Qt::AlignRight : a == 2 ? Qt::AlignHCenter : Qt::AlignLeft);
      }
    }
    w_->setAllColumnsShowFocus(c_.FullRowSelect());
    w_->setSelectionMode(c_.MultiSelect() ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    // Rows: only those that changed are written, so the list keeps its scroll position.
    int count = c_.ListItems.Count();
    while (w_->topLevelItemCount() > count) delete w_->takeTopLevelItem(w_->topLevelItemCount() - 1);
    while (w_->topLevelItemCount() < count) w_->addTopLevelItem(new QTreeWidgetItem);
    rows_.resize(static_cast<size_t>(count));
    QTreeWidgetItem* current = nullptr;
    for (int r = 1; r <= count; ++r) {
      const ui::ListItem& li = c_.ListItems.Item(r);
      Row row;
      auto& texts = std::get<0>(row);
      texts.push_back(li.Text());
      for (int s = 1; s < columns; ++s) texts.push_back(li.SubItems(s));
      std::get<1>(row) = li.Checked();
      std::get<2>(row) = li.Selected();
      std::get<3>(row) = li.Ghosted();
      QTreeWidgetItem* item = w_->topLevelItem(r - 1);
      if (li.Selected() && &li == c_.SelectedItem()) current = item;
      if (rows_[static_cast<size_t>(r - 1)] == row && texts_columns_ == columns) continue;
      rows_[static_cast<size_t>(r - 1)] = row;
      for (int s = 0; s < columns; ++s) item->setText(s, ToQ(texts[static_cast<size_t>(s)]));
      Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
      if (c_.Checkboxes()) {
        flags |= Qt::ItemIsUserCheckable;
        item->setCheckState(0, li.Checked() ? Qt::Checked : Qt::Unchecked);
      } else {
        item->setData(0, Qt::CheckStateRole, QVariant());
      }
      item->setFlags(flags);
      item->setForeground(0, li.Ghosted() ? w_->palette().brush(QPalette::Disabled, QPalette::Text)
                                          : w_->palette().brush(QPalette::Text));
      item->setSelected(li.Selected());
    }
    texts_columns_ = columns;
    for (int r = 0; r < count; ++r)
      if (w_->topLevelItem(r)->isSelected() != c_.ListItems.Item(r + 1).Selected())
        w_->topLevelItem(r)->setSelected(c_.ListItems.Item(r + 1).Selected());
    if (current && w_->currentItem() != current) w_->setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
    if (c_.EnsuredVisible() != ensured_) {
      ensured_ = c_.EnsuredVisible();
      if (ensured_) w_->scrollToItem(w_->topLevelItem(ensured_->Index() - 1));
    }
  }

  bool Key(QKeyEvent& e) override {
    if (IsNavigationKey(e.key())) return false;
    return ControlView::Key(e);
  }

  bool eventFilter(QObject* watched, QEvent* e) override {
    if (Detached()) return false;
    // Moving with the arrows clicks the row the cursor lands on.
    if (e->type() == QEvent::KeyRelease && IsNavigationKey(static_cast<QKeyEvent*>(e)->key())) {
      QTreeWidgetItem* item = w_->currentItem();
      int row = item ? w_->indexOfTopLevelItem(item) + 1 : 0;
      if (row > 0 && (!c_.SelectedItem() || c_.SelectedItem()->Index() != row))
        Act([this, row] { ui::ClickItem(c_, row); });
    }
    return ControlView::eventFilter(watched, e);
  }

 private:
  ui::ListView& c_;
  QTreeWidget* w_;
  QStringList headers_;
  std::vector<int> widths_;
  std::vector<Row> rows_;
  int texts_columns_ = 0;
  int checked_row_ = 0;
  const ui::ListItem* ensured_ = nullptr;
};

class TreeViewView : public ControlView {
 public:
  TreeViewView(FormView& f, ui::TreeView& c)
      : ControlView(f, c, new QTreeWidget(&f)), c_(c), w_(static_cast<QTreeWidget*>(widget())) {
    w_->setHeaderHidden(true);
    w_->setColumnCount(1);
    w_->setUniformRowHeights(true);
    Watch(w_->viewport());
    QObject::connect(w_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
      if (ui::Node* n = NodeOf(item)) Act([this, n] { ui::ClickNode(c_, *n); });
    });
    QObject::connect(w_, &QTreeWidget::itemDoubleClicked, this, [this] { DoubleClicked(); });
    auto toggled = [this](QTreeWidgetItem* item) {
      if (Syncing()) return;
      ui::Node* n = NodeOf(item);
      if (n && n->Expanded() != item->isExpanded()) Act([this, n] { ui::ToggleNode(c_, *n); });
    };
    QObject::connect(w_, &QTreeWidget::itemExpanded, this, toggled);
    QObject::connect(w_, &QTreeWidget::itemCollapsed, this, toggled);
  }

 protected:
  using Shape = std::vector<std::pair<const ui::Node*, const ui::Node*>>;  // node, parent, in display order

  ui::Node* NodeOf(QTreeWidgetItem* item) const {
    auto it = nodes_.find(item);
    return it == nodes_.end() ? nullptr : it->second;
  }

  void Collect(const std::vector<ui::Node*>& level, Shape& out) const {
    for (ui::Node* n : level) {
      out.push_back({n, n->Parent()});
      Collect(n->ChildNodes(), out);
    }
  }

  void Add(ui::Node* n, QTreeWidgetItem* parent) {
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(w_);
    items_[n] = item;
    nodes_[item] = n;
    for (ui::Node* child : n->ChildNodes()) Add(child, item);
  }

  QIcon IconOf(const std::u16string& key) {
    ui::ImageList* list = c_.GetImageList();
    if (key.empty() || !list || !list->Contains(key)) return QIcon();
    return QIcon(QPixmap::fromImage(ToImage(list->Item(key))));
  }

  void Update() override {
    Shape shape;
    Collect(c_.Roots(), shape);
    if (shape != shape_) {
      shape_ = shape;
      w_->clear();
      items_.clear();
      nodes_.clear();
      for (ui::Node* root : c_.Roots()) Add(root, nullptr);
    }
    w_->setRootIsDecorated((c_.Style() & 2) != 0);
    for (auto& [node, item] : items_) {
      QString text = ToQ(node->Text());
      if (item->text(0) != text) item->setText(0, text);
      const std::u16string& key = node->Expanded() && !node->ExpandedImage().empty() ? node->ExpandedImage()
                                  : node->Selected() && !node->SelectedImage().empty() ? node->SelectedImage()
                                                                                        : node->Image();
      if (icons_[node] != key) {
        icons_[node] = key;
        item->setIcon(0, IconOf(key));
      }
      if (item->font(0).bold() != node->Bold()) {
        QFont font = item->font(0);
        font.setBold(node->Bold());
        item->setFont(0, font);
      }
      if (item->isExpanded() != node->Expanded()) item->setExpanded(node->Expanded());
    }
    QTreeWidgetItem* selected = c_.SelectedItem() ? items_[c_.SelectedItem()] : nullptr;
    if (w_->currentItem() != selected) w_->setCurrentItem(selected);
    if (!selected) w_->clearSelection();
    if (c_.EnsuredVisible() != ensured_) {
      ensured_ = c_.EnsuredVisible();
      if (ensured_ && items_.count(ensured_)) w_->scrollToItem(items_[ensured_]);
    }
  }

  bool Key(QKeyEvent& e) override {
    if (IsNavigationKey(e.key())) return false;
    return ControlView::Key(e);
  }

  bool eventFilter(QObject* watched, QEvent* e) override {
    if (Detached()) return false;
    if (e->type() == QEvent::KeyRelease && IsNavigationKey(static_cast<QKeyEvent*>(e)->key())) {
      ui::Node* n = NodeOf(w_->currentItem());
      if (n && c_.SelectedItem() != n) Act([this, n] { ui::ClickNode(c_, *n); });
    }
    return ControlView::eventFilter(watched, e);
  }

 private:
  ui::TreeView& c_;
  QTreeWidget* w_;
  Shape shape_;
  std::map<const ui::Node*, QTreeWidgetItem*> items_;
  std::map<QTreeWidgetItem*, ui::Node*> nodes_;
  std::map<const ui::Node*, std::u16string> icons_;
  const ui::Node* ensured_ = nullptr;
};

}  // namespace

std::unique_ptr<ControlView> MakeListView(FormView& f, ui::ListView& view) {
  return std::make_unique<ListViewView>(f, view);
}
std::unique_ptr<ControlView> MakeTreeView(FormView& f, ui::TreeView& tree) {
  return std::make_unique<TreeViewView>(f, tree);
}

}  // namespace tarno::gui
