#include "host/server_call.h"

#include "host/consiste.h"

namespace host {

packet::Packet callServer(TNetConnection& connection, const std::string& method,
                          std::vector<packet::Arg> args) {
  return Consiste::CheckResultServ(connection.call(method, std::move(args)), true);
}

packet::Packet callServer(TNetConnection& connection, const std::string& method,
                          std::vector<packet::Arg> args, const packet::CallOptions& options) {
  return Consiste::CheckResultServ(connection.call(method, std::move(args), options), true);
}

}  // namespace host
