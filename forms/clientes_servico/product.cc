// Cost per product: the product search and check and the increase percentage check. The post
// rules of the row run the same checks.
#include "forms/clientes_servico/frm_clientes_servico.h"
#include "host/consiste.h"
#include "host/quendra.h"
#include "host/tabvalid.h"

namespace {

bool editing(const db::DataSource& source) {
  return source.state() == db::DataSetState::Edit || source.state() == db::DataSetState::Insert;
}

}  // namespace

void TfrmClientesServico::btpProdutoBeforePesq(host::TBtnPesquisa&) {
  qryProduto->close();
  qryProduto->setParam("P_NIVEL", std::to_string(Quendra::DBPictObj(0).levels()));
  qryProduto->open();
}

void TfrmClientesServico::btpProdutoAfterPesq(host::TBtnPesquisa&) {
  if (dtsPadrao->state() == db::DataSetState::Browse)
    cdsServClie->edit();
  const std::string code = qryProdutoCDARVPROD->asString();
  const std::string name = qryProdutoNMPRODUTO->asString();
  dbeCdProduto->setText(code);
  dbeNmProd->setText(name);
  // The chosen product reaches the row as the user's typing would.
  cdsServClieCDARVPROD->setAsString(code);
  cdsServClieNMPRODUTO->setAsString(name);
}

void TfrmClientesServico::dbeCdProdutoChange(ui::Control&) {
  if (editing(*dtsPadrao))
    cdsServClieNMPRODUTO->clear();
}

void TfrmClientesServico::onCostPage(db::DBEdit* edit, const std::function<void()>& check) {
  try {
    check();
  } catch (...) {
    showPage(tshCustoProd);
    if (edit->canFocus())
      edit->setFocus();
    throw;
  }
}

void TfrmClientesServico::checkProduct() {
  std::string code = dbeCdProduto->text();
  Tabvalid::ValidEx(dtsProduto, 0, code, Tabvalid::voNivelCompleto, "", true);
  qryValidProd->close();
  qryValidProd->setParam("P_CDPRODUTO", code);
  qryValidProd->open();
  if (qryValidProd->isEmpty())
    Consiste::MensErro(msgPadrao->Msg("Prod_n_cad"), true);
  cdsServClieCDPRODUTO->setAsString(qryValidProdCDPRODUTO->asString());
  cdsServClieCDARVPROD->setAsString(qryValidProdCDARVPROD->asString());
  cdsServClieNMPRODUTO->setAsString(qryValidProdNMPRODUTO->asString());
}

void TfrmClientesServico::checkIncrease() {
  const double increase = cdsServClieVRTAXAPRVAR->asFloat();
  if (increase < 0)
    Consiste::MensErro(msgPadrao->Msg("Perc_menor_zero"), true);
  if (increase > 100)
    Consiste::MensErro(msgPadrao->Msg("Perc_maior"), true);
}

void TfrmClientesServico::dbeCdProdutoExit(ui::Control&) {
  if (!editing(*dtsPadrao) || Consiste::EmptyString(dbeCdProduto->text()))
    return;
  onCostPage(dbeCdProduto, [this] { checkProduct(); });
}

void TfrmClientesServico::dbeAcrescExit(ui::Control&) {
  if (!editing(*dtsPadrao) || Consiste::EmptyString(dbeAcresc->text()))
    return;
  onCostPage(dbeAcresc, [this] { checkIncrease(); });
}

void TfrmClientesServico::bindProductHandlers() {
  btpProduto->OnBeforePesq = [this](host::TBtnPesquisa& b) { btpProdutoBeforePesq(b); };
  btpProduto->OnAfterPesq = [this](host::TBtnPesquisa& b) { btpProdutoAfterPesq(b); };
  dbeCdProduto->onChange = [this](ui::Control& c) { dbeCdProdutoChange(c); };
  dbeCdProduto->onExit = [this](ui::Control& c) { dbeCdProdutoExit(c); };
  dbeAcresc->onExit = [this](ui::Control& c) { dbeAcrescExit(c); };
}
