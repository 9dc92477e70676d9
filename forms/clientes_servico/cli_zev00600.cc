#include "forms/clientes_servico/cli_zev00600.h"

#include "forms/clientes_servico/frm_clientes_servico.h"
#include "host/showavi.h"
#include "host/ui/application.h"

namespace Cli_zev00600 {

TfrmClientesServico* frmClientesServico = nullptr;
bool boStCriado = false;
bool boInclui = true;
bool boData = false;
bool boVrAlterado = false;
std::string stMinEfeConsid;
std::string stMinEfeCorrig;
std::unique_ptr<Controlmenu::TParamControl> ParamControl;

namespace {
int initializationCount = 0;
}

void CriaClientesServico() {
  auto& app = ui::application();
  app.screen().setCursor(ui::Cursor::HourGlass);
  if (!boStCriado) {
    try {
      frmClientesServico = app.createForm<TfrmClientesServico>();
    } catch (...) {
      // A failed creation leaves neither the hourglass nor the wait indicator behind.
      if (Showavi::state().active)
        Showavi::DeactiveShowAvi();
      app.screen().setCursor(ui::Cursor::Default);
      throw;
    }
    boStCriado = true;
  }
  frmClientesServico->show();
  if (app.screen().width() == 640 && app.screen().height() == 480) {
    frmClientesServico->setWindowState(ui::WindowState::Maximized);
  }
  app.screen().setCursor(ui::Cursor::Default);
}

void initialization() {
  if (initializationCount++ != 0)
    return;
  boStCriado = false;
  boInclui = true;
  boVrAlterado = false;
}

void finalization() {
  if (--initializationCount != 0)
    return;
  stMinEfeConsid.clear();
  stMinEfeCorrig.clear();
}

}  // namespace Cli_zev00600
