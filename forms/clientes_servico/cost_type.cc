// The cost-type combo of "Custo por Produto": showing the number stored in the current
// client-service row, and storing the number of the type the user chooses.
#include <string>
#include <utility>

#include "forms/clientes_servico/frm_clientes_servico.h"
#include "host/consiste.h"
#include "host/lib00500.h"
#include "host/server_call.h"

void TfrmClientesServico::MostraTipoCusto(bool lookUp) {
  // Setting the selection must not edit the row, so the change handler is away meanwhile.
  auto changeHandler = std::exchange(cbbTipoCusto->onChange, nullptr);
  try {
    const std::string stored = cdsServClie->fieldByName("IDTCUSPRVAR").text();
    if (!lookUp || stored.empty()) {
      cbbTipoCusto->setItemIndex(-1);
    } else {
      cdsTipoCusto->loadPacket(
          host::callServer(*netClientesServico, "GetTipoCusto", {Consiste::Ajusta(stored, 2)}));
      // A number the server does not know leaves the selection as it was.
      if (!cdsTipoCusto->isEmpty()) {
        const bool inUse = cdsTipoCusto->fieldByName("IDUTTPCUSTO").asString() == "S";
        cbbTipoCusto->setItemIndex(
            inUse ? cbbTipoCusto->indexOf(cdsTipoCusto->fieldByName("NMTIPOCUSTO").asString())
                  : -1);
      }
    }
  } catch (...) {
    cbbTipoCusto->onChange = std::move(changeHandler);
    throw;
  }
  cbbTipoCusto->onChange = std::move(changeHandler);
}

void TfrmClientesServico::cbbTipoCustoChange(ui::Control& /*sender*/) {
  if (dtsPadrao->state() == db::DataSetState::Browse)
    cdsServClie->edit();
  cdsServClie->fieldByName("IDTCUSPRVAR")
      .setAsFloat(Lib00500::NumeroTipoCusto(cbbTipoCusto->itemIndex()));
}
