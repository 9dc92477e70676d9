// Loading a large data packet into a client data set, against packing the same rows into one
// block each with no checks: the ratio of the two is the cost of the data set's bookkeeping
// (field matching, type checks, per-row change-log state, reading order).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "host/db/data_set.h"
#include "packet/packet.h"

namespace {

using packet::FieldType;

// The width of the client-service rows: keys, names, 8 day values, 8 minimum staffs, 8 long
// descriptions and the flags.
std::vector<packet::FieldDef> clientServiceFields() {
  std::vector<packet::FieldDef> fields = {
      {"CDFILIAL", FieldType::Text, 4},      {"CDCLIENTE", FieldType::Text, 21},
      {"NMRAZSOCCLIE", FieldType::Text, 50}, {"CDGRSERVFAT", FieldType::Text, 3},
      {"CDPRODUTO", FieldType::Text, 10},    {"CDARVPROD", FieldType::Text, 20},
      {"NMPRODUTO", FieldType::Text, 50},    {"VRTAXAPRVAR", FieldType::Double, 0},
      {"IDTCUSPRVAR", FieldType::Double, 0}, {"DTSERVFATU", FieldType::DateTime, 0},
      {"VRSERVFATU", FieldType::Double, 0},
  };
  const char* days[] = {"DOM", "SEG", "TER", "QUA", "QUI", "SEX", "SAB", "FER"};
  for (const char* d : days)
    fields.push_back({std::string("VRSERVFAT") + d, FieldType::Double, 0});
  fields.push_back({"QTEFETMINI", FieldType::Double, 0});
  for (const char* d : days)
    fields.push_back({std::string("QTEFETMIN") + d, FieldType::Double, 0});
  fields.push_back({"NRINSJURCLIE", FieldType::Text, 20});
  fields.push_back({"IDTPIJURCLIE", FieldType::Text, 1});
  fields.push_back({"IDEXVLRVENDA", FieldType::Text, 1});
  fields.push_back({"IDVRPRFIXAUT", FieldType::Text, 1});
  fields.push_back({"NMFANTCLIE", FieldType::Text, 50});
  fields.push_back({"CDSERVFILI", FieldType::Text, 5});
  fields.push_back({"DSEMISSERCLI", FieldType::Text, 40});
  for (const char* d : days)
    fields.push_back({std::string("DSPRODEMIS") + d, FieldType::Text, 400});
  fields.push_back({"QTVOLPROSERVCLI", FieldType::Double, 0});
  fields.push_back({"IDATIVATABCOR", FieldType::Text, 1});
  fields.push_back({"IDCOREFECLIFILI", FieldType::Text, 1});
  return fields;
}

const packet::Packet& bigPacket() {
  static const packet::Packet packet = [] {
    packet::Packet p;
    p.fields = clientServiceFields();
    p.rows.reserve(100000);
    for (int r = 0; r < 100000; ++r) {
      packet::Row row;
      row.reserve(p.fields.size());
      for (std::size_t f = 0; f < p.fields.size(); ++f) {
        const auto& def = p.fields[f];
        if (def.type != FieldType::Text) {
          row.emplace_back(static_cast<double>(r % 1000) + 0.12345);
        } else if (def.size >= 400) {
          row.emplace_back(r % 3 == 0 ? packet::Value{}
                                      : packet::Value{"Diária " + std::to_string(r)});
        } else if (def.size >= 20) {
          row.emplace_back("Cliente número " + std::to_string(r) + " Ltda");
        } else {
          row.emplace_back(std::to_string(r % 10000).substr(0, static_cast<std::size_t>(def.size)));
        }
      }
      p.rows.push_back(std::move(row));
    }
    return p;
  }();
  return packet;
}

// The least a compact copy of the rows costs: each row's values written into one block of its
// own, sized first (numbers as their bytes, texts as their length and bytes), with no checks
// and no bookkeeping.
void BM_PackRowsIntoBlocks(benchmark::State& state) {
  const auto& packet = bigPacket();
  for (auto _ : state) {
    std::vector<std::string> rows;
    rows.reserve(packet.rows.size());
    for (const packet::Row& row : packet.rows) {
      std::size_t bytes = 0;
      for (const packet::Value& value : row) {
        const auto* text = std::get_if<std::string>(&value);
        bytes += text != nullptr ? sizeof(std::uint32_t) + text->size() : sizeof(double);
      }
      std::string block;
      block.reserve(bytes);
      for (const packet::Value& value : row) {
        if (const auto* text = std::get_if<std::string>(&value)) {
          const auto size = static_cast<std::uint32_t>(text->size());
          block.append(reinterpret_cast<const char*>(&size), sizeof size);
          block += *text;
        } else if (const auto* number = std::get_if<double>(&value)) {
          block.append(reinterpret_cast<const char*>(number), sizeof *number);
        } else {
          block += '\0';
        }
      }
      rows.push_back(std::move(block));
    }
    benchmark::DoNotOptimize(rows.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(packet.rows.size()));
}
BENCHMARK(BM_PackRowsIntoBlocks)->Unit(benchmark::kMillisecond);

void BM_LoadPacketIntoDataSet(benchmark::State& state) {
  const auto& packet = bigPacket();
  db::DataSet ds("cdsServClie");
  for (const auto& def : packet.fields)
    ds.addField(def.name, def.type, def.size);
  for (auto _ : state) {
    ds.loadPacket(packet);
    benchmark::DoNotOptimize(ds.recordCount());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(packet.rows.size()));
}
BENCHMARK(BM_LoadPacketIntoDataSet)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
