// Row versions of the client-service bindings, as the database's triggers keep them
// (db/upgrade_4_row_versions.sql, db/upgrade_5_service_versions.sql): each service counts its
// own changes. The number of a service's last change, touching a binding so that a
// reader is told about it again, and the keys of the bindings that left a service.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "packet/packet.h"
#include "server/binding_store.h"
#include "server/storage.h"

namespace server {

// The number of the last change written to the service's bindings (0 before any). Numbers of
// different services are unrelated: a reader compares a number only with its own service's.
std::int64_t currentRowVersion(Database& db, const std::string& filial, const std::string& servico);

// Gives the binding the next number although nothing of it changes: a save whose values were
// already stored must still reach the readers that hold the row as the client had it.
void touchBinding(Database& db, const BindingKey& key);

// Keys (CDFILIAL, CDSERVFILI, CDCLIENTE) of the service's bindings gone from its read in
// (since, upTo]: deleted, moved to another key, or whose client left the register.
std::vector<packet::Row> bindingsGone(Database& db, const std::string& filial,
                                      const std::string& servico, std::int64_t since,
                                      std::int64_t upTo);

}  // namespace server
