// TfrmRelClieServ: the parameter form of the listing of clients per service ("ZEV00601").
//
// Opened modally by the main form's print command through Cli_zev00601::CriaRelClieServ. On
// the host report form it adds three filters: one client (by registration number, typed or
// searched), all branches or a list of them, all services or a list of them (offered for the
// chosen branches). Before each print, preview or save-as it checks them (Vd_Cliente,
// Vd_Filial, Vd_Servico) and then lets the host run the report "ZEV006", whose query
// parameters it fills in rpddPadraoBeforeGetQueryParams:
//   P_CDCLIENTE                   the client's code, or empty for every client;
//   P_CDFILIAL / P_TCDFILIAL      the chosen branch keys and "", or "" and "T" for all;
//   P_CDSERVFILI / P_TCDSERVFILI  the chosen service keys (branch + service) and "", or "" and
//                                 "T" for all;
// each pair only when the definition declares both of its parameters.
#pragma once

#include <string>

#include "host/btn_pesquisa.h"
#include "host/db/data_source.h"
#include "host/db/sql_query.h"
#include "host/frm_dados_ger_rel.h"
#include "host/ui/buttons.h"
#include "host/ui/containers.h"
#include "host/ui/edit.h"
#include "host/ui/static_controls.h"
#include "host/ui/typed_edits.h"

class TfrmRelClieServ : public host::TfrmDadosGerRel {
 public:
  TfrmRelClieServ();

  ui::Label* lblCliente;
  ui::MaskEdit* medCdCliente;
  host::TBtnPesquisa* btnPesqClie;
  ui::Edit* edtNmCliente;
  ui::GroupBox* grbFilial;
  ui::RadioButton* rbtTFilial;
  ui::RadioButton* rbtListaFilial;
  host::TBtnPesquisa* btnPesqFili;
  ui::GroupBox* grbServico;
  ui::RadioButton* rbtTServico;
  ui::RadioButton* rbtListaServ;
  host::TBtnPesquisa* btnPesqServ;

  db::SqlQuery* qryCliente;
  db::DataSource* dtsCliente__;
  db::Field* qryClienteNRINSJURCLIE;
  db::Field* qryClienteIDTPIJURCLIE;
  db::Field* qryClienteNMFANTCLIE;
  db::Field* qryClienteCDCLIENTE;
  db::SqlQuery* qryFilial;
  db::DataSource* dtsFilial__;
  db::SqlQuery* qryServico;
  db::DataSource* dtsServico__;

  void FormActivate(ui::Form& sender) override;
  void FormClose(ui::Form& sender, ui::CloseAction& action) override;
  void sbtPrintClick(ui::Component& sender) override;
  void sbtPreviewClick(ui::Component& sender) override;
  void sbtSalvarComoClick(ui::Component& sender) override;

  void rbtListaFilialClick(ui::Control& sender);
  void rbtListaServClick(ui::Control& sender);
  void btnPesqFiliClick(ui::Control& sender);
  void btnPesqServClick(ui::Control& sender);
  void btnPesqClieBeforePesq(host::TBtnPesquisa& sender);
  void btnPesqClieAfterPesq(host::TBtnPesquisa& sender);
  void medCdClienteChange(ui::Control& sender);
  void medCdClienteExit(ui::Control& sender);
  void qryClienteNRINSJURCLIEGetText(db::Field& sender, std::string& text, bool displayText);
  void rpddPadraoBeforeGetQueryParams(host::ReportParams& params);

  void Vd_Cliente();
  void Vd_Filial();
  void Vd_Servico();

 private:
  void buildFilters();
  void bindFilterHandlers();
  // The registration number typed, without the mask's punctuation.
  std::string typedRegistration() const;

  std::string stListaFilial;
  std::string stListaServico;
};
