#include "packet/json_codec.h"

#include <gtest/gtest.h>

#include "packet/remote_call.h"

namespace packet {
namespace {

Packet samplePacket() {
  Packet p;
  p.fields = {{"CDFILIAL", FieldType::Text, 4},
              {"VRSERVFATU", FieldType::Double, 0},
              {"DTSERVFATU", FieldType::DateTime, 0}};
  p.rows = {{std::string("0001"), 12.5, 45000.0}, {std::string("0002"), std::monostate{}, 1.25}};
  return p;
}

TEST(PacketJson, RoundTripKeepsTypesNullsAndOrder) {
  const Packet original = samplePacket();
  const Packet back = packetFromJson(nlohmann::json::parse(toJson(original).dump()));
  EXPECT_EQ(back.fields, original.fields);
  EXPECT_EQ(back.rows, original.rows);
  EXPECT_EQ(back.fieldIndex("vrservfatu"), 1);
}

TEST(PacketJson, RejectsMalformedShapes) {
  EXPECT_THROW(packetFromJson(nlohmann::json::parse(R"({"rows":[]})")), PacketError);
  EXPECT_THROW(packetFromJson(nlohmann::json::parse(
                   R"({"fields":[{"name":"A","type":"text","size":1}],"rows":[["x","y"]]})")),
               PacketError);
  EXPECT_THROW(
      packetFromJson(nlohmann::json::parse(R"({"fields":[{"name":"A","type":"blob"}],"rows":[]})")),
      PacketError);
  EXPECT_THROW(packetFromJson(nlohmann::json::parse(
                   R"({"fields":[{"name":"A","type":"text"}],"rows":[[{"x":1}]]})")),
               PacketError);
}

TEST(PacketJson, DeltaRoundTripKeepsEachKindOfChange) {
  Delta d;
  d.fields = samplePacket().fields;
  d.changes = {
      {ChangeKind::Insert, {}, {std::string("0003"), 1.0, 2.0}},
      {ChangeKind::Modify, {std::string("0001"), 1.0, 2.0}, {std::string("0001"), 3.0, 2.0}},
      {ChangeKind::Delete, {std::string("0002"), std::monostate{}, 1.0}, {}}};
  const Delta back = deltaFromJson(nlohmann::json::parse(toJson(d).dump()));
  ASSERT_EQ(back.changes.size(), 3u);
  EXPECT_EQ(back.changes[0].kind, ChangeKind::Insert);
  EXPECT_EQ(back.changes[1].oldValues, d.changes[1].oldValues);
  EXPECT_EQ(back.changes[1].newValues, d.changes[1].newValues);
  EXPECT_EQ(back.changes[2].kind, ChangeKind::Delete);
  EXPECT_THROW(deltaFromJson(nlohmann::json::parse(
                   R"({"fields":[],"changes":[{"kind":"upsert","new":[]}]})")),
               PacketError);
}

TEST(RemoteCallJson, ArgumentsKeepTheirKinds) {
  Delta d;
  d.fields = {{"A", FieldType::Text, 1}};
  const std::vector<Arg> args = {std::string("0001"), 2.5, std::monostate{}, DateArg{45000}, d};
  const auto back = argsFromJson(nlohmann::json::parse(argsToJson(args).dump()));
  ASSERT_EQ(back.size(), 5u);
  EXPECT_EQ(std::get<std::string>(back[0]), "0001");
  EXPECT_EQ(std::get<double>(back[1]), 2.5);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(back[2]));
  EXPECT_EQ(std::get<DateArg>(back[3]).days, 45000);
  EXPECT_EQ(std::get<Delta>(back[4]).fields, d.fields);
  EXPECT_THROW(argsFromJson(nlohmann::json::parse(R"({"a":1})")), PacketError);
  EXPECT_THROW(argsFromJson(nlohmann::json::parse(R"([[1,2]])")), PacketError);
}

TEST(RemoteCallJson, ResultNeedsAKnownStatus) {
  CallResult r{true, "", samplePacket()};
  const auto back = callResultFromJson(nlohmann::json::parse(toJson(r).dump()));
  EXPECT_TRUE(back.ok);
  ASSERT_TRUE(back.packet.has_value());
  EXPECT_EQ(back.packet->rows.size(), 2u);
  EXPECT_THROW(callResultFromJson(nlohmann::json::parse(R"({"status":"maybe"})")), PacketError);
  EXPECT_THROW(callResultFromJson(nlohmann::json::parse(R"([])")), PacketError);
}

}  // namespace
}  // namespace packet
