// Binds the main form's events to its handler methods.
#include "forms/clientes_servico/frm_clientes_servico.h"

void TfrmClientesServico::bindHandlers() {
  onShow = [this](ui::Form& f) { FormShow(f); };
  onActivate = [this](ui::Form& f) { FormActivate(f); };
  netClientesServico->beforeConnect = [this](host::TNetConnection& c) {
    netClientesServicoBeforeConnect(c);
  };
  netCustProd->beforeConnect = [this](host::TNetConnection& c) { netCustProdBeforeConnect(c); };
  bindGridHandlers();
  bindProductHandlers();
  bindShiftHandlers();
  bindCorrectionHandlers();
  bindServiceHistoryHandlers();
  bindFilterHandlers();
  bindClientListHandlers();
  bindEnablingHandlers();
  bindRecordRuleHandlers();
}
