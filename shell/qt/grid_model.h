// GridTableModel: a data-aware grid as a Qt table model.
//
// Rows are the grid's lines (DBGrid::rowCount(), the data set's rows in reading order), columns
// the grid's columns with their titles and title alignment; a cell's display text is what the
// grid's cell shows after its drawing handler ran, and PictureRole the picture painted over it.
// The vertical header marks the data set's current row. The model is told when the grid's data
// or columns changed; it keeps the counts Qt last saw until then. Telling it costs what the rows
// on screen cost, not what the grid holds, so a batch of 100,000 inserts stays linear.
#pragma once

#include <QAbstractTableModel>

#include "host/db/db_grid.h"

namespace shell {

class GridTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int PictureRole = Qt::UserRole + 1;

  GridTableModel(db::DBGrid& grid, QObject* parent);

  // Null once the grid is gone.
  db::DBGrid* grid() const { return grid_; }
  void detach();
  // Rows, values or the current row changed.
  void dataChangedInGrid();
  // Columns, titles or widths changed.
  void columnsChanged();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  // Re-reads the counts and tells Qt of a change: rows added or removed at the end, or a reset
  // when the columns changed or every row went. Returns whether it reset.
  bool recount();
  int currentRow() const;

  db::DBGrid* grid_;
  int rows_ = 0;
  int columns_ = 0;
  int markedRow_ = -1;  // the row whose header last showed the current-row mark
};

}  // namespace shell
