#include "host/frm_dados_ger_rel.h"

#include "host/consiste.h"

namespace host {

namespace {

// Texts the base form itself shows; a derived form may replace them in its catalogue.
const std::vector<std::string>& baseMessages() {
  static const std::vector<std::string> lines = {
      "Arq_Rel_Err|O arquivo contendo a definição do relatório de código '%s' não foi "
      "encontrado no diretório '%s'.",
      "NovoCaption|Título do relatório",
      "NovoPrompt|Informe o título do relatório:",
  };
  return lines;
}

// The side panel stands below the report-name panel (135 pixels): four buttons of 29 and the
// report code under them.
ui::SpeedButton* sideButton(ui::Panel* panel, const char* name, const char* hint, int top) {
  auto* button = panel->add<ui::SpeedButton>(name);
  button->setBounds(7, top, 29, 29);
  button->setHint(hint);
  button->setShowHint(true);
  return button;
}

}  // namespace

TfrmDadosGerRel::TfrmDadosGerRel(std::string name)
    : Form(std::move(name)), rpddPadrao(makeReportEngine()) {
  setBorderStyle(ui::BorderStyle::Single);
  setKeyPreview(true);
  setClientSize(418, 176);

  panBotoes = add<ui::Panel>("panBotoes");
  panBotoes->setAlign(ui::Align::Right);
  panBotoes->setWidth(43);
  sbtPrint = sideButton(panBotoes, "sbtPrint", "Imprimir", 2);
  sbtPreview = sideButton(panBotoes, "sbtPreview", "Visualizar", 32);
  sbtSalvarComo = sideButton(panBotoes, "sbtSalvarComo", "Salvar como", 62);
  sbtFechar = sideButton(panBotoes, "sbtFechar", "Fechar", 92);
  lblCodRel = panBotoes->add<ui::Label>("lblCodRel");
  lblCodRel->setAutoSize(false);
  lblCodRel->setAlign(ui::Align::Bottom);
  lblCodRel->setHeight(13);

  panNomeRel = add<ui::Panel>("panNomeRel");
  panNomeRel->setAlign(ui::Align::Top);
  panNomeRel->setHeight(41);
  lblNomeRel = panNomeRel->add<ui::Label>("lblNomeRel");
  lblNomeRel->setCaption("Relatório");
  lblNomeRel->setBold(true);
  lblNomeRel->setBounds(8, 4, 60, 13);
  cbbNomeRel = panNomeRel->add<ui::ComboBox>("cbbNomeRel");
  cbbNomeRel->setBounds(8, 18, 350, 21);
  cbbNomeRel->setTabStop(true);
  lblNomeRel->setFocusControl(cbbNomeRel);

  grbDadosRel = add<ui::GroupBox>("grbDadosRel");
  grbDadosRel->setAlign(ui::Align::Client);

  msgPadrao = make<TMessages>("msgPadrao");
  msgPadrao->setLines(baseMessages());

  sbtPrint->onClick = [this](ui::Control& sender) { sbtPrintClick(sender); };
  sbtPreview->onClick = [this](ui::Control& sender) { sbtPreviewClick(sender); };
  sbtSalvarComo->onClick = [this](ui::Control& sender) { sbtSalvarComoClick(sender); };
  sbtFechar->onClick = [this](ui::Control& sender) { sbtFecharClick(sender); };
  onCreate = [this](ui::Form& sender) { FormCreate(sender); };
  onActivate = [this](ui::Form& sender) { FormActivate(sender); };
  onClose = [this](ui::Form& sender, ui::CloseAction& action) { FormClose(sender, action); };
  onKeyDown = [this](ui::Control& sender, ui::Key& key, ui::ShiftState shift) {
    FormKeyDown(sender, key, shift);
  };
}

void TfrmDadosGerRel::FormCreate(ui::Form& /*sender*/) {
  // The frame is complete after the constructor; derived forms prepare theirs here.
}

void TfrmDadosGerRel::FormActivate(ui::Form& /*sender*/) {
  repaint();
}

void TfrmDadosGerRel::FormClose(ui::Form& /*sender*/, ui::CloseAction& action) {
  action = ui::CloseAction::Free;
}

void TfrmDadosGerRel::FormKeyDown(ui::Control& /*sender*/, ui::Key& key, ui::ShiftState shift) {
  if (key == ui::keys::Escape && shift.none()) {
    key = 0;
    sbtFecharClick(*sbtFechar);
  }
}

void TfrmDadosGerRel::sbtPrintClick(ui::Component& /*sender*/) {
  runReport(ReportOutput::Print, {});
}

void TfrmDadosGerRel::sbtPreviewClick(ui::Component& /*sender*/) {
  runReport(ReportOutput::Preview, {});
}

void TfrmDadosGerRel::sbtSalvarComoClick(ui::Component& /*sender*/) {
  runReport(ReportOutput::SaveAs, cbbNomeRel->text().empty() ? caption() : cbbNomeRel->text());
}

void TfrmDadosGerRel::sbtFecharClick(ui::Component& /*sender*/) {
  close();
}

void TfrmDadosGerRel::runReport(ReportOutput output, const std::string& title) {
  rpddPadrao->saveAsCaption = msgPadrao->Msg("NovoCaption");
  rpddPadrao->saveAsPrompt = msgPadrao->Msg("NovoPrompt");
  try {
    rpddPadrao->run(lblCodRel->caption(), output, title);
  } catch (const ReportDefinitionMissing& missing) {
    Consiste::MensErro(msgPadrao->Msg("Arq_Rel_Err", {missing.code(), missing.directory()}), true);
  }
}

}  // namespace host
