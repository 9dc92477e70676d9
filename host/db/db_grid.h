// DBGrid: a data-aware grid showing one line per row of its data set.
//
// Columns name a field each, with a title (the field's display label unless set), a title
// alignment, the alignment of the cells' text (right for numbers unless set), a width, a read-only
// flag and an optional pick list. The current line is the data set's current row; the selected
// column is the grid's own. Moving to another column writes the in-place editor's text into the
// field and runs ColExit (which may refuse the move by raising) and then ColEnter, whether the user
// or code moves it. Moving to another line goes through the data set (which posts a modified row
// first). Down on the last line appends a row and Insert inserts one (subject to the data set's
// before-insert event); Ctrl+Delete asks "Excluir registro?" (when the grid confirms deletions) and
// deletes; Escape cancels.
//
// Typing into a cell opens the in-place editor with the field's edit text selected; its text
// is what the cell shows while typing, and it is written into the field when the column or
// line changes, the grid is left, or the data set posts. Once typing has begun, characters go
// to the end of the editor's text, unless the user selects it all again (selectAll()): then the
// next character, Backspace or Delete replaces the whole text. A cell can be asked what it shows:
// its default drawing is the field's display text, then the DrawColumnCell handler may paint
// over it on a canvas.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/db/data_link.h"
#include "host/db/data_source.h"
#include "host/ui/canvas.h"
#include "host/ui/control.h"
#include "host/ui/static_controls.h"

namespace db {

class DBGrid;

class Column {
 public:
  Column(DBGrid& grid, std::string fieldName);

  const std::string& fieldName() const { return fieldName_; }
  Field* field() const;
  // The title shown: the one set, or the field's display label.
  std::string title() const;
  void setTitle(std::string title);
  ui::TextAlign titleAlignment() const { return titleAlignment_; }
  void setTitleAlignment(ui::TextAlign alignment);
  // How the cells' text stands in the cell: the one set, else right for numeric fields and
  // left for the others.
  ui::TextAlign alignment() const;
  void setAlignment(ui::TextAlign alignment);
  // Width in pixels; 0 means the default width, which a renderer works out in its font from
  // contentCharacters() and the title.
  int width() const { return width_; }
  // Characters the content of a column without a width of its own is laid out for: the
  // field's display width, else a text field's size (at most 40), else 10 (numbers, dates).
  int contentCharacters() const;
  void setWidth(int width);
  bool readOnly() const { return readOnly_; }
  void setReadOnly(bool readOnly);
  const std::vector<std::string>& pickList() const { return pickList_; }
  void setPickList(std::vector<std::string> items);
  void addPickItem(std::string item);

 private:
  DBGrid& grid_;
  std::string fieldName_;
  std::optional<std::string> title_;
  ui::TextAlign titleAlignment_ = ui::TextAlign::Left;
  std::optional<ui::TextAlign> alignment_;
  int width_ = 0;
  bool readOnly_ = false;
  std::vector<std::string> pickList_;
};

enum class GridOption {
  Editing,
  Titles,
  Indicator,
  ColumnResize,
  ColLines,
  RowLines,
  Tabs,
  AlwaysShowSelection,
  ConfirmDelete,
  CancelOnExit,
};

struct DrawState {
  bool selected = false;
  bool focused = false;
};

class DBGrid : public ui::Control, private DataLink {
 public:
  DBGrid(ui::Control* parent, std::string name);
  bool acceptsFocus() const override { return true; }

  DataSource* dataSource() const { return DataLink::dataSource(); }
  void setDataSource(DataSource* source);
  DataSet* dataSet() const { return DataLink::dataSet(); }

  // --- columns ---
  Column& addColumn(std::string fieldName);
  void removeColumn(int index);
  int columnCount() const { return static_cast<int>(columns_.size()); }
  Column& column(int index) const;
  // Index of the column showing the field (case-insensitive), or -1.
  int columnOf(const std::string& fieldName) const;
  // Without columns of its own the grid shows every visible field.
  void useFieldColumns();
  int selectedIndex() const { return selected_; }
  // Moves to another column: writes the editor's text, runs ColExit (may raise) and ColEnter.
  void setSelectedIndex(int index);
  Column* selectedColumn() const;
  Field* selectedField() const;

  // --- options ---
  bool hasOption(GridOption option) const { return options_.count(option) > 0; }
  void setOption(GridOption option, bool on);
  ui::Color backgroundColor() const { return background_; }
  void setBackgroundColor(ui::Color color) { background_ = color; }

  // --- in-place editor ---
  bool editorMode() const { return editorMode_; }
  // The user selects the selected cell's whole text: the in-place editor opens on it (when the
  // cell can be edited) with its text selected, so what is typed next replaces it.
  void selectAll();
  bool editorAllSelected() const { return editorMode_ && editorSelected_; }
  // The text in the editor while typing; otherwise the selected cell's edit text.
  std::string editorText() const;
  // Writes the editor's text into the field now (when it holds typed text).
  void updateData() override;
  // The user picks item `index` of the selected column's pick list: the data set goes into
  // edit and the item's text is written into the field.
  void choosePickItem(int index);

  // --- what the cells show ---
  int rowCount() const;
  // Content of the cell at view row `row` (from 0) and column `column` after the default
  // drawing and the DrawColumnCell handler.
  ui::CellContent cell(int row, int column) const;
  // Draws a cell on `canvas` (used by renderers and by cell()).
  void drawCell(ui::Canvas& canvas, const ui::Rect& rect, int row, int column,
                DrawState state) const;

  // --- user actions (through the dispatcher) ---
  // A click on view row `row` (from 0): the data set moves there.
  void userSelectRow(int row);
  // A click on the cell of column `column` in the current line: column change, then CellClick.
  void userClickCell(int column);
  void userClickTitle(int column);

  // --- events ---
  std::function<void(ui::Control&)> onColEnter;
  std::function<void(ui::Control&)> onColExit;
  std::function<void(Column&)> onCellClick;
  std::function<void(Column&)> onTitleClick;
  std::function<void(ui::Control&, ui::Canvas& canvas, const ui::Rect& rect, int dataCol,
                     Column& column, DrawState state)>
      onDrawColumnCell;

  void doExit() override;
  void keyDownDefault(ui::Key& key, ui::ShiftState shift) override;
  void keyPressDefault(char32_t& ch) override;

 private:
  friend class Column;
  void activeChanged() override;
  void dataSetChanged() override;
  void dataSetScrolled() override;
  void recordChanged(Field* field) override;
  void editingChanged() override;
  void layoutChanged() override;

  bool canEditCell() const;
  bool acceptsCharacter(char32_t ch) const;
  void hideEditor();
  void moveColumn(int index);
  void moveRow(int distance);
  void deleteWithConfirmation();
  void touched() { changed(ui::Property::Data); }

  std::vector<std::unique_ptr<Column>> columns_;
  bool fieldColumns_ = false;
  int selected_ = 0;
  std::set<GridOption> options_;
  ui::Color background_ = ui::colors::White;
  bool editorMode_ = false;
  bool editorModified_ = false;
  bool editorSelected_ = false;
  std::string editorText_;
  bool inColExit_ = false;
};

}  // namespace db
