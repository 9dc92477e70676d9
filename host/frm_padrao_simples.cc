#include "host/frm_padrao_simples.h"

#include "host/db/db_grid.h"
#include "host/procurar.h"
#include "host/ui/application.h"
#include "host/ui/edit.h"
#include "host/ui/errors.h"

namespace host {

namespace {

// Standard texts of the host, shared by every maintenance form.
const std::vector<std::string>& standardMessages() {
  static const std::vector<std::string> lines = {
      "Canc|Confirma o cancelamento das alterações?",
      "Excl|Confirma a exclusão do registro?",
      "Sem_Ajuda|Não há ajuda disponível para esta tela.",
      "Ajuda|Ajuda desta tela: contexto %s do arquivo %s.",
      "Config_Impr|A impressora é configurada no sistema operacional desta estação.",
  };
  return lines;
}

ui::SpeedButton* toolButton(ui::Panel* panel, const char* name, const char* hint, int left) {
  auto* button = panel->add<ui::SpeedButton>(name);
  button->setBounds(left, 4, 21, 21);
  button->setFlat(true);
  button->setHint(hint);
  button->setShowHint(true);
  return button;
}

}  // namespace

TfrmPadraoSimples::TfrmPadraoSimples(std::string name) : Form(std::move(name)) {
  setKeyPreview(true);
  setBounds(0, 0, 640, 480);

  panMenu = add<ui::Panel>("panMenu");
  panMenu->setAlign(ui::Align::Top);
  panMenu->setHeight(30);
  sbtIncluir = toolButton(panMenu, "sbtIncluir", "Incluir", 4);
  sbtAlterar = toolButton(panMenu, "sbtAlterar", "Alterar", 27);
  sbtExcluir = toolButton(panMenu, "sbtExcluir", "Excluir", 50);
  sbtConfirmar = toolButton(panMenu, "sbtConfirmar", "Confirmar", 77);
  sbtCancelar = toolButton(panMenu, "sbtCancelar", "Cancelar", 100);
  sbtProcurar = toolButton(panMenu, "sbtProcurar", "Procurar", 127);
  sbtVerificar = toolButton(panMenu, "sbtVerificar", "Atualizar", 150);
  sbtImprimir = toolButton(panMenu, "sbtImprimir", "Imprimir", 177);
  sbtAjuda = toolButton(panMenu, "sbtAjuda", "Ajuda", 204);
  sbtFechar = toolButton(panMenu, "sbtFechar", "Fechar", 231);
  dbtNome = panMenu->add<db::DBText>("dbtNome");
  dbtNome->setBounds(262, 8, 300, 13);
  dbtNome->setBold(true);

  lblCodTela = add<ui::Label>("lblCodTela");
  lblCodTela->setAutoSize(false);
  lblCodTela->setBounds(560, 8, 70, 13);
  lblCodTela->setAlignment(ui::TextAlign::Right);

  dtsPadrao = make<db::DataSource>("dtsPadrao");
  dbtNome->setDataSource(dtsPadrao);
  msgPadrao = make<TMessages>("msgPadrao");
  msgMensagensPadroes = make<TMessages>("msgMensagensPadroes");
  msgMensagensPadroes->setLines(standardMessages());

  mnuPrincipal = make<ui::MainMenu>("mnuPrincipal");
  setMenu(mnuPrincipal);
  mnuManutencao = mnuPrincipal->add(this, "mnuManutencao", "&Manutenção");
  mnuIncluir = mnuManutencao->add(this, "mnuIncluir", "&Incluir");
  mnuAlterar = mnuManutencao->add(this, "mnuAlterar", "&Alterar");
  mnuExcluir = mnuManutencao->add(this, "mnuExcluir", "&Excluir");
  mnuConfirmar = mnuManutencao->add(this, "mnuConfirmar", "&Confirmar");
  mnuCancelar = mnuManutencao->add(this, "mnuCancelar", "Ca&ncelar");
  mnuProcurar = mnuManutencao->add(this, "mnuProcurar", "&Procurar");
  mnuVerificar = mnuManutencao->add(this, "mnuVerificar", "A&tualizar");
  mnuLinha3 = mnuManutencao->add(this, "mnuLinha3", "-");
  mnuFechar = mnuManutencao->add(this, "mnuFechar", "&Fechar");
  mnuOperacao = mnuPrincipal->add(this, "mnuOperacao", "&Operação");
  mnuListagem = mnuOperacao->add(this, "mnuListagem", "&Listagem");
  mnuConfigImpressora = mnuOperacao->add(this, "mnuConfigImpressora", "&Configurar Impressora");

  // Buttons and their menu twins run the same virtual handler.
  auto bind = [this](ui::SpeedButton* button, ui::MenuItem* item,
                     void (TfrmPadraoSimples::*handler)(ui::Component&)) {
    if (button != nullptr)
      button->onClick = [this, handler](ui::Control& sender) { (this->*handler)(sender); };
    if (item != nullptr)
      item->onClick = [this, handler](ui::MenuItem& sender) { (this->*handler)(sender); };
  };
  bind(sbtIncluir, mnuIncluir, &TfrmPadraoSimples::sbtIncluirClick);
  bind(sbtAlterar, mnuAlterar, &TfrmPadraoSimples::sbtAlterarClick);
  bind(sbtExcluir, mnuExcluir, &TfrmPadraoSimples::sbtExcluirClick);
  bind(sbtConfirmar, mnuConfirmar, &TfrmPadraoSimples::sbtConfirmarClick);
  bind(sbtCancelar, mnuCancelar, &TfrmPadraoSimples::sbtCancelarClick);
  bind(sbtProcurar, mnuProcurar, &TfrmPadraoSimples::sbtProcurarClick);
  bind(sbtVerificar, mnuVerificar, &TfrmPadraoSimples::sbtVerificarClick);
  bind(sbtImprimir, mnuListagem, &TfrmPadraoSimples::sbtImprimirClick);
  bind(sbtAjuda, nullptr, &TfrmPadraoSimples::sbtAjudaClick);
  bind(sbtFechar, mnuFechar, &TfrmPadraoSimples::sbtFecharClick);
  bind(nullptr, mnuConfigImpressora, &TfrmPadraoSimples::mnuConfigImpressoraClick);

  onCreate = [this](ui::Form& sender) { FormCreate(sender); };
  onClose = [this](ui::Form& sender, ui::CloseAction& action) { FormClose(sender, action); };
  onKeyDown = [this](ui::Control& sender, ui::Key& key, ui::ShiftState shift) {
    FormKeyDown(sender, key, shift);
  };
}

db::DataSet* TfrmPadraoSimples::dataSetPadrao() const {
  db::DataSet* dataSet = dtsPadrao->dataSet();
  return dataSet != nullptr && dataSet->active() ? dataSet : nullptr;
}

void TfrmPadraoSimples::FormCreate(ui::Form& /*sender*/) {
  // The base form is complete after its constructor; derived forms prepare theirs here.
}

void TfrmPadraoSimples::FormClose(ui::Form& /*sender*/, ui::CloseAction& action) {
  action = ui::CloseAction::Free;
}

void TfrmPadraoSimples::FormKeyDown(ui::Control& /*sender*/, ui::Key& key, ui::ShiftState shift) {
  if (key != ui::keys::Enter || !shift.none())
    return;
  ui::Control* active = activeControl();
  // Grids and memos use Enter themselves.
  if (active == nullptr || dynamic_cast<db::DBGrid*>(active) != nullptr ||
      dynamic_cast<ui::Memo*>(active) != nullptr)
    return;
  key = 0;
  selectNext(true);
}

void TfrmPadraoSimples::sbtIncluirClick(ui::Component& /*sender*/) {
  if (db::DataSet* dataSet = dataSetPadrao())
    dataSet->insert();
}

void TfrmPadraoSimples::sbtAlterarClick(ui::Component& /*sender*/) {
  if (db::DataSet* dataSet = dataSetPadrao())
    dataSet->edit();
}

void TfrmPadraoSimples::sbtExcluirClick(ui::Component& /*sender*/) {
  db::DataSet* dataSet = dataSetPadrao();
  if (dataSet == nullptr || dataSet->isEmpty())
    return;
  if (msgMensagensPadroes->ShowMsg("Excl", ui::MessageKind::Confirmation,
                                   ui::MessageButtons::YesNo) != ui::mrYes)
    throw ui::Abort();
  dataSet->deleteRecord();
}

void TfrmPadraoSimples::sbtConfirmarClick(ui::Component& /*sender*/) {
  db::DataSet* dataSet = dataSetPadrao();
  if (dataSet != nullptr && dataSet->isEditing())
    dataSet->post();
}

void TfrmPadraoSimples::sbtCancelarClick(ui::Component& /*sender*/) {
  db::DataSet* dataSet = dataSetPadrao();
  if (dataSet != nullptr && dataSet->isEditing())
    dataSet->cancel();
}

void TfrmPadraoSimples::sbtProcurarClick(ui::Component& /*sender*/) {
  if (db::DataSet* dataSet = dataSetPadrao())
    Procurar::Procura(*dataSet, caption());
}

void TfrmPadraoSimples::sbtVerificarClick(ui::Component& /*sender*/) {
}

void TfrmPadraoSimples::sbtImprimirClick(ui::Component& /*sender*/) {
}

void TfrmPadraoSimples::sbtAjudaClick(ui::Component& /*sender*/) {
  const std::string text =
      helpContext() == 0
          ? msgMensagensPadroes->Msg("Sem_Ajuda")
          : msgMensagensPadroes->Msg("Ajuda", {std::to_string(helpContext()), helpFile()});
  ui::application().messageBox(ui::MessageKind::Information, text, ui::MessageButtons::Ok);
}

void TfrmPadraoSimples::sbtFecharClick(ui::Component& /*sender*/) {
  close();
}

void TfrmPadraoSimples::mnuConfigImpressoraClick(ui::Component& /*sender*/) {
  ui::application().messageBox(ui::MessageKind::Information,
                               msgMensagensPadroes->Msg("Config_Impr"), ui::MessageButtons::Ok);
}

}  // namespace host
