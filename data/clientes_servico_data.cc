#include "data/clientes_servico_data.h"

#include "data/data_sets.h"
#include "data/lookup_queries.h"
#include "host/dtm_db_geral.h"

namespace data {

namespace {

db::DataSet* dataSet(ui::Form& form, const char* name, void (*define)(db::DataSet&)) {
  auto* made = form.make<db::DataSet>(name);
  define(*made);
  return made;
}

db::SqlQuery* query(ui::Form& form, const char* name, db::Database* database,
                    void (*define)(db::SqlQuery&)) {
  auto* made = form.make<db::SqlQuery>(name, database);
  define(*made);
  return made;
}

db::DataSource* source(ui::Form& form, const char* name, db::DataSet* dataSet) {
  return form.make<db::DataSource>(name, dataSet);
}

}  // namespace

ClientesServicoData::ClientesServicoData(ui::Form& form)
    : ClientesServicoData(form, &dtmDBGeral::adcGeral()) {
}

ClientesServicoData::ClientesServicoData(ui::Form& form, db::Database* lookupDatabase) {
  cdsServClie = dataSet(form, "cdsServClie", defineCdsServClie);
  cdsClientesFilial = dataSet(form, "cdsClientesFilial", defineCdsClientesFilial);
  dtsClientes = source(form, "dtsClientes", cdsClientesFilial);
  cdsParamFilial = dataSet(form, "cdsParamFilial", defineCdsParamFilial);
  cdsCorrPrecServ = dataSet(form, "cdsCorrPrecServ", defineCdsCorrPrecServ);
  dtsCorrPrecServ = source(form, "dtsCorrPrecServ", cdsCorrPrecServ);
  cdsIntervMaior = dataSet(form, "cdsIntervMaior", defineCdsIntervMaior);
  cdsHistServFatu = dataSet(form, "cdsHistServFatu", defineCdsHistServFatu);
  dtsHistServFatu = source(form, "dtsHistServFatu", cdsHistServFatu);
  cdsTurno = dataSet(form, "cdsTurno", defineCdsTurno);
  dtsTurno = source(form, "dtsTurno", cdsTurno);
  cdsTipoCusto = dataSet(form, "cdsTipoCusto", defineCdsTipoCusto);
  cdsHistoricoTurno = dataSet(form, "cdsHistoricoTurno", defineCdsHistoricoTurno);
  dtsHistoricoTurno = source(form, "dtsHistoricoTurno", cdsHistoricoTurno);

  qryFilial = query(form, "qryFilial", lookupDatabase, defineQryFilial);
  dtsFilial = source(form, "dtsFilial", qryFilial);
  qryServico = query(form, "qryServico", lookupDatabase, defineQryServico);
  dtsServico = source(form, "dtsServico", qryServico);
  qryAuxClie = query(form, "qryAuxClie", lookupDatabase, defineQryAuxClie);
  qryProduto = query(form, "qryProduto", lookupDatabase, defineQryProduto);
  dtsProduto = source(form, "dtsProduto", qryProduto);
  qryValidProd = query(form, "qryValidProd", lookupDatabase, defineQryValidProd);

  cdsServClieCDARVPROD = &cdsServClie->fieldByName("CDARVPROD");
  cdsServClieVRSERVFATU = &cdsServClie->fieldByName("VRSERVFATU");
  cdsServClieQTEFETMINI = &cdsServClie->fieldByName("QTEFETMINI");
  cdsServClieNRINSJURCLIE = &cdsServClie->fieldByName("NRINSJURCLIE");
  cdsServClieIDTPIJURCLIE = &cdsServClie->fieldByName("IDTPIJURCLIE");
  cdsServClieIDEXVLRVENDA = &cdsServClie->fieldByName("IDEXVLRVENDA");
  cdsHistServFatuDTSRVFATUHIS = &cdsHistServFatu->fieldByName("DTSRVFATUHIS");
  cdsTurnoCDTURNO = &cdsTurno->fieldByName("CDTURNO");
  cdsTurnoNMTURNO = &cdsTurno->fieldByName("NMTURNO");
  qryProdutoCDARVPROD = &qryProduto->fieldByName("CDARVPROD");
}

DtValidadeData::DtValidadeData(ui::Form& form) {
  cdsDtReplicaValor = dataSet(form, "cdsDtReplicaValor", defineCdsDtReplicaValor);
  dtsDtReplicaValor = source(form, "dtsDtReplicaValor", cdsDtReplicaValor);
  cdsMaiorVigencia = dataSet(form, "cdsMaiorVigencia", defineCdsMaiorVigencia);
}

}  // namespace data
