#include "workbench/open_project_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "workbench/code_page_guess.h"

namespace tarno::workbench {

OpenProjectDialog::OpenProjectDialog(std::string defaultCodePage,
                                     std::function<std::optional<std::string>(const QString&)> remembered,
                                     QWidget* parent)
    : QDialog(parent), default_(std::move(defaultCodePage)), remembered_(std::move(remembered)) {
  setWindowTitle(QStringLiteral("Open Project"));
  path_ = new QLineEdit;
  path_->setMinimumWidth(360);
  auto* browse = new QPushButton(QStringLiteral("&Browse..."));
  connect(browse, &QPushButton::clicked, this, [this] {
    QString f = QFileDialog::getOpenFileName(this, QStringLiteral("Open Project"), QFileInfo(path()).path(),
                                             QStringLiteral("VB projects (*.vbp *.vbg);;All files (*)"));
    if (!f.isEmpty()) SetPath(f);
  });
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(path_);
  fileRow->addWidget(browse);
  pages_ = new QComboBox;
  for (const auto& name : OfferedCodePages()) {
    QString label = QString::fromStdString(name);
    if (name == default_) label += QStringLiteral(" (System)");
    pages_->addItem(label, QString::fromStdString(name));
  }
  guess_ = new QLabel;
  guess_->setObjectName(QStringLiteral("guess"));
  auto* pageRow = new QHBoxLayout;
  pageRow->addWidget(pages_);
  pageRow->addWidget(guess_, 1);
  auto* form = new QFormLayout(this);
  form->addRow(QStringLiteral("&File:"), fileRow);
  form->addRow(QStringLiteral("&Code page:"), pageRow);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  form->addRow(buttons);
  connect(path_, &QLineEdit::editingFinished, this, &OpenProjectDialog::PathChanged);
  SetCodePage(default_);
}

void OpenProjectDialog::SetPath(const QString& path) {
  path_->setText(path);
  PathChanged();
}

QString OpenProjectDialog::path() const { return path_->text().trimmed(); }

std::string OpenProjectDialog::codePage() const { return pages_->currentData().toString().toStdString(); }

void OpenProjectDialog::SetCodePage(const std::string& name) {
  int i = pages_->findData(QString::fromStdString(name));
  if (i >= 0) pages_->setCurrentIndex(i);
}

QString OpenProjectDialog::guessText() const { return guess_->text(); }

void OpenProjectDialog::PathChanged() {
  const QString p = path();
  if (p.isEmpty() || !QFileInfo(p).isFile()) {
    guess_->clear();
    return;
  }
  CodePageGuess g = GuessProjectCodePage(p.toStdString());
  if (g.code_page.empty()) guess_->setText(QStringLiteral("Guess: any (the files are ASCII)"));
  else if (g.utf8) guess_->setText(QStringLiteral("Guess: UTF-8 (the files are valid UTF-8)"));
  else guess_->setText(QStringLiteral("Guess: %1").arg(QString::fromStdString(g.code_page)));
  if (auto r = remembered_ ? remembered_(p) : std::nullopt) SetCodePage(*r);
  else if (!g.code_page.empty()) SetCodePage(g.code_page);
  else SetCodePage(default_);
}

}  // namespace tarno::workbench
