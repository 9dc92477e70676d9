// TMessages: a form's message catalogue, and the filling of "%s" placeholders.
//
// A catalogue holds lines "key|text". Forms ask for a text by key (Msg) and fill its "%s"
// placeholders with the texts they pass; ShowMsg shows a catalogue text in a message box. A
// key that has no line reads as the key itself, so the operator still sees which message was
// meant. Keys are compared ignoring letter case; the first line of a key wins. A form creates
// its catalogues with form.make<TMessages>("msgPadrao").
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/ui/application.h"
#include "host/ui/component.h"

namespace host {

// Replaces each "%s" of `text` by the next of `args`, in order; "%%" writes one "%". A "%s"
// left without a text stays as it is and texts left over are ignored, so a catalogue line that
// does not match its caller never fails.
std::string fillText(std::string_view text, const std::vector<std::string>& args);

class TMessages : public ui::Component {
 public:
  explicit TMessages(std::string name) : Component(std::move(name)) {}

  const std::vector<std::string>& lines() const { return lines_; }
  void setLines(std::vector<std::string> lines);
  void addLine(std::string line);
  // True when a line carries the key.
  bool hasKey(std::string_view key) const;

  // The text of the key, or the key itself when no line carries it.
  std::string Msg(std::string_view key) const;
  // The text of the key with its "%s" filled by `args` in order.
  std::string Msg(std::string_view key, const std::vector<std::string>& args) const;

  // Shows the key's text in a message box of the given kind and buttons and returns the
  // button chosen (mrYes is 6). The help context is accepted for the callers' sake; the
  // toolkit's message boxes have no help button.
  int ShowMsg(std::string_view key, ui::MessageKind kind, ui::MessageButtons buttons,
              int helpContext = 0) const;

 private:
  std::optional<std::string> find(std::string_view key) const;
  void indexLine(std::size_t line);

  std::vector<std::string> lines_;
  // Line of each upper-case key (its first): rules read texts per row of a batch.
  std::unordered_map<std::string, std::size_t> keys_;
};

}  // namespace host
