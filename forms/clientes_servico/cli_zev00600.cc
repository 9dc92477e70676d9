#include "forms/clientes_servico/cli_zev00600.h"

#include "forms/clientes_servico/frm_clientes_servico.h"
#include "host/showavi.h"
#include "host/ui/application.h"

namespace Cli_zev00600 {

void CriaClientesServico() {
  auto& app = ui::application();
  UnitState& state = unit();
  app.screen().setCursor(ui::Cursor::HourGlass);
  if (!state.boStCriado) {
    try {
      state.frmClientesServico = app.createForm<TfrmClientesServico>();
    } catch (...) {
      // A failed creation leaves neither the hourglass nor the wait indicator behind.
      if (Showavi::state().active)
        Showavi::DeactiveShowAvi();
      app.screen().setCursor(ui::Cursor::Default);
      throw;
    }
    state.boStCriado = true;
  }
  state.frmClientesServico->show();
  if (app.screen().width() == 640 && app.screen().height() == 480) {
    state.frmClientesServico->setWindowState(ui::WindowState::Maximized);
  }
  app.screen().setCursor(ui::Cursor::Default);
}

}  // namespace Cli_zev00600
