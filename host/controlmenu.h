// Controlmenu: the billing parameters of the branch's billing types.
//
// TParamControl knows the billing types registered in table TIPOFATUR of the local database
// (StartParamFat reads them) and keeps one TParamFat per type. A branch's parameter text
// ("MINEFECONSID=2;MINEFECORRIG=1") is loaded into the object of its type, whose values are
// read by name with GetAsString. The main form creates one control when it is created and
// destroys it when it closes.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Controlmenu {

// Names of the two billing values the forms read.
inline constexpr const char* kMinEfeConsid = "MINEFECONSID";
inline constexpr const char* kMinEfeCorrig = "MINEFECORRIG";

class TParamFat {
 public:
  explicit TParamFat(std::string tipoFatur) : tipoFatur_(std::move(tipoFatur)) {}

  const std::string& tipoFatur() const { return tipoFatur_; }
  // Replaces the values with those of a text "NAME=value;NAME=value". Names ignore case and
  // blanks around names and values are dropped; empty entries are skipped. An entry without
  // "=" or without a name raises std::invalid_argument and keeps the previous values.
  void Load(const std::string& text);
  // The value of the name, or "" when the text did not carry it.
  std::string GetAsString(const std::string& name) const;
  // Every value in the order of the text.
  const std::vector<std::pair<std::string, std::string>>& values() const { return values_; }

 private:
  std::string tipoFatur_;
  std::vector<std::pair<std::string, std::string>> values_;
};

class TParamControl {
 public:
  TParamControl() = default;

  // Reads the billing types of TIPOFATUR through dtmDBGeral and gives each an empty parameter
  // object (objects of types already known keep their values).
  void StartParamFat();
  // The parameter object of a billing type, or null when the type is not registered.
  TParamFat* TiposFatur(const std::string& tipoFatur) const;

 private:
  std::map<std::string, std::unique_ptr<TParamFat>> types_;
};

}  // namespace Controlmenu
