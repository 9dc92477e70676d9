#include "host/db/data_errors.h"

#include <fmt/format.h>

namespace db::messages {

std::string fieldReadOnly(std::string_view field) {
  return fmt::format("O campo '{}' não pode ser modificado.", field);
}

std::string fieldRequired(std::string_view field) {
  return fmt::format("O campo '{}' deve ser informado.", field);
}

std::string fieldNotFound(std::string_view field) {
  return fmt::format("Campo '{}' não encontrado.", field);
}

std::string wrongValueType(std::string_view field) {
  return fmt::format("Valor de tipo incorreto para o campo '{}'.", field);
}

std::string indexNotFound(std::string_view index) {
  return fmt::format("Índice '{}' não encontrado.", index);
}

std::string paramNotFound(std::string_view param) {
  return fmt::format("Parâmetro '{}' não encontrado.", param);
}

}  // namespace db::messages
