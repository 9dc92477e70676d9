// TfrmLogin ("frmLogin"): the host asks the operator and the password before it opens the
// module, when its application server is not the embedded one, and again when the server
// ends the session (expired) while the operator works.
//
// edtOperador starts with the working context's operator; edtSenha shows '*' for each typed
// character. Entrar (sbtEntrar, or Enter) requires both and signs in through host::signIn: on
// success the dialog closes with OK (the working context's Operador is the signed-in operator
// and every connection carries the session); on failure the server's message is shown as an
// error, the password is cleared and the dialog stays open for another try. Cancelar
// (sbtCancelar, or Escape) closes it with Cancel and signs nobody in.
#pragma once

#include <string>

#include "host/ui/buttons.h"
#include "host/ui/edit.h"
#include "host/ui/form.h"
#include "host/ui/static_controls.h"

namespace host {

class TfrmLogin : public ui::Form {
 public:
  explicit TfrmLogin(bool renewing = false);

  ui::Label* lblOperador;
  ui::Edit* edtOperador;
  ui::Label* lblSenha;
  ui::Edit* edtSenha;
  ui::SpeedButton* sbtEntrar;
  ui::SpeedButton* sbtCancelar;

 private:
  void enter();
};

// Shows the dialog modally; true when an operator signed in. Renewing a refused session keeps
// the operator (its code cannot be changed), since the work under way is that operator's.
bool AskSignIn(bool renewing = false);

}  // namespace host
