#include "host/db/data_link.h"

#include "host/db/data_source.h"

namespace db {

DataLink::~DataLink() {
  if (dataSource_ != nullptr)
    dataSource_->removeLink(this);
}

void DataLink::setDataSource(DataSource* source) {
  if (source == dataSource_)
    return;
  if (dataSource_ != nullptr)
    dataSource_->removeLink(this);
  dataSource_ = source;
  if (dataSource_ != nullptr)
    dataSource_->addLink(this);
  const bool wasActive = active_;
  updateState();
  // Active before and after: no activeChanged, yet the rows are another source's.
  if (wasActive && active_)
    dataSetChanged();
}

DataSet* DataLink::dataSet() const {
  return dataSource_ != nullptr ? dataSource_->dataSet() : nullptr;
}

bool DataLink::edit() {
  if (dataSource_ != nullptr && dataSource_->state() == DataSetState::Browse &&
      !dataSource_->dataSet()->readOnly())
    dataSource_->dataSet()->edit();
  return editing_;
}

void DataLink::updateState() {
  const DataSetState state = dataSource_ != nullptr ? dataSource_->state() : DataSetState::Inactive;
  const bool active = state != DataSetState::Inactive;
  if (active != active_) {
    active_ = active;
    activeChanged();
  }
  const bool editing = state == DataSetState::Edit || state == DataSetState::Insert;
  if (editing != editing_) {
    editing_ = editing;
    editingChanged();
  }
}

void DataLink::runUpdateData() {
  updating_ = true;
  try {
    updateData();
  } catch (...) {
    updating_ = false;
    throw;
  }
  updating_ = false;
}

}  // namespace db
