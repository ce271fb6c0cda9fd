#pragma once

#include <QStyledItemDelegate>

namespace tavrin {

// Draws the rows of a folder list indented by their depth (the integer in `depth_role`),
// `step` pixels per level; the row's selection mark starts at the indent.
class FolderIndentDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  FolderIndentDelegate(int depth_role, int step, QObject* parent = nullptr);

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  // The indent of the row at `index`, in pixels.
  int Indent(const QModelIndex& index) const;

 private:
  int depth_role_;
  int step_;
};

}  // namespace tavrin
