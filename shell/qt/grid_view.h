// GridView: a data-aware grid as a QTableView over its GridTableModel.
//
// Cells are painted by the grid itself: the delegate hands DBGrid::drawCell a PainterCanvas,
// so the grid's default drawing and the form's DrawColumnCell handler paint the real cell
// (pictures included). The highlighted cell is the current row's selected column while the
// grid has the focus, or always with the always-show-selection option. The in-place editor is
// the model's: typing reaches the model as key presses and the current cell shows the editor's
// text, framed. A column with a pick list shows a drop-down mark in the current cell; a click
// on it (or Alt+Down) offers the list, and the chosen item goes to DBGrid::choosePickItem.
//
// A click on a cell moves the data set to its row (DBGrid::userSelectRow) and then selects
// the column (DBGrid::userClickCell); a click on a title is DBGrid::userClickTitle; a title
// resized by the user sets the column's width when the grid allows resizing. A column without
// a width of its own is as wide as its content's characters (Column::contentCharacters) or its
// title, in the grid's font. A title wider than its column is cut on the right with an ellipsis.
#pragma once

#include <QHeaderView>

#include "shell/qt/control_view.h"

class QTableView;

namespace db {
class Column;
}

namespace shell {

class GridTableModel;

// The grid's column titles: a title wider than its column keeps its start and is cut on the
// right with an ellipsis, whatever its alignment (a style would show a right-aligned title's
// end instead).
class TitleHeader : public QHeaderView {
 public:
  using QHeaderView::QHeaderView;
  // The title as the section shows it in its present width.
  QString shownTitle(int logicalIndex) const;

 protected:
  void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;
};

class GridView : public ControlView {
  Q_OBJECT
 public:
  using ControlView::ControlView;

  bool handleKeyLocally(const KeyStroke& stroke) override;
  void release() override;
  // Offers the selected column's pick list at the current cell.
  void openPickList();

 protected:
  QWidget* createWidget(QWidget* parentArea) override;
  void apply(ui::Property property) override;
  QPalette::ColorRole colorRole() const override { return QPalette::Base; }
  bool mouseInput(QMouseEvent& event) override;

 private:
  QTableView* table() const;
  void applyColumns();
  int defaultWidth(const db::Column& column) const;
  void applyOptions();
  void showCurrent();
  // Places the current cell once control returns to the event loop, however many changes come
  // before.
  void showCurrentLater();
  // The drop-down mark of the current cell, in viewport coordinates (empty when none).
  QRect pickMark() const;

  GridTableModel* model_ = nullptr;
  bool applyingWidths_ = false;
  bool showCurrentPending_ = false;
};

}  // namespace shell
