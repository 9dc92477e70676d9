#include "host/frm_roti_geral.h"

#include "host/ui/edit.h"

namespace host {

TfrmRotiGeral::TfrmRotiGeral(std::string name) : Form(std::move(name)) {
  setBorderStyle(ui::BorderStyle::Dialog);
  setKeyPreview(true);
  setClientSize(351, 120);

  panBotoes = add<ui::Panel>("panBotoes");
  panBotoes->setAlign(ui::Align::Right);
  panBotoes->setWidth(43);
  sbtConfirma = panBotoes->add<ui::SpeedButton>("sbtConfirma");
  sbtConfirma->setBounds(6, 6, 31, 31);
  sbtConfirma->setHint("Confirmar");
  sbtConfirma->setShowHint(true);
  sbtCancel = panBotoes->add<ui::SpeedButton>("sbtCancel");
  sbtCancel->setBounds(6, 40, 31, 31);
  sbtCancel->setHint("Cancelar");
  sbtCancel->setShowHint(true);
  lblCodTela = panBotoes->add<ui::Label>("lblCodTela");
  lblCodTela->setAutoSize(false);
  lblCodTela->setAlign(ui::Align::Bottom);
  lblCodTela->setHeight(13);

  grbDadosRel = add<ui::GroupBox>("grbDadosRel");
  grbDadosRel->setAlign(ui::Align::Client);

  msgPadrao = make<TMessages>("msgPadrao");

  sbtConfirma->onClick = [this](ui::Control& sender) { sbtConfirmaClick(sender); };
  sbtCancel->onClick = [this](ui::Control& sender) { sbtCancelClick(sender); };
  onCreate = [this](ui::Form& sender) { FormCreate(sender); };
  onActivate = [this](ui::Form& sender) { FormActivate(sender); };
  onClose = [this](ui::Form& sender, ui::CloseAction& action) { FormClose(sender, action); };
  onKeyDown = [this](ui::Control& sender, ui::Key& key, ui::ShiftState shift) {
    FormKeyDown(sender, key, shift);
  };
}

void TfrmRotiGeral::FormCreate(ui::Form& /*sender*/) {
  // The frame is complete after the constructor; derived dialogs prepare theirs here.
}

void TfrmRotiGeral::FormActivate(ui::Form& /*sender*/) {
  repaint();
}

void TfrmRotiGeral::FormClose(ui::Form& /*sender*/, ui::CloseAction& /*action*/) {
}

void TfrmRotiGeral::FormKeyDown(ui::Control& /*sender*/, ui::Key& key, ui::ShiftState shift) {
  if (key == ui::keys::Escape) {
    key = 0;
    sbtCancelClick(*sbtCancel);
    return;
  }
  if (key != ui::keys::Enter || !shift.none())
    return;
  ui::Control* active = activeControl();
  if (active == nullptr || dynamic_cast<ui::Memo*>(active) != nullptr)
    return;
  key = 0;
  selectNext(true);
}

void TfrmRotiGeral::sbtConfirmaClick(ui::Component& /*sender*/) {
  if (modal())
    setModalResult(ui::mrOk);
  else
    close();
}

void TfrmRotiGeral::sbtCancelClick(ui::Component& /*sender*/) {
  close();
}

}  // namespace host
