// Registration of the remote methods, one group per file. Each adds its methods, with their
// argument lists, to the table the service dispatches from.
#pragma once

#include "server/remote_method.h"

namespace server {

// GetServClie, GetClientesFilial, UpdServClie, ProUpVrPrFixAut.
void addServClieMethods(MethodTable& table);
// GetHistServFatu, UpdHistServFatu, DelHistServFatu, AlterarVrServico, GetMaiorVigencia,
// GetDtReplicaValor.
void addValueHistoryMethods(MethodTable& table);
// GetTurno, SetTurno, GetHistoricoTurno.
void addShiftMethods(MethodTable& table);
// GetCorrPrecServ, UpdCorrPrecServ, GetIntervMaior.
void addCorrectionMethods(MethodTable& table);
// GetParamFilial, GetTipoCusto, and rdmCustProd's GetListaTipoCusto.
void addLookupMethods(MethodTable& table);
// rdmTrilha's GetTrilha: the trail of changes, filtered.
void addTrailMethods(MethodTable& table);

}  // namespace server
