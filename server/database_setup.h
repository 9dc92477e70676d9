// Creating a database file from the embedded schema (and demo data), and checking that a file
// is one the server can serve from.
#pragma once

#include <stdexcept>
#include <string>

#include "server/storage.h"

namespace server {

// The version this server creates and serves: db/schema.sql brought up by every upgrade.
inline constexpr int kSchemaVersion = 4;

// A database file that cannot be created or served from; the message says why.
class SetupError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Creates `path` with the schema, and the demo data when asked, in one transaction. Refuses
// (SetupError) when the file exists and is not empty; a failure leaves no file behind.
void createDatabase(const std::string& path, bool withDemoData);

// True when the file does not exist or holds nothing.
bool isMissingOrEmpty(const std::string& path);

// Checks the schema version of an open database, brings an older one up to kSchemaVersion (in
// one transaction), and switches it to WAL, so that several server processes can share the
// file. Throws SetupError for a file that is not a database of this system or is newer.
void prepareForServing(Database& db);

}  // namespace server
