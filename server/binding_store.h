// Rules shared by the methods that touch a binding of a client to a service of a branch:
// existence checks with the operator's messages, the value and shift history appends, and the
// removal of everything that hangs on a binding.
#pragma once

#include <array>
#include <string>

#include "packet/value.h"
#include "server/audit_trail.h"
#include "server/storage.h"

namespace server {

struct BindingKey {
  std::string filial;   // CDFILIAL
  std::string servico;  // CDSERVFILI
  std::string cliente;  // CDCLIENTE
};

// "'Razão social' (código 123)", or "código 123" for a client the register does not know.
std::string describeClient(Database& db, const std::string& cliente);

bool isBound(Database& db, const BindingKey& key);
// Throws MethodError when the client is not bound to the service.
void requireBound(Database& db, const BindingKey& key);
// Throws MethodError when the branch has no such service.
void requireService(Database& db, const std::string& filial, const std::string& servico);

// A row of the value history (HISTSERVFATU).
struct ValueHistoryEntry {
  BindingKey key;
  double start = 0;  // DTSRVFATUHIS
  packet::Value value;
  std::array<packet::Value, 8> dayValues;  // DOM .. FER
  packet::Value reason;
  std::string operatorCode;
};

// Appends the entry with the change date-time now, moved on by a millisecond when another
// change of the same binding and start already holds that instant.
void appendValueHistory(AuditTrail& trail, const ValueHistoryEntry& entry);

// A row of the shift value history (HISTTURNOSERVCLIE).
struct ShiftHistoryEntry {
  BindingKey key;
  std::string turno;
  double start = 0;  // DTSERVCLIETURN
  packet::Value value;
  std::array<packet::Value, 8> dayValues;
  std::string operatorCode;
};

void appendShiftHistory(AuditTrail& trail, const ShiftHistoryEntry& entry);

// The date-time now, or a millisecond after the one `latest` (a query of the latest change
// time under the same key) answers when that is not earlier, so two changes never share a key.
double distinctChangeTime(Statement& latest);

// Removes the binding's value history, shift values, shift history and correction intervals.
void deleteBindingDependents(AuditTrail& trail, const BindingKey& key);

// A start of validity when a row names none: today, without time.
double todayAsDayCount();

}  // namespace server
