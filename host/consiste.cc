#include "host/consiste.h"

#include "host/text.h"
#include "host/ui/application.h"
#include "host/ui/edit_mask.h"
#include "host/ui/errors.h"
#include "host/ui/regional.h"
#include "host/ui/utf8.h"

namespace Consiste {

using host::trimBlanks;

namespace {

inline constexpr const char* kMascaraCpf = "999.999.999-99;0;_";
inline constexpr const char* kMascaraCnpj = "99.999.999/9999-99;0;_";
inline constexpr const char* kMascaraData = "!99/99/9999;1;_";

// A failed result raises ServerError when asked to; true when the result is good.
bool checkOk(const packet::CallResult& result, bool raise) {
  if (!result.ok && raise) {
    throw ServerError(result.message.empty() ? "O servidor de aplicação recusou a operação."
                                             : result.message);
  }
  return result.ok;
}

}  // namespace

void MensErro(const std::string& text, bool abort) {
  ui::application().messageBox(ui::MessageKind::Error, text, ui::MessageButtons::Ok);
  if (abort)
    throw ui::Abort();
}

packet::Packet CheckResultServ(const packet::CallResult& result, bool raise, int /*unused*/) {
  if (!checkOk(result, raise))
    return {};
  return result.packet.value_or(packet::Packet{});
}

packet::Packet CheckResultServ(packet::CallResult&& result, bool raise, int /*unused*/) {
  if (!checkOk(result, raise) || !result.packet)
    return {};
  return std::move(*result.packet);
}

bool EmptyString(std::string_view text) {
  return trimBlanks(text).empty();
}

std::string Ajusta(std::string_view code, int width) {
  const std::string_view trimmed = trimBlanks(code);
  std::string out(trimmed);
  const auto length = static_cast<int>(ui::utf8::length(trimmed));
  if (!trimmed.empty() && length < width)
    out.insert(0, static_cast<std::size_t>(width - length), '0');
  return out;
}

std::string PictPess(std::string_view personType) {
  const std::string type = ui::utf8::toUpper(trimBlanks(personType));
  if (type == "F")
    return kMascaraCpf;
  if (type == "J")
    return kMascaraCnpj;
  return {};
}

int IndiceCol(const db::DBGrid& grid, const std::string& fieldName) {
  return grid.columnOf(fieldName);
}

double RoundDec(double value, int decimals) {
  return ui::regional::roundDec(value, decimals);
}

std::string DateMask() {
  return kMascaraData;
}

void DateSetText(db::Field& field, const std::string& text) {
  if (EmptyString(text) || ui::EditMask(kMascaraData).isBlankText(text)) {
    field.clear();
    return;
  }
  const auto days = ui::regional::parseAcceptedDate(text);
  if (!days)
    throw ui::UiError(ui::regional::invalidDateMessage(text));
  field.setAsDateTime(*days);
}

std::string GridText(const db::DBGrid& grid) {
  return grid.editorText();
}

}  // namespace Consiste
