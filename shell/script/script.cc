#include "shell/script/script.h"

#include <sstream>

namespace script {

const std::string& Command::arg(size_t i) const {
  if (i >= words.size()) {
    throw ScriptSyntaxError(where() + ": '" + (words.empty() ? std::string() : verb()) +
                            "' precisa de mais argumentos");
  }
  return words[i].text;
}

std::vector<Word> splitLine(const std::string& line) {
  std::vector<Word> words;
  size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
      continue;
    }
    if (c == '#')
      break;
    Word word;
    if (c == '"') {
      word.quoted = true;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        const char d = line[i++];
        if (d == '"') {
          closed = true;
          break;
        }
        if (d == '\\') {
          if (i >= line.size())
            break;
          const char e = line[i++];
          if (e != '"' && e != '\\') {
            throw ScriptSyntaxError(std::string("escape desconhecido \\") + e);
          }
          word.text += e;
          continue;
        }
        word.text += d;
      }
      if (!closed)
        throw ScriptSyntaxError("texto sem aspas de fechamento");
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
        word.text += line[i++];
      }
    }
    words.push_back(std::move(word));
  }
  return words;
}

std::vector<Command> parseScript(const std::string& file, const std::string& text) {
  std::vector<Command> top;
  std::vector<std::vector<Command>*> stack{&top};
  std::vector<Command*> openBlocks;
  std::istringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    Command command;
    command.file = file;
    command.line = number;
    try {
      command.words = splitLine(line);
    } catch (const ScriptSyntaxError& e) {
      throw ScriptSyntaxError(command.where() + ": " + e.what());
    }
    if (command.words.empty())
      continue;
    if (command.verb() == "end" && !command.words.front().quoted) {
      if (openBlocks.empty())
        throw ScriptSyntaxError(command.where() + ": 'end' sem 'modal'");
      openBlocks.pop_back();
      stack.pop_back();
      continue;
    }
    stack.back()->push_back(std::move(command));
    Command& added = stack.back()->back();
    if (added.verb() == "modal") {
      added.arg(1);
      openBlocks.push_back(&added);
      stack.push_back(&added.block);
    }
  }
  if (!openBlocks.empty()) {
    throw ScriptSyntaxError(openBlocks.back()->where() + ": 'modal' sem 'end'");
  }
  return top;
}

}  // namespace script
