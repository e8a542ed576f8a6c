#include "workbench/toolbox.h"

#include <QAction>
#include <QActionGroup>

namespace tarno::workbench {

Toolbox::Toolbox(QWidget* parent) : QToolBar(QStringLiteral("Toolbox"), parent) {
  setObjectName(QStringLiteral("toolbox"));
  group_ = new QActionGroup(this);
  group_->setExclusive(true);
  static const char* const kTools[] = {"",           "PictureBox",   "Label",      "TextBox",     "Frame",
                                       "CommandButton", "CheckBox",  "OptionButton", "ComboBox",  "ListBox",
                                       "HScrollBar", "VScrollBar",   "Timer",      "DriveListBox", "DirListBox",
                                       "FileListBox", "Shape",       "Line",       "Image",       "Data",
                                       "OLE"};
  for (const char* tool : kTools) {
    QAction* a = addAction(*tool ? QString::fromLatin1(tool) : QStringLiteral("Pointer"));
    a->setData(QString::fromLatin1(tool));
    a->setCheckable(true);
    a->setToolTip(a->text());
    group_->addAction(a);
  }
  group_->actions().front()->setChecked(true);
}

QString Toolbox::Armed() const {
  QAction* a = group_->checkedAction();
  return a ? a->data().toString() : QString();
}

void Toolbox::Choose(const QString& className) {
  for (QAction* a : group_->actions())
    if (a->data().toString() == className) a->setChecked(true);
}

}  // namespace tarno::workbench
