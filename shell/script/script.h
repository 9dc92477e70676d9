// Scripts: the text form of a user's session with the module, for automation and tests.
//
// One command per line; '#' starts a comment (outside quotes); words are separated by blanks;
// texts stand in double quotes with \" and \\ as escapes. `modal FORM` ... `end` encloses the
// commands to run inside the next modal run of that form (blocks nest).
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace script {

struct Word {
  std::string text;
  bool quoted = false;
};

struct Command {
  std::string file;
  int line = 0;
  std::vector<Word> words;
  std::vector<Command> block;  // the body of `modal FORM ... end`

  const std::string& verb() const { return words.front().text; }
  // Word `i` (0 is the verb); throws ScriptSyntaxError when missing.
  const std::string& arg(size_t i) const;
  size_t argCount() const { return words.empty() ? 0 : words.size() - 1; }
  std::string where() const { return file + ":" + std::to_string(line); }
};

class ScriptSyntaxError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Splits one line into words; throws ScriptSyntaxError for an unterminated text or an unknown
// escape.
std::vector<Word> splitLine(const std::string& line);

// Parses a whole script; throws ScriptSyntaxError ("FILE:LINE: ...") for a malformed line, an
// `end` without `modal` or a `modal` without `end`.
std::vector<Command> parseScript(const std::string& file, const std::string& text);

}  // namespace script
