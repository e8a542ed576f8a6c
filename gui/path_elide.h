// List cells that hold file paths lose their middle when the column is too
// narrow, so that the drive or folder start and the file name stay in view;
// other cells lose their end as usual.
#pragma once

#include <QString>
#include <QStyledItemDelegate>

namespace tarno::gui {

// ElideMiddle for a path ("C:\\src\\Form1.frm", "src/Form1.frm"), ElideRight otherwise.
Qt::TextElideMode ElideModeFor(const QString& text);

class PathElidingDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

}  // namespace tarno::gui
