// Editing of DataSet: insert, append, edit, post, cancel and delete, with the classic event
// order (docs/data-layer.md lists it).
#include <algorithm>

#include "host/db/data_set.h"

namespace db {

std::size_t DataSet::naturalPosition(const Record* record) const {
  return records_.findNear(naturalHint_, [&](const auto& r) { return r.get() == record; });
}

void DataSet::beginInsert(bool atEnd) {
  checkBrowseMode();
  checkCanModify();
  fire(beforeInsert);
  fire(beforeScroll);
  Record* current = atEnd ? nullptr : currentRecord();
  appending_ = atEnd || current == nullptr;
  insertBefore_ = current;
  insertRow_ = current == nullptr ? recordCount() : cursor_;
  editRecord_ = nullptr;
  buffer_.assign(fields_.size(), packet::Value{});
  setState(DataSetState::Insert);
  try {
    fire(onNewRecord);
  } catch (...) {
    setState(DataSetState::Browse);
    dataEvent(DataEvent::DataSetChange);
    throw;
  }
  modified_ = false;
  dataEvent(DataEvent::DataSetChange);
  fire(afterInsert);
  fire(afterScroll);
}

void DataSet::insert() {
  beginInsert(false);
}

void DataSet::append() {
  beginInsert(true);
}

void DataSet::edit() {
  checkActive();
  if (isEditing())
    return;
  if (view_.empty())
    return insert();
  checkCanModify();
  fire(beforeEdit);
  editRecord_ = currentRecord();
  buffer_ = editRecord_->values.toRow();
  setState(DataSetState::Edit);
  dataEvent(DataEvent::RecordChange);
  fire(afterEdit);
}

void DataSet::commitEdit() {
  Record* row = nullptr;
  if (state_ == DataSetState::Insert) {
    auto record = std::make_unique<Record>();
    record->values = RowValues(buffer_);
    record->inserted = true;
    record->changeOrder = ++changeSequence_;
    row = record.get();
    // Rows added one after the other go in at one place: the search starts where the last did.
    const std::size_t at =
        insertBefore_ == nullptr ? records_.size() : naturalPosition(insertBefore_);
    records_.insert(at, std::move(record));
    naturalHint_ = at;
    view_.insert(static_cast<std::size_t>(insertRow_), row);
    cursor_ = insertRow_;
  } else {
    row = editRecord_;
    if (modified_) {
      if (!row->inserted && !row->original)
        row->original = std::move(row->values);
      row->values = RowValues(buffer_);
      if (row->changeOrder == 0)
        row->changeOrder = ++changeSequence_;
    }
  }
  buffer_.clear();
  editRecord_ = nullptr;
  insertBefore_ = nullptr;
  if (!indexName_.empty())
    rebuildView(row);
  bof_ = eof_ = false;
}

void DataSet::post() {
  checkActive();
  if (!isEditing())
    throw DataError(messages::kNotEditing);
  updateRecord();
  fire(beforePost);
  // The handler may have cancelled the edit itself.
  if (!isEditing())
    return;
  checkRequired();
  commitEdit();
  setState(DataSetState::Browse);
  dataEvent(DataEvent::DataSetChange);
  fire(afterPost);
}

void DataSet::cancel() {
  if (!isEditing())
    return;
  fire(beforeCancel);
  const bool wasInsert = state_ == DataSetState::Insert;
  if (wasInsert)
    fire(beforeScroll);
  if (wasInsert && appending_)
    cursor_ = recordCount() - 1;
  buffer_.clear();
  editRecord_ = nullptr;
  insertBefore_ = nullptr;
  setState(DataSetState::Browse);
  dataEvent(DataEvent::DataSetChange);
  fire(afterCancel);
  if (wasInsert)
    fire(afterScroll);
}

void DataSet::deleteRecord() {
  checkActive();
  if (state_ == DataSetState::Insert)
    return cancel();
  if (view_.empty())
    throw DataError(messages::kEmpty);
  checkCanModify();
  fire(beforeDelete);
  fire(beforeScroll);
  Record* row = currentRecord();
  view_.erase(static_cast<std::size_t>(cursor_));
  if (row->inserted) {
    const std::size_t at = naturalPosition(row);
    records_.erase(at);
    naturalHint_ = at;
  } else {
    row->deleted = true;
    if (row->changeOrder == 0)
      row->changeOrder = ++changeSequence_;
  }
  if (cursor_ >= recordCount())
    cursor_ = recordCount() - 1;
  bof_ = eof_ = view_.empty();
  buffer_.clear();
  editRecord_ = nullptr;
  setState(DataSetState::Browse);
  dataEvent(DataEvent::DataSetChange);
  fire(afterDelete);
  fire(afterScroll);
}

}  // namespace db
