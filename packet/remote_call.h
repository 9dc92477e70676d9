// The wire form of a remote method call and its answer.
//
// A call is POST /<module>/<Method> with a JSON array of positional arguments. Each argument
// is a text (JSON string), a number, null, a date ({"date": day count}) or a delta
// ({"delta": {...}}). The answer is {"status":"ok"|"error","message":"...","packet":{...}};
// "packet" is present for reads.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include <nlohmann/json.hpp>

#include "packet/packet.h"

namespace packet {

struct DateArg {
  double days = 0;
  bool operator==(const DateArg&) const = default;
};

// One positional argument of a remote call.
using Arg = std::variant<std::monostate, std::string, double, DateArg, Delta>;

nlohmann::json argToJson(const Arg& arg);
Arg argFromJson(const nlohmann::json& json);  // throws PacketError

nlohmann::json argsToJson(const std::vector<Arg>& args);
std::vector<Arg> argsFromJson(const nlohmann::json& json);  // throws PacketError

// What a call may say besides its arguments. A read whose rows carry versions, asked with the
// version of the rows the caller already holds (`knownVersion`), may answer a partial packet
// (packet/packet.h); other methods ignore it. On the wire it is the header "X-Versao".
// Saving a delta takes time in proportion to its rows: a write carrying many rows gets this much
// more time per row, both on the server (its call budget) and on the client (its wait for the
// answer), so a large batch is saved whole instead of running out of time. Measured at about
// 1.5 ms per row of a 10,000-row batch on a loaded machine; the allowance is three times that.
inline constexpr std::chrono::milliseconds kTimePerDeltaRow{5};

// The rows (changes) of every delta among the arguments.
std::size_t deltaRows(const std::vector<Arg>& args);
// `base` plus kTimePerDeltaRow for each of `rows`.
std::chrono::milliseconds timeForDeltaRows(std::chrono::milliseconds base, std::size_t rows);

struct CallOptions {
  std::int64_t knownVersion = 0;  // 0: the caller holds nothing
  // The caller keeps the answer's rows packed (Packet::packedRows), never as Rows: a client
  // that loads them straight into a data set, or the server, which only writes its answer out
  // as text (its large reads then take one block per row). Not sent on the wire.
  bool packedRows = false;
};

struct CallResult {
  bool ok = false;
  std::string message;
  std::optional<Packet> packet;
};

nlohmann::json toJson(const CallResult& result);
CallResult callResultFromJson(const nlohmann::json& json);  // throws PacketError

}  // namespace packet
