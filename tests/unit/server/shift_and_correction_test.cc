// Shift values (SetTurno) and the price correction table (UpdCorrPrecServ).
#include <gtest/gtest.h>

#include "server_fixture.h"

namespace server::testing {
namespace {

class ShiftTest : public ServiceTest {
 protected:
  packet::Packet shifts() { return get("GetTurno", {"0001", "C2", "00002"}); }
  packet::CallResult setTurno(const packet::Delta& delta, const char* emptyFields = "") {
    return call("SetTurno", {delta, emptyFields}, "CONEXAO");
  }
};

TEST_F(ShiftTest, FirstValuesOfAShiftAreStoredWithHistory) {
  const auto rows = shifts();  // shift 1 has no values: its old values are null
  const auto result = setTurno(DeltaBuilder(rows)
                                   .modify(0, {{"VRSERVFATTUR", 900.0},
                                               {"DTSERVCLIETURN", 46023.0},
                                               {"VRSVFATTUSEG", 40.0},
                                               {"CDOPERALTSERVCLIETURN", "CONEXAO"}})
                                   .build());
  ASSERT_TRUE(result.ok) << result.message;
  const auto after = shifts();
  EXPECT_EQ(number(field(after, 0, "VRSERVFATTUR")), 900.0);
  EXPECT_EQ(text(field(after, 0, "CDOPERALTSERVCLIETURN")), "CONEXAO");
  EXPECT_GT(number(field(after, 0, "DTALTSERVCLIETURN")), 45000.0);
  const auto history = get("GetHistoricoTurno", {"0001", "C2", "00002", "1"});
  ASSERT_EQ(history.rows.size(), 1u);
  EXPECT_EQ(number(field(history, 0, "VRSVFATTUSEG")), 40.0);
}

TEST_F(ShiftTest, FieldsListedAsEmptyAreStoredAsNull) {
  const auto rows = shifts();
  const auto result = setTurno(
      DeltaBuilder(rows).modify(1, {{"VRSERVFATTUR", 1600.0}, {"DSEMISTURCLI", ""}}).build(),
      "DSEMISTURCLI|VRSVFATTUDOM|NMTURNO|");
  ASSERT_TRUE(result.ok) << result.message;
  const auto after = shifts();
  EXPECT_TRUE(packet::isNull(field(after, 1, "DSEMISTURCLI")));
  EXPECT_TRUE(packet::isNull(field(after, 1, "VRSVFATTUDOM")));
  EXPECT_EQ(text(field(after, 1, "NMTURNO")), "Noturno");  // a joined name is never written
  EXPECT_EQ(text(field(after, 1, "CDOPERALTSERVCLIETURN")), "CONEXAO");
  EXPECT_EQ(get("GetHistoricoTurno", {"0001", "C2", "00002", "2"}).rows.size(), 3u);

  const auto unknown = setTurno(DeltaBuilder(after).build(), "CAMPOX|");
  EXPECT_FALSE(unknown.ok);
  EXPECT_NE(unknown.message.find("CAMPOX"), std::string::npos);
}

TEST_F(ShiftTest, StaleShiftChangeIsRefused) {
  const auto rows = shifts();
  ASSERT_TRUE(setTurno(DeltaBuilder(rows).modify(1, {{"VRSERVFATTUR", 1700.0}}).build()).ok);
  const auto result = setTurno(DeltaBuilder(rows).modify(1, {{"VRSERVFATTUR", 1800.0}}).build());
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.message.find("turno 2 do cliente 'Água Viva Ltda'"), std::string::npos)
      << result.message;
  EXPECT_EQ(number(field(shifts(), 1, "VRSERVFATTUR")), 1700.0);
}

TEST_F(ShiftTest, ShiftOfAnUnboundClientOrUnknownShiftIsRefused) {
  auto rows = shifts();
  rows.rows[0][static_cast<size_t>(rows.fieldIndex("CDCLIENTE"))] = std::string("C3");
  auto result = setTurno(DeltaBuilder(rows).modify(0, {{"VRSERVFATTUR", 1.0}}).build());
  EXPECT_NE(result.message.find("não está vinculado"), std::string::npos) << result.message;

  rows = shifts();
  rows.rows[0][static_cast<size_t>(rows.fieldIndex("CDTURNO"))] = std::string("9");
  result = setTurno(DeltaBuilder(rows).modify(0, {{"VRSERVFATTUR", 1.0}}).build());
  EXPECT_NE(result.message.find("turno 9 não está cadastrado"), std::string::npos);
}

TEST_F(ShiftTest, DeletingShiftValuesKeepsTheShiftAndItsHistory) {
  const auto rows = shifts();
  ASSERT_TRUE(setTurno(DeltaBuilder(rows).remove(1).remove(0).build()).ok);
  const auto after = shifts();
  ASSERT_EQ(after.rows.size(), 3u);
  EXPECT_TRUE(packet::isNull(field(after, 1, "VRSERVFATTUR")));
  EXPECT_EQ(get("GetHistoricoTurno", {"0001", "C2", "00002", "2"}).rows.size(), 2u);
}

class CorrectionTest : public ServiceTest {
 protected:
  packet::Packet table() { return get("GetCorrPrecServ", {"0001", "00001", "C2"}); }
  packet::CallResult save(const packet::Delta& delta) { return call("UpdCorrPrecServ", {delta}); }
};

TEST_F(CorrectionTest, IntervalsAreInsertedChangedAndDeleted) {
  auto rows = table();
  auto result = save(DeltaBuilder(rows)
                         .insert({{"CDFILIAL", "0001"},
                                  {"CDSERVFILI", "00001"},
                                  {"CDCLIENTE", "C2"},
                                  {"VRPEINICSERV", 25.0},
                                  {"VRPEFIMSERV", 60.0},
                                  {"VRPECORRSERV", 7.0},
                                  {"QTINISERV", 123.0}})
                         .modify(1, {{"VRPECORRSERV", 4.0}})
                         .remove(0)
                         .build());
  ASSERT_TRUE(result.ok) << result.message;
  rows = table();
  ASSERT_EQ(rows.rows.size(), 2u);
  EXPECT_EQ(number(field(rows, 0, "VRPECORRSERV")), 4.0);
  EXPECT_EQ(number(field(rows, 1, "VRPEFIMSERV")), 60.0);
  EXPECT_DOUBLE_EQ(number(field(rows, 1, "QTINISERV")), 500 - 25 * 500 / 100.0 - 1);
}

TEST_F(CorrectionTest, InvalidOrDuplicateOrStaleIntervalsAreRefusedAsAWhole) {
  const auto rows = table();
  const auto interval = [&](double from, double to) {
    return DeltaBuilder(rows)
        .modify(0, {{"VRPECORRSERV", 1.0}})
        .insert({{"CDFILIAL", "0001"},
                 {"CDSERVFILI", "00001"},
                 {"CDCLIENTE", "C2"},
                 {"VRPEINICSERV", from},
                 {"VRPEFIMSERV", to},
                 {"VRPECORRSERV", 1.0}})
        .build();
  };
  auto result = save(interval(50, 40));
  EXPECT_NE(result.message.find("deve ser maior que o intervalo inicial"), std::string::npos);
  result = save(interval(10, 25));
  EXPECT_NE(result.message.find("de 10% a 25% já está cadastrado"), std::string::npos)
      << result.message;
  EXPECT_EQ(number(field(table(), 0, "VRPECORRSERV")), 0.0);

  ASSERT_TRUE(save(DeltaBuilder(rows).modify(1, {{"VRPEFIMSERV", 30.0}}).build()).ok);
  result = save(DeltaBuilder(rows).modify(1, {{"VRPECORRSERV", 9.0}}).build());
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.message.find("alterado ou excluído por outro usuário"), std::string::npos);
}

// Intervals run from an exclusive initial bound to an inclusive final one: a table may be typed
// in any order, and two intervals may share a bound but never a percentage.
TEST_F(CorrectionTest, IntervalsMayShareABoundInAnyOrderButNeverOverlap) {
  const auto tableOfC1 = [&] { return get("GetCorrPrecServ", {"0001", "00001", "C1"}); };
  const auto add = [&](double from, double to) {
    return save(DeltaBuilder(tableOfC1())
                    .insert({{"CDFILIAL", "0001"},
                             {"CDSERVFILI", "00001"},
                             {"CDCLIENTE", "C1"},
                             {"VRPEINICSERV", from},
                             {"VRPEFIMSERV", to},
                             {"VRPECORRSERV", 2.0}})
                    .build());
  };
  for (const auto& [from, to] : {std::pair{20.0, 30.0}, {0.0, 10.0}, {10.0, 20.0}}) {
    const auto result = add(from, to);
    EXPECT_TRUE(result.ok) << from << " a " << to << ": " << result.message;
  }
  ASSERT_EQ(tableOfC1().rows.size(), 3u);

  // Enclosing a stored interval, starting at its initial bound, ending inside it.
  for (const auto& [from, to] : {std::pair{5.0, 40.0}, {20.0, 25.0}, {-5.0, 5.0}}) {
    const auto result = add(from, to);
    EXPECT_FALSE(result.ok) << from << " a " << to;
    EXPECT_NE(result.message.find("sobrepõe o intervalo"), std::string::npos) << result.message;
  }
  const auto refused = add(25, 45);
  EXPECT_NE(refused.message.find("O intervalo de 25% a 45% sobrepõe o intervalo de 20% a 30%"),
            std::string::npos)
      << refused.message;
  EXPECT_EQ(tableOfC1().rows.size(), 3u);

  // A stored interval may move within its neighbours' bounds, but not into them.
  auto rows = tableOfC1();  // ordered by bounds: (0,10], (10,20], (20,30]
  auto result = save(DeltaBuilder(rows).modify(1, {{"VRPEINICSERV", 12.0}}).build());
  EXPECT_TRUE(result.ok) << result.message;
  rows = tableOfC1();
  result = save(DeltaBuilder(rows).modify(1, {{"VRPEFIMSERV", 21.0}}).build());
  EXPECT_NE(result.message.find("sobrepõe"), std::string::npos) << result.message;
  EXPECT_EQ(number(field(tableOfC1(), 1, "VRPEFIMSERV")), 20.0);
}

}  // namespace
}  // namespace server::testing
