#include "host/db/data_source.h"

#include <algorithm>

#include "host/db/data_link.h"

namespace db {

DataSource::DataSource(std::string name, DataSet* dataSet) : ui::Component(std::move(name)) {
  setDataSet(dataSet);
}

DataSource::~DataSource() {
  if (dataSet_ != nullptr)
    dataSet_->detach(this);
  const auto links = links_;
  for (auto* link : links)
    link->setDataSource(nullptr);
}

void DataSource::setDataSet(DataSet* dataSet) {
  if (dataSet == dataSet_)
    return;
  if (dataSet_ != nullptr)
    dataSet_->detach(this);
  dataSet_ = dataSet;
  if (dataSet_ != nullptr)
    dataSet_->attach(this);
  const DataSetState before = state_;
  updateState();
  // Same state, other rows: the links must show the new data set.
  if (state_ == before && state_ != DataSetState::Inactive)
    dataEvent(DataEvent::DataSetChange, nullptr);
}

void DataSource::setEnabled(bool enabled) {
  if (enabled_ == enabled)
    return;
  enabled_ = enabled;
  updateState();
  changed(ui::Property::Enabled);
}

void DataSource::dataSetDestroyed() {
  dataSet_->detach(this);
  dataSet_ = nullptr;
  updateState(false);
}

void DataSource::updateState(bool runHandler) {
  const DataSetState state =
      enabled_ && dataSet_ != nullptr ? dataSet_->state() : DataSetState::Inactive;
  if (state == state_)
    return;
  const DataSetState prior = state_;
  state_ = state;
  const auto links = links_;
  for (auto* link : links)
    link->updateState();
  changed(ui::Property::State);
  if (!runHandler)
    return;
  const auto handler = onStateChange;
  if (handler)
    handler(*this);
  if (prior == DataSetState::Inactive)
    fireDataChange(nullptr);
}

void DataSource::fireDataChange(Field* field) {
  const auto handler = onDataChange;
  if (handler)
    handler(*this, field);
}

void DataSource::dataEvent(DataEvent event, Field* field) {
  if (state_ == DataSetState::Inactive)
    return;
  const auto links = links_;
  for (auto* link : links) {
    switch (event) {
      case DataEvent::FieldChange:
        if (!link->updating_)
          link->recordChanged(field);
        break;
      case DataEvent::RecordChange:
        if (!link->updating_)
          link->recordChanged(nullptr);
        break;
      case DataEvent::DataSetChange:
        link->dataSetChanged();
        break;
      case DataEvent::DataSetScroll:
        link->dataSetScrolled();
        break;
      case DataEvent::LayoutChange:
        link->layoutChanged();
        break;
    }
  }
  fireDataChange(event == DataEvent::FieldChange ? field : nullptr);
}

void DataSource::updateData() {
  if (state_ == DataSetState::Inactive)
    return;
  const auto links = links_;
  for (auto* link : links)
    link->runUpdateData();
}

void DataSource::addLink(DataLink* link) {
  links_.push_back(link);
}

void DataSource::removeLink(DataLink* link) {
  std::erase(links_, link);
}

}  // namespace db
