#include "shell/qt/list_box_model.h"

#include "shell/qt/qt_text.h"

namespace shell {

ListBoxModel::ListBoxModel(const ui::ListBox& box, QObject* parent)
    : QAbstractListModel(parent), box_(&box), rows_(box.count()) {
}

void ListBoxModel::detach() {
  beginResetModel();
  box_ = nullptr;
  rows_ = 0;
  endResetModel();
}

void ListBoxModel::itemsChanged() {
  const int rows = box_ != nullptr ? box_->count() : 0;
  if (rows != rows_) {
    beginResetModel();
    rows_ = rows;
    endResetModel();
  } else if (rows_ > 0) {
    emit dataChanged(index(0), index(rows_ - 1), {Qt::DisplayRole});
  }
}

int ListBoxModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

QVariant ListBoxModel::data(const QModelIndex& index, int role) const {
  if (box_ == nullptr || role != Qt::DisplayRole || !index.isValid() ||
      index.row() >= box_->count())
    return QVariant();
  return toQString(box_->item(index.row()));
}

}  // namespace shell
