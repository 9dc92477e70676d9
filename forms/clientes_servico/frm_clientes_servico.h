// TfrmClientesServico: the "Clientes por Serviço" maintenance form.
//
// For one branch and one of its services the form lists the clients of the branch that can
// still be bound (left) and the client-service rows already bound (the grid of the first page),
// moves clients in and out, and edits each binding on four pages: the client-service grid,
// the service values (history, weekday exceptions, shift values, shift exceptions, shift
// history), the price-correction table and the cost per product. It derives from the host's
// base maintenance form, whose toolbar and menus act on cdsServClie through dtsPadrao.
//
// The data sets, data sources, lookup queries and their fields come from the data definitions
// (data::ClientesServicoData, a base of this form), each under its own name; dtsPadrao,
// inherited, shows cdsServClie. The constructor builds the whole layout; handlers are methods
// named after the component and the event, grouped by concern in files of their own (filter,
// client lists, enabling, record rules, commands, grid, service values, shifts, correction
// table, cost per product).
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "data/clientes_servico_data.h"
#include "forms/clientes_servico/enabling_rules.h"
#include "host/btn_pesquisa.h"
#include "host/db/data_set.h"
#include "host/db/data_source.h"
#include "host/db/db_edit.h"
#include "host/db/db_grid.h"
#include "host/db/sql_query.h"
#include "host/frm_padrao_simples.h"
#include "host/net_connection.h"
#include "host/ui/combo_box.h"
#include "host/ui/containers.h"
#include "host/ui/edit_mask.h"
#include "host/ui/list_box.h"
#include "host/ui/page_control.h"
#include "host/ui/static_controls.h"
#include "host/ui/typed_edits.h"

class TfrmClientesServico : public host::TfrmPadraoSimples, public data::ClientesServicoData {
 public:
  TfrmClientesServico();
  ~TfrmClientesServico() override;

  // --- connections ---
  host::TNetConnection* netClientesServico;
  host::TNetConnection* netCustProd;

  // --- filter ---
  ui::Panel* panFiltro;
  ui::Label* lblFilial;
  ui::MaskEdit* medCdFilial;
  host::TBtnPesquisa* btpFilial;
  ui::Edit* edtNmFilial;
  ui::Label* lblServico;
  ui::MaskEdit* medCdServico;
  host::TBtnPesquisa* btpServico;
  ui::Edit* edtNmServico;

  // --- client lists and moving buttons ---
  ui::Panel* panDbgPadrao;
  ui::ScrollBox* ScrollBox1;
  ui::Panel* panCaption;
  ui::Label* lblClientes;
  ui::Panel* pan;
  ui::ListBox* lsbPossiveis;
  ui::ListBox* lsbCdPossiveis;
  ui::Panel* panBotoes;
  ui::SpeedButton* sbtEscolhido;
  ui::SpeedButton* sbtTodos;
  ui::SpeedButton* sbtUmEsquerda;
  ui::SpeedButton* sbtTodosEsquerda;
  ui::Panel* panClienFilial;
  ui::Panel* Panel1;
  db::DBText* DBText1;
  ui::Label* lblVrAtual;
  db::DBEdit* dbeVrAtual;
  ui::Label* lblDtIniVig;
  db::DBDateEdit* dbdDtIniVig;

  // --- toolbar and menus of this form ---
  ui::SpeedButton* sbtVrServico;
  ui::MenuItem* N2;
  ui::MenuItem* mnuVrServico;
  ui::MenuItem* mnuClienServ;
  ui::MenuItem* mnuTabCorr;
  ui::MenuItem* mnuCusProd;
  ui::MenuItem* mnuValorServ;
  ui::MenuItem* mnuHistServ;
  ui::MenuItem* mnuExcDia;
  ui::MenuItem* mnuTurno;
  ui::MenuItem* mnuExTurno;
  ui::MenuItem* mnuHistoricoTurno;
  ui::MenuItem* N1;

  // --- pages ---
  ui::PageControl* pgcClientesServico;
  ui::TabSheet* tshClienServ;
  ui::TabSheet* tshValorServ;
  ui::TabSheet* tshTabCorr;
  ui::TabSheet* tshCustoProd;
  ui::PageControl* pgcValorServ;
  ui::TabSheet* tshHistorico;
  ui::TabSheet* tshExcecao;
  ui::TabSheet* tshTurno;
  ui::TabSheet* tshExTurno;
  ui::TabSheet* tshHistoricoTurno;

  // Client-service grid and its flag pictures.
  db::DBGrid* dbgPadrao;
  ui::Image* imgChecked;
  ui::Image* imgUnchecked;

  // "Histórico do Serviço".
  db::DBGrid* dbgHistorico;

  // "Exceções por Dia": value, description and minimum-staff edits, Sunday to holidays.
  ui::GroupBox* grbExcDia;
  ui::GroupBox* GroupBox2;
  ui::Panel* panMinEfet;
  db::DBEdit* dbeVrServDom;
  db::DBEdit* dbeVrServSeg;
  db::DBEdit* dbeVrServTer;
  db::DBEdit* dbeVrServQua;
  db::DBEdit* dbeVrServQui;
  db::DBEdit* dbeVrServSex;
  db::DBEdit* dbeVrServSab;
  db::DBEdit* dbeVrServFer;
  db::DBEdit* dbeDsServDom;
  db::DBEdit* dbeDsServSeg;
  db::DBEdit* dbeDsServTer;
  db::DBEdit* dbeDsServQua;
  db::DBEdit* dbeDsServQui;
  db::DBEdit* dbeDsServSex;
  db::DBEdit* dbeDsServSab;
  db::DBEdit* dbeDsServFer;
  db::DBEdit* dbeMinEfetDom;
  db::DBEdit* dbeMinEfetSeg;
  db::DBEdit* dbeMinEfetTer;
  db::DBEdit* dbeMinEfetQua;
  db::DBEdit* dbeMinEfetQui;
  db::DBEdit* dbeMinEfetSex;
  db::DBEdit* dbeMinEfetSab;
  db::DBEdit* dbeMinEfetFer;

  // "Turno".
  ui::Panel* panVigenciaTurno;
  ui::Label* lblVigenciaTurno;
  db::DBDateEdit* depVigenciaTurno;
  ui::Label* Label17;
  db::DBEdit* dbeDtAltTurno;
  db::DBGrid* dbgTurno;

  // "Exceções por Turno".
  ui::Panel* pnlExcTurno;
  db::DBEdit* dbeCdTurno;
  db::DBEdit* dbeNmTurno;
  db::DBDateEdit* depVigenciaExTurno;
  db::DBEdit* dbeDtAltExTurno;
  ui::GroupBox* GroupBox1;
  ui::Panel* Panel3;
  db::DBEdit* dbeVrExcDom;
  db::DBEdit* dbeVrExcSeg;
  db::DBEdit* dbeVrExcTer;
  db::DBEdit* dbeVrExcQua;
  db::DBEdit* dbeVrExcQui;
  db::DBEdit* dbeVrExcSex;
  db::DBEdit* dbeVrExcSab;
  db::DBEdit* dbeVrExcFer;
  db::DBEdit* dbeDsExcDom;
  db::DBEdit* dbeDsExcSeg;
  db::DBEdit* dbeDsExcTer;
  db::DBEdit* dbeDsExcQua;
  db::DBEdit* dbeDsExcQui;
  db::DBEdit* dbeDsExcSex;
  db::DBEdit* dbeDsExcSab;
  db::DBEdit* dbeDsExcFer;

  // "Histórico do Turno".
  ui::Panel* Panel5;
  db::DBEdit* dbeCdTurnoHist;
  db::DBEdit* dbeNmTurnoHist;
  db::DBGrid* dbgHistoricoTurno;

  // "Tabela de Correção".
  db::DBGrid* dbgCorrPrecServ;
  db::DBEdit* dbePrecoServico;
  db::DBEdit* dbeVolumeProposto;

  // "Custo por Produto".
  ui::GroupBox* grbCustProd;
  db::DBEdit* dbeCdProduto;
  host::TBtnPesquisa* btpProduto;
  db::DBEdit* dbeAcresc;
  ui::ComboBox* cbbTipoCusto;
  db::DBEdit* dbeNmProd;

  // The day edits in day order (DOM, SEG, TER, QUA, QUI, SEX, SAB, FER).
  std::array<db::DBEdit*, 8> vrServEdits() const;
  std::array<db::DBEdit*, 8> minEfetEdits() const;
  std::array<db::DBEdit*, 8> vrExcEdits() const;
  std::array<db::DBEdit*, 8> dsServEdits() const;

  // The service value last confirmed in the validity dialog.
  double vrServicoConfirmado = 0;
  // Names of the empty fields of the shift row being posted, each followed by "|".
  std::string stCamposNulos;

  // --- life cycle ---
  void FormCreate(ui::Form& sender) override;
  void FormShow(ui::Form& sender);
  void FormActivate(ui::Form& sender);
  void FormKeyDown(ui::Control& sender, ui::Key& key, ui::ShiftState shift) override;
  void FormClose(ui::Form& sender, ui::CloseAction& action) override;
  void netClientesServicoBeforeConnect(host::TNetConnection& sender);
  void netCustProdBeforeConnect(host::TNetConnection& sender);

  // --- filter and client selection ---
  void btpFilialBeforePesq(host::TBtnPesquisa& sender);
  void btpFilialAfterPesq(host::TBtnPesquisa& sender);
  void medCdFilialChange(ui::Control& sender);
  void medCdFilialExit(ui::Control& sender);
  void btpServicoBeforePesq(host::TBtnPesquisa& sender);
  void btpServicoAfterPesq(host::TBtnPesquisa& sender);
  void medCdServicoChange(ui::Control& sender);
  void medCdServicoExit(ui::Control& sender);
  void panFiltroEnter(ui::Control& sender);
  void panFiltroExit(ui::Control& sender);
  void Vd_Filial(bool required);
  void Vd_Servico(bool required);
  void MontaLista();
  void lsbPossiveisEnter(ui::Control& sender);
  void lsbPossiveisExit(ui::Control& sender);
  void lsbPossiveisDblClick(ui::Control& sender);
  void cdsClientesFilialAfterScroll(db::DataSet& dataSet);
  void sbtEscolhidoClick(ui::Control& sender);
  void sbtTodosClick(ui::Control& sender);
  void sbtUmEsquerdaClick(ui::Control& sender);
  void sbtTodosEsquerdaClick(ui::Control& sender);
  // The list text of a client: formatted inscription, " - ", company name.
  static std::string clientDisplayText(const std::string& inscription,
                                       const std::string& personType,
                                       const std::string& companyName);
  static std::string clientDisplayText(const std::string& inscription,
                                       const ui::EditMask& inscriptionPicture,
                                       const std::string& companyName);

  // --- page and button enabling (rules in enabling_rules.h) ---
  void HabilitacaoPaginas(bool disabling);
  void HabilitacaoBotoes(bool disabling);
  // HabilitacaoPaginas(false) then HabilitacaoBotoes(false): the rules applied after anything
  // that changes an edit state, what a data set holds or the page shown.
  void applyEnabling();
  bool PaginaClienServAtiva() const;
  bool PaginaValorServAtiva() const;
  bool PaginaTabCorrAtiva() const;
  bool PaginaCustoProdAtiva() const;
  bool PaginaHistoricoAtiva() const;
  bool PaginaExcecDiaAtiva() const;
  bool PaginaTurnoAtiva() const;
  bool PaginaExcecTurnoAtiva() const;
  bool PaginaHistoricoTurnoAtiva() const;
  void pgcClientesServicoChange(ui::Control& sender);
  void pgcClientesServicoEnter(ui::Control& sender);
  void pgcClientesServicoExit(ui::Control& sender);
  void dtsPadraoStateChange(db::DataSource& sender);
  void dtsPadraoDataChange(db::DataSource& sender, db::Field* field);
  void mnuClienServClick(ui::MenuItem& sender);
  void mnuTabCorrClick(ui::MenuItem& sender);
  void mnuCusProdClick(ui::MenuItem& sender);
  void mnuValorServClick(ui::MenuItem& sender);
  void mnuHistServClick(ui::MenuItem& sender);
  void mnuExcDiaClick(ui::MenuItem& sender);
  void mnuTurnoClick(ui::MenuItem& sender);
  void mnuExTurnoClick(ui::MenuItem& sender);
  void mnuHistoricoTurnoClick(ui::MenuItem& sender);
  // Shows a page (or a value sub-page; null keeps the one shown) as its menu item does, with
  // the change handling; the rules that refuse a value bring their page forward this way.
  void showPage(ui::TabSheet* page);
  void showValuePage(ui::TabSheet* subPage);

  // --- client-service record rules ---
  void cdsServClieBeforeInsert(db::DataSet& dataSet);
  void cdsServClieVRSERVFATUChange(db::Field& field);
  void cdsServClieBeforePost(db::DataSet& dataSet);
  void cdsServClieAfterPost(db::DataSet& dataSet);
  void cdsServClieAfterCancel(db::DataSet& dataSet);
  void cdsServClieBeforeDelete(db::DataSet& dataSet);
  void cdsServClieAfterDelete(db::DataSet& dataSet);
  void cdsServClieAfterScroll(db::DataSet& dataSet);

  // --- client-service grid ---
  void dbgPadraoDrawColumnCell(ui::Control& sender, ui::Canvas& canvas, const ui::Rect& rect,
                               int dataCol, db::Column& column, db::DrawState state);
  void dbgPadraoCellClick(db::Column& column);
  void dbgPadraoKeyDown(ui::Control& sender, ui::Key& key, ui::ShiftState shift);
  void dbgPadraoKeyPress(ui::Control& sender, char32_t& key);
  void dbgPadraoDblClick(ui::Control& sender);
  void dbgPadraoTitleClick(db::Column& column);
  void dbgPadraoColEnter(ui::Control& sender);
  void dbgPadraoColExit(ui::Control& sender);
  void dbgPadraoEnter(ui::Control& sender);
  void dbgPadraoExit(ui::Control& sender);
  void cdsServClieIDEXVLRVENDAGetText(db::Field& field, std::string& text, bool displayText);
  void cdsServClieIDEXVLRVENDASetText(db::Field& field, const std::string& text);
  void cdsServClieNRINSJURCLIEGetText(db::Field& field, std::string& text, bool displayText);
  void cdsServClieIDTPIJURCLIEGetText(db::Field& field, std::string& text, bool displayText);

  // --- service values by weekday and history ---
  void Valida_Vr_Serv(db::DBEdit* edit, bool required);
  void Valida_Min_Efet(db::DBEdit* edit, bool required);
  void dbeVrServExit(ui::Control& sender);
  void dbeVrServChange(ui::Control& sender);
  void dbeMinEfetExit(ui::Control& sender);
  void pgcValorServChange(ui::Control& sender);
  void pgcValorServExit(ui::Control& sender);
  void cdsHistServFatuBeforeInsert(db::DataSet& dataSet);
  void cdsHistServFatuAfterInsert(db::DataSet& dataSet);
  void cdsHistServFatuBeforePost(db::DataSet& dataSet);
  void cdsHistServFatuAfterPost(db::DataSet& dataSet);
  void cdsHistServFatuAfterDelete(db::DataSet& dataSet);
  void cdsHistServFatuAfterCancel(db::DataSet& dataSet);
  void dtsHistServFatuStateChange(db::DataSource& sender);
  void cdsHistServFatuDTSRVFATUHISSetText(db::Field& field, const std::string& text);
  void dbgHistoricoKeyDown(ui::Control& sender, ui::Key& key, ui::ShiftState shift);
  void sbtVrServicoClick(ui::Component& sender);

  // --- shift values and shift history ---
  void GetTurno(const std::string& shiftCode);
  void GetHistoricoTurno();
  void Valida_Vr_Exc(db::DBEdit* edit, bool required);
  void dbeVrExcExit(ui::Control& sender);
  void cdsTurnoBeforeInsert(db::DataSet& dataSet);
  void cdsTurnoBeforePost(db::DataSet& dataSet);
  void cdsTurnoAfterPost(db::DataSet& dataSet);
  void cdsTurnoAfterCancel(db::DataSet& dataSet);
  void cdsTurnoAfterScroll(db::DataSet& dataSet);
  void dtsTurnoStateChange(db::DataSource& sender);
  void dbgTurnoEnter(ui::Control& sender);
  void dbgTurnoKeyPress(ui::Control& sender, char32_t& key);
  void dbgTurnoKeyDown(ui::Control& sender, ui::Key& key, ui::ShiftState shift);
  void panVigenciaTurnoExit(ui::Control& sender);
  void dbgHistoricoTurnoKeyDown(ui::Control& sender, ui::Key& key, ui::ShiftState shift);

  // --- price correction table ---
  void dbgCorrPrecServColEnter(ui::Control& sender);
  void dbgCorrPrecServColExit(ui::Control& sender);
  void cdsCorrPrecServBeforePost(db::DataSet& dataSet);
  void cdsCorrPrecServAfterPost(db::DataSet& dataSet);
  void cdsCorrPrecServAfterDelete(db::DataSet& dataSet);
  void cdsCorrPrecServAfterCancel(db::DataSet& dataSet);
  void dtsCorrPrecServStateChange(db::DataSource& sender);

  // --- cost per product ---
  void btpProdutoBeforePesq(host::TBtnPesquisa& sender);
  void btpProdutoAfterPesq(host::TBtnPesquisa& sender);
  void dbeCdProdutoChange(ui::Control& sender);
  void dbeCdProdutoExit(ui::Control& sender);
  void dbeAcrescExit(ui::Control& sender);
  void cbbTipoCustoChange(ui::Control& sender);
  // Shows the row's cost type in the combo; `lookUp` false selects nothing instead of asking
  // the server.
  void MostraTipoCusto(bool lookUp);
  // The product and increase checks of the cost page (the post rules run them too); each
  // raises on a refusal.
  void checkProduct();
  void checkIncrease();
  // Runs a check of the cost page; a failure brings the page forward with the focus on `edit`
  // and goes on.
  void onCostPage(db::DBEdit* edit, const std::function<void()>& check);

  // --- form commands (the base form's buttons and menu items run them) ---
  void sbtIncluirClick(ui::Component& sender) override;
  void sbtAlterarClick(ui::Component& sender) override;
  void sbtConfirmarClick(ui::Component& sender) override;
  void sbtCancelarClick(ui::Component& sender) override;
  void sbtProcurarClick(ui::Component& sender) override;
  void sbtVerificarClick(ui::Component& sender) override;
  void sbtImprimirClick(ui::Component& sender) override;

 private:
  std::unique_ptr<host::TNetConnection> netClientesServico_;
  std::unique_ptr<host::TNetConnection> netCustProd_;

  void buildFrame();
  void buildFilter();
  void buildClientLists();
  void buildPages();
  void buildClientGrid();
  void buildValuePages();
  void buildShiftPages();
  void buildCorrectionPage();
  void buildCostPage();
  void bindHandlers();

  // Price correction table.
  void bindCorrectionHandlers();
  void recomputeCorrection(bool initial, bool final, bool price);
  // True when the bound falls strictly inside a stored interval while a new interval is being
  // inserted. A failed lookup shows the bound's column (as a failed check does) and goes on.
  bool coversStoredInterval(const db::Field& bound, bool bringPage);
  // Puts the field's column in front of the user: the correction page first when asked, then
  // the focus on the grid and the column selected.
  void showCorrectionField(const db::Field& field, bool bringPage);
  // Shows the field's column and refuses with the catalogue text of `key`.
  void refuseCorrection(const db::Field& field, const char* key, bool bringPage);
  void checkInitialBound(bool orderToo, bool bringPage);
  void checkFinalBound(bool bringPage);
  void checkCorrection(bool bringPage);
  void saveCorrection();

  // Shift values.
  void bindShiftHandlers();

  // Cost per product.
  void bindProductHandlers();

  // Weekday exceptions and the service value history.
  void bindServiceHistoryHandlers();

  // Client-service grid.
  void bindGridHandlers();
  void checkClientGridColumn(bool leavingGrid);

  // Record rules, commands, service-value checks, shift loads and cost type.
  struct Binding {
    std::string filial;
    std::string servico;
    std::string cliente;
  };
  // The binding whose deletion is being saved; its value history goes once the deletion has.
  Binding deletedBinding_;
  void bindRecordRuleHandlers();
  // A weekday edit of "Exceções por Dia": empty when `required`, or sorting before "0"
  // otherwise, is refused with the page, sub-page and focus brought to the edit. The refusal's
  // text is composed only for a refusal: every row of a batch passes these checks.
  void checkDayEdit(db::DBEdit* edit, bool required, const char* missingKey,
                    const std::function<std::string()>& negativeText);
  // Reloads the client-service rows and puts the cursor back on the same binding.
  void refreshServClie();
  // Loads the client-service rows of the filter's branch and service (GetServClie), asking
  // only for what changed when the rows held are of the same branch and service.
  void loadServClie();
  // Sends the change log of the client-service rows (UpdServClie with the operator) and merges
  // it once the server has taken it; false when there was nothing to send.
  bool saveServClie();
  // Asks "Canc" of the standard catalogue; true on Yes.
  bool confirmsCancel() const;

  // Filter, client lists and enabling.
  // The states that decide the enabling, as they are now.
  enabling::EnablingInputs enablingInputs(bool disabling) const;
  void bindFilterHandlers();
  void bindClientListHandlers();
  void bindEnablingHandlers();
  // Runs a remote read under the wait indicator (kind 6, the catalogue text of `waitKey`) and
  // returns its checked packet, its rows packed for a data set's load; the indicator goes
  // whether or not the read succeeds.
  packet::Packet loadShowingWait(const std::string& waitKey, const std::string& method,
                                 std::vector<packet::Arg> args);
  // Loads the service value history of the current row under the wait indicator.
  void loadHistServFatu();
  // The minimum-staff parameters of the branch's billing type, and what they decide on screen.
  void applyBillingParameters();
  // Key and client data of the row being inserted for a client of the list.
  void fillNewClientRow(const std::string& clientCode);
  // The values of a new row: zeros, the given service value, the correction table active.
  void zeroNewClientRow(double serviceValue);
  // Cancels a row still being inserted by a failed client move, keeping other unsaved rows.
  void dropFailedInsert();
  // Takes out of the grid the rows of these clients that were inserted and never saved.
  void dropUnsavedClients(const std::vector<std::string>& clients);
  // After an error inside the all-clients batch of `clients`: restores the flags, keeps the
  // clients moved before the error bound and drops the rows the server did not take.
  void recoverFailedBatch(const std::vector<std::string>& clients, int posted, bool saveRefused);
  void loadCorrPrecServ();
};
