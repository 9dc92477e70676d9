#include "host/quendra.h"

#include <stdexcept>

#include "host/process_state.h"
#include "host/text.h"
#include "host/ui/edit_mask.h"
#include "host/ui/regional.h"
#include "host/ui/utf8.h"

namespace Quendra {

using host::trimBlanks;

namespace {

void checkPictureKind(int pictureKind) {
  if (pictureKind != kPictProduto) {
    throw std::invalid_argument("Tipo de máscara desconhecido: " + std::to_string(pictureKind) +
                                ".");
  }
}

}  // namespace

WorkingContext& context() {
  return host::processState().context;
}

std::string FiliProc() {
  return context().filiProc;
}
std::string NomeFiliProc() {
  return context().nomeFiliProc;
}
std::string FiliProcFat() {
  return context().filiProcFat;
}
std::string NomeFiliProcFat() {
  return context().nomeFiliProcFat;
}
bool ModuFili() {
  return context().moduFili;
}
std::string Operador() {
  return context().operador;
}
double DataProc(const std::string& /*branch*/) {
  return context().dataProc != 0 ? context().dataProc : ui::regional::today();
}
std::string WebURL() {
  return context().webURL;
}
int WebPort() {
  return context().webPort;
}

std::string DBPict(int pictureKind) {
  checkPictureKind(pictureKind);
  return context().dbPict;
}

TPictureObject DBPictObj(int pictureKind) {
  return TPictureObject(DBPict(pictureKind));
}

TPictureObject::TPictureObject(std::string_view mask) : mask_(mask) {
  const ui::EditMask picture(mask);
  std::string pendingLiteral;
  bool inLevel = false;
  for (const auto& item : picture.items()) {
    if (item.kind == ui::EditMask::Kind::Literal) {
      if (!widths_.empty())
        ui::utf8::append(pendingLiteral, item.literal);
      inLevel = false;
      continue;
    }
    if (!inLevel) {
      if (!widths_.empty())
        literals_.push_back(pendingLiteral);
      pendingLiteral.clear();
      widths_.push_back(0);
      digitsOnly_.push_back(true);
      inLevel = true;
    }
    ++widths_.back();
    if (item.kind != ui::EditMask::Kind::Digit)
      digitsOnly_.back() = false;
  }
  // A literal after the last level (a closing bracket) is no separator.
}

std::optional<std::string> TPictureObject::normalize(std::string_view code) const {
  const std::string_view text = trimBlanks(code);
  if (text.empty())
    return std::nullopt;
  if (widths_.empty())
    return std::string(text);

  std::vector<std::string> parts;
  std::string_view rest = text;
  for (std::size_t level = 0; level < widths_.size(); ++level) {
    const auto at = level < literals_.size() && !literals_[level].empty()
                        ? rest.find(literals_[level])
                        : std::string_view::npos;
    if (at == std::string_view::npos) {
      parts.emplace_back(rest);
      rest = {};
      break;
    }
    parts.emplace_back(rest.substr(0, at));
    rest = rest.substr(at + literals_[level].size());
  }

  if (parts.size() == 1) {
    // Typed without separators: cut by the widths of the levels.
    const auto length = static_cast<int>(ui::utf8::length(text));
    if (length > widths_[0]) {
      parts.clear();
      int start = 0;
      for (std::size_t level = 0; level < widths_.size() && start < length; ++level) {
        parts.push_back(ui::utf8::substr(text, static_cast<std::size_t>(start),
                                         static_cast<std::size_t>(widths_[level])));
        start += widths_[level];
        if (start > length)
          return std::nullopt;  // the last level would be cut short
      }
      if (start < length)
        return std::nullopt;
    }
  }

  const ui::EditMask picture(mask_);
  std::string out;
  int slot = 0;
  for (std::size_t level = 0; level < parts.size(); ++level) {
    std::string part = parts[level];
    const auto width = static_cast<std::size_t>(widths_[level]);
    const std::size_t length = ui::utf8::length(part);
    if (length == 0 || length > width)
      return std::nullopt;
    if (length < width) {
      if (!digitsOnly_[level])
        return std::nullopt;
      part.insert(0, width - length, '0');
    }
    if (level > 0)
      out += literals_[level - 1];
    for (std::size_t pos = 0; pos < part.size();) {
      const auto accepted = picture.accept(slot++, ui::utf8::decode(part, pos));
      if (!accepted)
        return std::nullopt;
      ui::utf8::append(out, *accepted);
    }
  }
  return out;
}

int TPictureObject::levelOf(std::string_view formattedCode) const {
  std::string_view rest = trimBlanks(formattedCode);
  if (rest.empty())
    return 0;
  int count = 1;
  for (const auto& literal : literals_) {
    const auto at = literal.empty() ? std::string_view::npos : rest.find(literal);
    if (at == std::string_view::npos)
      break;
    rest = rest.substr(at + literal.size());
    ++count;
  }
  return count;
}

}  // namespace Quendra

namespace Geral {

int ModuloAtiv() {
  return Quendra::context().moduloAtiv;
}

}  // namespace Geral
