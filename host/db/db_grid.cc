#include "host/db/db_grid.h"

#include <strings.h>

#include <algorithm>

#include "host/db/data_set.h"
#include "host/ui/errors.h"
#include "host/ui/form.h"

namespace db {

Column::Column(DBGrid& grid, std::string fieldName)
    : grid_(grid), fieldName_(std::move(fieldName)) {
}

Field* Column::field() const {
  DataSet* set = grid_.dataSet();
  return set == nullptr ? nullptr : set->findField(fieldName_);
}

std::string Column::title() const {
  if (title_)
    return *title_;
  Field* f = field();
  return f != nullptr ? f->displayLabel() : fieldName_;
}

void Column::setTitle(std::string title) {
  title_ = std::move(title);
  grid_.layoutChanged();
}

void Column::setTitleAlignment(ui::TextAlign alignment) {
  titleAlignment_ = alignment;
  grid_.layoutChanged();
}

ui::TextAlign Column::alignment() const {
  if (alignment_)
    return *alignment_;
  Field* f = field();
  return f != nullptr && f->type() == packet::FieldType::Double ? ui::TextAlign::Right
                                                                : ui::TextAlign::Left;
}

void Column::setAlignment(ui::TextAlign alignment) {
  alignment_ = alignment;
  grid_.touched();
}

int Column::contentCharacters() const {
  constexpr int kWidestText = 40;
  constexpr int kNumberOrDate = 10;
  const Field* f = field();
  if (f == nullptr)
    return kNumberOrDate;
  if (f->displayWidth() > 0)
    return f->displayWidth();
  if (f->type() == packet::FieldType::Text && f->size() > 0)
    return std::min(f->size(), kWidestText);
  return kNumberOrDate;
}

void Column::setWidth(int width) {
  width_ = width;
  grid_.layoutChanged();
}

void Column::setReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  grid_.layoutChanged();
}

void Column::setPickList(std::vector<std::string> items) {
  pickList_ = std::move(items);
  grid_.layoutChanged();
}

void Column::addPickItem(std::string item) {
  pickList_.push_back(std::move(item));
  grid_.layoutChanged();
}

DBGrid::DBGrid(ui::Control* parent, std::string name) : ui::Control(parent, std::move(name)) {
  setTabStop(true);
  options_ = {GridOption::Editing,      GridOption::Titles,      GridOption::Indicator,
              GridOption::ColLines,     GridOption::RowLines,    GridOption::ConfirmDelete,
              GridOption::ColumnResize, GridOption::CancelOnExit};
}

void DBGrid::setDataSource(DataSource* source) {
  DataLink::setDataSource(source);
  layoutChanged();
}

Column& DBGrid::addColumn(std::string fieldName) {
  fieldColumns_ = false;
  columns_.push_back(std::make_unique<Column>(*this, std::move(fieldName)));
  changed(ui::Property::Columns);
  return *columns_.back();
}

void DBGrid::removeColumn(int index) {
  if (index < 0 || index >= columnCount()) {
    throw ui::UiError("Coluna inexistente na grade " + name() + ".");
  }
  columns_.erase(columns_.begin() + index);
  if (selected_ >= columnCount())
    selected_ = std::max(0, columnCount() - 1);
  changed(ui::Property::Columns);
}

Column& DBGrid::column(int index) const {
  if (index < 0 || index >= columnCount()) {
    throw ui::UiError("Coluna inexistente na grade " + name() + ".");
  }
  return *columns_[static_cast<size_t>(index)];
}

int DBGrid::columnOf(const std::string& fieldName) const {
  for (int i = 0; i < columnCount(); ++i) {
    if (strcasecmp(columns_[static_cast<size_t>(i)]->fieldName().c_str(), fieldName.c_str()) == 0) {
      return i;
    }
  }
  return -1;
}

void DBGrid::useFieldColumns() {
  fieldColumns_ = true;
  layoutChanged();
}

Column* DBGrid::selectedColumn() const {
  return selected_ >= 0 && selected_ < columnCount()
             ? columns_[static_cast<size_t>(selected_)].get()
             : nullptr;
}

Field* DBGrid::selectedField() const {
  Column* c = selectedColumn();
  return c == nullptr ? nullptr : c->field();
}

void DBGrid::setOption(GridOption option, bool on) {
  if (hasOption(option) == on)
    return;
  if (on) {
    options_.insert(option);
  } else {
    options_.erase(option);
    if (option == GridOption::Editing)
      hideEditor();
  }
  changed(ui::Property::Options);
}

void DBGrid::setSelectedIndex(int index) {
  moveColumn(index);
}

void DBGrid::moveColumn(int index) {
  if (columnCount() == 0)
    return;
  index = std::clamp(index, 0, columnCount() - 1);
  updateData();
  if (index == selected_)
    return;
  const int old = selected_;
  if (!inColExit_) {
    inColExit_ = true;
    try {
      if (onColExit)
        onColExit(*this);
    } catch (...) {
      inColExit_ = false;
      throw;
    }
    inColExit_ = false;
    if (selected_ != old)
      return;
  }
  hideEditor();
  selected_ = index;
  changed(ui::Property::Selection);
  if (onColEnter)
    onColEnter(*this);
}

bool DBGrid::canEditCell() const {
  Column* c = selectedColumn();
  Field* f = selectedField();
  DataSet* set = dataSet();
  return hasOption(GridOption::Editing) && active() && c != nullptr && !c->readOnly() &&
         f != nullptr && !f->readOnly() && set != nullptr && !set->readOnly();
}

std::string DBGrid::editorText() const {
  if (editorMode_)
    return editorText_;
  Field* f = selectedField();
  if (f == nullptr || !active() || (dataSet()->isEmpty() && !editing()))
    return {};
  return f->text();
}

void DBGrid::hideEditor() {
  if (!editorMode_)
    return;
  editorMode_ = false;
  editorModified_ = false;
  editorSelected_ = false;
  editorText_.clear();
  touched();
}

void DBGrid::updateData() {
  if (!editorMode_ || !editorModified_)
    return;
  Field* f = selectedField();
  if (f == nullptr)
    return;
  const std::string text = editorText_;
  editorModified_ = false;
  f->setText(text);
}

void DBGrid::choosePickItem(int index) {
  Column* c = selectedColumn();
  if (c == nullptr || index < 0 || index >= static_cast<int>(c->pickList().size())) {
    throw ui::UiError("Item inexistente na lista da coluna.");
  }
  if (!canEditCell() || !DataLink::edit())
    return;
  editorMode_ = true;
  editorText_ = c->pickList()[static_cast<size_t>(index)];
  editorModified_ = true;
  updateData();
  touched();
}

int DBGrid::rowCount() const {
  DataSet* set = dataSet();
  return set == nullptr || !active() ? 0 : set->viewRowCount();
}

void DBGrid::drawCell(ui::Canvas& canvas, const ui::Rect& rect, int row, int column,
                      DrawState state) const {
  DataSet* set = dataSet();
  if (set == nullptr || !active() || column < 0 || column >= columnCount())
    return;
  Column& col = *columns_[static_cast<size_t>(column)];
  Field* f = col.field();
  const bool current = row == set->currentViewRow();
  std::string text;
  if (current && column == selected_ && editorMode_) {
    text = editorText_;
  } else if (f != nullptr) {
    text = f->displayTextAt(row);
  }
  canvas.fillRect(rect);
  // Two pixels of margin on the side the text leans to; a text wider than the cell shows its
  // start.
  int x = rect.left + 2;
  const ui::TextAlign align = col.alignment();
  if (align != ui::TextAlign::Left && !text.empty()) {
    const int room = rect.width - 4 - canvas.textWidth(text);
    if (room > 0)
      x += align == ui::TextAlign::Right ? room : room / 2;
  }
  canvas.textRect(rect, x, rect.top + 2, text);
  if (onDrawColumnCell) {
    set->readRow(row, [&] {
      onDrawColumnCell(const_cast<DBGrid&>(*this), canvas, rect, column, col, state);
    });
  }
}

ui::CellContent DBGrid::cell(int row, int column) const {
  const DataSet* set = dataSet();
  DrawState state;
  state.selected = set != nullptr && row == set->currentViewRow() && column == selected_;
  state.focused = focused();
  ui::RecordingCanvas canvas(state.selected ? ui::colors::Highlight : background_);
  const int width = column < columnCount() && columns_[static_cast<size_t>(column)]->width() > 0
                        ? columns_[static_cast<size_t>(column)]->width()
                        : 64;
  drawCell(canvas, ui::Rect{0, 0, width, 18}, row, column, state);
  return canvas.content();
}

void DBGrid::activeChanged() {
  hideEditor();
  layoutChanged();
}

void DBGrid::dataSetChanged() {
  hideEditor();
  touched();
}

void DBGrid::dataSetScrolled() {
  hideEditor();
  touched();
}

void DBGrid::recordChanged(Field* field) {
  if (field == nullptr || field == selectedField()) {
    if (!editorModified_)
      hideEditor();
  }
  touched();
}

void DBGrid::editingChanged() {
  if (!editing())
    hideEditor();
  touched();
}

void DBGrid::layoutChanged() {
  if (fieldColumns_) {
    columns_.clear();
    if (DataSet* set = dataSet()) {
      for (int i = 0; i < set->fieldCount(); ++i) {
        if (set->field(i).visible()) {
          columns_.push_back(std::make_unique<Column>(*this, set->field(i).name()));
        }
      }
    }
    if (selected_ >= columnCount())
      selected_ = std::max(0, columnCount() - 1);
  }
  changed(ui::Property::Columns);
}

}  // namespace db
