#include "host/db/data_set.h"

#include <strings.h>
#include <algorithm>
#include <cctype>
#include <cmath>

#include <fmt/format.h>

#include "host/db/change_log.h"
#include "host/db/data_source.h"
#include "host/db/freed_memory.h"

namespace db {

namespace {

const packet::Value kNull;

// Field names are plain ASCII identifiers, compared ignoring letter case.
std::string fieldKey(std::string_view name) {
  std::string key(name);
  for (char& c : key)
    c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return key;
}

bool valueFits(packet::FieldType type, const packet::Value& v) {
  if (packet::isNull(v))
    return true;
  if (type == packet::FieldType::Text)
    return packet::isText(v);
  return packet::isNumber(v) && std::isfinite(std::get<double>(v));
}

}  // namespace

const char* stateName(DataSetState state) {
  switch (state) {
    case DataSetState::Inactive:
      return "Inactive";
    case DataSetState::Browse:
      return "Browse";
    case DataSetState::Edit:
      return "Edit";
    case DataSetState::Insert:
      return "Insert";
  }
  return "Inactive";
}

DataSet::DataSet(std::string name) : ui::Component(std::move(name)) {
}

DataSet::~DataSet() {
  // A data set goes with its owner (a form being torn down), so its sources' handlers, which
  // belong to that owner, must not run; the sources' controls still go blank.
  const auto sources = sources_;
  for (auto* source : sources)
    source->dataSetDestroyed();
}

Field& DataSet::addField(std::string name, packet::FieldType type, int size) {
  if (active())
    throw DataError(messages::kOpen);
  if (findField(name) != nullptr)
    throw DataError(fmt::format("Campo '{}' definido duas vezes.", name));
  std::string key = fieldKey(name);
  fields_.push_back(
      std::make_unique<Field>(*this, fieldCount(), std::move(name), type, size < 0 ? 0 : size));
  fieldsByName_.emplace(std::move(key), fields_.back().get());
  return *fields_.back();
}

Field* DataSet::findField(std::string_view name) const {
  const auto found = fieldsByName_.find(fieldKey(name));
  return found != fieldsByName_.end() ? found->second : nullptr;
}

Field& DataSet::fieldByName(std::string_view name) const {
  Field* f = findField(name);
  if (f == nullptr)
    throw DataError(messages::fieldNotFound(name));
  return *f;
}

std::vector<packet::FieldDef> DataSet::fieldDefs() const {
  std::vector<packet::FieldDef> defs;
  defs.reserve(fields_.size());
  for (const auto& f : fields_)
    defs.push_back({f->name(), f->type(), f->size()});
  return defs;
}

namespace {

// Reads one value of a packet row, whichever form the packet carries its rows in.
packet::Value valueAt(const packet::Row& row, std::size_t i) {
  return row[i];
}
packet::Value valueAt(const packet::PackedRow& row, std::size_t i) {
  return row.get(i);
}

bool fits(packet::FieldType type, const packet::Row& row, std::size_t i) {
  return valueFits(type, row[i]);
}
bool fits(packet::FieldType type, const packet::PackedRow& row, std::size_t i) {
  if (row.isNull(i))
    return true;
  if (type == packet::FieldType::Text)
    return row.isText(i);
  return row.isNumber(i) && std::isfinite(row.number(i));
}

// The first of `fields` whose value in the row does not fit its type, or -1, for a row whose
// values stand in the fields' order. A packed row is read in order, not value by value.
template <class Fields>
int firstMisfit(const Fields& fields, const packet::Row& row) {
  for (std::size_t i = 0; i < fields.size(); ++i)
    if (!valueFits(fields[i]->type(), row[i]))
      return static_cast<int>(i);
  return -1;
}
template <class Fields>
int firstMisfit(const Fields& fields, const packet::PackedRow& row) {
  std::size_t i = 0;
  for (packet::PackedRowReader value(row); !value.atEnd(); value.next(), ++i) {
    const bool text = fields[i]->type() == packet::FieldType::Text;
    if (value.isText() ? !text : value.isNumber() && (text || !std::isfinite(value.number())))
      return static_cast<int>(i);
  }
  return -1;
}

// The row's block as the data set keeps it, when its values stand in the data set's order.
RowValues sameLayoutValues(packet::Row& row, bool) {
  return RowValues(row);
}
RowValues sameLayoutValues(packet::PackedRow& row, bool consume) {
  return consume ? std::move(row) : row;
}

}  // namespace

template <class Rows>
std::vector<std::unique_ptr<Record>> DataSet::recordsFrom(Rows& rows, const packet::Packet& packet,
                                                          bool consume) const {
  // Map and check everything before touching the current rows (or the packet's).
  std::vector<int> source(fields_.size(), -1);
  for (std::size_t i = 0; i < fields_.size(); ++i)
    source[i] = packet.fieldIndex(fields_[i]->name());
  bool sameLayout = packet.fields.size() == fields_.size();
  for (std::size_t i = 0; i < fields_.size() && sameLayout; ++i)
    sameLayout = source[i] == static_cast<int>(i);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const auto& row = rows[r];
    if (row.size() != packet.fields.size())
      throw DataError(fmt::format("Linha {} do pacote de '{}' tem {} valores; esperados {}.", r + 1,
                                  this->name(), row.size(), packet.fields.size()));
    int misfit = -1;
    if (sameLayout) {
      misfit = firstMisfit(fields_, row);
    } else {
      for (std::size_t i = 0; i < fields_.size() && misfit < 0; ++i)
        if (source[i] >= 0 && !fits(fields_[i]->type(), row, static_cast<std::size_t>(source[i])))
          misfit = static_cast<int>(i);
    }
    if (misfit >= 0)
      throw DataError(fmt::format("{} (linha {} do pacote de '{}')",
                                  messages::wrongValueType(fields_[misfit]->name()), r + 1,
                                  this->name()));
  }
  std::vector<std::unique_ptr<Record>> records;
  records.reserve(rows.size());
  packet::Row mapped;
  for (auto& row : rows) {
    auto record = std::make_unique<Record>();
    if (sameLayout) {
      record->values = sameLayoutValues(row, consume);
    } else {
      mapped.clear();
      for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (source[i] < 0)
          mapped.emplace_back();
        else
          mapped.push_back(valueAt(row, static_cast<std::size_t>(source[i])));
      }
      record->values = RowValues(mapped);
    }
    records.push_back(std::move(record));
  }
  if (consume)
    Rows().swap(rows);
  return records;
}

std::vector<std::unique_ptr<Record>> DataSet::recordsOf(packet::Packet& packet,
                                                        bool consume) const {
  if (!packet.packedRows.empty()) {
    if (!packet.rows.empty())
      throw DataError(fmt::format("O pacote de '{}' traz linhas em duas formas.", this->name()));
    return recordsFrom(packet.packedRows, packet, consume);
  }
  return recordsFrom(packet.rows, packet, consume);
}

void DataSet::open(std::vector<std::unique_ptr<Record>> records, std::int64_t version) {
  close();
  openRecords(std::move(records), version);
}

void DataSet::openRecords(std::vector<std::unique_ptr<Record>> records, std::int64_t version) {
  fire(beforeOpen);
  records_.assign(std::move(records));
  naturalHint_ = 0;
  version_ = version;
  versionSource_.clear();
  goneSinceLoad_.clear();
  changeSequence_ = 0;
  rebuildView(nullptr);
  cursor_ = view_.empty() ? -1 : 0;
  bof_ = true;
  eof_ = view_.empty();
  setState(DataSetState::Browse);
  fire(afterOpen);
  if (!view_.empty())
    fire(afterScroll);
}

void DataSet::loadPacket(const packet::Packet& packet) {
  // The rows are only read: the packet stays as it is.
  auto& readOnly = const_cast<packet::Packet&>(packet);
  if (packet.changes)
    applyChanges(readOnly, false);
  else
    open(recordsOf(readOnly, false), packet.version);
}

void DataSet::loadPacket(packet::Packet&& packet) {
  const bool large =
      (packet.rows.size() + packet.packedRows.size()) * packet.fields.size() >= kLargeLoadValues;
  if (packet.changes)
    applyChanges(packet, true);
  else
    open(recordsOf(packet, true), packet.version);
  if (large)
    releaseFreedMemory();
}

void DataSet::close() {
  closeKeeping(nullptr);
}

void DataSet::closeKeeping(GapVector<std::unique_ptr<Record>>* held) {
  if (!active())
    return;
  fire(beforeClose);
  setState(DataSetState::Inactive);
  if (held != nullptr)
    *held = std::move(records_);
  records_.clear();
  view_.clear();
  goneSinceLoad_.clear();
  version_ = 0;
  versionSource_.clear();
  buffer_.clear();
  editRecord_ = nullptr;
  insertBefore_ = nullptr;
  cursor_ = -1;
  bof_ = eof_ = true;
  fire(afterClose);
}

// ---- state and notification ----

void DataSet::fire(const Event& event) {
  // A copy: the handler may detach or replace itself while it runs.
  const Event handler = event;
  if (handler)
    handler(*this);
}

void DataSet::setState(DataSetState state) {
  if (state_ == state)
    return;
  state_ = state;
  modified_ = false;
  notifyStateChange();
  changed(ui::Property::State);
}

void DataSet::notifyStateChange() {
  if (controlsDisabled()) {
    if (state_ == DataSetState::Inactive)
      enableEvent_ = DataEvent::LayoutChange;
    return;
  }
  const auto sources = sources_;
  for (auto* source : sources)
    source->updateState();
}

void DataSet::dataEvent(DataEvent event, Field* field) {
  if (controlsDisabled()) {
    if (event == DataEvent::LayoutChange)
      enableEvent_ = DataEvent::LayoutChange;
    return;
  }
  const auto sources = sources_;
  for (auto* source : sources)
    source->dataEvent(event, field);
  changed(ui::Property::Data);
}

void DataSet::updateRecord() {
  const auto sources = sources_;
  for (auto* source : sources)
    source->updateData();
}

void DataSet::attach(DataSource* source) {
  sources_.push_back(source);
}

void DataSet::detach(DataSource* source) {
  std::erase(sources_, source);
}

void DataSet::disableControls() {
  if (disableCount_++ == 0) {
    disableState_ = state_;
    enableEvent_ = DataEvent::DataSetChange;
  }
}

void DataSet::enableControls() {
  if (disableCount_ == 0)
    return;
  if (--disableCount_ > 0)
    return;
  if (disableState_ != state_)
    notifyStateChange();
  if (disableState_ != DataSetState::Inactive && state_ != DataSetState::Inactive)
    dataEvent(enableEvent_);
}

void DataSet::fieldPropertyChanged(bool layout) {
  if (active())
    dataEvent(layout ? DataEvent::LayoutChange : DataEvent::DataSetChange);
}

// ---- checks ----

void DataSet::checkActive() const {
  if (!active())
    throw DataError(messages::kClosed);
}

void DataSet::checkCanModify() const {
  if (readOnly_)
    throw DataError(messages::kReadOnlyDataSet);
}

void DataSet::checkBrowseMode() {
  checkActive();
  if (!isEditing())
    return;
  updateRecord();
  if (modified_)
    post();
  else
    cancel();
}

void DataSet::checkRequired() const {
  for (const auto& f : fields_)
    if (f->required() && packet::isNull(buffer_[static_cast<std::size_t>(f->index())]))
      throw DataError(messages::fieldRequired(f->displayLabel()));
}

// ---- field access ----

Record* DataSet::currentRecord() const {
  if (cursor_ < 0 || cursor_ >= static_cast<int>(view_.size()))
    return nullptr;
  return view_[static_cast<std::size_t>(cursor_)];
}

Record* DataSet::viewAt(int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= view_.size())
    throw std::out_of_range("linha fora da leitura");
  return view_[static_cast<std::size_t>(row)];
}

packet::Value DataSet::currentValue(int field) const {
  const auto i = static_cast<std::size_t>(field);
  if (readRow_ != nullptr)
    return readRow_->values.get(i);
  if (readingBuffer_ || isEditing())
    return buffer_[i];
  const Record* r = currentRecord();
  return r != nullptr ? r->values.get(i) : kNull;
}

packet::Value DataSet::originalValue(int field) const {
  const Record* r = readRow_;
  if (r == nullptr) {
    if (state_ == DataSetState::Edit)
      r = editRecord_;
    else if (state_ == DataSetState::Browse)
      r = currentRecord();
  }
  if (r == nullptr || r->inserted)
    return kNull;
  return r->mergedValues().get(static_cast<std::size_t>(field));
}

void DataSet::writeValue(Field& field, packet::Value value) {
  if (!isEditing() || readRow_ != nullptr || readingBuffer_)
    throw DataError(messages::kNotEditing);
  if (field.readOnly())
    throw DataError(messages::fieldReadOnly(field.name()));
  buffer_[static_cast<std::size_t>(field.index())] = std::move(value);
  modified_ = true;
  dataEvent(DataEvent::FieldChange, &field);
  const auto handler = field.onChange;
  if (handler)
    handler(field);
}

// ---- change log ----

int DataSet::changeCount() const {
  return change_log::count(records_);
}

packet::Delta DataSet::delta() const {
  return change_log::delta(fieldDefs(), records_);
}

void DataSet::mergeChangeLog() {
  const Record* keep = currentRecord();
  change_log::merge(records_, goneSinceLoad_);
  rebuildView(keep);
}

void DataSet::cancelUpdates() {
  cancel();
  if (!active())
    return;
  const Record* keep = currentRecord();
  const int oldCursor = cursor_;
  change_log::revert(records_);
  rebuildView(keep);
  if (keep == nullptr || cursor_ < 0) {
    cursor_ = view_.empty() ? -1 : std::clamp(oldCursor, 0, recordCount() - 1);
  }
  bof_ = eof_ = view_.empty();
  dataEvent(DataEvent::DataSetChange);
}

// ---- indexes and reading order ----

void DataSet::addIndex(std::string name, const std::string& fields, bool descending) {
  indexes_.emplace_back(std::move(name), splitFieldList(fields), descending);
}

void DataSet::setIndexName(const std::string& name) {
  if (!name.empty()) {
    const auto it = std::find_if(indexes_.begin(), indexes_.end(), [&](const DataIndex& index) {
      return strcasecmp(index.name().c_str(), name.c_str()) == 0;
    });
    if (it == indexes_.end())
      throw DataError(messages::indexNotFound(name));
    indexPositions(*it);  // every field must exist
  }
  if (active())
    checkBrowseMode();
  indexName_ = name;
  if (!active())
    return;
  rebuildView(currentRecord());
  dataEvent(DataEvent::DataSetChange);
}

std::vector<int> DataSet::indexPositions(const DataIndex& index) const {
  std::vector<int> positions;
  for (const auto& name : index.fieldNames())
    positions.push_back(fieldByName(name).index());
  return positions;
}

void DataSet::rebuildView(const Record* keep) {
  std::vector<Record*> view;
  view.reserve(records_.size());
  for (std::size_t i = 0; i < records_.size(); ++i)
    if (!records_[i]->deleted)
      view.push_back(records_[i].get());
  if (!indexName_.empty()) {
    for (const auto& index : indexes_) {
      if (strcasecmp(index.name().c_str(), indexName_.c_str()) != 0)
        continue;
      index.sort(view, indexPositions(index));
      break;
    }
  }
  view_.assign(std::move(view));
  if (keep == nullptr)
    return;
  const std::size_t at = view_.findNear(static_cast<std::size_t>(std::max(cursor_, 0)),
                                        [&](const Record* r) { return r == keep; });
  cursor_ = at == view_.size() ? -1 : static_cast<int>(at);
}

int DataSet::viewRowCount() const {
  return recordCount() + (state_ == DataSetState::Insert ? 1 : 0);
}

int DataSet::currentViewRow() const {
  if (state_ == DataSetState::Insert)
    return insertRow_;
  return cursor_;
}

void DataSet::readRow(int row, const std::function<void()>& read) const {
  const Record* record = nullptr;
  bool fromBuffer = false;
  if (state_ == DataSetState::Insert) {
    if (row == insertRow_)
      fromBuffer = true;
    else
      record = viewAt(row > insertRow_ ? row - 1 : row);
  } else if (state_ == DataSetState::Edit && row == cursor_) {
    fromBuffer = true;  // the edit buffer shows the row being edited
  } else {
    record = viewAt(row);
  }
  const Record* savedRow = readRow_;
  const bool savedInsert = readingBuffer_;
  readRow_ = record;
  readingBuffer_ = fromBuffer;
  try {
    read();
  } catch (...) {
    readRow_ = savedRow;
    readingBuffer_ = savedInsert;
    throw;
  }
  readRow_ = savedRow;
  readingBuffer_ = savedInsert;
}

}  // namespace db
