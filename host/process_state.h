// ProcessState: everything the host keeps for the whole life of the process, in one object.
//
// What lives here: the working context (Quendra::context()), the wait indicator shown now
// (Showavi::state()), the connection to the local database (dtmDBGeral::adcGeral()), what every
// server connection shares (session, trusted authorities, call hook: TNetConnection's static
// settings), the report engine factory and the cost-type numbers of the last list filled. Each
// unit keeps its own functions as the way in, so forms never name this object.
//
// Who may write it: the host application at start-up and between sessions (working context,
// session, hook, report engine), and the units that own each part. Forms only read, through
// those units. reset() brings the process back to how it starts, the toolkit's application
// (host/ui, a layer below, which owns the forms) and its test clock included; tests and the
// script driver call it between runs. Everything runs on the user-interface thread, except
// the connection settings, which carry their own lock.
#pragma once

#include <memory>
#include <vector>

#include "host/db/database.h"
#include "host/net_connection.h"
#include "host/quendra.h"
#include "host/report_engine.h"
#include "host/showavi.h"

namespace host {

class ProcessState {
 public:
  ProcessState();
  ~ProcessState();
  ProcessState(const ProcessState&) = delete;
  ProcessState& operator=(const ProcessState&) = delete;

  Quendra::WorkingContext context;
  Showavi::WaitState wait;
  // Opened on first use by dtmDBGeral::adcGeral().
  std::unique_ptr<db::Database> localDatabase;
  ConnectionSettings connections;
  ReportEngineFactory reportEngines;
  // Filled by Lib00500::ListaTipoCusto, read by Lib00500::NumeroTipoCusto.
  std::vector<int> costTypeNumbers;

  // Destroys every form of the application, then gives every part its start value. No form
  // or query may be in use by the caller.
  void reset();
};

ProcessState& processState();

}  // namespace host
