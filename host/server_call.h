// callServer: a remote call whose failed answer ends the handler that made it.
//
// The forms' remote pattern in one step: call the method with its positional arguments, pass
// the answer through CheckResultServ and hand back its packet (empty when the answer carries
// none). A failed answer, the connection's own failures included, raises Consiste::ServerError
// with the server's message, which the event dispatcher shows as an error; nothing after the
// call runs, so a change log is merged only once its save has been taken. Used on the
// user-interface thread, like the connection.
#pragma once

#include <string>
#include <vector>

#include "host/net_connection.h"
#include "packet/packet.h"

namespace host {

packet::Packet callServer(TNetConnection& connection, const std::string& method,
                          std::vector<packet::Arg> args);
// The same, saying how the answer is wanted (packet::CallOptions).
packet::Packet callServer(TNetConnection& connection, const std::string& method,
                          std::vector<packet::Arg> args, const packet::CallOptions& options);

}  // namespace host
