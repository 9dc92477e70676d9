// Cost of the wire text of a 100,000-row packet (the bound clients of a large service: codes,
// names, amounts, dates and empty values), each next to a baseline measured in the same run, so
// results read as ratios:
//
//   packet written as text   vs  the same text dumped from a JSON tree already built
//   packed rows written      vs  the same
//   packet read from text    vs  the same text parsed into a JSON tree
//   answer read in place     vs  the same answer read copying each text out
//   answer read packed       vs  the same
//
// The baselines do less than the packet code (no tree is built for the write, no packet for
// the read); they only make figures of different runs comparable on a shared machine.
#include <benchmark/benchmark.h>
#include <fmt/format.h>

#include <nlohmann/json.hpp>
#include <string>

#include "packet/json_text.h"

namespace {

constexpr int kRows = 100'000;

packet::Packet largePacket() {
  using packet::FieldType;
  packet::Packet p;
  p.fields = {{"CDFILIAL", FieldType::Text, 4},      {"CDCLIENTE", FieldType::Text, 15},
              {"NMRAZSOCCLIE", FieldType::Text, 60}, {"NMFANTCLIE", FieldType::Text, 40},
              {"CDPRODUTO", FieldType::Text, 6},     {"DTSERVFATU", FieldType::DateTime, 0},
              {"VRSERVFATU", FieldType::Double, 0},  {"VRSERVFATDOM", FieldType::Double, 0},
              {"QTEFETMINI", FieldType::Double, 0},  {"IDEXVLRVENDA", FieldType::Text, 1},
              {"DSEMISSERCLI", FieldType::Text, 80}, {"VRTAXAPRVAR", FieldType::Double, 0}};
  p.rows.reserve(kRows);
  for (int i = 0; i < kRows; ++i) {
    p.rows.push_back({std::string("0001"), fmt::format("{:015}", i),
                      fmt::format("Condomínio Edifício São João {} Ltda.", i),
                      fmt::format("Cond. \"SJ\" {}", i % 977), std::string("000123"),
                      45000.0 + i / 1440.0, 1234.56 + i, std::monostate{}, double(i % 30),
                      std::string("S"),
                      i % 3 == 0 ? packet::Value(std::monostate{})
                                 : packet::Value(std::string("Emitir até o dia 10")),
                      0.015 * (i % 7)});
  }
  p.version = 123456;
  return p;
}

const packet::Packet& samplePacket() {
  static const packet::Packet packet = largePacket();
  return packet;
}

const std::string& sampleText() {
  static const std::string text = packet::packetToJsonText(samplePacket());
  return text;
}

void BM_WritePacket(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(packet::packetToJsonText(samplePacket()));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(sampleText().size()));
}
BENCHMARK(BM_WritePacket)->Unit(benchmark::kMillisecond);

// The server writes its large reads from packed rows.
void BM_WritePackedRows(benchmark::State& state) {
  packet::Packet packed = samplePacket();
  for (const packet::Row& row : packed.rows)
    packed.packedRows.emplace_back(row);
  packed.rows.clear();
  for (auto _ : state)
    benchmark::DoNotOptimize(packet::packetToJsonText(packed));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(sampleText().size()));
}
BENCHMARK(BM_WritePackedRows)->Unit(benchmark::kMillisecond);

void BM_BaselineDumpTree(benchmark::State& state) {
  const nlohmann::json tree = nlohmann::json::parse(sampleText());
  for (auto _ : state)
    benchmark::DoNotOptimize(tree.dump());
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(sampleText().size()));
}
BENCHMARK(BM_BaselineDumpTree)->Unit(benchmark::kMillisecond);

void BM_ReadPacket(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(packet::packetFromJsonText(sampleText()));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(sampleText().size()));
}
BENCHMARK(BM_ReadPacket)->Unit(benchmark::kMillisecond);

const std::string& sampleAnswer() {
  static const std::string text =
      packet::callResultToJsonText(packet::CallResult{true, "", samplePacket()});
  return text;
}

// The client's read of an answer, copying each text out, then reading texts in place.
void BM_ReadAnswer(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(packet::callResultFromJsonText(sampleAnswer()));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(sampleAnswer().size()));
}
BENCHMARK(BM_ReadAnswer)->Unit(benchmark::kMillisecond);

void BM_ReadAnswerInPlace(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    std::string text = sampleAnswer();
    state.ResumeTiming();
    benchmark::DoNotOptimize(packet::callResultFromJsonTextInPlace(text));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(sampleAnswer().size()));
}
BENCHMARK(BM_ReadAnswerInPlace)->Unit(benchmark::kMillisecond);

// The same, the rows read packed as a data set's load reads them.
void BM_ReadAnswerPacked(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    std::string text = sampleAnswer();
    state.ResumeTiming();
    benchmark::DoNotOptimize(packet::callResultFromJsonTextInPlace(text, packet::RowForm::Packed));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(sampleAnswer().size()));
}
BENCHMARK(BM_ReadAnswerPacked)->Unit(benchmark::kMillisecond);

void BM_BaselineParseTree(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(nlohmann::json::parse(sampleText()));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(sampleText().size()));
}
BENCHMARK(BM_BaselineParseTree)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
