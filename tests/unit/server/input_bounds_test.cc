// Values from outside that the system cannot hold: dates beyond its calendar, numbers that are
// not numbers, texts longer than their columns. Each is refused with a message and writes
// nothing; the date conversion itself survives any number.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "server/day_count.h"
#include "server_fixture.h"

namespace server::testing {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

class InputBoundsTest : public ServiceTest {
 protected:
  std::vector<packet::Arg> alterar(double start, double value = 10, std::string reason = "Reajuste",
                                   std::string operatorCode = "") {
    return {"0001", "00001", "C1",        packet::DateArg{start},
            value,  reason,  1.0,         2.0,
            3.0,    4.0,     5.0,         6.0,
            7.0,    8.0,     operatorCode};
  }

  void expectRefused(std::string_view method, std::vector<packet::Arg> args, const char* expected) {
    const auto result = call(method, std::move(args));
    EXPECT_FALSE(result.ok) << method;
    EXPECT_NE(result.message.find(expected), std::string::npos) << result.message;
  }

  size_t historyRows() { return get("GetHistServFatu", {"0001", "C1", "00001"}).rows.size(); }
};

TEST(DayCount, FormatsAnyNumberWithoutFailing) {
  EXPECT_EQ(formatDate(2), "01/01/1900");
  EXPECT_EQ(formatDate(kLastAcceptedDay + 0.999), "31/12/9999");
  EXPECT_EQ(formatDate(-693'593), "01/01/0001");
  for (double absurd : {1e300, -1e300, kNaN, kInfinity, -kInfinity, kLastAcceptedDay + 1}) {
    EXPECT_EQ(formatDate(absurd), "(data inválida)") << absurd;
    EXPECT_FALSE(isAcceptedDate(absurd)) << absurd;
  }
  EXPECT_FALSE(isAcceptedDate(1.5));  // 31/12/1899
  EXPECT_TRUE(isAcceptedDate(2));
}

TEST_F(InputBoundsTest, DateArgumentsOutsideTheCalendarAreRefused) {
  for (double start : {1.0, -1e300, 1e300, kLastAcceptedDay + 1, kNaN}) {
    expectRefused("AlterarVrServico", alterar(start),
                  "deve ser uma data de 01/01/1900 a 31/12/9999");
  }
  EXPECT_EQ(historyRows(), 3u);
  EXPECT_TRUE(call("AlterarVrServico", alterar(kLastAcceptedDay)).ok);
  EXPECT_EQ(historyRows(), 4u);
}

TEST_F(InputBoundsTest, NumbersThatAreNotFiniteAreRefused) {
  expectRefused("AlterarVrServico", alterar(46023, kInfinity), "não é um número válido");
  expectRefused("GetIntervMaior", {"0001", "00001", "C2", kNaN}, "não é um número válido");
  const auto rows = servClie();
  expectRefused("UpdServClie",
                {DeltaBuilder(rows).modify(1, {{"QTEFETMINI", -kInfinity}}).build(), ""},
                "número inválido");
  EXPECT_EQ(number(field(servClie(), 1, "QTEFETMINI")), 2.0);
}

TEST_F(InputBoundsTest, DeltaDatesOutsideTheCalendarAreRefusedButDayZeroStaysNoDate) {
  const auto history = get("GetHistServFatu", {"0001", "C1", "00001"});
  for (double start : {1e300, -1e300, kLastAcceptedDay + 1, 1.0}) {
    expectRefused("UpdHistServFatu",
                  {DeltaBuilder(history)
                       .insert({{"CDFILIAL", "0001"},
                                {"CDSERVFILI", "00001"},
                                {"CDCLIENTE", "C1"},
                                {"DTSRVFATUHIS", start}})
                       .build()},
                  "fora do intervalo aceito (01/01/1900 a 31/12/9999)");
  }
  EXPECT_EQ(historyRows(), 3u);

  // An absurd old value only fails to find its row; the message still names a date.
  auto forged = DeltaBuilder(history).remove(0).build();
  const int start = history.fieldIndex("DTSRVFATUHIS");
  forged.changes[0].oldValues[static_cast<size_t>(start)] = 1e300;
  expectRefused("UpdHistServFatu", {forged}, "A vigência de (data inválida)");
  EXPECT_EQ(historyRows(), 3u);

  const auto rows = servClie();
  ASSERT_TRUE(
      call("UpdServClie", {DeltaBuilder(rows).modify(1, {{"DTSERVFATU", 0.0}}).build(), ""}).ok);
}

TEST_F(InputBoundsTest, TextArgumentsAreBoundedByTheirColumns) {
  expectRefused("AlterarVrServico", alterar(46023, 10, std::string(4001, 'm')),
                "argumento 6 (motivo) aceita no máximo 4000 caracteres");
  expectRefused("AlterarVrServico", alterar(46023, 10, "Reajuste", std::string(8000, 'X')),
                "(operador) aceita no máximo 12 caracteres");
  expectRefused("UpdServClie", {std::monostate{}, std::string(13, 'A')}, "no máximo 12");
  expectRefused("ProUpVrPrFixAut", {"00011", "00001", "C1", "S"}, "(CDFILIAL) aceita no máximo 4");
  expectRefused("SetTurno", {std::monostate{}, std::string(2001, '|')}, "campos vazios");
  EXPECT_EQ(historyRows(), 3u);
  // Characters, not bytes, are counted; trailing blanks of codes are dropped first.
  std::string accents;
  for (int i = 0; i < 4000; ++i)
    accents += "ç";
  const auto result = call("AlterarVrServico", alterar(46023, 10, accents));
  EXPECT_TRUE(result.ok) << result.message;
  EXPECT_TRUE(call("ProUpVrPrFixAut", {"0001    ", "00001", "C1", "S"}).ok);
}

}  // namespace
}  // namespace server::testing
