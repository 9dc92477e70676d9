// The checks of the weekday values and minimum staff of "Exceções por Dia", the sub-page
// change of "Valor do Serviço" (which loads the service history when it is shown) and the
// replication command.
#include <functional>
#include <string>

#include "forms/clientes_servico/frm_clientes_servico.h"
#include "forms/dialogs/cli_zev00602.h"
#include "host/consiste.h"
#include "host/ui/errors.h"

namespace {

// The checks compare texts as bytes, so a text fails exactly when its first character sorts
// before the digit 0 (a sign, a comma, a full stop or a blank).
bool sortsBeforeZero(const std::string& text) {
  return text < std::string("0");
}

}  // namespace

void TfrmClientesServico::checkDayEdit(db::DBEdit* edit, bool required, const char* missingKey,
                                       const std::function<std::string()>& negativeText) {
  try {
    const std::string& text = edit->text();
    if (required) {
      if (Consiste::EmptyString(text))
        Consiste::MensErro(msgPadrao->Msg(missingKey), true);
    } else if (!Consiste::EmptyString(text) && sortsBeforeZero(text)) {
      Consiste::MensErro(negativeText(), true);
    }
  } catch (const ui::Abort&) {
    showValuePage(tshExcecao);
    // An edit that cannot take the focus (its page disabled, its panel hidden) must not turn
    // the check's own message into a second one about the focus.
    if (edit->canFocus())
      edit->setFocus();
    throw;
  }
}

void TfrmClientesServico::Valida_Vr_Serv(db::DBEdit* edit, bool required) {
  checkDayEdit(edit, required, "VrServico_inf",
               [this] { return msgPadrao->Msg("VrServ_men_zero"); });
}

void TfrmClientesServico::Valida_Min_Efet(db::DBEdit* edit, bool required) {
  checkDayEdit(edit, required, "VrMinEfet_inf", [this] {
    // The line has no placeholder; the staff name is passed as the catalogue's callers do.
    const int column = Consiste::IndiceCol(*dbgPadrao, "QTEFETMINI");
    const std::string title = column >= 0 ? dbgPadrao->column(column).title() : std::string();
    return msgPadrao->Msg("VrMinEfet_men_zero", {msgPadrao->Msg(title)});
  });
}

void TfrmClientesServico::pgcValorServChange(ui::Control& /*sender*/) {
  if (PaginaHistoricoAtiva())
    loadHistServFatu();
  applyEnabling();
}

void TfrmClientesServico::sbtVrServicoClick(ui::Component& /*sender*/) {
  // The dialog itself sends the value to the server and reloads the form.
  Cli_zev00602::CriaDataAtua("S", "S", medCdFilial->text(), cdsServClieCDCLIENTE->asString(),
                             medCdServico->text(), true);
}
