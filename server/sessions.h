// Sessions of signed-in operators, kept in the SESSAO table so that every server on the
// database recognises them.
//
// A session is found by its token's key (credentials.h). It ends when revoked, at its
// expiry, or after going unused for the idle limit. Checking a session only reads; its last use
// is written (touchSession) at most once a minute, so reads do not turn into writes. Each
// function runs its own statements; callers that write hold a transaction.
#pragma once

#include <optional>
#include <string>

#include "server/storage.h"

namespace server {

struct SessionPolicy {
  int idleMinutes = 120;   // a session unused this long ends
  int lifetimeHours = 12;  // and none lasts longer than this after sign-in
};

struct OpenedSession {
  std::string token;  // handed to the client once, never stored
  std::string operatorCode;
  double expires = 0;  // day count
};

// Opens a session for an operator the caller has already let in.
OpenedSession openSession(Database& db, const std::string& operatorCode,
                          const SessionPolicy& policy);

// The operator of a live session, or the reason there is none, in Portuguese.
struct SessionCheck {
  std::optional<std::string> operatorCode;
  std::string refusal;
  bool useToRecord = false;  // the last recorded use is a minute old
};

// Checks a token; a session of an operator since disabled is refused too.
SessionCheck checkSession(Database& db, const std::string& token, const SessionPolicy& policy);
// Records that the session was used now.
void touchSession(Database& db, const std::string& token);

// Ends one session; an unknown token is ignored.
void revokeSession(Database& db, const std::string& token);
// Ends every session of an operator.
void revokeOperatorSessions(Database& db, const std::string& operatorCode);

}  // namespace server
