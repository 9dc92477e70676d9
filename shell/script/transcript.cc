#include "shell/script/transcript.h"

#include <iostream>

namespace script {

void Transcript::print(const std::string& line) const {
  if (!quiet_)
    std::cout << line << '\n' << std::flush;
}

}  // namespace script
