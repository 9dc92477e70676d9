#include "host/db/change_log.h"

#include <algorithm>

namespace db::change_log {

int count(const Records& records) {
  int changed = 0;
  for (std::size_t i = 0; i < records.size(); ++i)
    changed += records[i]->changed() ? 1 : 0;
  return changed;
}

packet::Delta delta(const std::vector<packet::FieldDef>& fields, const Records& records) {
  std::vector<const Record*> changed;
  for (std::size_t i = 0; i < records.size(); ++i)
    if (records[i]->changed())
      changed.push_back(records[i].get());
  std::sort(changed.begin(), changed.end(),
            [](const Record* a, const Record* b) { return a->changeOrder < b->changeOrder; });
  packet::Delta result;
  result.fields = fields;
  result.changes.reserve(changed.size());
  for (const Record* r : changed) {
    packet::Change change;
    if (r->deleted) {
      change.kind = packet::ChangeKind::Delete;
      change.oldValues = r->mergedValues().toRow();
    } else if (r->inserted) {
      change.kind = packet::ChangeKind::Insert;
      change.newValues = r->values.toRow();
    } else {
      change.kind = packet::ChangeKind::Modify;
      change.oldValues = r->mergedValues().toRow();
      change.newValues = r->values.toRow();
    }
    result.changes.push_back(std::move(change));
  }
  return result;
}

void merge(Records& records, std::vector<RowValues>& gone) {
  records.eraseIf([&](const auto& r) {
    if (!r->deleted)
      return false;
    gone.push_back(r->mergedValues());
    return true;
  });
  for (std::size_t i = 0; i < records.size(); ++i) {
    Record& r = *records[i];
    if (!r.changed())
      continue;
    r.original.reset();
    r.inserted = false;
    r.merged = true;
    r.changeOrder = 0;
  }
}

void revert(Records& records) {
  records.eraseIf([](const auto& r) { return r->inserted; });
  for (std::size_t i = 0; i < records.size(); ++i) {
    Record& r = *records[i];
    if (!r.changed())
      continue;
    if (r.original)
      r.values = std::move(*r.original);
    r.original.reset();
    r.deleted = false;
    r.changeOrder = 0;
  }
}

}  // namespace db::change_log
