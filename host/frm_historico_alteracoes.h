// TfrmHistoricoAlteracoes ("frmHistoricoAlteracoes", "Histórico de alterações"): the trail of who
// changed what, opened from the host's menu (not from the module's forms).
//
// The filter takes a branch, a service, a client and an operator (each may stay empty: any)
// and a period (both dates required, the last not before the first; it starts as the last 30
// days). Pesquisar (sbtPesquisar) lists the changes newest first through rdmTrilha.GetTrilha in
// the grid dbgTrilha (data set cdsTrilha): when, operator, method, operation (Inclusão,
// Alteração, Exclusão), branch, service, client and name, table, the row's key, field, and the
// values before and after as the operator reads them (numbers with the decimal comma, dates
// dd/mm/yyyy with the time when there is one). lblAviso tells how many changes are listed, or
// that only the most recent are. Exportar CSV (sbtExportar, enabled with rows) asks a file
// (frmReportSave, spreadsheet only) and writes the listed rows as shown, under the grid's titles
// (host/csv_file.h).
#pragma once

#include "host/db/data_set.h"
#include "host/db/data_source.h"
#include "host/db/db_grid.h"
#include "host/net_connection.h"
#include "host/ui/buttons.h"
#include "host/ui/containers.h"
#include "host/ui/edit.h"
#include "host/ui/form.h"
#include "host/ui/static_controls.h"
#include "host/ui/typed_edits.h"

namespace host {

class TfrmHistoricoAlteracoes : public ui::Form {
 public:
  TfrmHistoricoAlteracoes();

  ui::Panel* panFiltro;
  ui::MaskEdit* medCdFilial;
  ui::MaskEdit* medCdServico;
  ui::Edit* edtCdCliente;
  ui::Edit* edtOperador;
  ui::DateEdit* depDataIni;
  ui::DateEdit* depDataFim;
  ui::SpeedButton* sbtPesquisar;
  ui::SpeedButton* sbtExportar;
  ui::Label* lblAviso;
  db::DataSet* cdsTrilha;
  db::DataSource* dtsTrilha;
  db::DBGrid* dbgTrilha;
  TNetConnection netTrilha{"rdmTrilha"};

  void Pesquisar();
  void ExportarCsv();

 private:
  ui::Label* label(const char* name, const char* caption, int left, int top, ui::Control* focus);
};

// Shows the window (made on first use; later calls bring it to the front).
void AbreHistoricoAlteracoes();

}  // namespace host
