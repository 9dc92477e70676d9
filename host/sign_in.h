// Signing the operator in and out at the application server of the working context.
//
// `signIn` calls rdmSessao.Login at WebURL:WebPort. On success the working context's Operador
// becomes the operator as the server keeps it (upper case) and every connection of the
// process carries the new session; on failure nothing changes and the server's message comes
// back. `signOut` ends the process's session at the server and forgets its token.
#pragma once

#include <string>

namespace host {

struct SignInResult {
  bool ok = false;
  std::string message;
};

SignInResult signIn(const std::string& operatorCode, const std::string& password);
void signOut();

// The remote data module and methods of signing in.
inline constexpr const char* kSessionModule = "rdmSessao";

}  // namespace host
