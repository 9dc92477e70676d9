#include "forms/dialogs/cli_zev00602.h"

namespace Cli_zev00602 {

TfrmDtValidade* frmDtValidade = nullptr;
bool boStCriado = false;
std::string stIdValor;
std::string stIdMotivo;
std::string stCdFilial;
std::string stCdCliente;
std::string stCdServico;
bool boAtualizaHistorico = false;
bool boCancelado = true;

void initialization() {
  boStCriado = false;
}

void finalization() {
  stIdValor.clear();
  stIdMotivo.clear();
  stCdFilial.clear();
  stCdCliente.clear();
  stCdServico.clear();
}

}  // namespace Cli_zev00602
