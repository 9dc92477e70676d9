// TfrmDtValidade: the dialog that asks for the start of validity and the value of a service
// value of the "Clientes por Serviço" module.
//
// Opened only through Cli_zev00602::CriaDataAtua, which sets the unit state it reads (mode,
// reason, branch, client, service, whether to record at once). In registration mode it writes
// the confirmed value and start date into the main form's current client-service row; in
// replication mode it sends them to the server for every client of the service and reloads
// the main form. Either way it first checks the date against the latest start of validity the
// server keeps, and with boAtualizaHistorico it records the change at once (AlterarVrServico).
// boCancelado is true until a confirmation succeeds; the unit keeps a copy that outlives the
// dialog, which frees itself when it closes. Its data sets (data::DtValidadeData, a base) are
// cdsDtReplicaValor, the latest replication date of the service (replication mode only;
// nothing reads it), and cdsMaiorVigencia, the latest start of validity the server keeps for
// the branch, client and service.
#pragma once

#include "data/clientes_servico_data.h"
#include "forms/dialogs/cli_zev00602.h"
#include "host/db/data_set.h"
#include "host/db/data_source.h"
#include "host/frm_roti_geral.h"
#include "host/ui/edit.h"
#include "host/ui/static_controls.h"
#include "host/ui/typed_edits.h"

class TfrmDtValidade : public host::TfrmRotiGeral, public data::DtValidadeData {
 public:
  TfrmDtValidade();
  ~TfrmDtValidade() override;

  ui::Label* lblDtValidade;
  ui::DateEdit* depDataIni;
  ui::Label* lblVrServico;
  ui::NumberEdit* nedVrSevico;
  ui::Label* lblMotivo;
  ui::Memo* memMotivo;

  // True unless the dialog was confirmed.
  bool boCancelado = true;

  void FormCreate(ui::Form& sender) override;
  void FormActivate(ui::Form& sender) override;
  void FormClose(ui::Form& sender, ui::CloseAction& action) override;
  void depDataIniExit(ui::Control& sender);
  void sbtConfirmaClick(ui::Component& sender) override;
  // Asks the latest start of validity and, for an earlier date, whether to go on; a No ends
  // the confirmation silently with the focus in the date.
  void ValidaData();

 private:
  void buildLayout();
  // Checks the typed date; a text that is not a date is refused with the focus on it.
  void checkDate();
  // The number typed as the value; a text that is not a number is refused.
  double typedValue();
  void recordOnServer(double value);
  void finishConfirmation();
};
