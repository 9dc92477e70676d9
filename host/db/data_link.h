// DataLink: what a data-aware control implements to follow a data source.
//
// A control derives from DataLink (or owns a subclass) and attaches it to a DataSource. The
// source calls the callbacks below as the data set opens, scrolls, changes state or changes
// data; none is called while the data set's controls are disabled, except updateData, which
// post() and every scroll ask of each link so that typed text is never lost. updateData
// writes the control's pending text into its field and may throw (a bad number), which aborts
// the post or scroll. A link that is writing its own data gets no recordChanged for it.
#pragma once

namespace db {

class DataSet;
class DataSource;
class Field;

class DataLink {
 public:
  DataLink() = default;
  virtual ~DataLink();
  DataLink(const DataLink&) = delete;
  DataLink& operator=(const DataLink&) = delete;

  DataSource* dataSource() const { return dataSource_; }
  void setDataSource(DataSource* source);
  // The data set behind the source, or null.
  DataSet* dataSet() const;
  // The source reports a state other than Inactive.
  bool active() const { return active_; }
  // The source reports Edit or Insert.
  bool editing() const { return editing_; }
  // Puts a browsing data set into edit (an empty one into insert) through an active source;
  // returns whether the data set is now editing. A disabled source refuses.
  bool edit();

  virtual void activeChanged() {}
  virtual void dataSetChanged() {}
  virtual void dataSetScrolled() {}
  // `field` is null when the whole record changed.
  virtual void recordChanged(Field* /*field*/) {}
  virtual void editingChanged() {}
  virtual void updateData() {}
  virtual void layoutChanged() {}

 protected:
  // Writes the pending text through updateData() without telling this link about its own
  // write (so a control does not reload the text it has just written).
  void runUpdateData();

 private:
  friend class DataSource;
  void updateState();

  DataSource* dataSource_ = nullptr;
  bool active_ = false;
  bool editing_ = false;
  bool updating_ = false;
};

}  // namespace db
