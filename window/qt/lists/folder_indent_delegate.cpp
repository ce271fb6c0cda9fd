#include "window/qt/lists/folder_indent_delegate.h"

#include <algorithm>

namespace tavrin {

FolderIndentDelegate::FolderIndentDelegate(int depth_role, int step, QObject* parent)
    : QStyledItemDelegate(parent), depth_role_(depth_role), step_(step) {}

int FolderIndentDelegate::Indent(const QModelIndex& index) const {
  return std::max(0, index.data(depth_role_).toInt()) * step_;
}

void FolderIndentDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
  QStyleOptionViewItem indented = option;
  indented.rect.setLeft(option.rect.left() + Indent(index));
  QStyledItemDelegate::paint(painter, indented, index);
}

QSize FolderIndentDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  return QStyledItemDelegate::sizeHint(option, index) + QSize(Indent(index), 0);
}

}  // namespace tavrin
