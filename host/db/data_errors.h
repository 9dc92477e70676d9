// Errors of the data layer: misuse of a data set, a field or a query, and values that cannot
// be read. The messages are Portuguese because they reach the operator as they stand.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace db {

class DataError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

namespace messages {

inline constexpr const char* kNotEditing =
    "Conjunto de dados não está em modo de edição ou inclusão.";
inline constexpr const char* kClosed = "Operação não permitida em um conjunto de dados fechado.";
inline constexpr const char* kEmpty = "Operação não permitida em um conjunto de dados vazio.";
inline constexpr const char* kReadOnlyDataSet =
    "Não é possível modificar um conjunto de dados somente leitura.";
inline constexpr const char* kOpen = "Operação não permitida em um conjunto de dados aberto.";

std::string fieldReadOnly(std::string_view field);
std::string fieldRequired(std::string_view field);
std::string fieldNotFound(std::string_view field);
std::string wrongValueType(std::string_view field);
std::string indexNotFound(std::string_view index);
std::string paramNotFound(std::string_view param);

}  // namespace messages

}  // namespace db
