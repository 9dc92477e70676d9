#include "forms/dialogs/frm_vigencia_turno.h"

#include "host/consiste.h"
#include "host/ui/application.h"
#include "host/ui/errors.h"
#include "module/module_state.h"

TfrmVigenciaTurno::TfrmVigenciaTurno() : host::TfrmRotiGeral("frmVigenciaTurno") {
  setCaption("Cadastramento Validade (Turno)");
  setBorderStyle(ui::BorderStyle::Dialog);
  setClientSize(351, 72);
  lblVigencia = grbDadosRel->add<ui::Label>("lblVigencia");
  lblVigencia->setCaption("Início de Vigência");
  lblVigencia->setBold(true);
  lblVigencia->setBounds(12, 20, 120, 13);
  depVigencia = grbDadosRel->add<ui::DateEdit>("depVigencia");
  depVigencia->setBounds(12, 36, 100, 21);
  depVigencia->setWeekdayNames(
      {"Domingo", "Segunda", "Terça", "Quarta", "Quinta", "Sexta", "Sábado"});
  lblVigencia->setFocusControl(depVigencia);
  msgPadrao->setLines({
      "VIGENCIA_N_INF|Data de início da vigência deve ser informada.",
      "CONF_VIGENCIA|Data de vigência menor que a última data de vigência cadastrada. Confirma "
      "a operação?",
  });
}

void TfrmVigenciaTurno::VdVigencia() {
  depVigencia->checkValidDate();
  if (depVigencia->isEmpty()) {
    depVigencia->setFocus();
    Consiste::MensErro(msgPadrao->Msg("VIGENCIA_N_INF"), true);
  }
}

void TfrmVigenciaTurno::sbtConfirmaClick(ui::Component&) {
  VdVigencia();
  if (depVigencia->date() < Cli_zev00605::unit().vigenciaAtual &&
      msgPadrao->ShowMsg("CONF_VIGENCIA", ui::MessageKind::Confirmation,
                         ui::MessageButtons::YesNo) != ui::mrYes) {
    depVigencia->setFocus();
    throw ui::Abort();
  }
  setModalResult(ui::mrOk);
}

void TfrmVigenciaTurno::sbtCancelClick(ui::Component& sender) {
  setModalResult(ui::mrCancel);
  host::TfrmRotiGeral::sbtCancelClick(sender);
}

void TfrmVigenciaTurno::FormClose(ui::Form& sender, ui::CloseAction& action) {
  host::TfrmRotiGeral::FormClose(sender, action);
  action = ui::CloseAction::Free;
}

namespace Cli_zev00605 {

bool CriaVigenciaTurno(double& proposed, double current) {
  UnitState& state = unit();
  state.frmVigenciaTurno = ui::application().createForm<TfrmVigenciaTurno>();
  state.frmVigenciaTurno->depVigencia->setDate(proposed);
  state.vigenciaAtual = current;
  // The dialog goes once the user event ends; its result and date are read before.
  if (state.frmVigenciaTurno->showModal() != ui::mrOk)
    return false;
  proposed = state.frmVigenciaTurno->depVigencia->date();
  return true;
}

}  // namespace Cli_zev00605
