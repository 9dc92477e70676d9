// Field definitions written as tables: each data set and query of the module lists its
// fields in order with their display properties, and defineFields creates them.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "host/db/data_set.h"

namespace data {

struct FieldSpec {
  std::string name{};
  packet::FieldType type = packet::FieldType::Text;
  int size = 0;
  std::string label{};  // empty: the field name serves
  std::string displayFormat{};
  std::string editFormat{};
  std::string mask{};
  bool hidden = false;
  bool required = false;
  int displayWidth = 0;
  std::string origin{};
};

// The per-day suffixes, Sunday to Saturday, then holidays; families of fields are always
// defined in this order.
inline const std::vector<std::string> kDias = {"DOM", "SEG", "TER", "QUA",
                                               "QUI", "SEX", "SAB", "FER"};

// Edit mask of a branch code: up to four letters or digits in upper case.
inline constexpr const char* kMascaraFilial = ">aaaa;0; ";
// Value formats: shown with separators and five decimals, edited without separators.
inline constexpr const char* kFormatoValor = "#,##0.00000";
inline constexpr const char* kEdicaoValor = "0.00000";

// Creates the fields of `specs` in order on a closed data set.
void defineFields(db::DataSet& dataSet, const std::vector<FieldSpec>& specs);

// Eight specs, one per day, named prefix + day + suffix, each a copy of `model` (whose name is
// ignored); `labels` (when given) are the display labels in day order.
std::vector<FieldSpec> dayFamily(const std::string& prefix, const std::string& suffix,
                                 const FieldSpec& model,
                                 const std::vector<std::string>& labels = {});

// The parts one after the other.
std::vector<FieldSpec> join(std::initializer_list<std::vector<FieldSpec>> parts);

}  // namespace data
