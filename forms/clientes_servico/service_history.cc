// "Exceções por Dia" and "Histórico do Serviço": the checks when a day edit is left, the mark
// of a changed value, and the rules of the service value history.
#include <algorithm>

#include "forms/clientes_servico/cli_zev00600.h"
#include "forms/clientes_servico/frm_clientes_servico.h"
#include "host/consiste.h"
#include "host/server_call.h"
#include "host/showavi.h"
#include "host/ui/errors.h"
#include "host/ui/regional.h"

using namespace Cli_zev00600;

namespace {

bool editing(const db::DataSource& source) {
  return source.state() == db::DataSetState::Edit || source.state() == db::DataSetState::Insert;
}

// The day (0 = Sunday ... 7 = holidays) of `control` among `edits`, or -1.
int dayOf(const ui::Control& control, const std::array<db::DBEdit*, 8>& edits) {
  const auto it = std::find(edits.begin(), edits.end(), &control);
  return it == edits.end() ? -1 : static_cast<int>(it - edits.begin());
}

}  // namespace

std::array<db::DBEdit*, 8> TfrmClientesServico::dsServEdits() const {
  return {dbeDsServDom, dbeDsServSeg, dbeDsServTer, dbeDsServQua,
          dbeDsServQui, dbeDsServSex, dbeDsServSab, dbeDsServFer};
}

void TfrmClientesServico::dbeVrServExit(ui::Control& sender) {
  if (!editing(*dtsPadrao))
    return;
  const int day = dayOf(sender, vrServEdits());
  if (day >= 0)
    Valida_Vr_Serv(vrServEdits()[static_cast<size_t>(day)], false);
}

void TfrmClientesServico::dbeMinEfetExit(ui::Control& sender) {
  if (!editing(*dtsPadrao))
    return;
  // Leaving the description of a day checks that day's minimum staff too.
  int day = dayOf(sender, minEfetEdits());
  if (day < 0)
    day = dayOf(sender, dsServEdits());
  if (day >= 0)
    Valida_Min_Efet(minEfetEdits()[static_cast<size_t>(day)], false);
}

void TfrmClientesServico::dbeVrServChange(ui::Control&) {
  if (PaginaExcecDiaAtiva())
    unit().boVrAlterado = true;
}

void TfrmClientesServico::pgcValorServExit(ui::Control&) {
  applyEnabling();
}

void TfrmClientesServico::dtsHistServFatuStateChange(db::DataSource&) {
  applyEnabling();
}

void TfrmClientesServico::cdsHistServFatuBeforeInsert(db::DataSet& dataSet) {
  if (!dataSet.isEmpty())
    throw ui::Abort();
}

void TfrmClientesServico::cdsHistServFatuAfterInsert(db::DataSet& /*dataSet*/) {
  cdsHistServFatuDTSRVFATUHIS->setAsDateTime(ui::regional::today());
}

void TfrmClientesServico::cdsHistServFatuDTSRVFATUHISSetText(db::Field& field,
                                                             const std::string& text) {
  Consiste::DateSetText(field, text);
}

void TfrmClientesServico::cdsHistServFatuBeforePost(db::DataSet& /*dataSet*/) {
  cdsHistServFatuCDFILIAL->setAsString(medCdFilial->text());
  cdsHistServFatuCDSERVFILI->setAsString(medCdServico->text());
  cdsHistServFatuCDCLIENTE->setAsString(cdsServClieCDCLIENTE->asString());
}

void TfrmClientesServico::cdsHistServFatuAfterPost(db::DataSet& dataSet) {
  if (dataSet.changeCount() >= 1) {
    host::callServer(*netClientesServico, "UpdHistServFatu", {dataSet.delta()});
  }
  dataSet.mergeChangeLog();
}

void TfrmClientesServico::cdsHistServFatuAfterDelete(db::DataSet& dataSet) {
  Showavi::ShowWhile(this, 1, msgPadrao->Msg("upd_cdsHistServFatu"), [&] {
    const packet::Arg delta =
        dataSet.changeCount() >= 1 ? packet::Arg(dataSet.delta()) : packet::Arg(std::monostate{});
    host::callServer(*netClientesServico, "UpdHistServFatu", {delta});
    dataSet.mergeChangeLog();
  });
}

void TfrmClientesServico::cdsHistServFatuAfterCancel(db::DataSet& dataSet) {
  dataSet.cancelUpdates();
  applyEnabling();
}

void TfrmClientesServico::dbgHistoricoKeyDown(ui::Control&, ui::Key& key, ui::ShiftState shift) {
  if (shift.ctrl && key == ui::keys::Delete)
    key = 0;
}

void TfrmClientesServico::bindServiceHistoryHandlers() {
  for (db::DBEdit* edit : vrServEdits()) {
    edit->onExit = [this](ui::Control& c) { dbeVrServExit(c); };
    edit->onChange = [this](ui::Control& c) { dbeVrServChange(c); };
  }
  // The change handler of a day's value edit serves the shift exception edit of that day.
  for (db::DBEdit* edit : vrExcEdits()) {
    edit->onChange = [this](ui::Control& c) { dbeVrServChange(c); };
  }
  for (db::DBEdit* edit : minEfetEdits()) {
    edit->onExit = [this](ui::Control& c) { dbeMinEfetExit(c); };
  }
  for (db::DBEdit* edit : dsServEdits()) {
    edit->onExit = [this](ui::Control& c) { dbeMinEfetExit(c); };
  }
  pgcValorServ->onChange = [this](ui::Control& c) { pgcValorServChange(c); };
  pgcValorServ->onExit = [this](ui::Control& c) { pgcValorServExit(c); };
  dtsHistServFatu->onStateChange = [this](db::DataSource& s) { dtsHistServFatuStateChange(s); };
  cdsHistServFatu->beforeInsert = [this](db::DataSet& d) { cdsHistServFatuBeforeInsert(d); };
  cdsHistServFatu->afterInsert = [this](db::DataSet& d) { cdsHistServFatuAfterInsert(d); };
  cdsHistServFatu->beforePost = [this](db::DataSet& d) { cdsHistServFatuBeforePost(d); };
  cdsHistServFatu->afterPost = [this](db::DataSet& d) { cdsHistServFatuAfterPost(d); };
  cdsHistServFatu->afterDelete = [this](db::DataSet& d) { cdsHistServFatuAfterDelete(d); };
  cdsHistServFatu->afterCancel = [this](db::DataSet& d) { cdsHistServFatuAfterCancel(d); };
  cdsHistServFatuDTSRVFATUHIS->onSetText = [this](db::Field& f, const std::string& text) {
    cdsHistServFatuDTSRVFATUHISSetText(f, text);
  };
  dbgHistorico->onKeyDown = [this](ui::Control& c, ui::Key& key, ui::ShiftState shift) {
    dbgHistoricoKeyDown(c, key, shift);
  };
}
