// DataSource: the connector between a data set and the controls bound to it.
//
// Forms give each bound data set a data source; data-aware controls attach a DataLink to it.
// The source passes the data set's state and data events on to its links and to its own
// handlers. A disabled source reports the state Inactive: its controls go blank and refuse
// edits, while the data set keeps its rows.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/db/data_set.h"
#include "host/ui/component.h"

namespace db {

class DataLink;

class DataSource : public ui::Component {
 public:
  explicit DataSource(std::string name = {}, DataSet* dataSet = nullptr);
  ~DataSource() override;

  DataSet* dataSet() const { return dataSet_; }
  void setDataSet(DataSet* dataSet);
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);
  // The data set's state, or Inactive when disabled or without a data set.
  DataSetState state() const { return state_; }

  // Fired when the reported state changes (enabling and disabling included).
  std::function<void(DataSource&)> onStateChange;
  // Fired on scrolls, record and data-set changes (field null) and on a field's change (with
  // the field); not while the data set's controls are disabled or the source is inactive.
  std::function<void(DataSource&, Field*)> onDataChange;

 private:
  friend class DataSet;
  friend class DataLink;

  // `runHandler` false: the links and observers learn the state, onStateChange does not run.
  void updateState(bool runHandler = true);
  // The data set is being destroyed: the source goes inactive without running its handlers.
  void dataSetDestroyed();
  void dataEvent(DataEvent event, Field* field);
  void updateData();
  void fireDataChange(Field* field);
  void addLink(DataLink* link);
  void removeLink(DataLink* link);

  DataSet* dataSet_ = nullptr;
  bool enabled_ = true;
  DataSetState state_ = DataSetState::Inactive;
  std::vector<DataLink*> links_;
};

}  // namespace db
