// The user's side of the grid: clicks, keys and typing into the in-place editor.
#include "host/db/data_set.h"
#include "host/db/db_grid.h"
#include "host/ui/application.h"
#include "host/ui/regional.h"
#include "host/ui/utf8.h"

namespace db {

void DBGrid::moveRow(int distance) {
  DataSet* set = dataSet();
  if (set == nullptr || !active() || distance == 0)
    return;
  updateData();
  set->moveBy(distance);
}

void DBGrid::userSelectRow(int row) {
  DataSet* set = dataSet();
  if (set == nullptr || !active())
    return;
  moveRow(row - set->currentViewRow());
}

void DBGrid::userClickCell(int column) {
  moveColumn(column);
  if (selected_ != column)
    return;
  if (Column* c = selectedColumn(); c != nullptr && onCellClick)
    onCellClick(*c);
}

void DBGrid::userClickTitle(int column) {
  if (!hasOption(GridOption::Titles))
    return;
  Column& c = this->column(column);
  if (onTitleClick)
    onTitleClick(c);
}

void DBGrid::deleteWithConfirmation() {
  DataSet* set = dataSet();
  if (set == nullptr || !active() || set->isEmpty())
    return;
  if (hasOption(GridOption::ConfirmDelete) &&
      ui::application().messageBox(ui::MessageKind::Confirmation, "Excluir registro?",
                                   ui::MessageButtons::YesNo) != ui::mrYes) {
    return;
  }
  set->deleteRecord();
}

void DBGrid::keyDownDefault(ui::Key& key, ui::ShiftState shift) {
  DataSet* set = dataSet();
  if (set == nullptr || !active())
    return;
  switch (key) {
    case ui::keys::Up:
      moveRow(-1);
      break;
    case ui::keys::Down:
      if (set->eof() || set->recNo() == set->recordCount() || set->isEmpty()) {
        const bool freshInsert = set->state() == DataSetState::Insert && !set->modified();
        if (hasOption(GridOption::Editing) && !set->readOnly() && !freshInsert) {
          updateData();
          set->append();
        }
      } else {
        moveRow(1);
      }
      break;
    case ui::keys::PageUp:
      moveRow(-10);
      break;
    case ui::keys::PageDown:
      moveRow(10);
      break;
    case ui::keys::Home:
      if (shift.ctrl) {
        updateData();
        set->first();
      } else {
        moveColumn(0);
      }
      break;
    case ui::keys::End:
      if (shift.ctrl) {
        updateData();
        set->last();
      } else {
        moveColumn(columnCount() - 1);
      }
      break;
    case ui::keys::Left:
      moveColumn(selected_ - 1);
      break;
    case ui::keys::Right:
      moveColumn(selected_ + 1);
      break;
    case ui::keys::Tab:
      if (!hasOption(GridOption::Tabs) || shift.ctrl)
        return;
      if (shift.shift) {
        moveColumn(selected_ - 1);
      } else {
        moveColumn(selected_ + 1);
      }
      key = 0;
      break;
    case ui::keys::Insert:
      if (shift.none() && hasOption(GridOption::Editing)) {
        updateData();
        set->insert();
      }
      break;
    case ui::keys::Delete:
      if (shift.ctrl) {
        deleteWithConfirmation();
      } else if (editorMode_ && canEditCell() && DataLink::edit()) {
        // Going into edit may have closed the editor: it opens again, empty.
        editorMode_ = true;
        editorText_.clear();
        editorModified_ = true;
        editorSelected_ = false;
        touched();
      }
      break;
    case ui::keys::Escape:
      if (editorMode_ && editorModified_) {
        hideEditor();
      } else if (set->isEditing()) {
        hideEditor();
        set->cancel();
      }
      key = 0;
      break;
    case 113:  // F2 opens or closes the in-place editor
      if (editorMode_) {
        updateData();
        hideEditor();
      } else if (canEditCell()) {
        editorMode_ = true;
        editorText_ = editorText();
        touched();
      }
      break;
    case ui::keys::Enter:
      if (editorMode_) {
        updateData();
        hideEditor();
      }
      key = 0;
      break;
    default:
      break;
  }
}

bool DBGrid::acceptsCharacter(char32_t ch) const {
  Field* f = selectedField();
  if (f == nullptr)
    return false;
  switch (f->type()) {
    case packet::FieldType::Double:
      return ui::utf8::isDigit(ch) || ch == U'+' || ch == U'-' || ch == U'e' || ch == U'E' ||
             ch == static_cast<char32_t>(ui::regional::kDecimalSeparator);
    case packet::FieldType::DateTime:
      return ui::utf8::isDigit(ch) || ch == U'/' || ch == U' ' || ch == U':';
    case packet::FieldType::Text:
      return ch >= 32;
  }
  return false;
}

void DBGrid::keyPressDefault(char32_t& ch) {
  if (ch == U'\r' || ch == U'\t' || ch == 27)
    return;
  if (!canEditCell()) {
    ch = 0;
    return;
  }
  if (ch != U'\b' && !acceptsCharacter(ch)) {
    ch = 0;
    return;
  }
  if (!DataLink::edit()) {
    ch = 0;
    return;
  }
  // A selected text is replaced: Backspace empties it, a character takes its place.
  const bool replacing = editorAllSelected();
  std::string text = editorMode_ && !replacing ? editorText_ : std::string();
  if (!editorMode_ && ch == U'\b')
    text = editorText();
  if (ch == U'\b' && replacing) {
    text.clear();
  } else if (ch == U'\b') {
    const size_t n = ui::utf8::length(text);
    text = n == 0 ? text : ui::utf8::substr(text, 0, n - 1);
  } else {
    Field* f = selectedField();
    if (f != nullptr && f->type() == packet::FieldType::Text && f->size() > 0 &&
        ui::utf8::length(text) >= static_cast<size_t>(f->size())) {
      ch = 0;
      return;
    }
    ui::utf8::append(text, ch);
  }
  editorMode_ = true;
  editorModified_ = true;
  editorSelected_ = false;
  editorText_ = std::move(text);
  touched();
}

void DBGrid::selectAll() {
  DataSet* set = dataSet();
  if (set == nullptr || !active() || !canEditCell())
    return;
  if (!editorMode_) {
    editorText_ = editorText();
    editorMode_ = true;
    editorModified_ = false;
  }
  editorSelected_ = true;
  touched();
}

void DBGrid::doExit() {
  DataSet* set = dataSet();
  if (set != nullptr && active()) {
    if (hasOption(GridOption::CancelOnExit) && set->state() == DataSetState::Insert &&
        !set->modified() && !editorModified_) {
      set->cancel();
    } else {
      updateData();
    }
  }
  ui::Control::doExit();
}

}  // namespace db
