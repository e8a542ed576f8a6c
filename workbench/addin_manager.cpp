#include "workbench/addin_manager.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "workbench/addin_list.h"
#include "workbench/main_window.h"

namespace tarno::workbench {

AddInManager::AddInManager(MainWindow& main, QWidget* parent) : QDialog(parent), main_(main) {
  setWindowTitle(QStringLiteral("Add-In Manager"));
  table_ = new QTableWidget(0, 3);
  table_->setHorizontalHeaderLabels({QStringLiteral("Available Add-Ins"), QStringLiteral("Loaded"),
                                     QStringLiteral("Load on Startup")});
  table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  table_->verticalHeader()->hide();
  for (const AddInEntry& e : ReadAddInList()) {
    int row = table_->rowCount();
    table_->insertRow(row);
    auto* name = new QTableWidgetItem(QString::fromStdString(e.progId));
    name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    table_->setItem(row, 0, name);
    auto* loaded = new QTableWidgetItem;
    loaded->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    loaded->setCheckState(main_.IsLoaded(e.progId) ? Qt::Checked : Qt::Unchecked);
    table_->setItem(row, 1, loaded);
    auto* start = new QTableWidgetItem;
    start->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    start->setCheckState(e.LoadAtStart() ? Qt::Checked : Qt::Unchecked);
    table_->setItem(row, 2, start);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    Apply();
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_);
  layout->addWidget(buttons);
  resize(560, 260);
}

int AddInManager::RowOf(const QString& progId) const {
  for (int r = 0; r < table_->rowCount(); ++r)
    if (table_->item(r, 0)->text() == progId) return r;
  return -1;
}

void AddInManager::SetLoaded(int row, bool loaded) {
  table_->item(row, 1)->setCheckState(loaded ? Qt::Checked : Qt::Unchecked);
}

void AddInManager::SetLoadAtStart(int row, bool on) {
  table_->item(row, 2)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

void AddInManager::Apply() {
  const auto entries = ReadAddInList();
  for (int r = 0; r < table_->rowCount(); ++r) {
    const std::string progId = table_->item(r, 0)->text().toStdString();
    const bool loaded = table_->item(r, 1)->checkState() == Qt::Checked;
    const bool start = table_->item(r, 2)->checkState() == Qt::Checked;
    if (loaded && !main_.IsLoaded(progId)) main_.LoadAddIn(progId);
    if (!loaded && main_.IsLoaded(progId)) main_.UnloadAddIn(progId);
    for (const auto& e : entries)
      if (e.progId == progId && e.LoadAtStart() != start) workbench::SetLoadAtStart(progId, start);
  }
}

}  // namespace tarno::workbench
