#include "host/db/change_log.h"

#include <algorithm>

namespace db::change_log {

int count(const Records& records) {
  return static_cast<int>(
      std::count_if(records.begin(), records.end(), [](const auto& r) { return r->changed(); }));
}

packet::Delta delta(const std::vector<packet::FieldDef>& fields, const Records& records) {
  std::vector<const Record*> changed;
  for (const auto& r : records)
    if (r->changed())
      changed.push_back(r.get());
  std::sort(changed.begin(), changed.end(),
            [](const Record* a, const Record* b) { return a->changeOrder < b->changeOrder; });
  packet::Delta result;
  result.fields = fields;
  result.changes.reserve(changed.size());
  for (const Record* r : changed) {
    packet::Change change;
    if (r->deleted) {
      change.kind = packet::ChangeKind::Delete;
      change.oldValues = r->mergedValues();
    } else if (r->inserted) {
      change.kind = packet::ChangeKind::Insert;
      change.newValues = r->values;
    } else {
      change.kind = packet::ChangeKind::Modify;
      change.oldValues = r->mergedValues();
      change.newValues = r->values;
    }
    result.changes.push_back(std::move(change));
  }
  return result;
}

void merge(Records& records) {
  std::erase_if(records, [](const auto& r) { return r->deleted; });
  for (auto& r : records) {
    if (!r->changed())
      continue;
    r->original.reset();
    r->inserted = false;
    r->changeOrder = 0;
  }
}

void revert(Records& records) {
  std::erase_if(records, [](const auto& r) { return r->inserted; });
  for (auto& r : records) {
    if (!r->changed())
      continue;
    if (r->original)
      r->values = std::move(*r->original);
    r->original.reset();
    r->deleted = false;
    r->changeOrder = 0;
  }
}

}  // namespace db::change_log
