#include "host/frm_login.h"

#include "host/consiste.h"
#include "host/dialog_buttons.h"
#include "host/quendra.h"
#include "host/sign_in.h"
#include "host/ui/application.h"

namespace host {

TfrmLogin::TfrmLogin(bool renewing) : Form("frmLogin") {
  setCaption("Identificação do Operador");
  setBorderStyle(ui::BorderStyle::Dialog);
  setClientSize(300, 118);

  lblOperador = add<ui::Label>("lblOperador");
  lblOperador->setCaption("&Operador:");
  lblOperador->setBounds(12, 14, 70, 13);
  edtOperador = add<ui::Edit>("edtOperador");
  edtOperador->setBounds(86, 10, 120, 21);
  edtOperador->setMaxLength(12);
  edtOperador->setCharCase(ui::CharCase::Upper);
  edtOperador->setTabStop(true);
  edtOperador->setTabOrder(0);
  lblOperador->setFocusControl(edtOperador);

  lblSenha = add<ui::Label>("lblSenha");
  lblSenha->setCaption("&Senha:");
  lblSenha->setBounds(12, 45, 70, 13);
  edtSenha = add<ui::Edit>("edtSenha");
  edtSenha->setBounds(86, 41, 200, 21);
  edtSenha->setMaxLength(256);
  edtSenha->setPasswordChar(U'*');
  edtSenha->setTabStop(true);
  edtSenha->setTabOrder(1);
  lblSenha->setFocusControl(edtSenha);

  const DialogButtons buttons = addDialogButtons(
      *this, {"sbtEntrar", "&Entrar"}, {"sbtCancelar", "&Cancelar"}, 130, 82, [this] { enter(); });
  sbtEntrar = buttons.confirm;
  sbtCancelar = buttons.cancel;
  edtOperador->setText(Quendra::Operador());
  edtOperador->setReadOnly(renewing);
  if (renewing)
    setCaption("Sessão encerrada: entre novamente");
  // With the operator already known, the password is what is left to type.
  onShow = [this](ui::Form&) {
    if (!edtOperador->text().empty())
      edtSenha->setFocus();
  };
}

void TfrmLogin::enter() {
  if (Consiste::EmptyString(edtOperador->text())) {
    edtOperador->setFocus();
    Consiste::MensErro("Informe o operador.", true);
  }
  if (edtSenha->text().empty()) {
    edtSenha->setFocus();
    Consiste::MensErro("Informe a senha.", true);
  }
  const SignInResult result = signIn(edtOperador->text(), edtSenha->text());
  if (!result.ok) {
    edtSenha->setText({});
    edtSenha->setFocus();
    Consiste::MensErro(result.message, true);
  }
  setModalResult(ui::mrOk);
}

bool AskSignIn(bool renewing) {
  auto* dialog = ui::application().createForm<TfrmLogin>(renewing);
  return dialog->showModal() == ui::mrOk;
}

}  // namespace host
