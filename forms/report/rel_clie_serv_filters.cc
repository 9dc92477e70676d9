// The report form's filters: choosing branches, services and the client, the checks run before
// each output and the report's query parameters.
#include "forms/report/frm_rel_clie_serv.h"

#include "host/consiste.h"
#include "host/procurar.h"
#include "host/ui/edit_mask.h"

namespace {

// Shows a registration number in the edit with the mask of its person type. The mask goes
// first, so the digits are laid into the right slots.
void showRegistration(ui::MaskEdit& edit, const std::string& digits, const std::string& type) {
  const std::string mask = Consiste::PictPess(type);
  edit.setEditMask(mask);
  edit.setText(mask.empty() ? digits : ui::formatMaskText(mask, digits));
}

void focusIfPossible(ui::Control& control) {
  if (control.canFocus())
    control.setFocus();
}

}  // namespace

std::string TfrmRelClieServ::typedRegistration() const {
  std::string digits;
  for (char c : medCdCliente->value()) {
    if (c != '.' && c != '/' && c != '-' && c != ' ')
      digits.push_back(c);
  }
  return digits;
}

void TfrmRelClieServ::rbtListaFilialClick(ui::Control& /*sender*/) {
  btnPesqFili->setEnabled(rbtListaFilial->checked());
}

void TfrmRelClieServ::rbtListaServClick(ui::Control& /*sender*/) {
  btnPesqServ->setEnabled(rbtListaServ->checked());
}

void TfrmRelClieServ::btnPesqFiliClick(ui::Control& /*sender*/) {
  qryFilial->close();
  qryFilial->open();
  Procurar::PesquisaLista(*dtsFilial__, "CDFILIAL",
                          msgPadrao->Msg("Filial") + "|" + msgPadrao->Msg("Filial_nh"), false,
                          stListaFilial);
}

void TfrmRelClieServ::btnPesqServClick(ui::Control& /*sender*/) {
  qryServico->close();
  if (rbtListaFilial->checked()) {
    qryServico->setParam("P_CDFILIAL", stListaFilial);
    qryServico->setParam("P_TCDFILIAL", "");
  } else {
    qryServico->setParam("P_CDFILIAL", "");
    qryServico->setParam("P_TCDFILIAL", "T");
  }
  qryServico->open();
  Procurar::PesquisaLista(*dtsServico__, "CHAVE",
                          msgPadrao->Msg("Servico") + "|" + msgPadrao->Msg("Servico_nh"), false,
                          stListaServico);
}

void TfrmRelClieServ::btnPesqClieBeforePesq(host::TBtnPesquisa& /*sender*/) {
  qryCliente->close();
  qryCliente->paramByName("P_NRINSJURCLIE").clear();
  qryCliente->open();
  qryClienteNRINSJURCLIE->setEditMask(Consiste::PictPess(qryClienteIDTPIJURCLIE->asString()));
}

void TfrmRelClieServ::btnPesqClieAfterPesq(host::TBtnPesquisa& /*sender*/) {
  showRegistration(*medCdCliente, qryClienteNRINSJURCLIE->asString(),
                   qryClienteIDTPIJURCLIE->asString());
  edtNmCliente->setText(qryClienteNMFANTCLIE->asString());
}

void TfrmRelClieServ::medCdClienteChange(ui::Control& /*sender*/) {
  edtNmCliente->setText("");
  // Emptied, the edit takes either kind of registration number again.
  if (medCdCliente->text().empty() && !medCdCliente->editMask().empty())
    medCdCliente->setEditMask("");
}

void TfrmRelClieServ::medCdClienteExit(ui::Control& /*sender*/) {
  Vd_Cliente();
}

void TfrmRelClieServ::qryClienteNRINSJURCLIEGetText(db::Field& sender, std::string& text,
                                                    bool /*displayText*/) {
  const std::string value = sender.asString();
  text = value.empty()
             ? value
             : ui::formatMaskText(Consiste::PictPess(qryClienteIDTPIJURCLIE->asString()), value);
}

void TfrmRelClieServ::Vd_Cliente() {
  const std::string registration = typedRegistration();
  if (Consiste::EmptyString(registration))
    return;
  qryCliente->close();
  qryCliente->setParam("P_NRINSJURCLIE", registration);
  qryCliente->open();
  if (qryCliente->isEmpty()) {
    focusIfPossible(*medCdCliente);
    Consiste::MensErro(msgPadrao->Msg("Cliente_nc"), true);
  }
  showRegistration(*medCdCliente, qryClienteNRINSJURCLIE->asString(),
                   qryClienteIDTPIJURCLIE->asString());
  edtNmCliente->setText(qryClienteNMFANTCLIE->asString());
}

void TfrmRelClieServ::Vd_Filial() {
  if (rbtListaFilial->checked() && stListaFilial.empty()) {
    focusIfPossible(*rbtListaFilial);
    Consiste::MensErro(msgPadrao->Msg("Filial_inf"), true);
  }
}

void TfrmRelClieServ::Vd_Servico() {
  if (rbtListaServ->checked() && stListaServico.empty()) {
    focusIfPossible(*rbtListaServ);
    Consiste::MensErro(msgPadrao->Msg("Servico_inf"), true);
  }
}

void TfrmRelClieServ::sbtPrintClick(ui::Component& sender) {
  Vd_Cliente();
  Vd_Filial();
  Vd_Servico();
  TfrmDadosGerRel::sbtPrintClick(sender);
}

void TfrmRelClieServ::sbtPreviewClick(ui::Component& sender) {
  Vd_Cliente();
  Vd_Filial();
  Vd_Servico();
  TfrmDadosGerRel::sbtPreviewClick(sender);
}

void TfrmRelClieServ::sbtSalvarComoClick(ui::Component& sender) {
  Vd_Cliente();
  Vd_Filial();
  Vd_Servico();
  TfrmDadosGerRel::sbtSalvarComoClick(sender);
}

void TfrmRelClieServ::rpddPadraoBeforeGetQueryParams(host::ReportParams& params) {
  using host::ReportEngine;
  if (ReportEngine::ExistParam(params, "P_CDCLIENTE")) {
    std::string code;
    if (!Consiste::EmptyString(typedRegistration())) {
      // The client of the last check or search; checked again when there is none.
      if (!qryCliente->active() || qryCliente->isEmpty())
        Vd_Cliente();
      code = qryClienteCDCLIENTE->asString();
    }
    ReportEngine::ParamByName(params, "P_CDCLIENTE").value = code;
  }
  if (ReportEngine::ExistParam(params, "P_CDFILIAL") &&
      ReportEngine::ExistParam(params, "P_TCDFILIAL")) {
    const bool lista = rbtListaFilial->checked();
    ReportEngine::ParamByName(params, "P_CDFILIAL").value = lista ? stListaFilial : "";
    ReportEngine::ParamByName(params, "P_TCDFILIAL").value = lista ? "" : "T";
  }
  if (ReportEngine::ExistParam(params, "P_CDSERVFILI") &&
      ReportEngine::ExistParam(params, "P_TCDSERVFILI")) {
    const bool lista = rbtListaServ->checked();
    ReportEngine::ParamByName(params, "P_CDSERVFILI").value = lista ? stListaServico : "";
    ReportEngine::ParamByName(params, "P_TCDSERVFILI").value = lista ? "" : "T";
  }
}
