#include "workbench/find_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "workbench/find_replace.h"

namespace tarno::workbench {
namespace {

QComboBox* History() {
  auto* box = new QComboBox;
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setMinimumWidth(280);
  return box;
}

// The text first in the list, as the IDE keeps what was looked for.
void Keep(QComboBox* box) {
  const QString text = box->currentText();
  if (text.isEmpty()) return;
  int i = box->findText(text);
  if (i >= 0) box->removeItem(i);
  box->insertItem(0, text);
  box->setCurrentIndex(0);
}

}  // namespace

FindDialog::FindDialog(FindReplace& finder, QWidget* parent) : QDialog(parent), finder_(finder) {
  setObjectName(QStringLiteral("findDialog"));
  what_ = History();
  with_ = History();
  with_label_ = new QLabel(QStringLiteral("Re&place With:"));
  with_label_->setBuddy(with_);
  auto* whatLabel = new QLabel(QStringLiteral("Fi&nd What:"));
  whatLabel->setBuddy(what_);

  auto* search = new QGroupBox(QStringLiteral("Search"));
  auto* scopeLayout = new QVBoxLayout(search);
  const char* names[] = {"Current &Procedure", "Current &Module", "Current Pro&ject", "&All Projects"};
  for (int i = 0; i < 4; ++i) {
    scopes_[i] = new QRadioButton(QString::fromLatin1(names[i]));
    scopeLayout->addWidget(scopes_[i]);
  }
  scopes_[1]->setChecked(true);
  whole_ = new QCheckBox(QStringLiteral("Find &Whole Word Only"));
  case_ = new QCheckBox(QStringLiteral("Match &Case"));
  pattern_ = new QCheckBox(QStringLiteral("&Use Pattern Matching"));
  auto* checks = new QVBoxLayout;
  checks->addWidget(whole_);
  checks->addWidget(case_);
  checks->addWidget(pattern_);
  checks->addStretch();

  auto* findNext = new QPushButton(QStringLiteral("&Find Next"));
  findNext->setDefault(true);
  auto* findAll = new QPushButton(QStringLiteral("Find A&ll"));
  replace_ = new QPushButton(QStringLiteral("&Replace"));
  replace_all_ = new QPushButton(QStringLiteral("Replace &All"));
  to_replace_ = new QPushButton(QStringLiteral("&Replace..."));
  auto* cancel = new QPushButton(QStringLiteral("Cancel"));
  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {findNext, findAll, replace_, replace_all_, to_replace_, cancel}) buttons->addWidget(b);
  buttons->addStretch();

  status_ = new QLabel;
  status_->setObjectName(QStringLiteral("status"));
  auto* grid = new QGridLayout(this);
  grid->addWidget(whatLabel, 0, 0);
  grid->addWidget(what_, 0, 1);
  grid->addWidget(with_label_, 1, 0);
  grid->addWidget(with_, 1, 1);
  auto* options = new QHBoxLayout;
  options->addWidget(search);
  options->addLayout(checks);
  grid->addLayout(options, 2, 0, 1, 2);
  grid->addWidget(status_, 3, 0, 1, 2);
  grid->addLayout(buttons, 0, 2, 4, 1);

  connect(findNext, &QPushButton::clicked, this, [this] { Run([this] { finder_.FindNext(true); }); });
  connect(findAll, &QPushButton::clicked, this, [this] { Run([this] { finder_.FindAll(); }); });
  connect(replace_, &QPushButton::clicked, this, [this] { Run([this] { finder_.Replace(); }); });
  connect(replace_all_, &QPushButton::clicked, this, [this] { Run([this] { finder_.ReplaceAll(); }); });
  connect(to_replace_, &QPushButton::clicked, this, [this] { Start(true, what_->currentText()); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
}

void FindDialog::Start(bool replace, const QString& selected) {
  setWindowTitle(replace ? QStringLiteral("Replace") : QStringLiteral("Find"));
  with_label_->setVisible(replace);
  with_->setVisible(replace);
  replace_->setVisible(replace);
  replace_all_->setVisible(replace);
  to_replace_->setVisible(!replace);
  if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator)) what_->setCurrentText(selected);
  status_->clear();
  show();
  raise();
  activateWindow();
  what_->setFocus();
  what_->lineEdit()->selectAll();
}

void FindDialog::Apply() {
  finder_.options.what = what_->currentText();
  finder_.options.wholeWord = whole_->isChecked();
  finder_.options.matchCase = case_->isChecked();
  finder_.options.pattern = pattern_->isChecked();
  finder_.with = with_->currentText();
  const FindScope scopes[] = {FindScope::Procedure, FindScope::Module, FindScope::Project, FindScope::AllProjects};
  for (int i = 0; i < 4; ++i)
    if (scopes_[i]->isChecked()) finder_.scope = scopes[i];
}

void FindDialog::Run(const std::function<void()>& action) {
  Apply();
  Keep(what_);
  if (with_->isVisible()) Keep(with_);
  action();
  status_->setText(finder_.message());
}

}  // namespace tarno::workbench
