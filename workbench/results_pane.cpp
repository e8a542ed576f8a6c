#include "workbench/results_pane.h"

#include <QHeaderView>
#include <QTreeWidget>

#include "host/files/project_loader.h"

namespace tarno::workbench {

ResultsPane::ResultsPane(QWidget* parent) : QDockWidget(QStringLiteral("Results"), parent) {
  setObjectName(QStringLiteral("results"));
  list_ = new QTreeWidget;
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setHeaderLabels({QStringLiteral("File"), QStringLiteral("Line"), QStringLiteral("Text")});
  // Long paths keep their file name: the middle goes.
  list_->setTextElideMode(Qt::ElideMiddle);
  list_->header()->setStretchLastSection(true);
  setWidget(list_);
  connect(list_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item, int) {
    Open(list_->indexOfTopLevelItem(item));
  });
  hide();
}

void ResultsPane::Show(const QString& title, std::vector<CodePlace> places) {
  places_ = std::move(places);
  list_->clear();
  QList<QTreeWidgetItem*> rows;
  rows.reserve(static_cast<qsizetype>(places_.size()));
  for (const auto& p : places_) {
    auto* row = new QTreeWidgetItem;
    QString file = QString::fromStdU16String(p.component->name());
    if (!p.component->fileNames().empty() && !p.component->fileNames()[0].empty()) {
      auto path = host::files::ToPath(p.component->fileNames()[0]);
      file = QString::fromStdString(path.filename().string());
      row->setToolTip(0, QString::fromStdString(path.string()));
    }
    row->setText(0, file);
    row->setText(1, QString::number(p.line));
    auto module = p.component->code();
    if (module && p.line <= module->text().CountOfLines())
      row->setText(2, QString::fromStdU16String(std::u16string(module->text().Line(p.line))).trimmed());
    rows << row;
  }
  list_->addTopLevelItems(rows);
  list_->resizeColumnToContents(0);
  list_->resizeColumnToContents(1);
  setWindowTitle(QStringLiteral("%1 - %2 found").arg(title).arg(places_.size()));
  show();
  raise();
}

void ResultsPane::Open(int row) {
  if (row < 0 || static_cast<size_t>(row) >= places_.size() || !on_open) return;
  on_open(places_[static_cast<size_t>(row)]);
}

}  // namespace tarno::workbench
