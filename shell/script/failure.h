// How a script run fails, and the lookups every verb shares.
//
// A failed expectation, a wrongly named control or an unexpected modal run or question raises
// ScriptFailure with "FILE:LINE: expected ..., got ...". It is not a std::exception, so the
// toolkit's dispatcher lets it through to the session, which ends the run with it.
#pragma once

#include <fmt/format.h>

#include <cstddef>
#include <string>

#include "shell/script/lookup.h"
#include "shell/script/script.h"

namespace script {

struct ScriptFailure {
  std::string message;
};

[[noreturn]] inline void fail(const Command& command, const std::string& expected,
                              const std::string& got) {
  throw ScriptFailure{fmt::format("{}: expected {}, got {}", command.where(), expected, got)};
}

// The component named by word `index` of the command, when it is a T ("a list box": `what`).
template <class T>
T& need(const Command& command, std::size_t index, const char* what) {
  const std::string& name = command.arg(index);
  ui::Component* component = findComponent(name);
  auto* typed = dynamic_cast<T*>(component);
  if (typed == nullptr)
    fail(command, fmt::format("{} named {}", what, name),
         component == nullptr ? "none" : "another kind");
  return *typed;
}

}  // namespace script
