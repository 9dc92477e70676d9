// Applying a partial packet: the rows held, back to their last merged state, take the changed
// rows in place of theirs, lose the rows gone, and stand in the packet's order, exactly as a
// load of the whole read would leave them (events included).
#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <unordered_set>

#include "host/db/change_log.h"
#include "host/db/data_set.h"
#include "packet/name_order.h"

namespace db {

namespace {

// Positions of the named fields in the data set; throws DataError for a name it lacks.
std::vector<std::size_t> positionsOf(const DataSet& dataSet,
                                     const std::vector<std::string>& names) {
  std::vector<std::size_t> positions;
  for (const auto& name : names)
    positions.push_back(static_cast<std::size_t>(dataSet.fieldByName(name).index()));
  return positions;
}

void appendKeyPart(std::string& key, const packet::Value& value) {
  if (const auto* text = std::get_if<std::string>(&value)) {
    key += 'T';
    key += *text;
  } else if (const auto* number = std::get_if<double>(&value)) {
    char buffer[32];
    key += 'N';
    key.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, *number).ptr);
  } else {
    key += '0';
  }
  key += '\x1F';
}

std::string keyOf(const RowValues& row, const std::vector<std::size_t>& positions) {
  std::string key;
  for (const std::size_t p : positions)
    appendKeyPart(key, row.get(p));
  return key;
}

std::string keyOf(const packet::Row& values) {
  std::string key;
  for (const auto& value : values)
    appendKeyPart(key, value);
  return key;
}

// The read's order: each level as names or exactly, then the key.
class RowOrder {
 public:
  RowOrder(const DataSet& dataSet, const packet::PacketChanges& changes)
      : keys_(positionsOf(dataSet, changes.keyFields)) {
    for (const auto& level : changes.order) {
      levels_.push_back(
          {static_cast<std::size_t>(dataSet.fieldByName(level.field).index()), level.asName});
    }
  }

  bool operator()(const RowValues& a, const RowValues& b) const {
    for (const auto& [at, asName] : levels_) {
      const int c = asName && a.isText(at) && b.isText(at)
                        ? packet::compareForSorting(a.text(at), b.text(at))
                        : compareAt(a, b, at);
      if (c != 0)
        return c < 0;
    }
    for (const std::size_t at : keys_) {
      const int c = compareAt(a, b, at);
      if (c != 0)
        return c < 0;
    }
    return false;
  }

 private:
  std::vector<std::pair<std::size_t, bool>> levels_;
  std::vector<std::size_t> keys_;
};

}  // namespace

bool DataSet::canApply(const packet::Packet& partial) const {
  if (!partial.changes || !active() || version_ <= 0 || partial.changes->since != version_)
    return false;
  const auto& changes = *partial.changes;
  for (const auto& name : changes.keyFields) {
    if (findField(name) == nullptr || partial.fieldIndex(name) < 0)
      return false;
  }
  for (const auto& level : changes.order) {
    if (findField(level.field) == nullptr)
      return false;
  }
  // Rows whose change was merged since the load hold what the client sent, which the server
  // may have stored otherwise: each must come again, changed or gone.
  std::unordered_set<std::string> sent;
  std::vector<int> packetKeys;
  for (const auto& name : changes.keyFields)
    packetKeys.push_back(partial.fieldIndex(name));
  for (const auto& row : partial.rows) {
    packet::Row key;
    for (const int p : packetKeys)
      key.push_back(row.at(static_cast<std::size_t>(p)));
    sent.insert(keyOf(key));
  }
  for (const auto& row : partial.packedRows) {
    packet::Row key;
    for (const int p : packetKeys) {
      if (p < 0 || static_cast<std::size_t>(p) >= row.size())
        throw std::out_of_range("packed row key");
      key.push_back(row.get(static_cast<std::size_t>(p)));
    }
    sent.insert(keyOf(key));
  }
  for (const auto& key : changes.removed)
    sent.insert(keyOf(key));
  const auto positions = positionsOf(*this, changes.keyFields);
  for (std::size_t i = 0; i < records_.size(); ++i) {
    const Record& r = *records_[i];
    if (r.merged && !sent.contains(keyOf(r.mergedValues(), positions)))
      return false;
  }
  return std::all_of(goneSinceLoad_.begin(), goneSinceLoad_.end(),
                     [&](const RowValues& gone) { return sent.contains(keyOf(gone, positions)); });
}

void DataSet::applyChanges(packet::Packet& packet, bool consume) {
  if (!canApply(packet)) {
    throw DataError(fmt::format(
        "O pacote parcial de '{}' não se aplica às linhas carregadas (versão {}, pacote desde {}).",
        name(), version_, packet.changes->since));
  }
  const packet::PacketChanges changes = *packet.changes;
  std::vector<std::unique_ptr<Record>> fresh = recordsOf(packet, consume);
  const auto positions = positionsOf(*this, changes.keyFields);
  std::unordered_set<std::string> replaced;
  for (const auto& r : fresh)
    replaced.insert(keyOf(r->values, positions));
  for (const auto& key : changes.removed)
    replaced.insert(keyOf(key));

  // The rows held as last loaded and merged, without the ones the packet replaces or removes.
  // They are taken aside while the data set closes, with the events of a whole load.
  change_log::Records held;
  closeKeeping(&held);
  change_log::revert(held);
  std::vector<std::unique_ptr<Record>> kept;
  kept.reserve(held.size());
  for (auto& r : held.contiguous()) {
    if (!replaced.contains(keyOf(r->values, positions))) {
      r->merged = false;
      kept.push_back(std::move(r));
    }
  }
  held.clear();

  // The changed rows go where the read's order puts them among the rows kept.
  const RowOrder before(*this, changes);
  const auto byOrder = [&](const std::unique_ptr<Record>& a, const std::unique_ptr<Record>& b) {
    return before(a->values, b->values);
  };
  std::sort(fresh.begin(), fresh.end(), byOrder);
  std::vector<std::unique_ptr<Record>> rows;
  rows.reserve(kept.size() + fresh.size());
  auto next = kept.begin();
  for (auto& row : fresh) {
    const auto place = std::upper_bound(next, kept.end(), row, byOrder);
    std::move(next, place, std::back_inserter(rows));
    next = place;
    rows.push_back(std::move(row));
  }
  std::move(next, kept.end(), std::back_inserter(rows));
  openRecords(std::move(rows), packet.version);
}

}  // namespace db
