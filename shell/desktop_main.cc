#include "shell/desktop_main.h"

#include <iostream>

namespace shell {

int runDesktop(int, char**, EntryPoint) {
  std::cerr << "A janela do aplicativo ainda não está disponível; use "
               "'clientes-servico script ARQUIVO'.\n";
  return 1;
}

bool renderScreenshot(int, char**, const std::string&, EntryPoint) {
  std::cerr << "A captura de tela ainda não está disponível.\n";
  return false;
}

}  // namespace shell
