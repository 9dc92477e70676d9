// Exceptions of the toolkit model.
//
// `Abort` is the silent abort: it ends the operation under way (a post, an exit from a field, a
// column change, a confirmation) and the event dispatcher swallows it without a message.
// `UiError` is a toolkit refusal with a message for the user (a text that is not a date, a
// control that cannot take the focus); the dispatcher shows it as an error.
#pragma once

#include <stdexcept>
#include <string>

namespace ui {

class Abort : public std::exception {
 public:
  const char* what() const noexcept override { return "Operação abortada"; }
};

class UiError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace ui
