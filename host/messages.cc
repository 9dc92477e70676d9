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

void TMessages::setLines(std::vector<std::string> lines) {
  lines_ = std::move(lines);
  keys_.clear();
  for (std::size_t i = 0; i < lines_.size(); ++i)
    indexLine(i);
}

void TMessages::addLine(std::string line) {
  lines_.push_back(std::move(line));
  indexLine(lines_.size() - 1);
}

void TMessages::indexLine(std::size_t line) {
  const std::string_view text = lines_[line];
  const auto bar = text.find('|');
  if (bar != std::string_view::npos)
    keys_.emplace(ui::utf8::toUpper(text.substr(0, bar)), line);
}

std::optional<std::string> TMessages::find(std::string_view key) const {
  const auto found = keys_.find(ui::utf8::toUpper(key));
  if (found == keys_.end())
    return std::nullopt;
  const std::string& line = lines_[found->second];
  return line.substr(line.find('|') + 1);
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
