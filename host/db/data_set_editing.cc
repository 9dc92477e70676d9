// Editing of DataSet: insert, append, edit, post, cancel and delete, with the classic event
// order (docs/data-layer.md lists it).
#include <algorithm>

#include "host/db/data_set.h"

namespace db {

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
  buffer_ = editRecord_->values;
  setState(DataSetState::Edit);
  dataEvent(DataEvent::RecordChange);
  fire(afterEdit);
}

void DataSet::commitEdit() {
  Record* row = nullptr;
  if (state_ == DataSetState::Insert) {
    auto record = std::make_unique<Record>();
    record->values = std::move(buffer_);
    record->inserted = true;
    record->changeOrder = ++changeSequence_;
    row = record.get();
    auto at = records_.end();
    if (insertBefore_ != nullptr)
      at = std::find_if(records_.begin(), records_.end(),
                        [&](const auto& r) { return r.get() == insertBefore_; });
    records_.insert(at, std::move(record));
    view_.insert(view_.begin() + insertRow_, row);
    cursor_ = insertRow_;
  } else {
    row = editRecord_;
    if (modified_) {
      if (!row->inserted && !row->original)
        row->original = std::move(row->values);
      row->values = std::move(buffer_);
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
  view_.erase(view_.begin() + cursor_);
  if (row->inserted) {
    std::erase_if(records_, [&](const auto& r) { return r.get() == row; });
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
