// "Tabela de Correção": the derived quantities and corrected price of each interval, the checks
// of each column when it is left and of the whole row before a post, and the save after each
// post and delete.
#include "forms/clientes_servico/frm_clientes_servico.h"
#include "host/consiste.h"
#include "host/server_call.h"
#include "host/showavi.h"
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
  const double volume = cdsServClieQTVOLPROSERVCLI->asFloat();
  const double value = cdsServClieVRSERVFATU->asFloat();
  // The percentage of the volume (or price) first, then the subtraction (or addition), and the
  // constant last.
  if (initial) {
    const double percent = cdsCorrPrecServVRPEINICSERV->asFloat();
    cdsCorrPrecServQTINISERV->setAsFloat(volume - percent * volume / 100 - 1);
  }
  if (final) {
    const double percent = cdsCorrPrecServVRPEFIMSERV->asFloat();
    cdsCorrPrecServQTFINSERV->setAsFloat(volume - percent * volume / 100 - 1);
  }
  if (price) {
    const double percent = cdsCorrPrecServVRPECORRSERV->asFloat();
    cdsCorrPrecServVRNOVOPRECOSERV->setAsFloat(value + percent * value / 100);
  }
}

bool TfrmClientesServico::coversStoredInterval(const db::Field& bound, bool bringPage) {
  try {
    cdsIntervMaior->loadPacket(
        host::callServer(*netClientesServico, "GetIntervMaior",
                         {medCdFilial->text(), medCdServico->text(),
                          cdsServClieCDCLIENTE->asString(), bound.asFloat()}));
  } catch (...) {
    // The server's error is shown by the caller's user event, with the row in front.
    showCorrectionField(bound, bringPage);
    throw;
  }
  return !cdsIntervMaior->isEmpty() && cdsCorrPrecServ->state() == db::DataSetState::Insert;
}

void TfrmClientesServico::showCorrectionField(const db::Field& field, bool bringPage) {
  if (bringPage)
    showPage(tshTabCorr);
  if (dbgCorrPrecServ->canFocus() && !dbgCorrPrecServ->focused())
    dbgCorrPrecServ->setFocus();
  const int column = Consiste::IndiceCol(*dbgCorrPrecServ, field.name());
  if (column >= 0)
    dbgCorrPrecServ->setSelectedIndex(column);
}

void TfrmClientesServico::refuseCorrection(const db::Field& field, const char* key,
                                           bool bringPage) {
  showCorrectionField(field, bringPage);
  Consiste::MensErro(msgPadrao->Msg(key), true);
}

void TfrmClientesServico::checkInitialBound(bool orderToo, bool bringPage) {
  const db::Field& initial = *cdsCorrPrecServVRPEINICSERV;
  const db::Field& final = *cdsCorrPrecServVRPEFIMSERV;
  if (!informed(initial))
    return;
  if (initial.asFloat() >= 100)
    refuseCorrection(*cdsCorrPrecServVRPEINICSERV, "VrIni_maior", bringPage);
  if (orderToo && informed(final) && initial.asFloat() >= final.asFloat()) {
    refuseCorrection(*cdsCorrPrecServVRPEINICSERV, "VrFin_menor_VrIni", bringPage);
  }
  if (coversStoredInterval(*cdsCorrPrecServVRPEINICSERV, bringPage)) {
    refuseCorrection(*cdsCorrPrecServVRPEINICSERV, "VrIni_cad_exist", bringPage);
  }
}

void TfrmClientesServico::checkFinalBound(bool bringPage) {
  const db::Field& initial = *cdsCorrPrecServVRPEINICSERV;
  const db::Field& final = *cdsCorrPrecServVRPEFIMSERV;
  if (!informed(final))
    return;
  if (final.asFloat() >= 100)
    refuseCorrection(*cdsCorrPrecServVRPEFIMSERV, "VrFin_maior", bringPage);
  if (initial.asFloat() >= final.asFloat()) {
    refuseCorrection(*cdsCorrPrecServVRPEFIMSERV, "VrFin_menor_VrIni", bringPage);
  }
  if (coversStoredInterval(*cdsCorrPrecServVRPEFIMSERV, bringPage)) {
    refuseCorrection(*cdsCorrPrecServVRPEFIMSERV, "VrFin_cad_exist", bringPage);
  }
}

void TfrmClientesServico::checkCorrection(bool bringPage) {
  const db::Field& correction = *cdsCorrPrecServVRPECORRSERV;
  if (informed(correction) && correction.asFloat() >= 100) {
    refuseCorrection(*cdsCorrPrecServVRPECORRSERV, "VrCorr_maior", bringPage);
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
  // The column being left, when something is typed in it.
  auto left = [&](const db::Field* field) { return name == field->name() && informed(*field); };
  if (left(cdsCorrPrecServVRPEINICSERV)) {
    checkInitialBound(true, false);
    recomputeCorrection(true, false, false);
  } else if (left(cdsCorrPrecServVRPEFIMSERV)) {
    checkFinalBound(false);
    recomputeCorrection(false, true, false);
  } else if (left(cdsCorrPrecServVRPECORRSERV)) {
    checkCorrection(false);
    recomputeCorrection(false, false, true);
  }
}

void TfrmClientesServico::cdsCorrPrecServBeforePost(db::DataSet& /*dataSet*/) {
  cdsCorrPrecServCDFILIAL->setAsString(medCdFilial->text());
  cdsCorrPrecServCDSERVFILI->setAsString(medCdServico->text());
  cdsCorrPrecServCDCLIENTE->setAsString(cdsServClieCDCLIENTE->asString());
  // Before a post the initial bound is checked alone; the order is checked from the final side.
  checkInitialBound(false, true);
  checkFinalBound(true);
  checkCorrection(true);
  if (!informed(*cdsCorrPrecServVRPEINICSERV)) {
    refuseCorrection(*cdsCorrPrecServVRPEINICSERV, "VrIni_vazio", true);
  }
  if (!informed(*cdsCorrPrecServVRPEFIMSERV)) {
    refuseCorrection(*cdsCorrPrecServVRPEFIMSERV, "VrFin_vazio", true);
  }
  if (!informed(*cdsCorrPrecServVRPECORRSERV)) {
    refuseCorrection(*cdsCorrPrecServVRPECORRSERV, "VrCorr_vazio", true);
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
  Showavi::ShowWhile(this, 1, msgPadrao->Msg("upd_cdsCorrPrecServ"), [this] { saveCorrection(); });
}

void TfrmClientesServico::cdsCorrPrecServAfterCancel(db::DataSet& dataSet) {
  dataSet.cancelUpdates();
  applyEnabling();
}

void TfrmClientesServico::dtsCorrPrecServStateChange(db::DataSource&) {
  applyEnabling();
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
