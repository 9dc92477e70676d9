// Definitions of the module's client data sets: their fields in order with every display
// property, and the indexes that order the history data sets. Each function defines one data
// set, which must be closed and have no fields yet; the rows come later from the packets of
// the application server's methods.
#pragma once

#include "host/db/data_set.h"

namespace data {

// Client-service rows of the main form (GetServClie, saved by UpdServClie).
void defineCdsServClie(db::DataSet& dataSet);
// Clients of the branch that can still be bound to the service (GetClientesFilial).
void defineCdsClientesFilial(db::DataSet& dataSet);
// Billing type and parameter text of the branch (GetParamFilial).
void defineCdsParamFilial(db::DataSet& dataSet);
// Price correction table of the current row (GetCorrPrecServ, saved by UpdCorrPrecServ).
void defineCdsCorrPrecServ(db::DataSet& dataSet);
// Stored intervals a percentage falls into (GetIntervMaior).
void defineCdsIntervMaior(db::DataSet& dataSet);
// Value history of the current row (GetHistServFatu), ordered by the active descending index
// idxVigenciaAlteracao on start of validity and date of change.
void defineCdsHistServFatu(db::DataSet& dataSet);
// Shift values of the current row with their weekday exceptions (GetTurno, saved by SetTurno).
void defineCdsTurno(db::DataSet& dataSet);
// The cost type of the current row (GetTipoCusto).
void defineCdsTipoCusto(db::DataSet& dataSet);
// Value history of the current shift (GetHistoricoTurno), ordered by the active descending
// index idxVigencia on start of validity and date of change.
void defineCdsHistoricoTurno(db::DataSet& dataSet);
// The date of the last replication, read by the validity dialog (GetDtReplicaValor).
void defineCdsDtReplicaValor(db::DataSet& dataSet);
// Latest start of validity of a client and service (GetMaiorVigencia).
void defineCdsMaiorVigencia(db::DataSet& dataSet);

}  // namespace data
