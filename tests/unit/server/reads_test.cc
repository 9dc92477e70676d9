// The Get methods: each packet carries the data set's fields in order and the rows the forms
// rely on.
#include <gtest/gtest.h>

#include "packet/json_text.h"
#include "server/data_sets.h"
#include "server/storage.h"
#include "server_fixture.h"

namespace server::testing {
namespace {

class ReadsTest : public ServiceTest {};

TEST_F(ReadsTest, ServClieCarriesEveryFieldJoinedDataAndNameOrder) {
  const auto rows = servClie();
  EXPECT_EQ(rows.fields, datasets::servClie().fieldDefs());
  ASSERT_EQ(rows.rows.size(), 2u);
  // "Água Viva" sorts with the A's, before "Zélia", despite the accent.
  EXPECT_EQ(text(field(rows, 0, "CDCLIENTE")), "C2");
  EXPECT_EQ(text(field(rows, 1, "NMRAZSOCCLIE")), "Zélia Souza");
  EXPECT_EQ(text(field(rows, 1, "NRINSJURCLIE")), "11144477735");
  EXPECT_EQ(text(field(rows, 1, "IDTPIJURCLIE")), "F");
  EXPECT_EQ(text(field(rows, 1, "CDARVPROD")), "1.01.001");
  EXPECT_EQ(text(field(rows, 1, "NMPRODUTO")), "Detergente neutro");
  EXPECT_EQ(number(field(rows, 1, "VRSERVFATSEG")), 50.0);
  EXPECT_EQ(text(field(rows, 0, "IDCOREFECLIFILI")), "U");
  EXPECT_TRUE(packet::isNull(field(rows, 0, "NMPRODUTO")));  // product " " is no product
  EXPECT_TRUE(get("GetServClie", {"0001", "00009", "X"}).rows.empty());
}

TEST_F(ReadsTest, ClientesFilialListsOnlyBranchClientsNotYetBound) {
  const auto free = get("GetClientesFilial", {"0001", "00001"});
  EXPECT_EQ(free.fields, datasets::clientesFilial().fieldDefs());
  ASSERT_EQ(free.rows.size(), 1u);
  EXPECT_EQ(text(field(free, 0, "CDCLIENTE")), "C3");

  const auto portaria = get("GetClientesFilial", {"0001", "00002"});
  ASSERT_EQ(portaria.rows.size(), 2u);
  EXPECT_EQ(text(field(portaria, 0, "NMRAZSOCCLIE")), "Bruno Lima");
  EXPECT_EQ(text(field(portaria, 1, "NMRAZSOCCLIE")), "Zélia Souza");
}

// The HTTP route keeps a large read's rows packed, since it only writes them out: the answer's
// text is the one the same read gives with its rows as values, whole or partial.
TEST_F(ReadsTest, ALargeReadKeptPackedAnswersTheSameText) {
  const auto answerText = [&](const char* method, std::vector<packet::Arg> args,
                              std::int64_t knownVersion, bool packed) {
    const auto result = service_.call("rdmClientesServico", method, std::move(args), "TESTE",
                                      nullptr, {knownVersion, packed});
    EXPECT_TRUE(result.ok) << result.message;
    if (packed && result.packet) {
      EXPECT_TRUE(result.packet->rows.empty()) << method;
    }
    return packet::callResultToJsonText(result);
  };
  const std::int64_t version = servClie().version;
  Database other(database_.path(), false);
  other.exec("UPDATE SERVCLIE SET DSEMISSERCLI = 'Portaria\t24 h' WHERE CDCLIENTE = 'C2'");
  for (const std::int64_t known : {std::int64_t{0}, version}) {
    const std::string asValues = answerText("GetServClie", {"0001", "00001", "T"}, known, false);
    EXPECT_NE(asValues.find("Portaria"), std::string::npos);
    EXPECT_EQ(answerText("GetServClie", {"0001", "00001", "T"}, known, true), asValues);
  }
  EXPECT_EQ(answerText("GetClientesFilial", {"0001", "00002"}, 0, true),
            answerText("GetClientesFilial", {"0001", "00002"}, 0, false));
}

TEST_F(ReadsTest, CodesArriveTrimmedOfTrailingBlanks) {
  EXPECT_EQ(get("GetServClie", {"0001 ", "00001", "X"}).rows.size(), 2u);
}

TEST_F(ReadsTest, BranchParametersAndCostTypes) {
  const auto params = get("GetParamFilial", {"0001"});
  ASSERT_EQ(params.rows.size(), 1u);
  EXPECT_EQ(text(field(params, 0, "DSPARAMFATFI")), "MINEFECONSID=2;MINEFECORRIG=1");

  // The row stores the cost type as a number; "1", " 1" and "01" all name type "01".
  for (const char* code : {"01", "1", " 1"}) {
    const auto type = get("GetTipoCusto", {code});
    ASSERT_EQ(type.rows.size(), 1u) << code;
    EXPECT_EQ(text(field(type, 0, "NMTIPOCUSTO")), "Custo médio");
  }
  EXPECT_TRUE(get("GetTipoCusto", {"00"}).rows.empty());

  const auto all = get("GetListaTipoCusto", {});
  EXPECT_EQ(all.fields, datasets::tipoCusto().fieldDefs());
  ASSERT_EQ(all.rows.size(), 2u);
  EXPECT_EQ(text(field(all, 1, "IDUTTPCUSTO")), "N");
}

TEST_F(ReadsTest, CorrectionTableDerivesQuantitiesAndPriceFromTheBinding) {
  const auto table = get("GetCorrPrecServ", {"0001", "00001", "C2"});
  EXPECT_EQ(table.fields, datasets::corrPrecServ().fieldDefs());
  ASSERT_EQ(table.rows.size(), 2u);
  // Volume 500, price 2000: interval 10..25 with 3.5% correction.
  EXPECT_EQ(number(field(table, 1, "VRPEINICSERV")), 10.0);
  EXPECT_DOUBLE_EQ(number(field(table, 1, "QTINISERV")), 500 - 10 * 500 / 100.0 - 1);
  EXPECT_DOUBLE_EQ(number(field(table, 1, "QTFINSERV")), 500 - 25 * 500 / 100.0 - 1);
  EXPECT_DOUBLE_EQ(number(field(table, 1, "VRNOVOPRECOSERV")), 2070.0);
}

// (0, 10] and (10, 25] are stored: a bound they share, or either end of the table, falls inside
// neither, so a new interval may start or end there.
TEST_F(ReadsTest, IntervalLookupFindsOnlyIntervalsHoldingThePercentageStrictlyInside) {
  const auto lookup = [&](double pct) {
    return get("GetIntervMaior", {"0001", "00001", "C2", pct}).rows.size();
  };
  EXPECT_EQ(lookup(10), 0u);
  EXPECT_EQ(lookup(9.99), 1u);
  EXPECT_EQ(lookup(10.01), 1u);
  EXPECT_EQ(lookup(25), 0u);
  EXPECT_EQ(lookup(24.99), 1u);
  EXPECT_EQ(lookup(0), 0u);
  EXPECT_EQ(lookup(25.5), 0u);
}

TEST_F(ReadsTest, ValueHistoryNewestStartThenNewestChangeFirst) {
  const auto history = get("GetHistServFatu", {"0001", "C1", "00001"});
  EXPECT_EQ(history.fields, datasets::histServFatu().fieldDefs());
  ASSERT_EQ(history.rows.size(), 3u);
  EXPECT_EQ(number(field(history, 0, "DTALTEFATHIS")), 45895.75);
  EXPECT_EQ(number(field(history, 1, "DTALTEFATHIS")), 45890.25);
  EXPECT_EQ(number(field(history, 2, "DTSRVFATUHIS")), 45700.0);

  const auto latest = get("GetMaiorVigencia", {"0001", "C1", "00001"});
  EXPECT_EQ(latest.fields, datasets::maiorVigencia().fieldDefs());
  ASSERT_EQ(latest.rows.size(), 1u);
  EXPECT_EQ(number(field(latest, 0, "DTSRVFATUHIS")), 45900.0);
  EXPECT_TRUE(get("GetMaiorVigencia", {"0001", "C2", "00001"}).rows.empty());
  EXPECT_TRUE(get("GetMaiorVigencia", {"", "", ""}).rows.empty());
  EXPECT_TRUE(get("GetDtReplicaValor", {"0001", "00001"}).rows.empty());
}

TEST_F(ReadsTest, ShiftsListEveryShiftWithTheClientsValuesWhereStored) {
  const auto shifts = get("GetTurno", {"0001", "C2", "00002"});
  EXPECT_EQ(shifts.fields, datasets::turno().fieldDefs());
  ASSERT_EQ(shifts.rows.size(), 3u);
  EXPECT_EQ(text(field(shifts, 0, "NMTURNO")), "Diurno");
  EXPECT_EQ(text(field(shifts, 0, "CDCLIENTE")), "C2");
  EXPECT_TRUE(packet::isNull(field(shifts, 0, "VRSERVFATTUR")));
  EXPECT_EQ(number(field(shifts, 1, "VRSERVFATTUR")), 1500.0);
  EXPECT_EQ(text(field(shifts, 1, "CDOPERALTSERVCLIETURN")), "ADMIN");
  EXPECT_EQ(number(field(shifts, 1, "VRSVFATTUDOM")), 80.0);
  // A client that is not bound to the service has no shift rows.
  EXPECT_TRUE(get("GetTurno", {"0001", "C3", "00002"}).rows.empty());
  EXPECT_TRUE(get("GetTurno", {"0001", "", "00002"}).rows.empty());

  const auto history = get("GetHistoricoTurno", {"0001", "C2", "00002", "2"});
  EXPECT_EQ(history.fields, datasets::historicoTurno().fieldDefs());
  ASSERT_EQ(history.rows.size(), 2u);
  EXPECT_EQ(number(field(history, 0, "VRSERVFATTUR")), 1500.0);
}

}  // namespace
}  // namespace server::testing
