#include "host/sign_in.h"

#include "host/net_connection.h"
#include "host/quendra.h"

namespace host {

namespace {

TNetConnection sessionConnection() {
  TNetConnection net(kSessionModule);
  net.setHost(Quendra::WebURL());
  net.setPort(Quendra::WebPort());
  net.connect();
  return net;
}

}  // namespace

SignInResult signIn(const std::string& operatorCode, const std::string& password) {
  auto net = sessionConnection();
  const auto result = net.call("Login", {operatorCode, password});
  if (!result.ok)
    return {false, result.message};
  const auto& packet = result.packet;
  const int codeField = packet ? packet->fieldIndex("CDOPERADOR") : -1;
  const int tokenField = packet ? packet->fieldIndex("TOKEN") : -1;
  if (codeField < 0 || tokenField < 0 || packet->rows.size() != 1)
    return {false, "Resposta inválida do servidor de aplicação ao entrar."};
  const auto& row = packet->rows[0];
  const auto* code = std::get_if<std::string>(&row[static_cast<size_t>(codeField)]);
  const auto* token = std::get_if<std::string>(&row[static_cast<size_t>(tokenField)]);
  if (code == nullptr || token == nullptr)
    return {false, "Resposta inválida do servidor de aplicação ao entrar."};
  Quendra::context().operador = *code;
  TNetConnection::setSessionToken(*token);
  return {true, {}};
}

void signOut() {
  if (TNetConnection::sessionToken().empty())
    return;
  auto net = sessionConnection();
  net.call("Logout", {});
  TNetConnection::setSessionToken({});
}

}  // namespace host
