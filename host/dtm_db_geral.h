// dtmDBGeral: the host's connection to the local database that the lookup queries read.
//
// adcGeral() opens the SQLite file named by Quendra::context().databasePath on first use and
// keeps it open; the queries of every form are bound to it. A path that is not set, a missing
// file or a path changed while the connection is open are refused with a clear error. reset()
// closes it; every query bound to it must be gone by then.
#pragma once

#include "host/db/database.h"

namespace dtmDBGeral {

db::Database& adcGeral();
void reset();

}  // namespace dtmDBGeral
