// JSON form of packets, deltas and values, shared by the client tier and the server.
//
// Packet: {"fields":[{"name":"CDFILIAL","type":"text","size":4},...],"rows":[["0001",...],...]}
// Delta:  {"fields":[...],"changes":[{"kind":"insert","new":[...]},
//          {"kind":"modify","old":[...],"new":[...]},{"kind":"delete","old":[...]}]}
// A versioned read adds "version": n; a partial packet also "since": n, "keys": [names],
// "removed": [[key values]...] and "order": [{"field": name, "names": true}...].
// Decoders check the shape strictly and throw PacketError with a clear message. These work on
// JSON trees; the transport reads and writes the same text without one (packet/json_text.h).
#pragma once

#include <nlohmann/json.hpp>

#include "packet/packet.h"

namespace packet {

nlohmann::json valueToJson(const Value& value);
// Accepts null, a string or a number; anything else throws PacketError.
Value valueFromJson(const nlohmann::json& json);

nlohmann::json toJson(const Packet& packet);
Packet packetFromJson(const nlohmann::json& json);

nlohmann::json toJson(const Delta& delta);
Delta deltaFromJson(const nlohmann::json& json);

}  // namespace packet
