// The module's data sets: each gets its fields from the server method that fills it, shows its
// values in the Brazilian formats, reads its histories newest first, and a form gets every
// component under its own name.
#include "data/data_sets.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "data/clientes_servico_data.h"
#include "host/db/data_errors.h"
#include "host/ui/regional.h"
#include "server/database_setup.h"
#include "server/service.h"

namespace data {
namespace {

// A demo database and the application server's methods over it, called in process.
class ServerAnswersTest : public ::testing::Test {
 protected:
  ServerAnswersTest() {
    folder_ = std::filesystem::temp_directory_path() /
              ("cps-data-sets-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    const std::string path = (folder_ / "cps.db").string();
    server::createDatabase(path, true);
    service_ = std::make_unique<server::Service>(path);
  }
  ~ServerAnswersTest() override {
    service_.reset();
    std::filesystem::remove_all(folder_);
  }

  packet::Packet answer(const std::string& module, const std::string& method,
                        const std::vector<packet::Arg>& args) {
    const packet::CallResult result = service_->call(module, method, args, "OPERADOR");
    EXPECT_TRUE(result.ok) << method << ": " << result.message;
    return result.packet.value_or(packet::Packet{});
  }

 private:
  std::filesystem::path folder_;
  std::unique_ptr<server::Service> service_;
};

// Every field a data set defines comes in the answer of the method that fills it, with values
// the field can hold: a data set and its method cannot drift apart unnoticed.
TEST_F(ServerAnswersTest, EveryDataSetGetsEachOfItsFieldsFromItsMethod) {
  struct Source {
    void (*define)(db::DataSet&);
    const char* method;
    std::vector<packet::Arg> args;
  };
  // A binding of the demo data with a value history, shifts, a shift history and a correction
  // table.
  const std::string branch = "0001", service = "00003", client = "102298";
  const std::vector<Source> sources = {
      {defineCdsServClie, "GetServClie", {branch, service, "OPERADOR"}},
      {defineCdsClientesFilial, "GetClientesFilial", {branch, service}},
      {defineCdsParamFilial, "GetParamFilial", {branch}},
      {defineCdsCorrPrecServ, "GetCorrPrecServ", {branch, service, client}},
      {defineCdsIntervMaior, "GetIntervMaior", {branch, service, client, 15.0}},
      {defineCdsHistServFatu, "GetHistServFatu", {branch, client, service}},
      {defineCdsTurno, "GetTurno", {branch, client, service}},
      {defineCdsTipoCusto, "GetTipoCusto", {"01"}},
      {defineCdsHistoricoTurno, "GetHistoricoTurno", {branch, client, service, "1"}},
      {defineCdsDtReplicaValor, "GetDtReplicaValor", {"0001", "00004"}},
      {defineCdsMaiorVigencia, "GetMaiorVigencia", {branch, client, service}},
  };
  for (const Source& source : sources) {
    SCOPED_TRACE(source.method);
    const packet::Packet answered = answer("rdmClientesServico", source.method, source.args);
    db::DataSet dataSet(source.method);
    source.define(dataSet);
    for (int i = 0; i < dataSet.fieldCount(); ++i)
      EXPECT_GE(answered.fieldIndex(dataSet.field(i).name()), 0) << dataSet.field(i).name();
    ASSERT_NO_THROW(dataSet.loadPacket(answered));
    EXPECT_GT(dataSet.recordCount(), 0);
  }
}

// How the values of the module look on screen and while typed, Brazilian style.
TEST(DataSetsTest, ValuesShowAndAreEditedInTheirFormats) {
  struct Case {
    void (*define)(db::DataSet&);
    const char* field;
    double value;
    const char* shown;
    const char* edited;
  };
  const std::vector<Case> cases = {
      {defineCdsServClie, "VRSERVFATU", 1234.5, "1.234,50000", "1234,50000"},
      {defineCdsServClie, "VRSERVFATSAB", 0.25, "0,25000", "0,25000"},
      // Without an edit format the display format serves for editing too.
      {defineCdsServClie, "QTVOLPROSERVCLI", 1500, "1.500,00", "1.500,00"},
      {defineCdsTurno, "VRSERVFATTUR", 12.3, "12,30000", "12,30000"},
      {defineCdsCorrPrecServ, "VRPECORRSERV", 7.5, "7,50", "7,50"},
      {defineCdsHistServFatu, "VRSERVFATHIS", 99, "99,00000", "99,00000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    db::DataSet dataSet("values");
    c.define(dataSet);
    packet::Packet empty;
    empty.fields = dataSet.fieldDefs();
    dataSet.loadPacket(empty);
    dataSet.append();
    db::Field& field = dataSet.fieldByName(c.field);
    field.setAsFloat(c.value);
    EXPECT_EQ(field.displayText(), c.shown);
    EXPECT_EQ(field.text(), c.edited);
  }
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
