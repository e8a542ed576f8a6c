#include "workbench/load_warnings_pane.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace tarno::workbench {

LoadWarningsPane::LoadWarningsPane(QWidget* parent) : QDockWidget(QStringLiteral("Load Warnings"), parent) {
  setObjectName(QStringLiteral("loadWarnings"));
  list_ = new QTreeWidget;
  list_->setRootIsDecorated(false);
  list_->setHeaderLabels({QStringLiteral("File"), QStringLiteral("Line"), QStringLiteral("Warning")});
  list_->setTextElideMode(Qt::ElideMiddle);
  list_->header()->setStretchLastSection(true);
  setWidget(list_);
  hide();
}

void LoadWarningsPane::SetWarnings(const host::files::Warnings& warnings, const std::filesystem::path& base) {
  list_->clear();
  for (const auto& w : warnings) {
    std::error_code ec;
    std::filesystem::path shown = base.empty() ? w.file : std::filesystem::relative(w.file, base, ec);
    if (ec || shown.empty() || shown.string().rfind("..", 0) == 0) shown = w.file;
    auto* row = new QTreeWidgetItem(list_);
    row->setText(0, QString::fromStdString(shown.string()));
    row->setToolTip(0, QString::fromStdString(w.file.string()));
    row->setText(1, w.line > 0 ? QString::number(w.line) : QString());
    row->setText(2, QString::fromStdString(w.message));
  }
  list_->resizeColumnToContents(0);
  list_->resizeColumnToContents(1);
  setWindowTitle(QStringLiteral("Load Warnings (%1)").arg(warnings.size()));
  setVisible(!warnings.empty());
  if (!warnings.empty()) raise();
}

}  // namespace tarno::workbench
