#include "host/versioned_read.h"

#include "host/consiste.h"
#include "packet/json_text.h"

namespace host {

void reloadVersioned(TNetConnection& connection, db::DataSet& dataSet, const std::string& method,
                     std::vector<packet::Arg> args) {
  const std::string source = connection.moduleName() + "." + method + packet::argsToJsonText(args);
  packet::CallOptions options;
  options.packedRows = true;
  if (dataSet.active() && dataSet.versionSource() == source)
    options.knownVersion = dataSet.version();
  packet::Packet answer = Consiste::CheckResultServ(connection.call(method, args, options), true);
  if (answer.changes && !dataSet.canApply(answer)) {
    options.knownVersion = 0;
    answer = Consiste::CheckResultServ(connection.call(method, std::move(args), options), true);
  }
  dataSet.loadPacket(std::move(answer));
  dataSet.setVersionSource(dataSet.version() > 0 ? source : std::string());
}

}  // namespace host
