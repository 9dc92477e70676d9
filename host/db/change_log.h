// The change log of a data set, kept inside its records: inserted rows (no original values),
// modified rows (original and current values) and deleted rows (kept, flagged, until the log
// is merged so that cancelling can restore them in their place).
//
// Internal to the data layer: DataSet calls these to build the delta, merge the log and
// revert to the last merged state.
#pragma once

#include <memory>
#include <vector>

#include "host/db/gap_vector.h"
#include "host/db/record.h"
#include "packet/packet.h"

namespace db::change_log {

using Records = GapVector<std::unique_ptr<Record>>;

// Number of rows with a pending change.
int count(const Records& records);

// The pending changes in the order they were first made: inserts with their new values,
// modifications with old and new values, deletions with their old values.
packet::Delta delta(const std::vector<packet::FieldDef>& fields, const Records& records);

// Accepts every pending change: deleted rows go (their values as last merged are added to
// `gone`), current values become the original ones, and changed rows are marked merged.
void merge(Records& records, std::vector<RowValues>& gone);

// Back to the last merged state: inserted rows go, deleted rows come back where they were,
// modified rows take their original values again.
void revert(Records& records);

}  // namespace db::change_log
