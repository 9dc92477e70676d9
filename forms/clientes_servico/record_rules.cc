// Rules of a client-service row (cdsServClie): the refusal of inserts typed in a grid, the
// marking of a changed value, the checks before a post in their fixed order, the save after a
// post, deletion with the client given back to the lists, cancel and the row change.
#include <exception>
#include <string>

#include "forms/clientes_servico/cli_zev00600.h"
#include "forms/clientes_servico/frm_clientes_servico.h"
#include "forms/dialogs/cli_zev00602.h"
#include "host/consiste.h"
#include "host/quendra.h"
#include "host/server_call.h"
#include "host/ui/errors.h"
#include "host/versioned_read.h"

using namespace Cli_zev00600;

namespace {

bool isEditing(const db::DataSource& source) {
  return source.state() == db::DataSetState::Edit || source.state() == db::DataSetState::Insert;
}

// Shows the client page with the field's column selected, then the catalogue text as an error;
// the operation under way ends.
void refuseInGrid(TfrmClientesServico& form, const db::Field& field, const std::string& text) {
  form.showPage(form.tshClienServ);
  const int column = Consiste::IndiceCol(*form.dbgPadrao, field.name());
  if (column >= 0)
    form.dbgPadrao->setSelectedIndex(column);
  Consiste::MensErro(text, true);
}

// The minimum-staff column title ("Mín. Efetivos Dia" or "Mín. Efetivos Período") is itself a
// catalogue key whose text names the field in messages.
std::string staffName(const TfrmClientesServico& form) {
  const int column = Consiste::IndiceCol(*form.dbgPadrao, "QTEFETMINI");
  const std::string title = column >= 0 ? form.dbgPadrao->column(column).title()
                                        : form.cdsServClieQTEFETMINI->displayLabel();
  return form.msgPadrao->Msg(title);
}

void checkSignsInGrid(TfrmClientesServico& form) {
  if (form.cdsServClieVRSERVFATU->asFloat() < 0)
    refuseInGrid(form, *form.cdsServClieVRSERVFATU, form.msgPadrao->Msg("VrServico_inv"));
  if (form.cdsServClieQTEFETMINI->asFloat() < 0) {
    refuseInGrid(form, *form.cdsServClieQTEFETMINI,
                 form.msgPadrao->Msg("QtEfetMin_inv", {staffName(form)}));
  }
  if (form.cdsServClieQTVOLPROSERVCLI->asFloat() < 0)
    refuseInGrid(form, *form.cdsServClieQTVOLPROSERVCLI, form.msgPadrao->Msg("Volume_inv"));
}

void checkInformedInGrid(TfrmClientesServico& form) {
  if (form.cdsServClieVRSERVFATU->isNull())
    refuseInGrid(form, *form.cdsServClieVRSERVFATU, form.msgPadrao->Msg("VrServ_inf"));
  if (form.cdsServClieQTEFETMINI->isNull()) {
    refuseInGrid(form, *form.cdsServClieQTEFETMINI,
                 form.msgPadrao->Msg("QtEfetMin_inf", {staffName(form)}));
  }
  if (form.cdsServClieQTVOLPROSERVCLI->isNull())
    refuseInGrid(form, *form.cdsServClieQTVOLPROSERVCLI, form.msgPadrao->Msg("Volume_inf"));
}

// The weekday values (and, when their panel shows, the weekday minimum staff): signs when not
// `required`, presence when `required`.
void checkDayValues(TfrmClientesServico& form, bool required) {
  if (!form.tshExcecao->enabled())
    return;
  for (db::DBEdit* edit : form.vrServEdits())
    form.Valida_Vr_Serv(edit, required);
  if (!form.panMinEfet->visible())
    return;
  for (db::DBEdit* edit : form.minEfetEdits())
    form.Valida_Min_Efet(edit, required);
}

void applyProduct(TfrmClientesServico& form) {
  if (form.dbeCdProduto->text().empty()) {
    // The server reads a single blank as "no product".
    form.cdsServClieCDPRODUTO->setAsString(" ");
    return;
  }
  form.onCostPage(form.dbeCdProduto, [&] { form.checkProduct(); });
}

void applySurcharge(TfrmClientesServico& form) {
  if (form.dbeAcresc->text().empty()) {
    form.cdsServClieVRTAXAPRVAR->setAsFloat(0);
    return;
  }
  form.onCostPage(form.dbeAcresc, [&] { form.checkIncrease(); });
}

// A changed value asks for its start of validity; a dialog closed without confirming drops
// the whole edit of the row and ends the post without a message.
void askValidity(TfrmClientesServico& form) {
  if (!unit().boData || !unit().boVrAlterado)
    return;
  const bool clientPageEnabled = form.tshClienServ->enabled();
  const bool recordNow = !clientPageEnabled || form.dtsPadrao->state() != db::DataSetState::Insert;
  Cli_zev00602::CriaDataAtua("N", clientPageEnabled ? "S" : "N", form.medCdFilial->text(),
                             form.cdsServClieCDCLIENTE->asString(), form.medCdServico->text(),
                             recordNow);
  if (Cli_zev00602::unit().boCancelado) {
    form.cdsServClie->cancel();
    throw ui::Abort();
  }
  unit().boVrAlterado = false;
}

bool changedSinceSaved(const db::Field& field) {
  return field.value() != field.oldValue();
}

// A new value or volume of a saved row re-prices every interval of its correction table: each
// is posted again, so that the table's own rules recompute and save it.
void repriceCorrectionTable(TfrmClientesServico& form) {
  if (form.cdsServClie->state() != db::DataSetState::Edit)
    return;
  if (!changedSinceSaved(*form.cdsServClieVRSERVFATU) &&
      !changedSinceSaved(*form.cdsServClieQTVOLPROSERVCLI))
    return;
  db::DataSet& table = *form.cdsCorrPrecServ;
  table.loadPacket(host::callServer(*form.netClientesServico, "GetCorrPrecServ",
                                    {form.medCdFilial->text(), form.medCdServico->text(),
                                     form.cdsServClieCDCLIENTE->asString()}));
  if (table.isEmpty())
    return;
  table.first();
  while (!table.eof()) {
    table.edit();
    table.post();
    table.next();
  }
}

}  // namespace

void TfrmClientesServico::cdsServClieBeforeInsert(db::DataSet& /*dataSet*/) {
  // Rows come only from the client selection, which clears boInclui around its inserts.
  if (dynamic_cast<db::DBGrid*>(activeControl()) != nullptr && unit().boInclui)
    throw ui::Abort();
}

void TfrmClientesServico::cdsServClieVRSERVFATUChange(db::Field& field) {
  if (!isEditing(*dtsPadrao))
    return;
  unit().boVrAlterado = changedSinceSaved(field);
}

void TfrmClientesServico::cdsServClieBeforePost(db::DataSet& /*dataSet*/) {
  if (isEditing(*dtsPadrao)) {
    checkSignsInGrid(*this);
    checkDayValues(*this, false);
    applyProduct(*this);
    applySurcharge(*this);
    if (!PaginaExcecDiaAtiva())
      checkInformedInGrid(*this);
    checkDayValues(*this, true);
    askValidity(*this);
  }
  repriceCorrectionTable(*this);
}

bool TfrmClientesServico::saveServClie() {
  if (cdsServClie->changeCount() == 0)
    return false;
  host::callServer(*netClientesServico, "UpdServClie", {cdsServClie->delta(), Quendra::Operador()});
  cdsServClie->mergeChangeLog();
  return true;
}

void TfrmClientesServico::loadServClie() {
  host::reloadVersioned(*netClientesServico, *cdsServClie, "GetServClie",
                        {medCdFilial->text(), medCdServico->text(), Quendra::Operador()});
}

void TfrmClientesServico::cdsServClieAfterPost(db::DataSet& /*dataSet*/) {
  // A failed save leaves the change in the change log, so the next save sends it, and skips
  // the refresh, so nothing looks saved.
  if (saveServClie()) {
    if (cdsCorrPrecServ->isEditing())
      cdsCorrPrecServ->post();
  }
  mnuVerificar->click();
}

void TfrmClientesServico::cdsServClieAfterCancel(db::DataSet& dataSet) {
  dataSet.cancelUpdates();
  applyEnabling();
}

void TfrmClientesServico::cdsServClieBeforeDelete(db::DataSet& /*dataSet*/) {
  deletedBinding_ = {cdsServClieCDFILIAL->asString(), cdsServClieCDSERVFILI->asString(),
                     cdsServClieCDCLIENTE->asString()};
  lsbPossiveis->addItem(clientDisplayText(cdsServClieNRINSJURCLIE->asString(),
                                          cdsServClieIDTPIJURCLIE->asString(),
                                          cdsServClieNMRAZSOCCLIE->asString()));
  lsbCdPossiveis->addItem(deletedBinding_.cliente);
}

void TfrmClientesServico::cdsServClieAfterDelete(db::DataSet& /*dataSet*/) {
  try {
    if (saveServClie()) {
      // The value history goes only once the deletion is saved: a refused deletion brings the
      // row back, and its history must still be there.
      host::callServer(*netClientesServico, "DelHistServFatu",
                       {deletedBinding_.filial, deletedBinding_.servico, deletedBinding_.cliente});
      pgcClientesServico->setActivePage(tshClienServ);
    }
  } catch (...) {
    const std::exception_ptr error = std::current_exception();
    MontaLista();
    loadServClie();
    std::rethrow_exception(error);
  }
}

void TfrmClientesServico::cdsServClieAfterScroll(db::DataSet& /*dataSet*/) {
  MostraTipoCusto(true);
  GetTurno("");
}

void TfrmClientesServico::bindRecordRuleHandlers() {
  cdsServClie->beforeInsert = [this](db::DataSet& d) { cdsServClieBeforeInsert(d); };
  cdsServClie->beforePost = [this](db::DataSet& d) { cdsServClieBeforePost(d); };
  cdsServClie->afterPost = [this](db::DataSet& d) { cdsServClieAfterPost(d); };
  cdsServClie->afterCancel = [this](db::DataSet& d) { cdsServClieAfterCancel(d); };
  cdsServClie->beforeDelete = [this](db::DataSet& d) { cdsServClieBeforeDelete(d); };
  cdsServClie->afterDelete = [this](db::DataSet& d) { cdsServClieAfterDelete(d); };
  cdsServClie->afterScroll = [this](db::DataSet& d) { cdsServClieAfterScroll(d); };
  cdsServClieVRSERVFATU->onChange = [this](db::Field& f) { cdsServClieVRSERVFATUChange(f); };
  cdsTurno->afterScroll = [this](db::DataSet& d) { cdsTurnoAfterScroll(d); };
  pgcValorServ->onChange = [this](ui::Control& c) { pgcValorServChange(c); };
  sbtVrServico->onClick = [this](ui::Control& c) { sbtVrServicoClick(c); };
  mnuVrServico->onClick = [this](ui::MenuItem& item) { sbtVrServicoClick(item); };
  cbbTipoCusto->onChange = [this](ui::Control& c) { cbbTipoCustoChange(c); };
}
