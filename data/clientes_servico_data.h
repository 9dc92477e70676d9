// ClientesServicoData: the data sets, data sources and lookup queries of the main form
// TfrmClientesServico, created on the form and reachable under their own names.
//
// The form builds one in its constructor. Everything is made with form.make<...>(), so the
// form owns it and finds it by name; this struct owns nothing and only keeps typed pointers.
// The inherited data source dtsPadrao belongs to the base form, which binds it to cdsServClie;
// the handlers of the data sets, fields and sources are the form's. The lookup queries read
// the host's local database (dtmDBGeral) unless another database is given.
#pragma once

#include "host/db/data_set.h"
#include "host/db/data_source.h"
#include "host/db/database.h"
#include "host/db/sql_query.h"
#include "host/ui/form.h"

namespace data {

struct ClientesServicoData {
  // Binds the lookup queries to dtmDBGeral::adcGeral() (which opens the local database).
  explicit ClientesServicoData(ui::Form& form);
  // Binds the lookup queries to `lookupDatabase`; null leaves them without a database, so that
  // opening one raises a clear error (forms that never look anything up).
  ClientesServicoData(ui::Form& form, db::Database* lookupDatabase);

  db::DataSet* cdsServClie;
  db::DataSet* cdsClientesFilial;
  db::DataSource* dtsClientes;
  db::DataSet* cdsParamFilial;
  db::DataSet* cdsCorrPrecServ;
  db::DataSource* dtsCorrPrecServ;
  db::DataSet* cdsIntervMaior;
  db::DataSet* cdsHistServFatu;
  db::DataSource* dtsHistServFatu;
  db::DataSet* cdsTurno;
  db::DataSource* dtsTurno;
  db::DataSet* cdsTipoCusto;
  db::DataSet* cdsHistoricoTurno;
  db::DataSource* dtsHistoricoTurno;

  db::SqlQuery* qryFilial;
  db::DataSource* dtsFilial;
  db::SqlQuery* qryServico;
  db::DataSource* dtsServico;
  db::SqlQuery* qryAuxClie;
  db::SqlQuery* qryProduto;
  db::DataSource* dtsProduto;
  db::SqlQuery* qryValidProd;

  // Fields the form changes or handles by name.
  db::Field* cdsServClieCDARVPROD;
  db::Field* cdsServClieVRSERVFATU;
  db::Field* cdsServClieQTEFETMINI;
  db::Field* cdsServClieNRINSJURCLIE;
  db::Field* cdsServClieIDTPIJURCLIE;
  db::Field* cdsServClieIDEXVLRVENDA;
  db::Field* cdsHistServFatuDTSRVFATUHIS;
  db::Field* cdsTurnoCDTURNO;
  db::Field* cdsTurnoNMTURNO;
  db::Field* qryProdutoCDARVPROD;
};

// The data sets of the validity dialog TfrmDtValidade.
struct DtValidadeData {
  explicit DtValidadeData(ui::Form& form);

  db::DataSet* cdsDtReplicaValor;
  db::DataSource* dtsDtReplicaValor;
  db::DataSet* cdsMaiorVigencia;
};

}  // namespace data
