// Unit Cli_zev00602: the service value validity dialog and its state.
#pragma once

#include <string>

class TfrmDtValidade;

namespace Cli_zev00602 {

extern TfrmDtValidade* frmDtValidade;
extern bool boStCriado;
// "S": replication mode; anything else: registration mode.
extern std::string stIdValor;
// "S": the reason memo is shown.
extern std::string stIdMotivo;
extern std::string stCdFilial;
extern std::string stCdCliente;
extern std::string stCdServico;
// On confirmation, record the change on the server at once.
extern bool boAtualizaHistorico;

void initialization();
void finalization();

}  // namespace Cli_zev00602
