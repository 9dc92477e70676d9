// The wire text read and written without a JSON tree: it must say exactly what the tree codec
// says, keep every value exact, and tell text that is not JSON from JSON of the wrong shape.
#include "packet/json_text.h"

#include <gtest/gtest.h>

#include <limits>

#include "packet/json_codec.h"

namespace packet {
namespace {

Packet partialPacket() {
  Packet p;
  p.fields = {{"CDCLIENTE", FieldType::Text, 21},
              {"NMRAZSOCCLIE", FieldType::Text, 50},
              {"VRSERVFATU", FieldType::Double, 0}};
  p.rows = {{std::string("C1"), std::string("Água \"Viva\"\n\t\\ 😀"), 0.1},
            {std::string("C2"), std::monostate{}, -1234567.891011}};
  p.version = 42;
  p.changes = PacketChanges{
      7, {"CDCLIENTE"}, {{std::string("C9")}}, {{"NMRAZSOCCLIE", true}, {"CDCLIENTE", false}}};
  return p;
}

TEST(JsonText, PacketsRoundTripExactlyWithTheirVersionAndChanges) {
  const Packet original = partialPacket();
  const Packet back = packetFromJsonText(packetToJsonText(original));
  EXPECT_EQ(back.fields, original.fields);
  EXPECT_EQ(back.rows, original.rows);
  EXPECT_EQ(back.version, 42);
  ASSERT_TRUE(back.changes.has_value());
  EXPECT_EQ(*back.changes, *original.changes);
  // The tree codec reads the same text alike.
  const Packet viaTree = packetFromJson(toJson(original));
  EXPECT_EQ(viaTree.rows, original.rows);
  EXPECT_EQ(viaTree.changes, original.changes);

  Packet plain;
  plain.fields = {{"A", FieldType::Double, 0}};
  plain.rows = {{std::numeric_limits<double>::max()}, {5e-324}, {3500.0}};
  const Packet plainBack = packetFromJsonText(packetToJsonText(plain));
  EXPECT_EQ(plainBack.rows, plain.rows);
  EXPECT_EQ(plainBack.version, 0);
  EXPECT_FALSE(plainBack.changes.has_value());
}

TEST(JsonText, ArgumentsAndResultsKeepTheirKinds) {
  Delta d;
  d.fields = {{"A", FieldType::Text, 1}, {"B", FieldType::Double, 0}};
  d.changes = {{ChangeKind::Insert, {}, {std::string("x"), 1.5}},
               {ChangeKind::Modify, {std::string("x"), 1.5}, {std::string("x"), 2.5}},
               {ChangeKind::Delete, {std::string("y"), std::monostate{}}, {}}};
  const std::vector<Arg> args = {std::string("0001"), 2.5, std::monostate{}, DateArg{45000.5}, d};
  const auto back = argsFromJsonText(argsToJsonText(args));
  ASSERT_EQ(back.size(), 5u);
  EXPECT_EQ(std::get<std::string>(back[0]), "0001");
  EXPECT_EQ(std::get<double>(back[1]), 2.5);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(back[2]));
  EXPECT_EQ(std::get<DateArg>(back[3]).days, 45000.5);
  const auto& delta = std::get<Delta>(back[4]);
  EXPECT_EQ(delta.fields, d.fields);
  ASSERT_EQ(delta.changes.size(), 3u);
  EXPECT_EQ(delta.changes[1].oldValues, d.changes[1].oldValues);
  EXPECT_EQ(delta.changes[1].newValues, d.changes[1].newValues);
  EXPECT_EQ(delta.changes[2].kind, ChangeKind::Delete);

  const CallResult failed = callResultFromJsonText(callResultToJsonText({false, "Falhou", {}}));
  EXPECT_FALSE(failed.ok);
  EXPECT_EQ(failed.message, "Falhou");
  EXPECT_FALSE(failed.packet.has_value());
  const CallResult ok = callResultFromJsonText(
      R"({"message":"","extra":[1,{"a":null}],"packet":{"rows":[["a"]],"fields":[{"name":"A","type":"text","size":1}]},"status":"ok"})");
  EXPECT_TRUE(ok.ok);
  ASSERT_TRUE(ok.packet.has_value());
  EXPECT_EQ(ok.packet->rows.size(), 1u);
}

TEST(JsonText, TextThatIsNotJsonIsASyntaxErrorAndWrongShapesArePacketErrors) {
  for (const char* broken :
       {"", "[", "[1,]", "[\"a\" \"b\"]", "[01]", "[1.]", "[tru]", "[\"\\x\"]", "[\"\xC3\"]",
        "[\"\xED\xA0\x80\"]", "[\"\\uDC00\"]", "[\"a\nb\"]", "[1] 2", "[1e999]"}) {
    EXPECT_THROW(argsFromJsonText(broken), JsonSyntaxError) << broken;
  }
  try {
    argsFromJsonText(R"({"a":1})");
    FAIL();
  } catch (const JsonSyntaxError&) {
    FAIL() << "a shape error taken for a syntax error";
  } catch (const PacketError& e) {
    EXPECT_STREQ(e.what(), "Os argumentos devem vir numa lista JSON.");
  }
  EXPECT_THROW(argsFromJsonText(R"([[1,2]])"), PacketError);
  EXPECT_THROW(argsFromJsonText(R"([{"date":1,"delta":2}])"), PacketError);
  EXPECT_THROW(packetFromJsonText(R"({"fields":[{"name":"A","type":"text"}],"rows":[["x","y"]]})"),
               PacketError);
  EXPECT_THROW(
      packetFromJsonText(R"({"fields":[{"name":"A","type":"text","size":1.5}],"rows":[]})"),
      PacketError);
  EXPECT_THROW(deltaFromJsonText(R"({"fields":[],"changes":[{"kind":"modify","new":[]}]})"),
               PacketError);
  EXPECT_THROW(callResultFromJsonText(R"({"status":"maybe"})"), PacketError);
}

TEST(JsonText, WritesMalformedTextAsReplacementCharactersAndEscapesControls) {
  std::string out;
  appendJsonString(out, std::string("a\xFF"
                                    "b\x01\"\xC3\xA7",
                                    7));
  EXPECT_EQ(out,
            "\"a\xEF\xBF\xBD"
            "b\\u0001\\\"\xC3\xA7\"");
  out.clear();
  appendJsonNumber(out, std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(out, "null");
  // What the writer makes, the reader takes back.
  const auto back = argsFromJsonText("[" + out + ",\"\\ud83d\\ude00\"]");
  EXPECT_EQ(std::get<std::string>(back[1]), "😀");
}

}  // namespace
}  // namespace packet

namespace packet {
namespace {

// A text nested far beyond any real request would exhaust the stack of a recursive reader; one
// with too many values would take memory without bound. Both stop early with their reason.
TEST(JsonTextLimits, NestingAndValueCountAreBounded) {
  const std::string deep(1'000'000, '[');
  EXPECT_THROW(argsFromJsonText(deep), JsonLimitError);
  std::string members;
  for (int i = 0; i < 100'000; ++i)
    members += "{\"a\":";
  EXPECT_THROW(packetFromJsonText(members), JsonLimitError);  // members a reader skips
  try {
    argsFromJsonText("[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]");
    ADD_FAILURE() << "read 34 levels";
  } catch (const JsonLimitError& e) {
    EXPECT_NE(std::string(e.what()).find("mais de 32 níveis"), std::string::npos) << e.what();
  }

  std::string numbers = "[1";
  for (int i = 0; i < 1000; ++i)
    numbers += ",1";
  numbers += "]";
  EXPECT_EQ(argsFromJsonText(numbers).size(), 1001u);
  try {
    argsFromJsonText(numbers, {.maxDepth = 32, .maxValues = 1000});
    ADD_FAILURE() << "read 1001 values";
  } catch (const JsonLimitError& e) {
    EXPECT_NE(std::string(e.what()).find("mais de 1000 valores"), std::string::npos) << e.what();
  }
  EXPECT_EQ(argsFromJsonText(numbers, {.maxDepth = 32, .maxValues = 1001}).size(), 1001u);
  EXPECT_THROW(argsFromJsonText(numbers, {.maxDepth = 32, .maxValues = 2000, .maxArgs = 1000}),
               JsonLimitError);
}

}  // namespace
}  // namespace packet
