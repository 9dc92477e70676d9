#include "data/clientes_servico_data.h"

#include "data/data_sets.h"
#include "data/field_spec.h"
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

// The one place fields are found by name: a name the definitions lack raises here, while the
// form is built.
db::Field* field(db::DataSet& dataSet, const char* name) {
  return &dataSet.fieldByName(name);
}

DayFields days(db::DataSet& dataSet, const std::string& prefix) {
  DayFields fields{};
  for (std::size_t day = 0; day < kDias.size(); ++day)
    fields[day] = &dataSet.fieldByName(prefix + kDias[day]);
  return fields;
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

  cdsServClieCDFILIAL = field(*cdsServClie, "CDFILIAL");
  cdsServClieCDSERVFILI = field(*cdsServClie, "CDSERVFILI");
  cdsServClieCDCLIENTE = field(*cdsServClie, "CDCLIENTE");
  cdsServClieNMRAZSOCCLIE = field(*cdsServClie, "NMRAZSOCCLIE");
  cdsServClieNMFANTCLIE = field(*cdsServClie, "NMFANTCLIE");
  cdsServClieNRINSJURCLIE = field(*cdsServClie, "NRINSJURCLIE");
  cdsServClieIDTPIJURCLIE = field(*cdsServClie, "IDTPIJURCLIE");
  cdsServClieCDPRODUTO = field(*cdsServClie, "CDPRODUTO");
  cdsServClieCDARVPROD = field(*cdsServClie, "CDARVPROD");
  cdsServClieNMPRODUTO = field(*cdsServClie, "NMPRODUTO");
  cdsServClieVRTAXAPRVAR = field(*cdsServClie, "VRTAXAPRVAR");
  cdsServClieIDTCUSPRVAR = field(*cdsServClie, "IDTCUSPRVAR");
  cdsServClieDTSERVFATU = field(*cdsServClie, "DTSERVFATU");
  cdsServClieVRSERVFATU = field(*cdsServClie, "VRSERVFATU");
  cdsServClieQTEFETMINI = field(*cdsServClie, "QTEFETMINI");
  cdsServClieIDEXVLRVENDA = field(*cdsServClie, "IDEXVLRVENDA");
  cdsServClieIDVRPRFIXAUT = field(*cdsServClie, "IDVRPRFIXAUT");
  cdsServClieDSEMISSERCLI = field(*cdsServClie, "DSEMISSERCLI");
  cdsServClieQTVOLPROSERVCLI = field(*cdsServClie, "QTVOLPROSERVCLI");
  cdsServClieIDATIVATABCOR = field(*cdsServClie, "IDATIVATABCOR");
  cdsServClieIDCOREFECLIFILI = field(*cdsServClie, "IDCOREFECLIFILI");
  cdsServClieVRSERVFAT = days(*cdsServClie, "VRSERVFAT");
  cdsServClieQTEFETMIN = days(*cdsServClie, "QTEFETMIN");
  cdsClientesFilialCDCLIENTE = field(*cdsClientesFilial, "CDCLIENTE");
  cdsClientesFilialNMRAZSOCCLIE = field(*cdsClientesFilial, "NMRAZSOCCLIE");
  cdsClientesFilialNRINSJURCLIE = field(*cdsClientesFilial, "NRINSJURCLIE");
  cdsClientesFilialIDTPIJURCLIE = field(*cdsClientesFilial, "IDTPIJURCLIE");
  cdsParamFilialCDTIPOFATUR = field(*cdsParamFilial, "CDTIPOFATUR");
  cdsParamFilialDSPARAMFATFI = field(*cdsParamFilial, "DSPARAMFATFI");
  cdsTipoCustoNMTIPOCUSTO = field(*cdsTipoCusto, "NMTIPOCUSTO");
  cdsTipoCustoIDUTTPCUSTO = field(*cdsTipoCusto, "IDUTTPCUSTO");
  cdsCorrPrecServCDFILIAL = field(*cdsCorrPrecServ, "CDFILIAL");
  cdsCorrPrecServCDSERVFILI = field(*cdsCorrPrecServ, "CDSERVFILI");
  cdsCorrPrecServCDCLIENTE = field(*cdsCorrPrecServ, "CDCLIENTE");
  cdsCorrPrecServVRPEINICSERV = field(*cdsCorrPrecServ, "VRPEINICSERV");
  cdsCorrPrecServVRPEFIMSERV = field(*cdsCorrPrecServ, "VRPEFIMSERV");
  cdsCorrPrecServVRPECORRSERV = field(*cdsCorrPrecServ, "VRPECORRSERV");
  cdsCorrPrecServQTINISERV = field(*cdsCorrPrecServ, "QTINISERV");
  cdsCorrPrecServQTFINSERV = field(*cdsCorrPrecServ, "QTFINSERV");
  cdsCorrPrecServVRNOVOPRECOSERV = field(*cdsCorrPrecServ, "VRNOVOPRECOSERV");
  cdsHistServFatuCDFILIAL = field(*cdsHistServFatu, "CDFILIAL");
  cdsHistServFatuCDSERVFILI = field(*cdsHistServFatu, "CDSERVFILI");
  cdsHistServFatuCDCLIENTE = field(*cdsHistServFatu, "CDCLIENTE");
  cdsHistServFatuDTSRVFATUHIS = field(*cdsHistServFatu, "DTSRVFATUHIS");
  cdsTurnoCDFILIAL = field(*cdsTurno, "CDFILIAL");
  cdsTurnoCDSERVFILI = field(*cdsTurno, "CDSERVFILI");
  cdsTurnoCDCLIENTE = field(*cdsTurno, "CDCLIENTE");
  cdsTurnoCDTURNO = field(*cdsTurno, "CDTURNO");
  cdsTurnoNMTURNO = field(*cdsTurno, "NMTURNO");
  cdsTurnoVRSERVFATTUR = field(*cdsTurno, "VRSERVFATTUR");
  cdsTurnoDTSERVCLIETURN = field(*cdsTurno, "DTSERVCLIETURN");
  cdsTurnoCDOPERALTSERVCLIETURN = field(*cdsTurno, "CDOPERALTSERVCLIETURN");
  qryFilialCDFILIAL = field(*qryFilial, "CDFILIAL");
  qryFilialNMFILIAL = field(*qryFilial, "NMFILIAL");
  qryServicoCDSERVFILI = field(*qryServico, "CDSERVFILI");
  qryServicoNMSERVICO = field(*qryServico, "NMSERVICO");
  qryAuxClieNMRAZSOCCLIE = field(*qryAuxClie, "NMRAZSOCCLIE");
  qryAuxClieNMFANTCLIE = field(*qryAuxClie, "NMFANTCLIE");
  qryAuxClieNRINSJURCLIE = field(*qryAuxClie, "NRINSJURCLIE");
  qryAuxClieIDTPIJURCLIE = field(*qryAuxClie, "IDTPIJURCLIE");
  qryProdutoCDARVPROD = field(*qryProduto, "CDARVPROD");
  qryProdutoNMPRODUTO = field(*qryProduto, "NMPRODUTO");
  qryValidProdCDPRODUTO = field(*qryValidProd, "CDPRODUTO");
  qryValidProdCDARVPROD = field(*qryValidProd, "CDARVPROD");
  qryValidProdNMPRODUTO = field(*qryValidProd, "NMPRODUTO");
}

DtValidadeData::DtValidadeData(ui::Form& form) {
  cdsDtReplicaValor = dataSet(form, "cdsDtReplicaValor", defineCdsDtReplicaValor);
  dtsDtReplicaValor = source(form, "dtsDtReplicaValor", cdsDtReplicaValor);
  cdsMaiorVigencia = dataSet(form, "cdsMaiorVigencia", defineCdsMaiorVigencia);
  cdsMaiorVigenciaDTSRVFATUHIS = field(*cdsMaiorVigencia, "DTSRVFATUHIS");
}

}  // namespace data
