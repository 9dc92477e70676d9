// "Turno", "Exceções por Turno" and "Histórico do Turno": the checks of the shift exception
// values, the post of a shift row (exception values, start of validity, the list of empty
// fields) and its save through SetTurno, and the keys of the shift grids.
#include <algorithm>

#include "forms/clientes_servico/frm_clientes_servico.h"
#include "forms/dialogs/frm_vigencia_turno.h"
#include "host/consiste.h"
#include "host/quendra.h"
#include "host/server_call.h"
#include "host/showavi.h"
#include "host/ui/application.h"
#include "host/ui/errors.h"

namespace {

bool editing(const db::DataSource& source) {
  return source.state() == db::DataSetState::Edit || source.state() == db::DataSetState::Insert;
}

}  // namespace

void TfrmClientesServico::Valida_Vr_Exc(db::DBEdit* edit, bool required) {
  const std::string& text = edit->text();
  const char* key = nullptr;
  if (required && Consiste::EmptyString(text))
    key = "VrServico_inf";
  // A text fails when its first character sorts before the digit 0, as a minus sign does.
  if (!required && !Consiste::EmptyString(text) && text < std::string("0")) {
    key = "VrServ_men_zero";
  }
  if (key == nullptr)
    return;
  pgcValorServ->setActivePage(tshExTurno);
  if (edit->canFocus())
    edit->setFocus();
  Consiste::MensErro(msgPadrao->Msg(key), true);
}

void TfrmClientesServico::dbeVrExcExit(ui::Control& sender) {
  if (!editing(*dtsTurno))
    return;
  const auto edits = vrExcEdits();
  const auto it = std::find(edits.begin(), edits.end(), &sender);
  if (it != edits.end())
    Valida_Vr_Exc(*it, false);
}

void TfrmClientesServico::cdsTurnoBeforeInsert(db::DataSet&) {
  throw ui::Abort();
}

void TfrmClientesServico::cdsTurnoBeforePost(db::DataSet& dataSet) {
  cdsTurnoCDCLIENTE->setAsString(cdsServClieCDCLIENTE->asString());
  cdsTurnoCDFILIAL->setAsString(medCdFilial->text());
  cdsTurnoCDSERVFILI->setAsString(medCdServico->text());
  cdsTurnoCDOPERALTSERVCLIETURN->setAsString(Quendra::Operador());
  for (db::DBEdit* edit : vrExcEdits())
    Valida_Vr_Exc(edit, true);

  double start = Quendra::DataProc(medCdFilial->text());
  db::Field& validity = *cdsTurnoDTSERVCLIETURN;
  if (!Cli_zev00605::CriaVigenciaTurno(start, validity.asDateTime()))
    throw ui::Abort();
  validity.setAsDateTime(start);

  db::Field& value = *cdsTurnoVRSERVFATTUR;
  if (value.isNull())
    value.setAsFloat(0);

  stCamposNulos.clear();
  for (int i = 0; i < dataSet.fieldCount(); ++i) {
    const db::Field& field = dataSet.field(i);
    if (field.isNull() || field.text().empty())
      stCamposNulos += field.name() + "|";
  }
}

void TfrmClientesServico::cdsTurnoAfterPost(db::DataSet& dataSet) {
  if (dataSet.changeCount() == 0)
    return;
  Showavi::ShowWhile(ui::application().mainForm(), 1, {}, [&] {
    host::callServer(*netClientesServico, "SetTurno", {dataSet.delta(), stCamposNulos});
  });
  dataSet.mergeChangeLog();
  GetTurno(cdsTurnoCDTURNO->asString());
}

void TfrmClientesServico::cdsTurnoAfterCancel(db::DataSet&) {
  applyEnabling();
}
void TfrmClientesServico::dtsTurnoStateChange(db::DataSource&) {
  applyEnabling();
}
void TfrmClientesServico::panVigenciaTurnoExit(ui::Control&) {
  applyEnabling();
}
void TfrmClientesServico::dbgTurnoEnter(ui::Control&) {
  applyEnabling();
}

void TfrmClientesServico::dbgTurnoKeyPress(ui::Control&, char32_t& key) {
  const db::Column* column = dbgTurno->selectedColumn();
  if (column == nullptr || column->fieldName() != "VRSERVFATTUR")
    return;
  if (key == U'-' || key == U'e' || key == U'+')
    key = 0;
}

// A shift row comes from the service's shifts and is saved only through a post: the grid's
// own delete would drop it on screen while nothing is saved, so the shift grid never deletes.
void TfrmClientesServico::dbgTurnoKeyDown(ui::Control&, ui::Key& key, ui::ShiftState shift) {
  if (shift.ctrl && key == ui::keys::Delete)
    key = 0;
}

void TfrmClientesServico::dbgHistoricoTurnoKeyDown(ui::Control&, ui::Key& key,
                                                   ui::ShiftState shift) {
  if (shift.ctrl && key == ui::keys::Delete)
    key = 0;
}

void TfrmClientesServico::bindShiftHandlers() {
  for (db::DBEdit* edit : vrExcEdits()) {
    edit->onExit = [this](ui::Control& c) { dbeVrExcExit(c); };
  }
  cdsTurno->beforeInsert = [this](db::DataSet& d) { cdsTurnoBeforeInsert(d); };
  cdsTurno->beforePost = [this](db::DataSet& d) { cdsTurnoBeforePost(d); };
  cdsTurno->afterPost = [this](db::DataSet& d) { cdsTurnoAfterPost(d); };
  cdsTurno->afterCancel = [this](db::DataSet& d) { cdsTurnoAfterCancel(d); };
  dtsTurno->onStateChange = [this](db::DataSource& s) { dtsTurnoStateChange(s); };
  panVigenciaTurno->onExit = [this](ui::Control& c) { panVigenciaTurnoExit(c); };
  dbgTurno->onEnter = [this](ui::Control& c) { dbgTurnoEnter(c); };
  dbgTurno->onKeyPress = [this](ui::Control& c, char32_t& key) { dbgTurnoKeyPress(c, key); };
  dbgTurno->onKeyDown = [this](ui::Control& c, ui::Key& key, ui::ShiftState shift) {
    dbgTurnoKeyDown(c, key, shift);
  };
  dbgHistoricoTurno->onKeyDown = [this](ui::Control& c, ui::Key& key, ui::ShiftState shift) {
    dbgHistoricoTurnoKeyDown(c, key, shift);
  };
}
