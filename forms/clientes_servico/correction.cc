// "Tabela de Correção": the derived quantities and corrected price of each interval, the checks
// of each column when it is left and of the whole row before a post, and the save after each
// post and delete.
#include "forms/clientes_servico/frm_clientes_servico.h"
#include "host/consiste.h"
#include "host/server_call.h"
#include "host/ui/errors.h"
#include "host/ui/utf8.h"

namespace {

bool startsWith(const std::string& text, const char* prefix) {
  return text.rfind(prefix, 0) == 0;
}

bool informed(const db::Field& field) {
  return !field.text().empty();
}

}  // namespace

void TfrmClientesServico::recomputeCorrection(bool initial, bool final, bool price) {
  db::DataSet& table = *cdsCorrPrecServ;
  const double volume = cdsServClie->fieldByName("QTVOLPROSERVCLI").asFloat();
  const double value = cdsServClie->fieldByName("VRSERVFATU").asFloat();
  // The percentage of the volume (or price) first, then the subtraction (or addition), and the
  // constant last.
  if (initial) {
    const double percent = table.fieldByName("VRPEINICSERV").asFloat();
    table.fieldByName("QTINISERV").setAsFloat(volume - percent * volume / 100 - 1);
  }
  if (final) {
    const double percent = table.fieldByName("VRPEFIMSERV").asFloat();
    table.fieldByName("QTFINSERV").setAsFloat(volume - percent * volume / 100 - 1);
  }
  if (price) {
    const double percent = table.fieldByName("VRPECORRSERV").asFloat();
    table.fieldByName("VRNOVOPRECOSERV").setAsFloat(value + percent * value / 100);
  }
}

bool TfrmClientesServico::coversStoredInterval(const char* bound, bool bringPage) {
  try {
    cdsIntervMaior->loadPacket(host::callServer(*netClientesServico, "GetIntervMaior",
                                                {medCdFilial->text(), medCdServico->text(),
                                                 cdsServClie->fieldByName("CDCLIENTE").asString(),
                                                 cdsCorrPrecServ->fieldByName(bound).asFloat()}));
  } catch (...) {
    // The server's error is shown by the caller's user event, with the row in front.
    showCorrectionField(bound, bringPage);
    throw;
  }
  return !cdsIntervMaior->isEmpty() && cdsCorrPrecServ->state() == db::DataSetState::Insert;
}

void TfrmClientesServico::showCorrectionField(const char* field, bool bringPage) {
  if (bringPage) {
    pgcClientesServico->setActivePage(tshTabCorr);
    pgcClientesServicoChange(*pgcClientesServico);
  }
  if (dbgCorrPrecServ->canFocus() && !dbgCorrPrecServ->focused())
    dbgCorrPrecServ->setFocus();
  const int column = Consiste::IndiceCol(*dbgCorrPrecServ, field);
  if (column >= 0)
    dbgCorrPrecServ->setSelectedIndex(column);
}

void TfrmClientesServico::refuseCorrection(const char* field, const char* key, bool bringPage) {
  showCorrectionField(field, bringPage);
  Consiste::MensErro(msgPadrao->Msg(key), true);
}

void TfrmClientesServico::checkInitialBound(bool orderToo, bool bringPage) {
  const db::Field& initial = cdsCorrPrecServ->fieldByName("VRPEINICSERV");
  const db::Field& final = cdsCorrPrecServ->fieldByName("VRPEFIMSERV");
  if (!informed(initial))
    return;
  if (initial.asFloat() >= 100)
    refuseCorrection("VRPEINICSERV", "VrIni_maior", bringPage);
  if (orderToo && informed(final) && initial.asFloat() >= final.asFloat()) {
    refuseCorrection("VRPEINICSERV", "VrFin_menor_VrIni", bringPage);
  }
  if (coversStoredInterval("VRPEINICSERV", bringPage)) {
    refuseCorrection("VRPEINICSERV", "VrIni_cad_exist", bringPage);
  }
}

void TfrmClientesServico::checkFinalBound(bool bringPage) {
  const db::Field& initial = cdsCorrPrecServ->fieldByName("VRPEINICSERV");
  const db::Field& final = cdsCorrPrecServ->fieldByName("VRPEFIMSERV");
  if (!informed(final))
    return;
  if (final.asFloat() >= 100)
    refuseCorrection("VRPEFIMSERV", "VrFin_maior", bringPage);
  if (initial.asFloat() >= final.asFloat()) {
    refuseCorrection("VRPEFIMSERV", "VrFin_menor_VrIni", bringPage);
  }
  if (coversStoredInterval("VRPEFIMSERV", bringPage)) {
    refuseCorrection("VRPEFIMSERV", "VrFin_cad_exist", bringPage);
  }
}

void TfrmClientesServico::checkCorrection(bool bringPage) {
  const db::Field& correction = cdsCorrPrecServ->fieldByName("VRPECORRSERV");
  if (informed(correction) && correction.asFloat() >= 100) {
    refuseCorrection("VRPECORRSERV", "VrCorr_maior", bringPage);
  }
}

void TfrmClientesServico::dbgCorrPrecServColEnter(ui::Control&) {
  const db::Column* column = dbgCorrPrecServ->selectedColumn();
  const std::string name = column != nullptr ? ui::utf8::toUpper(column->fieldName()) : "";
  const bool derived = startsWith(name, "QTINISERV") || startsWith(name, "QTFINSERV") ||
                       startsWith(name, "VRNOVOPRECOSERV");
  dbgCorrPrecServ->setOption(db::GridOption::Editing, !derived);
}

void TfrmClientesServico::dbgCorrPrecServColExit(ui::Control&) {
  if (!cdsCorrPrecServ->isEditing())
    return;
  const db::Column* column = dbgCorrPrecServ->selectedColumn();
  if (column == nullptr)
    return;
  const std::string& name = column->fieldName();
  if (name == "VRPEINICSERV" && informed(cdsCorrPrecServ->fieldByName(name))) {
    checkInitialBound(true, false);
    recomputeCorrection(true, false, false);
  } else if (name == "VRPEFIMSERV" && informed(cdsCorrPrecServ->fieldByName(name))) {
    checkFinalBound(false);
    recomputeCorrection(false, true, false);
  } else if (name == "VRPECORRSERV" && informed(cdsCorrPrecServ->fieldByName(name))) {
    checkCorrection(false);
    recomputeCorrection(false, false, true);
  }
}

void TfrmClientesServico::cdsCorrPrecServBeforePost(db::DataSet& dataSet) {
  dataSet.fieldByName("CDFILIAL").setAsString(medCdFilial->text());
  dataSet.fieldByName("CDSERVFILI").setAsString(medCdServico->text());
  dataSet.fieldByName("CDCLIENTE").setAsString(cdsServClie->fieldByName("CDCLIENTE").asString());
  // Before a post the initial bound is checked alone; the order is checked from the final side.
  checkInitialBound(false, true);
  checkFinalBound(true);
  checkCorrection(true);
  if (!informed(dataSet.fieldByName("VRPEINICSERV"))) {
    refuseCorrection("VRPEINICSERV", "VrIni_vazio", true);
  }
  if (!informed(dataSet.fieldByName("VRPEFIMSERV"))) {
    refuseCorrection("VRPEFIMSERV", "VrFin_vazio", true);
  }
  if (!informed(dataSet.fieldByName("VRPECORRSERV"))) {
    refuseCorrection("VRPECORRSERV", "VrCorr_vazio", true);
  }
  recomputeCorrection(true, true, true);
}

void TfrmClientesServico::saveCorrection() {
  const packet::Arg delta = cdsCorrPrecServ->changeCount() >= 1
                                ? packet::Arg(cdsCorrPrecServ->delta())
                                : packet::Arg(std::monostate{});
  host::callServer(*netClientesServico, "UpdCorrPrecServ", {delta});
  cdsCorrPrecServ->mergeChangeLog();
}

void TfrmClientesServico::cdsCorrPrecServAfterPost(db::DataSet&) {
  saveCorrection();
}

void TfrmClientesServico::cdsCorrPrecServAfterDelete(db::DataSet&) {
  loadWithWait(this, 1, msgPadrao->Msg("upd_cdsCorrPrecServ"), [this] { saveCorrection(); });
}

void TfrmClientesServico::cdsCorrPrecServAfterCancel(db::DataSet& dataSet) {
  dataSet.cancelUpdates();
  HabilitacaoPaginas(false);
  HabilitacaoBotoes(false);
}

void TfrmClientesServico::dtsCorrPrecServStateChange(db::DataSource&) {
  HabilitacaoPaginas(false);
  HabilitacaoBotoes(false);
}

void TfrmClientesServico::bindCorrectionHandlers() {
  dbgCorrPrecServ->onColEnter = [this](ui::Control& c) { dbgCorrPrecServColEnter(c); };
  dbgCorrPrecServ->onColExit = [this](ui::Control& c) { dbgCorrPrecServColExit(c); };
  cdsCorrPrecServ->beforePost = [this](db::DataSet& d) { cdsCorrPrecServBeforePost(d); };
  cdsCorrPrecServ->afterPost = [this](db::DataSet& d) { cdsCorrPrecServAfterPost(d); };
  cdsCorrPrecServ->afterDelete = [this](db::DataSet& d) { cdsCorrPrecServAfterDelete(d); };
  cdsCorrPrecServ->afterCancel = [this](db::DataSet& d) { cdsCorrPrecServAfterCancel(d); };
  dtsCorrPrecServ->onStateChange = [this](db::DataSource& s) { dtsCorrPrecServStateChange(s); };
}
