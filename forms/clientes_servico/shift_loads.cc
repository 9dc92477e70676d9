// Loading the shift values of the current client-service row and the history of the current
// shift.
#include <string>

#include "forms/clientes_servico/frm_clientes_servico.h"
#include "host/server_call.h"
#include "host/showavi.h"
#include "host/ui/application.h"

void TfrmClientesServico::GetTurno(const std::string& shiftCode) {
  cdsTurno->loadPacket(loadShowingWait(
      "Get_Turno", "GetTurno",
      {medCdFilial->text(), cdsServClieCDCLIENTE->asString(), medCdServico->text()}));
  if (!shiftCode.empty())
    cdsTurno->locate("CDTURNO", {packet::Value(shiftCode)});
}

void TfrmClientesServico::GetHistoricoTurno() {
  Showavi::ShowWhile(ui::application().mainForm(), 1, {}, [this] {
    cdsHistoricoTurno->loadPacket(
        host::callServer(*netClientesServico, "GetHistoricoTurno",
                         {cdsTurnoCDFILIAL->asString(), cdsTurnoCDCLIENTE->asString(),
                          cdsTurnoCDSERVFILI->asString(), cdsTurnoCDTURNO->asString()}));
  });
}

void TfrmClientesServico::cdsTurnoAfterScroll(db::DataSet& /*dataSet*/) {
  // Every shift that becomes current brings its own history, whatever sub-page shows.
  GetHistoricoTurno();
}
