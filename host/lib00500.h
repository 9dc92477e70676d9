// Lib00500: the list of cost types offered by the cost-type combo of a client-service row.
//
// ListaTipoCusto asks the cost module of the application server (rdmCustProd,
// GetListaTipoCusto) for every cost type and keeps those in use (IDUTTPCUSTO "S"), in code
// order: it returns their names for the combo and remembers their numbers, so that
// NumeroTipoCusto maps a combo index back to the number stored in the row (cost type "04" is
// 4). The server's GetTipoCusto answers that number with the same name, so combo position,
// stored number and server name stay consistent. Called on the user-interface thread.
#pragma once

#include <string>
#include <vector>

#include "host/net_connection.h"

namespace Lib00500 {

// The names of the cost types in use. `costProductModule` is the host's cost-product data
// module, which this host does not need (callers pass null). A server failure raises
// Consiste::ServerError and leaves the previous list in place.
std::vector<std::string> ListaTipoCusto(host::TNetConnection& connection, void* costProductModule);

// The cost-type number of the combo item `index` of the last list; throws std::out_of_range for
// an index outside it.
int NumeroTipoCusto(int index);

}  // namespace Lib00500
