// Edges of the wire text a reader or writer could get wrong while every ordinary packet still
// passes: the exact text peers parse, texts that are not UTF-8, zero bytes, members given twice,
// and values of the wrong kind inside text that is not JSON.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "packet/json_text.h"

namespace packet {
namespace {

std::string written(std::string_view text) {
  std::string out;
  appendJsonString(out, text);
  return out;
}

TEST(JsonTextEdges, WritesTheTextPeersRead) {
  Packet p;
  p.fields = {{"A", FieldType::Text, 2}, {"B", FieldType::Double, 0}};
  p.rows = {{std::string("x"), 1.0}, {std::monostate{}, 0.1}, {std::string(""), -2.5e-7}};
  p.version = 9;
  EXPECT_EQ(packetToJsonText(p),
            R"({"fields":[{"name":"A","type":"text","size":2},{"name":"B","type":"double"}],)"
            R"("rows":[["x",1],[null,0.1],["",-2.5e-07]],"version":9})");
  EXPECT_EQ(callResultToJsonText({false, "Não", {}}), R"({"status":"error","message":"Não"})");
  EXPECT_EQ(argsToJsonText({DateArg{45000}, std::numeric_limits<double>::infinity()}),
            R"([{"date":45000},null])");
  EXPECT_EQ(written("a/b\t\x7F"), "\"a/b\\t\x7F\"");
}

TEST(JsonTextEdges, EachMalformedByteBecomesOneReplacementCharacter) {
  const std::string r = "\xEF\xBF\xBD";
  EXPECT_EQ(written("\xC3("), "\"" + r + "(\"");                        // cut short by ASCII
  EXPECT_EQ(written("ok\xE2\x82"), "\"ok" + r + r + "\"");              // cut short by the end
  EXPECT_EQ(written("\xC0\xAF"), "\"" + r + r + "\"");                  // overlong
  EXPECT_EQ(written("\xED\xA0\x80!"), "\"" + r + r + r + "!\"");        // a surrogate
  EXPECT_EQ(written("\xF4\x90\x80\x80"), "\"" + r + r + r + r + "\"");  // beyond U+10FFFF
  EXPECT_EQ(written("\xF0\x9F\x98\x80\xC3\xA7"), "\"\xF0\x9F\x98\x80\xC3\xA7\"");
  // What is written is read back as it was written.
  const auto back = argsFromJsonText("[" + written("a\xFF\xC3\xA7" + std::string(20, 'z')) + "]");
  EXPECT_EQ(std::get<std::string>(back.at(0)), "a" + r + "\xC3\xA7" + std::string(20, 'z'));
}

TEST(JsonTextEdges, ZeroBytesAndSurrogatesAreRefusedWhereJsonRefusesThem) {
  using namespace std::string_literals;
  EXPECT_EQ(std::get<std::string>(argsFromJsonText(R"(["a\u0000b"])").at(0)), "a\0b"s);
  EXPECT_THROW(argsFromJsonText("[1]\0"s), JsonSyntaxError);
  EXPECT_THROW(argsFromJsonText("[\"a\0b\"]"s), JsonSyntaxError);
  EXPECT_THROW(argsFromJsonText(R"([{"\udc00":1}])"), JsonSyntaxError);
  EXPECT_THROW(argsFromJsonText(R"(["\ud800"])"), JsonSyntaxError);
  EXPECT_THROW(argsFromJsonText("[\"\xF8\x88\x80\x80\x80\"]"), JsonSyntaxError);
  EXPECT_EQ(std::get<std::string>(argsFromJsonText(R"(["\u00e7\/"])").at(0)), "\xC3\xA7/");
}

TEST(JsonTextEdges, NumbersKeepTheirValueSignAndWholeness) {
  Packet p;
  p.fields = {{"A", FieldType::Double, 0}};
  p.rows = {{-0.0}, {0.1 + 0.2}, {9007199254740993.0}, {-1e-300}};
  const Packet back = packetFromJsonText(packetToJsonText(p));
  ASSERT_EQ(back.rows.size(), 4u);
  EXPECT_TRUE(std::signbit(std::get<double>(back.rows[0][0])));
  for (size_t i = 1; i < 4; ++i)
    EXPECT_EQ(std::get<double>(back.rows[i][0]), std::get<double>(p.rows[i][0]));
  const std::string head = R"({"fields":[{"name":"A","type":"text","size":3}],"rows":[],)";
  EXPECT_EQ(packetFromJsonText(head + R"("version":9007199254740992})").version, 9007199254740992);
  for (const char* bad : {R"("version":1E2})", R"("version":9007199254740994})", R"("version":-1})",
                          R"("since":0.5})"})
    EXPECT_THROW(packetFromJsonText(head + bad), PacketError) << bad;
  for (const char* size : {"1.0", "-1", "2147483648", "\"1\""}) {
    EXPECT_THROW(packetFromJsonText(std::string(R"({"fields":[{"name":"A","type":"text","size":)") +
                                    size + "}],\"rows\":[]}"),
                 PacketError)
        << size;
  }
}

TEST(JsonTextEdges, NumbersReadAsTheStandardConversionReadsThem) {
  for (const char* number :
       {"0", "-0", "7", "-12", "999999999999999", "-999999999999999", "9999999999999999",
        "12345678901234567890", "9007199254740993", "1.5", "-0.0", "1e3", "2750.5", "0.1"}) {
    const auto args = argsFromJsonText(std::string("[") + number + "]");
    const double read = std::get<double>(args.at(0));
    const double expected = std::strtod(number, nullptr);
    EXPECT_EQ(read, expected) << number;
    EXPECT_EQ(std::signbit(read), std::signbit(expected)) << number;
  }
  for (const char* bad : {"[-]", "[01]", "[1.]", "[--1]", "[1e999]", "[-1e999]"})
    EXPECT_THROW(argsFromJsonText(bad), JsonSyntaxError) << bad;
}

// A server keeps a large read's rows packed and writes them as it writes rows of values.
TEST(JsonTextEdges, PackedRowsAreWrittenAsTheirValues) {
  Packet p;
  p.fields = {{"A", FieldType::Text, 0}, {"B", FieldType::Double, 0}};
  p.rows = {{std::string("a\xFF\"b\n"), -0.0},
            {std::monostate{}, std::numeric_limits<double>::quiet_NaN()},
            {std::string(70000, 'x'), 2750.5},
            {std::string(), std::monostate{}}};
  Packet packed = p;
  for (const Row& row : p.rows)
    packed.packedRows.emplace_back(row);
  packed.rows.clear();
  EXPECT_EQ(packetToJsonText(packed), packetToJsonText(p));
  EXPECT_EQ(callResultToJsonText({true, {}, packed}), callResultToJsonText({true, {}, p}));
}

TEST(JsonTextEdges, AMemberGivenTwiceKeepsItsLastValue) {
  const Packet p =
      packetFromJsonText(R"({"fields":[{"name":"A","type":"text","size":1}],"rows":[["x"],["y"]],)"
                         R"("fields":[{"name":"B","type":"double"}],"rows":[[1]]})");
  ASSERT_EQ(p.fields.size(), 1u);
  EXPECT_EQ(p.fields[0].name, "B");
  ASSERT_EQ(p.rows.size(), 1u);
  EXPECT_EQ(std::get<double>(p.rows[0][0]), 1.0);
}

TEST(JsonTextEdges, AValueOfTheWrongKindIsRefusedOnlyIfTheTextIsJson) {
  const std::string wrong = R"({"fields":{"a":[1,2]},"rows":[]})";
  try {
    packetFromJsonText(wrong);
    ADD_FAILURE();
  } catch (const JsonSyntaxError&) {
    ADD_FAILURE() << "JSON of the wrong shape taken for a syntax error";
  } catch (const PacketError& e) {
    EXPECT_STREQ(e.what(), "Pacote inválido: 'fields' deve ser uma lista.");
  }
  EXPECT_THROW(packetFromJsonText(R"({"fields":{"a":[1,2)"), JsonSyntaxError);
  EXPECT_THROW(argsFromJsonText(R"({"a":1} x)"), JsonSyntaxError);
  // Members a reader does not know are passed over whatever they hold.
  const CallResult r = callResultFromJsonText(
      R"({"later":{"deep":[[{"x":[true,false,null]}]]},"status":"ok","message":"m"})");
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.message, "m");
}

// What reading `answer` gives, or the kind and message of its refusal.
template <class Read>
std::string outcome(Read read) {
  try {
    return callResultToJsonText(read());
  } catch (const JsonSyntaxError& e) {
    return std::string("syntax: ") + e.what();
  } catch (const PacketError& e) {
    return std::string("shape: ") + e.what();
  }
}

// The client reads its answers in place: every answer, good or not, reads as when its texts
// are copied out.
TEST(JsonTextEdges, AnAnswerReadInPlaceReadsAsWhenCopied) {
  using namespace std::string_literals;
  const std::vector<std::string> answers = {
      R"({"status":"ok","message":"m\u00e7\"\\\/","packet":{"fields":[{"name":"A","type":"text",)"
      R"("size":9},{"name":"B","type":"double"}],"rows":[["a\u0000b",1.5e3],["\n\t",null],)"
      R"(["\u00e7 longer than any short text",-0.0],["",12345678901234567890]],"version":7}})",
      R"({"status":"error","message":"Falhou"})",
      R"({"later":{"deep":[1,"x"]},"status":"ok"})",
      "{\"status\":\"ok\"}\0"s,
      R"({"status":"ok"} x)",
      R"({"status":"ok")",
      R"({"status":"talvez"})",
      R"({"message":"sem status"})",
      "{\"status\":\"ok\",\"message\":\"\xF8\x88\"}",
      R"({"status":"ok","packet":{"fields":{}}})",
      R"({"status":"ok","packet":{"fields":[{"name":"A","type":"double"}],"rows":[[1,2]]}})"};
  for (const std::string& answer : answers) {
    const std::string copied = outcome([&] { return callResultFromJsonText(answer); });
    std::string text = answer;
    EXPECT_EQ(outcome([&] { return callResultFromJsonTextInPlace(text); }), copied) << answer;
  }
}

// A data set's load reads its answer's rows packed: every answer, good or not, reads as it does
// into Rows, with the same values and the same errors.
TEST(JsonTextEdges, AnAnswerReadPackedReadsAsIntoRows) {
  const std::string longText(70000, 'x');  // past what a row's 16-bit ends can place
  const std::vector<std::string> answers = {
      R"({"status":"ok","packet":{"fields":[{"name":"A","type":"text","size":9},)"
      R"({"name":"B","type":"double"}],"rows":[["a\u0000b",1.5e3],["\n\t",null],)"
      R"([null,-0.0],["",12345678901234567890],["\u00e7 longer than any short text",1]],)"
      R"("version":7,"since":3,"keys":["A"],"removed":[["z"]],"order":[{"field":"A"}]}})",
      R"({"status":"ok","packet":{"rows":[["a",")" + longText +
          R"("]],"fields":[)"
          R"({"name":"A","type":"text"},{"name":"B","type":"text"}]}})",
      R"({"status":"ok","packet":{"fields":[{"name":"A","type":"text"}],"rows":[]}})",
      R"({"status":"ok","packet":{"fields":[{"name":"A","type":"double"}],"rows":[[1,2]]}})",
      R"({"status":"ok","packet":{"fields":[{"name":"A","type":"double"}],"rows":[[[1]]]}})",
      R"({"status":"ok","packet":{"fields":[{"name":"A","type":"double"}],"rows":[{"a":1}]}})",
      R"({"status":"ok","packet":{"fields":[{"name":"A","type":"double"}],"rows":{}}})",
      R"({"status":"ok","packet":{"fields":[{"name":"A","type":"double"}],"rows":[[1],[true]]}})",
      R"({"status":"ok","packet":{"fields":[{"name":"A","type":"double"}],"rows":[[1],[2)"};
  for (const std::string& answer : answers) {
    std::string text = answer;
    const std::string asRows = outcome([&] { return callResultFromJsonTextInPlace(text); });
    text = answer;
    const std::string asPacked = outcome([&] {
      CallResult result = callResultFromJsonTextInPlace(text, RowForm::Packed);
      if (result.packet) {
        EXPECT_TRUE(result.packet->rows.empty());
        for (const PackedRow& row : result.packet->packedRows)
          result.packet->rows.push_back(row.toRow());
      }
      return result;
    });
    EXPECT_EQ(asPacked, asRows) << answer.substr(0, 200);
  }
}

}  // namespace
}  // namespace packet
