// DataSet: the in-memory client data set that forms edit and bind controls to.
//
// It is filled only by loading a data packet (which replaces every row and empties the change
// log) and keeps, per row, the values as last merged so that its change log can be sent as a
// delta, merged once saved, or cancelled. A partial packet (the answer of a versioned read
// asked with the version the data set holds) is applied to the rows held instead, and leaves
// the data set exactly as loading the whole read would, with the same events. States: Inactive
// (closed), Browse, Edit, Insert. Edits go to an edit buffer that post() writes into the row;
// scrolling while editing posts first when something was written, else cancels.
//
// Events are public assignable callbacks (assign nullptr to detach). A before-event aborts the
// operation by throwing: the exception propagates and the data set stays as it was before the
// operation (a throwing beforePost leaves the row in edit or insert with its values). The
// order in which events fire is documented in docs/data-layer.md and matches the classic
// client data set of RAD toolkits, on which the forms rely.
//
// Bound controls are reached through DataSource and DataLink; disableControls() suspends their
// notifications (nesting) until the matching enableControls(), which sends one data-set
// change. Everything runs on the user-interface thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/db/data_errors.h"
#include "host/db/data_index.h"
#include "host/db/field.h"
#include "host/db/gap_vector.h"
#include "host/db/record.h"
#include "host/ui/component.h"
#include "packet/packet.h"

namespace db {

class DataSource;

enum class DataSetState { Inactive, Browse, Edit, Insert };

const char* stateName(DataSetState state);

struct LocateOptions {
  bool caseInsensitive = false;
  bool partialKey = false;  // texts match when the row's text starts with the key
};

// What a data set tells its data sources (and they their links).
enum class DataEvent { FieldChange, RecordChange, DataSetChange, DataSetScroll, LayoutChange };

class DataSet : public ui::Component {
 public:
  using Event = std::function<void(DataSet&)>;

  explicit DataSet(std::string name = {});
  ~DataSet() override;

  // Fields, defined while the data set is closed; persistent across loads.
  Field& addField(std::string name, packet::FieldType type, int size = 0);
  int fieldCount() const { return static_cast<int>(fields_.size()); }
  Field& field(int index) const { return *fields_.at(static_cast<std::size_t>(index)); }
  // Case-insensitive; null when there is no such field.
  Field* findField(std::string_view name) const;
  // Throws DataError when there is no such field.
  Field& fieldByName(std::string_view name) const;
  std::vector<packet::FieldDef> fieldDefs() const;

  DataSetState state() const { return state_; }
  bool active() const { return state_ != DataSetState::Inactive; }
  bool isEditing() const { return state_ == DataSetState::Edit || state_ == DataSetState::Insert; }
  // A read-only data set refuses insert, edit and delete.
  bool readOnly() const { return readOnly_; }
  void setReadOnly(bool readOnly) { readOnly_ = readOnly; }

  // Replaces every row with the packet's (fields matched by name, case-insensitive; a field
  // the packet lacks reads null, extra packet fields are ignored), empties the change log and
  // opens on the first row. An open data set is closed first (pending edits are dropped).
  // A row of the wrong width or a value of the wrong kind throws DataError naming the row and
  // field, before anything is replaced. A partial packet that canApply() refuses throws
  // DataError too. The rvalue form frees the packet's rows as it takes them.
  void loadPacket(const packet::Packet& packet);
  void loadPacket(packet::Packet&& packet);
  // Whether a partial packet can be applied: the data set holds the rows of the version the
  // packet starts from, and the server sends again every row whose change was merged since
  // they were loaded (only then are its values the server's).
  bool canApply(const packet::Packet& partial) const;
  // The version of the stored rows the data set holds (0: unversioned).
  std::int64_t version() const { return version_; }
  // What read the rows (set by whoever loads versioned rows; a load without it clears it), so
  // that a versioned reload asks only the read that gave them.
  const std::string& versionSource() const { return versionSource_; }
  void setVersionSource(std::string source) { versionSource_ = std::move(source); }
  // Closes: rows, change log and edit are dropped.
  void close();

  // Navigation. Each move posts or cancels a pending edit first and fires beforeScroll and
  // afterScroll.
  void first();
  void last();
  void next() { moveBy(1); }
  void prior() { moveBy(-1); }
  // Returns how many rows the cursor actually moved (negative backwards).
  int moveBy(int distance);
  // 1-based position of the current row; 0 when empty or closed.
  int recNo() const;
  void setRecNo(int recNo);
  bool bof() const { return bof_; }
  bool eof() const { return eof_; }
  bool isEmpty() const { return view_.empty(); }
  int recordCount() const { return static_cast<int>(view_.size()); }
  // Moves to the first row, in reading order, whose fields "A;B;C" equal `values`; fires
  // beforeScroll always and afterScroll only when found. The cursor stays put otherwise.
  bool locate(const std::string& fields, const std::vector<packet::Value>& values,
              LocateOptions options = {});

  // Editing.
  void insert();  // new row at the cursor
  void append();  // new row at the end
  void edit();    // on an empty data set inserts
  void post();
  void cancel();
  void deleteRecord();
  // Something was written into the edit buffer since the edit or insert began.
  bool modified() const { return modified_; }

  // Notifications to bound controls.
  void disableControls();
  void enableControls();
  bool controlsDisabled() const { return disableCount_ > 0; }

  // Change log.
  int changeCount() const;
  packet::Delta delta() const;
  void mergeChangeLog();
  // Cancels a pending edit, then reverts every row to the last merged state.
  void cancelUpdates();

  // Indexes: the active index orders the rows; without one rows keep packet order.
  void addIndex(std::string name, const std::string& fields, bool descending = false);
  const std::string& indexName() const { return indexName_; }
  void setIndexName(const std::string& name);

  // Rows in reading order for grids: while inserting, the new row is shown at its place.
  int viewRowCount() const;
  // 0-based reading position of the current row (the new row while inserting), -1 when none.
  int currentViewRow() const;
  // Runs `read` with every field reading view row `row` instead of the current one.
  void readRow(int row, const std::function<void()>& read) const;

  Event beforeOpen, afterOpen, beforeClose, afterClose;
  Event beforeInsert, afterInsert, onNewRecord;
  Event beforeEdit, afterEdit;
  Event beforePost, afterPost;
  Event beforeCancel, afterCancel;
  Event beforeDelete, afterDelete;
  Event beforeScroll, afterScroll;

 private:
  friend class Field;
  friend class DataSource;

  // Field access.
  packet::Value currentValue(int field) const;
  packet::Value originalValue(int field) const;
  void writeValue(Field& field, packet::Value value);
  void fieldPropertyChanged(bool layout);

  // State and notification.
  void setState(DataSetState state);
  void fire(const Event& event);
  void dataEvent(DataEvent event, Field* field = nullptr);
  void notifyStateChange();
  void updateRecord();
  void attach(DataSource* source);
  void detach(DataSource* source);

  void checkActive() const;
  void checkCanModify() const;
  void checkBrowseMode();
  void checkRequired() const;
  void beginInsert(bool atEnd);
  void commitEdit();
  Record* currentRecord() const;
  // The row at reading position `row`; throws std::out_of_range outside the rows.
  Record* viewAt(int row) const;
  // Where a record stands in records_, searched from where the last insert went.
  std::size_t naturalPosition(const Record* record) const;
  void rebuildView(const Record* keep);
  std::vector<int> indexPositions(const DataIndex& index) const;
  struct LocateKey {
    bool null = false;
    std::optional<double> number;  // numeric fields: the key read as a number
    std::string text;              // text fields, lowered when letter case is ignored
  };
  bool matches(const Record& record, const std::vector<Field*>& fields,
               const std::vector<LocateKey>& keys, LocateOptions options) const;

  // Loading (data_set.cc, data_set_changes.cc).
  std::vector<std::unique_ptr<Record>> recordsOf(packet::Packet& packet, bool consume) const;
  template <class Rows>
  std::vector<std::unique_ptr<Record>> recordsFrom(Rows& rows, const packet::Packet& packet,
                                                   bool consume) const;
  // Closes, then opens on the records (the events of a load).
  void open(std::vector<std::unique_ptr<Record>> records, std::int64_t version);
  void openRecords(std::vector<std::unique_ptr<Record>> records, std::int64_t version);
  // Closes, handing the rows to `held` instead of dropping them when it is given.
  void closeKeeping(GapVector<std::unique_ptr<Record>>* held);
  void applyChanges(packet::Packet& packet, bool consume);

  std::vector<std::unique_ptr<Field>> fields_;
  // Fields by upper-case name: controls and rules look fields up by name on every change.
  std::unordered_map<std::string, Field*> fieldsByName_;
  GapVector<std::unique_ptr<Record>> records_;  // natural order, deleted rows included
  GapVector<Record*> view_;                     // reading order, deleted rows excluded
  std::size_t naturalHint_ = 0;                 // where the last insert went in records_
  std::int64_t version_ = 0;
  std::string versionSource_;
  std::vector<RowValues> goneSinceLoad_;  // rows whose deletion was merged since the load
  int cursor_ = -1;
  bool bof_ = true;
  bool eof_ = true;
  DataSetState state_ = DataSetState::Inactive;
  bool readOnly_ = false;

  packet::Row buffer_;  // edit buffer
  bool modified_ = false;
  Record* editRecord_ = nullptr;    // Edit: the row being edited
  Record* insertBefore_ = nullptr;  // Insert: natural position (null: at the end)
  int insertRow_ = 0;               // Insert: reading position of the new row
  bool appending_ = false;
  std::uint64_t changeSequence_ = 0;

  std::vector<DataIndex> indexes_;
  std::string indexName_;

  std::vector<DataSource*> sources_;
  int disableCount_ = 0;
  DataSetState disableState_ = DataSetState::Inactive;
  DataEvent enableEvent_ = DataEvent::DataSetChange;

  mutable const Record* readRow_ = nullptr;
  mutable bool readingBuffer_ = false;
};

}  // namespace db
