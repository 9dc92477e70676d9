#include "host/messages.h"

#include "host/ui/utf8.h"

namespace host {

std::string fillText(std::string_view text, const std::vector<std::string>& args) {
  std::string out;
  std::size_t next = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size()) {
      if (text[i + 1] == '%') {
        out += '%';
        ++i;
        continue;
      }
      if (text[i + 1] == 's' && next < args.size()) {
        out += args[next++];
        ++i;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

std::optional<std::string> TMessages::find(std::string_view key) const {
  const std::string wanted = ui::utf8::toUpper(key);
  for (const auto& line : lines_) {
    const auto bar = line.find('|');
    if (bar == std::string::npos)
      continue;
    if (ui::utf8::toUpper(std::string_view(line).substr(0, bar)) == wanted)
      return line.substr(bar + 1);
  }
  return std::nullopt;
}

bool TMessages::hasKey(std::string_view key) const {
  return find(key).has_value();
}

std::string TMessages::Msg(std::string_view key) const {
  return find(key).value_or(std::string(key));
}

std::string TMessages::Msg(std::string_view key, const std::vector<std::string>& args) const {
  return fillText(Msg(key), args);
}

int TMessages::ShowMsg(std::string_view key, ui::MessageKind kind, ui::MessageButtons buttons,
                       int /*helpContext*/) const {
  return ui::application().messageBox(kind, Msg(key), buttons);
}

}  // namespace host
