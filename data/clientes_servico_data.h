// ClientesServicoData: the data sets, data sources, lookup queries and fields of the main form
// TfrmClientesServico, created on the form and reachable under their own names.
//
// The form derives from it, so its handlers reach each data set and field by the member named
// after it (cdsServClieVRSERVFATU is the field VRSERVFATU of cdsServClie), typed and checked
// once, when the form is built: a field that the definitions lack fails the construction
// instead of a handler. Everything is made with form.make<...>(), so the form owns it and
// finds it by name; this struct owns nothing and only keeps typed pointers, constant after
// construction. The inherited data source dtsPadrao belongs to the base form, which binds it
// to cdsServClie; the handlers of the data sets, fields and sources are the form's. The lookup
// queries read the host's local database (dtmDBGeral) unless another database is given.
#pragma once

#include <array>

#include "host/db/data_set.h"
#include "host/db/data_source.h"
#include "host/db/database.h"
#include "host/db/sql_query.h"
#include "host/ui/form.h"

namespace data {

// The fields of one per-day family, Sunday to Saturday, then holidays.
using DayFields = std::array<db::Field*, 8>;

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

  // Client-service rows.
  db::Field* cdsServClieCDFILIAL;
  db::Field* cdsServClieCDSERVFILI;
  db::Field* cdsServClieCDCLIENTE;
  db::Field* cdsServClieNMRAZSOCCLIE;
  db::Field* cdsServClieNMFANTCLIE;
  db::Field* cdsServClieNRINSJURCLIE;
  db::Field* cdsServClieIDTPIJURCLIE;
  db::Field* cdsServClieCDPRODUTO;
  db::Field* cdsServClieCDARVPROD;
  db::Field* cdsServClieNMPRODUTO;
  db::Field* cdsServClieVRTAXAPRVAR;
  db::Field* cdsServClieIDTCUSPRVAR;
  db::Field* cdsServClieDTSERVFATU;
  db::Field* cdsServClieVRSERVFATU;
  DayFields cdsServClieVRSERVFAT;  // VRSERVFATDOM ... VRSERVFATFER
  db::Field* cdsServClieQTEFETMINI;
  DayFields cdsServClieQTEFETMIN;  // QTEFETMINDOM ... QTEFETMINFER
  db::Field* cdsServClieIDEXVLRVENDA;
  db::Field* cdsServClieIDVRPRFIXAUT;
  db::Field* cdsServClieDSEMISSERCLI;
  db::Field* cdsServClieQTVOLPROSERVCLI;
  db::Field* cdsServClieIDATIVATABCOR;
  db::Field* cdsServClieIDCOREFECLIFILI;

  // Clients of the branch, billing parameters and cost type.
  db::Field* cdsClientesFilialCDCLIENTE;
  db::Field* cdsClientesFilialNMRAZSOCCLIE;
  db::Field* cdsClientesFilialNRINSJURCLIE;
  db::Field* cdsClientesFilialIDTPIJURCLIE;
  db::Field* cdsParamFilialCDTIPOFATUR;
  db::Field* cdsParamFilialDSPARAMFATFI;
  db::Field* cdsTipoCustoNMTIPOCUSTO;
  db::Field* cdsTipoCustoIDUTTPCUSTO;

  // Price correction table.
  db::Field* cdsCorrPrecServCDFILIAL;
  db::Field* cdsCorrPrecServCDSERVFILI;
  db::Field* cdsCorrPrecServCDCLIENTE;
  db::Field* cdsCorrPrecServVRPEINICSERV;
  db::Field* cdsCorrPrecServVRPEFIMSERV;
  db::Field* cdsCorrPrecServVRPECORRSERV;
  db::Field* cdsCorrPrecServQTINISERV;
  db::Field* cdsCorrPrecServQTFINSERV;
  db::Field* cdsCorrPrecServVRNOVOPRECOSERV;

  // Service value history.
  db::Field* cdsHistServFatuCDFILIAL;
  db::Field* cdsHistServFatuCDSERVFILI;
  db::Field* cdsHistServFatuCDCLIENTE;
  db::Field* cdsHistServFatuDTSRVFATUHIS;

  // Shift values.
  db::Field* cdsTurnoCDFILIAL;
  db::Field* cdsTurnoCDSERVFILI;
  db::Field* cdsTurnoCDCLIENTE;
  db::Field* cdsTurnoCDTURNO;
  db::Field* cdsTurnoNMTURNO;
  db::Field* cdsTurnoVRSERVFATTUR;
  db::Field* cdsTurnoDTSERVCLIETURN;
  db::Field* cdsTurnoCDOPERALTSERVCLIETURN;

  // Lookup queries.
  db::Field* qryFilialCDFILIAL;
  db::Field* qryFilialNMFILIAL;
  db::Field* qryServicoCDSERVFILI;
  db::Field* qryServicoNMSERVICO;
  db::Field* qryAuxClieNMRAZSOCCLIE;
  db::Field* qryAuxClieNMFANTCLIE;
  db::Field* qryAuxClieNRINSJURCLIE;
  db::Field* qryAuxClieIDTPIJURCLIE;
  db::Field* qryProdutoCDARVPROD;
  db::Field* qryProdutoNMPRODUTO;
  db::Field* qryValidProdCDPRODUTO;
  db::Field* qryValidProdCDARVPROD;
  db::Field* qryValidProdNMPRODUTO;
};

// The data sets of the validity dialog TfrmDtValidade, which derives from it.
struct DtValidadeData {
  explicit DtValidadeData(ui::Form& form);

  db::DataSet* cdsDtReplicaValor;
  db::DataSource* dtsDtReplicaValor;
  db::DataSet* cdsMaiorVigencia;
  db::Field* cdsMaiorVigenciaDTSRVFATUHIS;
};

}  // namespace data
