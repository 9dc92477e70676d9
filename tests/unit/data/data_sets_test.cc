// The module's data sets: fields in order with their display properties, the history orders,
// and the components a form gets.
#include "data/data_sets.h"

#include <gtest/gtest.h>

#include <array>

#include "data/clientes_servico_data.h"
#include "host/db/data_errors.h"
#include "host/ui/regional.h"

namespace data {
namespace {

// "NAME" of every field in order, joined by blanks.
std::string names(const db::DataSet& dataSet) {
  std::string out;
  for (int i = 0; i < dataSet.fieldCount(); ++i)
    out += (i == 0 ? "" : " ") + dataSet.field(i).name();
  return out;
}

// Every property of a field in one line, for one comparison per field.
std::string describe(const db::Field& field) {
  std::string out = field.name() + " " + packet::fieldTypeName(field.type());
  if (field.size() != 0)
    out += " " + std::to_string(field.size());
  if (field.displayLabel() != field.name())
    out += " label=" + field.displayLabel();
  if (!field.displayFormat().empty())
    out += " display=" + field.displayFormat();
  if (!field.editFormat().empty())
    out += " edit=" + field.editFormat();
  if (!field.editMask().empty())
    out += " mask=" + field.editMask();
  if (!field.visible())
    out += " hidden";
  if (field.required())
    out += " required";
  if (field.displayWidth() != 0)
    out += " width=" + std::to_string(field.displayWidth());
  if (!field.origin().empty())
    out += " origin=" + field.origin();
  return out;
}

TEST(DataSetsTest, ServClieHasEveryFieldInOrderWithItsDisplayProperties) {
  db::DataSet ds("cdsServClie");
  defineCdsServClie(ds);
  EXPECT_EQ(names(ds),
            "CDFILIAL CDCLIENTE NMRAZSOCCLIE CDGRSERVFAT CDPRODUTO CDARVPROD NMPRODUTO VRTAXAPRVAR "
            "IDTCUSPRVAR DTSERVFATU VRSERVFATU VRSERVFATDOM VRSERVFATSEG VRSERVFATTER "
            "VRSERVFATQUA VRSERVFATQUI VRSERVFATSEX VRSERVFATSAB VRSERVFATFER QTEFETMINI "
            "QTEFETMINDOM QTEFETMINSEG QTEFETMINTER QTEFETMINQUA QTEFETMINQUI QTEFETMINSEX "
            "QTEFETMINSAB QTEFETMINFER NRINSJURCLIE IDTPIJURCLIE IDEXVLRVENDA IDVRPRFIXAUT "
            "NMFANTCLIE CDSERVFILI DSEMISSERCLI DSPRODEMISDOM DSPRODEMISSEG DSPRODEMISTER "
            "DSPRODEMISQUA DSPRODEMISQUI DSPRODEMISSEX DSPRODEMISSAB DSPRODEMISFER "
            "QTVOLPROSERVCLI IDATIVATABCOR IDCOREFECLIFILI");
  const auto is = [&](const char* name) { return describe(ds.fieldByName(name)); };
  EXPECT_EQ(is("CDFILIAL"), "CDFILIAL text 4 mask=>aaaa;0;  hidden");
  EXPECT_EQ(is("NMRAZSOCCLIE"), "NMRAZSOCCLIE text 50 label=Razão Social");
  EXPECT_EQ(is("VRTAXAPRVAR"), "VRTAXAPRVAR double display=#,##0.00 hidden");
  EXPECT_EQ(is("IDTCUSPRVAR"), "IDTCUSPRVAR double hidden");
  EXPECT_EQ(is("DTSERVFATU"), "DTSERVFATU datetime label=Validade Inicial");
  EXPECT_EQ(is("VRSERVFATU"),
            "VRSERVFATU double label=Valor Serviço display=#,##0.00000 edit=0.00000");
  EXPECT_EQ(is("VRSERVFATSAB"), "VRSERVFATSAB double display=#,##0.00000 edit=0.00000 hidden");
  EXPECT_EQ(is("QTEFETMINI"), "QTEFETMINI double label=Mín. Efetivos Período");
  EXPECT_EQ(is("QTEFETMINFER"), "QTEFETMINFER double hidden");
  EXPECT_EQ(is("NRINSJURCLIE"), "NRINSJURCLIE text 20 label=Inscrição width=18");
  EXPECT_EQ(is("IDEXVLRVENDA"), "IDEXVLRVENDA text 1 label=Exibição Vr. Venda");
  EXPECT_EQ(is("IDVRPRFIXAUT"), "IDVRPRFIXAUT text 1 label=Venda Pr. Fixo Automática");
  EXPECT_EQ(is("DSEMISSERCLI"), "DSEMISSERCLI text 40 hidden width=40");
  EXPECT_EQ(is("DSPRODEMISQUA"), "DSPRODEMISQUA text 400 hidden");
  EXPECT_EQ(is("QTVOLPROSERVCLI"),
            "QTVOLPROSERVCLI double label=Volume Proposto display=#,##0.00 hidden");
  EXPECT_EQ(is("IDATIVATABCOR"), "IDATIVATABCOR text 1 label=Ativa Tabela de Correção hidden");
  EXPECT_EQ(ds.indexName(), "");
}

TEST(DataSetsTest, TheOtherDataSetsOfTheMainFormAndTheDialog) {
  db::DataSet clientes, param, corr, interv, tipo, replica, maior;
  defineCdsClientesFilial(clientes);
  defineCdsParamFilial(param);
  defineCdsCorrPrecServ(corr);
  defineCdsIntervMaior(interv);
  defineCdsTipoCusto(tipo);
  defineCdsDtReplicaValor(replica);
  defineCdsMaiorVigencia(maior);
  EXPECT_EQ(names(clientes), "NMRAZSOCCLIE NRINSJURCLIE IDTPIJURCLIE CDCLIENTE NMFANTCLIE");
  EXPECT_EQ(describe(clientes.fieldByName("CDCLIENTE")), "CDCLIENTE text 21 label=Código hidden");
  EXPECT_EQ(names(param), "CDTIPOFATUR DSPARAMFATFI");
  EXPECT_EQ(describe(param.fieldByName("DSPARAMFATFI")), "DSPARAMFATFI text 200");
  EXPECT_EQ(names(corr),
            "CDFILIAL CDCLIENTE VRPEINICSERV VRPEFIMSERV VRPECORRSERV CDSERVFILI QTINISERV "
            "QTFINSERV VRNOVOPRECOSERV");
  EXPECT_EQ(describe(corr.fieldByName("VRPEINICSERV")),
            "VRPEINICSERV double label=Intervalo Inicial (Exc.) display=0.00 edit=0.00");
  EXPECT_EQ(describe(corr.fieldByName("VRPECORRSERV")),
            "VRPECORRSERV double label=Percentual de Correção display=0.00 edit=0.00");
  EXPECT_EQ(describe(corr.fieldByName("QTFINSERV")),
            "QTFINSERV double label=Quant. até display=#,##0.00 hidden");
  EXPECT_EQ(describe(corr.fieldByName("VRNOVOPRECOSERV")),
            "VRNOVOPRECOSERV double label=Novo Preço display=#,###0.00000 hidden");
  EXPECT_EQ(names(interv), "VRPEINICSERV VRPEFIMSERV");
  EXPECT_EQ(describe(tipo.fieldByName("IDUTTPCUSTO")),
            "IDUTTPCUSTO text 1 origin=DBQUENDRA.TIPOCUSTO.IDUTTPCUSTO");
  EXPECT_EQ(names(tipo), "CDTIPOCUSTO NMTIPOCUSTO IDUTTPCUSTO");
  EXPECT_EQ(describe(replica.field(0)), "DTSERVFATU datetime");
  EXPECT_EQ(describe(maior.field(0)), "DTSRVFATUHIS datetime");
}

TEST(DataSetsTest, ShiftDataSets) {
  db::DataSet turno, historico;
  defineCdsTurno(turno);
  defineCdsHistoricoTurno(historico);
  EXPECT_EQ(names(turno),
            "CDTURNO NMTURNO DSEMISTURCLI VRSERVFATTUR CDCLIENTE CDFILIAL CDSERVFILI "
            "DTSERVCLIETURN DTALTSERVCLIETURN CDOPERALTSERVCLIETURN VRSVFATTUDOM VRSVFATTUSEG "
            "VRSVFATTUTER VRSVFATTUQUA VRSVFATTUQUI VRSVFATTUSEX VRSVFATTUSAB VRSVFATTUFER "
            "DSPREMISTUDOM DSPREMISTUSEG DSPREMISTUTER DSPREMISTUQUA DSPREMISTUQUI "
            "DSPREMISTUSEX DSPREMISTUSAB DSPREMISTUFER");
  EXPECT_EQ(describe(turno.fieldByName("VRSERVFATTUR")),
            "VRSERVFATTUR double label=Valor display=#,##0.00000 edit=0.00000");
  EXPECT_EQ(describe(turno.fieldByName("CDFILIAL")), "CDFILIAL text 4 mask=>aaaa;0; ");
  EXPECT_EQ(describe(turno.fieldByName("CDOPERALTSERVCLIETURN")),
            "CDOPERALTSERVCLIETURN text 12 hidden");
  EXPECT_EQ(names(historico),
            "DTSERVCLIETURN DTALTSERVCLIETURN VRSERVFATTUR VRSVFATTUDOM VRSVFATTUSEG "
            "VRSVFATTUTER VRSVFATTUQUA VRSVFATTUQUI VRSVFATTUSEX VRSVFATTUSAB VRSVFATTUFER");
  EXPECT_EQ(describe(historico.fieldByName("VRSVFATTUFER")),
            "VRSVFATTUFER double display=#,##0.00000 hidden");
  EXPECT_EQ(historico.indexName(), "idxVigencia");
}

// Loads history rows (start of validity, date of change, value) and lists the values in
// reading order.
std::string historyOrder(db::DataSet& ds, const std::string& start, const std::string& change,
                         const std::string& value, const std::vector<std::array<double, 3>>& rows) {
  packet::Packet packet;
  packet.fields = ds.fieldDefs();
  for (const auto& [day, changed, amount] : rows) {
    packet::Row row(packet.fields.size());
    row[static_cast<std::size_t>(packet.fieldIndex(start))] = day;
    row[static_cast<std::size_t>(packet.fieldIndex(change))] = changed;
    row[static_cast<std::size_t>(packet.fieldIndex(value))] = amount;
    packet.rows.push_back(row);
  }
  ds.loadPacket(packet);
  std::string out;
  for (ds.first(); !ds.eof(); ds.next())
    out += ds.fieldByName(value).asString() + " ";
  return out;
}

TEST(DataSetsTest, HistoriesRunFromTheLatestStartAndWithinADayFromTheLatestChange) {
  using ui::regional::encodeDate;
  db::DataSet servico("cdsHistServFatu");
  defineCdsHistServFatu(servico);
  EXPECT_EQ(servico.indexName(), "idxVigenciaAlteracao");
  EXPECT_EQ(names(servico),
            "CDCLIENTE CDFILIAL CDSERVFILI DTSRVFATUHIS VRSERVFATHIS VRFATUDOMHIS VRFATUSEGHIS "
            "VRFATUTERHIS VRFATUQUAHIS VRFATUQUIHIS VRFATUSEXHIS VRFATUSABHIS VRFATUFERHIS "
            "DTALTEFATHIS");
  EXPECT_EQ(describe(servico.fieldByName("DTSRVFATUHIS")), "DTSRVFATUHIS datetime label=Alteração");
  EXPECT_EQ(describe(servico.fieldByName("VRFATUSABHIS")),
            "VRFATUSABHIS double label=Vr.Serv.Sábado display=#,##0.00000");
  EXPECT_EQ(describe(servico.fieldByName("VRFATUFERHIS")),
            "VRFATUFERHIS double label=Vr.Serv.Feriados display=#,##0.00000");

  const double jan = encodeDate(2025, 1, 1);
  const double mar = encodeDate(2025, 3, 1);
  EXPECT_EQ(historyOrder(servico, "DTSRVFATUHIS", "DTALTEFATHIS", "VRSERVFATHIS",
                         {{jan, jan - 3, 1},
                          {mar, mar - 10 + 0.25, 2},
                          {mar, mar - 10 + 0.75, 3},
                          {jan, jan - 1, 4}}),
            "3 2 4 1 ");

  db::DataSet turno("cdsHistoricoTurno");
  defineCdsHistoricoTurno(turno);
  EXPECT_EQ(historyOrder(turno, "DTSERVCLIETURN", "DTALTSERVCLIETURN", "VRSERVFATTUR",
                         {{jan, jan, 1}, {mar, mar - 2, 2}, {mar, mar - 1, 3}}),
            "3 2 1 ");
}

TEST(ClientesServicoDataTest, CreatesEverythingOnTheFormUnderItsOwnName) {
  ui::Form form("frmClientesServico");
  ClientesServicoData data(form, nullptr);
  for (const char* name :
       {"cdsServClie",       "cdsClientesFilial", "dtsClientes",    "cdsParamFilial",
        "cdsCorrPrecServ",   "dtsCorrPrecServ",   "cdsIntervMaior", "cdsHistServFatu",
        "dtsHistServFatu",   "cdsTurno",          "dtsTurno",       "cdsTipoCusto",
        "cdsHistoricoTurno", "dtsHistoricoTurno", "qryFilial",      "dtsFilial",
        "qryServico",        "dtsServico",        "qryAuxClie",     "qryProduto",
        "dtsProduto",        "qryValidProd"})
    EXPECT_NE(form.findComponent(name), nullptr) << name;
  EXPECT_EQ(form.find<db::DataSet>("cdsServClie"), data.cdsServClie);
  EXPECT_EQ(data.dtsClientes->dataSet(), data.cdsClientesFilial);
  EXPECT_EQ(data.dtsFilial->dataSet(), data.qryFilial);
  EXPECT_EQ(data.dtsProduto->dataSet(), data.qryProduto);
  EXPECT_EQ(data.dtsHistoricoTurno->dataSet(), data.cdsHistoricoTurno);
  EXPECT_EQ(data.cdsServClieIDEXVLRVENDA, &data.cdsServClie->fieldByName("IDEXVLRVENDA"));
  EXPECT_EQ(data.cdsHistServFatuDTSRVFATUHIS->dataSet().name(), "cdsHistServFatu");
  EXPECT_EQ(data.qryProdutoCDARVPROD->dataSet().name(), "qryProduto");
  EXPECT_FALSE(data.cdsServClie->active());
  // Without a database a lookup is refused with the query's name.
  data.qryFilial->setParam("P_TCDFILIAL", "T");
  EXPECT_THROW(data.qryFilial->open(), db::DataError);

  ui::Form dialog("frmDtValidade");
  DtValidadeData dialogData(dialog);
  EXPECT_EQ(dialog.find<db::DataSource>("dtsDtReplicaValor")->dataSet(),
            dialogData.cdsDtReplicaValor);
  EXPECT_EQ(dialog.find<db::DataSet>("cdsMaiorVigencia"), dialogData.cdsMaiorVigencia);
}

}  // namespace
}  // namespace data
