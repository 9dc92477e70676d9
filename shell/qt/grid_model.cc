#include "shell/qt/grid_model.h"

#include <QtGlobal>
#include <exception>

#include "host/db/data_set.h"
#include "shell/qt/qt_text.h"

namespace shell {

GridTableModel::GridTableModel(db::DBGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(&grid) {
  rows_ = grid.rowCount();
  columns_ = grid.columnCount();
}

void GridTableModel::detach() {
  beginResetModel();
  grid_ = nullptr;
  rows_ = 0;
  columns_ = 0;
  endResetModel();
}

bool GridTableModel::recount() {
  const int rows = grid_ != nullptr ? grid_->rowCount() : 0;
  const int columns = grid_ != nullptr ? grid_->columnCount() : 0;
  if (rows == rows_ && columns == columns_)
    return false;
  // Rows added or removed under the same columns (a batch inserting client after client) are
  // told as rows at the end, which costs Qt what the rows on screen cost where a reset costs
  // what the grid holds; the caller then has every row read again.
  if (columns == columns_ && rows > rows_) {
    beginInsertRows(QModelIndex(), rows_, rows - 1);
    rows_ = rows;
    endInsertRows();
    return false;
  }
  if (columns == columns_ && rows > 0 && rows < rows_) {
    beginRemoveRows(QModelIndex(), rows, rows_ - 1);
    rows_ = rows;
    endRemoveRows();
    return false;
  }
  beginResetModel();
  rows_ = rows;
  columns_ = columns;
  markedRow_ = currentRow();
  endResetModel();
  return true;
}

int GridTableModel::currentRow() const {
  return grid_ != nullptr && grid_->dataSet() != nullptr ? grid_->dataSet()->currentViewRow() : -1;
}

void GridTableModel::dataChangedInGrid() {
  const int marked = markedRow_;
  markedRow_ = currentRow();
  if (recount() || rows_ == 0 || columns_ == 0)
    return;
  emit dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1));
  // Only the mark of the current row changes in the row headers: where it was and where it is;
  // a write to the current row (a batch's every field) leaves the headers as they are.
  if (marked == markedRow_)
    return;
  for (const int row : {marked, markedRow_}) {
    if (row >= 0 && row < rows_)
      emit headerDataChanged(Qt::Vertical, row, row);
  }
}

void GridTableModel::columnsChanged() {
  if (recount() || columns_ == 0)
    return;
  emit headerDataChanged(Qt::Horizontal, 0, columns_ - 1);
  if (rows_ > 0)
    emit dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1));
}

int GridTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int GridTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : columns_;
}

QVariant GridTableModel::data(const QModelIndex& index, int role) const {
  if (grid_ == nullptr || !index.isValid() || (role != Qt::DisplayRole && role != PictureRole))
    return QVariant();
  if (index.row() >= grid_->rowCount() || index.column() >= grid_->columnCount())
    return QVariant();
  try {
    const ui::CellContent content = grid_->cell(index.row(), index.column());
    return toQString(role == PictureRole ? content.picture : content.text);
  } catch (const std::exception& e) {
    qWarning("grid %s: cell %d,%d: %s", grid_->name().c_str(), index.row(), index.column(),
             e.what());
    return QVariant();
  }
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (grid_ == nullptr)
    return QVariant();
  if (orientation == Qt::Vertical) {
    if (role != Qt::DisplayRole || grid_->dataSet() == nullptr)
      return QVariant();
    return section == grid_->dataSet()->currentViewRow() ? QStringLiteral("\u25B6") : QString();
  }
  if (section < 0 || section >= grid_->columnCount())
    return QVariant();
  const db::Column& column = grid_->column(section);
  switch (role) {
    case Qt::DisplayRole:
      return toQString(column.title());
    case Qt::TextAlignmentRole:
      switch (column.titleAlignment()) {
        case ui::TextAlign::Right:
          return static_cast<int>(Qt::AlignRight | Qt::AlignVCenter);
        case ui::TextAlign::Center:
          return static_cast<int>(Qt::AlignHCenter | Qt::AlignVCenter);
        case ui::TextAlign::Left:
          break;
      }
      return static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter);
    default:
      return QVariant();
  }
}

}  // namespace shell
