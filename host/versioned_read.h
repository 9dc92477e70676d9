// Reloading a data set from a read whose rows carry versions (the bindings of a service).
//
// When the data set holds rows of the same read, the server is asked with their version and
// answers only what changed since; the answer is applied in place. Otherwise, or when the
// answer cannot be applied (see db::DataSet::canApply), the whole read is loaded. Either way
// the data set ends exactly as after loading the whole read, with the same events, and every
// answer passes CheckResultServ: a failure reported by the server raises and leaves the data
// set as it was.
#pragma once

#include <string>
#include <vector>

#include "host/db/data_set.h"
#include "host/net_connection.h"

namespace host {

void reloadVersioned(TNetConnection& connection, db::DataSet& dataSet, const std::string& method,
                     std::vector<packet::Arg> args);

}  // namespace host
