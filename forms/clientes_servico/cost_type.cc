// The cost-type combo of "Custo por Produto": showing the number stored in the current
// client-service row, and storing the number of the type the user chooses.
#include <string>

#include "forms/clientes_servico/frm_clientes_servico.h"
#include "host/consiste.h"
#include "host/lib00500.h"
#include "host/server_call.h"
#include "host/ui/scoped_detach.h"

void TfrmClientesServico::MostraTipoCusto(bool lookUp) {
  // Setting the selection must not edit the row, so the change handler is away meanwhile.
  const ui::ScopedDetach notAnEdit(cbbTipoCusto->onChange);
  const std::string stored = cdsServClieIDTCUSPRVAR->text();
  if (!lookUp || stored.empty()) {
    cbbTipoCusto->setItemIndex(-1);
    return;
  }
  cdsTipoCusto->loadPacket(
      host::callServer(*netClientesServico, "GetTipoCusto", {Consiste::Ajusta(stored, 2)}));
  // A number the server does not know leaves the selection as it was.
  if (cdsTipoCusto->isEmpty())
    return;
  const bool inUse = cdsTipoCustoIDUTTPCUSTO->asString() == "S";
  cbbTipoCusto->setItemIndex(inUse ? cbbTipoCusto->indexOf(cdsTipoCustoNMTIPOCUSTO->asString())
                                   : -1);
}

void TfrmClientesServico::cbbTipoCustoChange(ui::Control& /*sender*/) {
  if (dtsPadrao->state() == db::DataSetState::Browse)
    cdsServClie->edit();
  cdsServClieIDTCUSPRVAR->setAsFloat(Lib00500::NumeroTipoCusto(cbbTipoCusto->itemIndex()));
}
