// Field lists of the data sets the remote methods fill and save, in the order and with the
// types and sizes the client tier defines for them.
//
// Each field also carries its role on the server: which fields identify the stored row, which
// are written, and which come from another register or are computed (accepted in a delta and
// never written). Get methods build their packets from these lists; update methods check
// deltas against them.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "packet/packet.h"

namespace server {

enum class FieldRole {
  Key,         // identifies the stored row; required in every change
  Stored,      // written to the data set's own table
  Joined,      // read from another register; never written
  Derived,     // computed when read; never written
  Maintained,  // set by the server on every change (operator, change date-time)
};

struct FieldSpec {
  std::string name;
  packet::FieldType type = packet::FieldType::Text;
  int size = 0;
  FieldRole role = FieldRole::Stored;
};

class DataSetSpec {
 public:
  DataSetSpec(std::string name, std::vector<FieldSpec> fields);

  const std::string& name() const { return name_; }
  const std::vector<FieldSpec>& fields() const { return fields_; }
  const std::vector<packet::FieldDef>& fieldDefs() const { return defs_; }
  // The field of that name (letter case ignored), or null.
  const FieldSpec* find(std::string_view fieldName) const;

 private:
  std::string name_;
  std::vector<FieldSpec> fields_;
  std::vector<packet::FieldDef> defs_;
};

// Suffixes of the per-day columns, Sunday to Saturday, then holidays.
inline constexpr std::array<std::string_view, 8> kDaySuffixes = {"DOM", "SEG", "TER", "QUA",
                                                                 "QUI", "SEX", "SAB", "FER"};

namespace datasets {

const DataSetSpec& servClie();
const DataSetSpec& clientesFilial();
const DataSetSpec& paramFilial();
const DataSetSpec& corrPrecServ();
const DataSetSpec& intervMaior();
const DataSetSpec& histServFatu();
const DataSetSpec& turno();
const DataSetSpec& tipoCusto();
const DataSetSpec& historicoTurno();
const DataSetSpec& dtReplicaValor();
const DataSetSpec& maiorVigencia();
// The trail of changes (rdmTrilha.GetTrilha), newest first.
const DataSetSpec& trilha();

}  // namespace datasets

}  // namespace server
