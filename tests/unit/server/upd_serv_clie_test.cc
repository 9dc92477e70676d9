// Saving client-service rows: all or nothing, optimistic concurrency, value history on a new
// or changed value, and everything hanging on a binding removed with it.
#include <gtest/gtest.h>

#include "server_fixture.h"

namespace server::testing {
namespace {

using packet::Delta;

class UpdServClieTest : public ServiceTest {
 protected:
  packet::CallResult save(const Delta& delta, const std::string& operatorCode = "MARIA") {
    return call("UpdServClie", {delta, operatorCode}, operatorCode);
  }
  size_t historyCount(const char* cliente, const char* servico = "00001") {
    return get("GetHistServFatu", {"0001", cliente, servico}).rows.size();
  }
};

TEST_F(UpdServClieTest, InsertBindsTheClientAndStartsItsValueHistory) {
  const auto rows = servClie();
  const auto delta = DeltaBuilder(rows)
                         .insert({{"CDFILIAL", "0001"},
                                  {"CDSERVFILI", "00001"},
                                  {"CDCLIENTE", "C3"},
                                  {"NMRAZSOCCLIE", "ignored: comes from the register"},
                                  {"NRINSJURCLIE", "529.982.247-25"},
                                  {"VRSERVFATU", 750.0},
                                  {"DTSERVFATU", 46023.0},
                                  {"VRSERVFATDOM", 30.0},
                                  {"CDPRODUTO", " "},
                                  {"IDATIVATABCOR", "S"}})
                         .build();
  const auto result = save(delta);
  ASSERT_TRUE(result.ok) << result.message;

  const auto after = servClie();
  const int row = findRow(after, "CDCLIENTE", "C3");
  ASSERT_GE(row, 0);
  EXPECT_EQ(text(field(after, row, "NMRAZSOCCLIE")), "Bruno Lima");
  EXPECT_EQ(text(field(after, row, "NRINSJURCLIE")), "52998224725");
  EXPECT_EQ(number(field(after, row, "VRSERVFATU")), 750.0);

  const auto history = get("GetHistServFatu", {"0001", "C3", "00001"});
  ASSERT_EQ(history.rows.size(), 1u);
  EXPECT_EQ(number(field(history, 0, "DTSRVFATUHIS")), 46023.0);
  EXPECT_EQ(number(field(history, 0, "VRSERVFATHIS")), 750.0);
  EXPECT_EQ(number(field(history, 0, "VRFATUDOMHIS")), 30.0);
  EXPECT_TRUE(get("GetClientesFilial", {"0001", "00001"}).rows.empty());
}

TEST_F(UpdServClieTest, RefusedInsertsNameTheirReason) {
  const auto rows = servClie();
  const auto insertOf = [&](const char* cliente, const char* produto) {
    return DeltaBuilder(rows)
        .insert({{"CDFILIAL", "0001"},
                 {"CDSERVFILI", "00001"},
                 {"CDCLIENTE", cliente},
                 {"CDPRODUTO", produto}})
        .build();
  };
  auto result = save(insertOf("C1", " "));
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.message.find("já está vinculado"), std::string::npos) << result.message;
  result = save(insertOf("C4", " "));  // a client of another branch
  EXPECT_NE(result.message.find("não pertence à filial 0001"), std::string::npos);
  result = save(insertOf("C3", "P9"));
  EXPECT_NE(result.message.find("produto 'P9' não está cadastrado"), std::string::npos);
  // A save checks each service it names, not only the first of the batch.
  const auto intoService = [](DeltaBuilder& delta, const char* servico) {
    delta.insert(
        {{"CDFILIAL", "0001"}, {"CDSERVFILI", servico}, {"CDCLIENTE", "C3"}, {"CDPRODUTO", " "}});
  };
  DeltaBuilder twoServices(rows);
  intoService(twoServices, "00001");
  intoService(twoServices, "00099");
  result = save(twoServices.build());
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.message.find("serviço 00099 não está cadastrado"), std::string::npos)
      << result.message;
  EXPECT_EQ(findRow(servClie(), "CDCLIENTE", "C3"), -1);
}

TEST_F(UpdServClieTest, DeltaThatFailsMidwayLeavesNothingApplied) {
  const auto rows = servClie();
  // First change is valid, second is stale (C1's value is no longer 999).
  auto stale = rows;
  stale.rows[1][static_cast<size_t>(rows.fieldIndex("VRSERVFATU"))] = 999.0;
  Delta delta = DeltaBuilder(rows).modify(0, {{"DSEMISSERCLI", "Nova descrição"}}).build();
  delta.changes.push_back(
      DeltaBuilder(stale).modify(1, {{"VRSERVFATU", 1234.0}}).build().changes[0]);

  const auto result = save(delta);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.message.find("'Zélia Souza' (código C1)"), std::string::npos) << result.message;
  const auto after = servClie();
  EXPECT_TRUE(packet::isNull(field(after, 0, "DSEMISSERCLI")));
  EXPECT_EQ(number(field(after, 1, "VRSERVFATU")), 1000.0);
}

TEST_F(UpdServClieTest, StaleModificationIsRefusedWhileOtherFieldsMayChangeConcurrently) {
  const auto mine = servClie();
  // Another operator changes C1's description and value first.
  ASSERT_TRUE(save(DeltaBuilder(mine).modify(1, {{"DSEMISSERCLI", "Outro"}}).build(), "JOAO").ok);

  // Changing a field the other operator did not touch still goes through...
  auto result = save(DeltaBuilder(mine).modify(1, {{"QTEFETMINI", 5.0}}).build());
  EXPECT_TRUE(result.ok) << result.message;
  // ...changing the same field from the old value does not.
  result = save(DeltaBuilder(mine).modify(1, {{"DSEMISSERCLI", "Meu"}}).build());
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.message.find("alterado por outro usuário (campo DSEMISSERCLI)"),
            std::string::npos)
      << result.message;
  const auto after = servClie();
  EXPECT_EQ(text(field(after, 1, "DSEMISSERCLI")), "Outro");
  EXPECT_EQ(number(field(after, 1, "QTEFETMINI")), 5.0);
}

TEST_F(UpdServClieTest, ValueAlreadyWrittenByTheValidityDialogIsAcceptedAndRecordedOnce) {
  const auto rows = servClie();
  const std::vector<packet::Arg> alterar = {"0001", "00001",    "C1", packet::DateArg{46023},
                                            1100.0, "Reajuste", 0.0,  55.0,
                                            0.0,    0.0,        0.0,  0.0,
                                            0.0,    0.0,        ""};
  ASSERT_TRUE(call("AlterarVrServico", alterar).ok);
  ASSERT_EQ(historyCount("C1"), 4u);

  const auto result =
      save(DeltaBuilder(rows)
               .modify(1, {{"VRSERVFATU", 1100.0}, {"DTSERVFATU", 46023.0}, {"VRSERVFATSEG", 55.0}})
               .build());
  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_EQ(historyCount("C1"), 4u);
  EXPECT_EQ(number(field(servClie(), 1, "VRSERVFATSEG")), 55.0);
}

TEST_F(UpdServClieTest, ValueChangedOnlyThroughTheDeltaAppendsHistory) {
  const auto rows = servClie();
  ASSERT_TRUE(save(DeltaBuilder(rows).modify(1, {{"VRSERVFATU", 1200.0}}).build()).ok);
  const auto history = get("GetHistServFatu", {"0001", "C1", "00001"});
  ASSERT_EQ(history.rows.size(), 4u);
  EXPECT_EQ(number(field(history, 0, "VRSERVFATHIS")), 1200.0);
  // A description change is not a value change.
  ASSERT_TRUE(save(DeltaBuilder(servClie()).modify(1, {{"DSEMISSERCLI", "x"}}).build()).ok);
  EXPECT_EQ(historyCount("C1"), 4u);
}

TEST_F(UpdServClieTest, DeletionRemovesTheBindingWithEverythingHangingOnIt) {
  const auto rows = servClie();
  const auto result = save(DeltaBuilder(rows).remove(0).build());  // C2
  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_EQ(servClie().rows.size(), 1u);
  EXPECT_TRUE(get("GetCorrPrecServ", {"0001", "00001", "C2"}).rows.empty());
  // Bound again, the client starts clean; its binding to the other service is untouched.
  EXPECT_EQ(get("GetTurno", {"0001", "C2", "00002"}).rows.size(), 3u);
  EXPECT_EQ(get("GetHistoricoTurno", {"0001", "C2", "00002", "2"}).rows.size(), 2u);

  // Deleting it again is refused: the row is gone.
  const auto again = save(DeltaBuilder(rows).remove(0).build());
  EXPECT_FALSE(again.ok);
  EXPECT_NE(again.message.find("'Água Viva Ltda'"), std::string::npos) << again.message;
}

TEST_F(UpdServClieTest, DeletionOfARowChangedByAnotherOperatorIsRefused) {
  const auto rows = servClie();
  ASSERT_TRUE(save(DeltaBuilder(rows).modify(1, {{"QTVOLPROSERVCLI", 7.0}}).build()).ok);
  const auto result = save(DeltaBuilder(rows).remove(1).build());
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.message.find("QTVOLPROSERVCLI"), std::string::npos) << result.message;
  EXPECT_EQ(servClie().rows.size(), 2u);
  EXPECT_EQ(historyCount("C1"), 3u);
}

TEST_F(UpdServClieTest, MalformedDeltasAreRefusedWithoutWriting) {
  const auto rows = servClie();
  const auto refused = [&](Delta delta, const char* expected) {
    const auto result = save(delta);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find(expected), std::string::npos) << result.message;
  };
  Delta unknown = DeltaBuilder(rows).modify(1, {{"VRSERVFATU", 1.0}}).build();
  unknown.fields[3].name = "CAMPOX";
  refused(unknown, "'CAMPOX' não pertence");

  Delta wrongType = DeltaBuilder(rows).modify(1, {{"VRSERVFATU", "mil"}}).build();
  refused(wrongType, "'VRSERVFATU' deve receber um valor numérico");

  Delta noKey = DeltaBuilder(rows).modify(1, {{"VRSERVFATU", 1.0}}).build();
  noKey.fields.erase(noKey.fields.begin() + 1);  // CDCLIENTE
  for (auto& c : noKey.changes) {
    c.oldValues.erase(c.oldValues.begin() + 1);
    c.newValues.erase(c.newValues.begin() + 1);
  }
  refused(noKey, "campo-chave 'CDCLIENTE'");

  refused(DeltaBuilder(rows).modify(1, {{"CDCLIENTE", "C3"}}).build(), "não pode ser alterado");
  refused(DeltaBuilder(rows).modify(1, {{"DSEMISSERCLI", std::string(41, 'x')}}).build(),
          "no máximo 40 caracteres");
  refused(DeltaBuilder(rows).insert({{"CDFILIAL", "0001"}, {"CDSERVFILI", "00001"}}).build(),
          "campo-chave 'CDCLIENTE' está vazio");

  EXPECT_EQ(number(field(servClie(), 1, "VRSERVFATU")), 1000.0);
}

TEST_F(UpdServClieTest, NullOrEmptyDeltaIsANoOp) {
  EXPECT_TRUE(call("UpdServClie", {std::monostate{}, ""}).ok);
  EXPECT_TRUE(save(DeltaBuilder(servClie()).build()).ok);
}

TEST_F(UpdServClieTest, FixedPriceFlagIsSetOnEveryClientOfTheService) {
  ASSERT_TRUE(call("ProUpVrPrFixAut", {"0001", "00001", "C2", "S"}).ok);
  const auto rows = servClie();
  EXPECT_EQ(text(field(rows, 0, "IDVRPRFIXAUT")), "S");
  EXPECT_EQ(text(field(rows, 1, "IDVRPRFIXAUT")), "S");
  // Other services keep their flags.
  EXPECT_EQ(text(field(get("GetServClie", {"0001", "00002", "X"}), 0, "IDVRPRFIXAUT")), "N");

  const auto bad = call("ProUpVrPrFixAut", {"0001", "00001", "C2", "X"});
  EXPECT_FALSE(bad.ok);
  EXPECT_FALSE(call("ProUpVrPrFixAut", {"0001", "99999", "C2", "S"}).ok);
}

}  // namespace
}  // namespace server::testing
