#include "gui/path_elide.h"

namespace tarno::gui {

Qt::TextElideMode ElideModeFor(const QString& text) {
  return text.contains(u'\\') || text.contains(u'/') ? Qt::ElideMiddle : Qt::ElideRight;
}

void PathElidingDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  option->textElideMode = ElideModeFor(option->text);
}

}  // namespace tarno::gui
