// The wire text of remote calls, written and read without an intermediate JSON tree.
//
// A service of 100,000 clients answers tens of megabytes of packet; building a JSON document
// for it first costs several times the memory and the time of the text itself. These functions
// write the text straight from packets, deltas and arguments, and read it straight into them,
// with the shape checks and messages of the tree codec (packet/json_codec.h, which is built on
// them). Numbers are written in their shortest exact form, texts as UTF-8 (a malformed byte
// becomes U+FFFD), non-finite numbers as null.
//
// Readers throw JsonSyntaxError for text that is not JSON and PacketError (its base) for JSON
// of the wrong shape.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "packet/packet.h"
#include "packet/remote_call.h"

namespace packet {

class JsonSyntaxError : public PacketError {
 public:
  using PacketError::PacketError;
};

// A text that goes beyond the reader's limits; its message says which.
class JsonLimitError : public PacketError {
 public:
  using PacketError::PacketError;
};

// What one text may take to read: nesting of arrays and objects (every reader keeps to it, so
// that no text exhausts the stack) and values, counting each element of an array and each
// member of an object (which bounds the memory a request takes).
struct ReadLimits {
  size_t maxDepth = 32;
  size_t maxValues = SIZE_MAX;
  size_t maxArgs = SIZE_MAX;  // positional arguments of a call
};

std::string packetToJsonText(const Packet& packet);
Packet packetFromJsonText(std::string_view text);

std::string deltaToJsonText(const Delta& delta);
Delta deltaFromJsonText(std::string_view text);

std::string argsToJsonText(const std::vector<Arg>& args);
std::vector<Arg> argsFromJsonText(std::string_view text, const ReadLimits& limits = {});

std::string callResultToJsonText(const CallResult& result);
CallResult callResultFromJsonText(std::string_view text);
// How a reader keeps a packet's rows: as Rows, or packed (Packet::packedRows) for a caller that
// loads them straight into a data set.
enum class RowForm { Values, Packed };

// The same, reading the texts of the answer where they stand: `text` is left unusable. For an
// answer of tens of megabytes it saves copying every text out before keeping it.
CallResult callResultFromJsonTextInPlace(std::string& text, RowForm form = RowForm::Values);

// Appends a JSON string literal of `text` to `out`.
void appendJsonString(std::string& out, std::string_view text);
// Appends a JSON number (null when it is not finite).
void appendJsonNumber(std::string& out, double number);

}  // namespace packet
