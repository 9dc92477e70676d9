#include "host/procurar.h"

#include "host/ui/application.h"

namespace Procurar {

namespace {

// The text of the current row: its visible fields as shown, joined by " - ".
std::string rowText(const db::DataSet& dataSet) {
  std::string text;
  for (int i = 0; i < dataSet.fieldCount(); ++i) {
    const db::Field& field = dataSet.field(i);
    if (!field.visible())
      continue;
    if (!text.empty())
      text += " - ";
    text += field.displayText();
  }
  return text;
}

std::string quoted(const std::string& key) {
  return "'" + key + "'";
}

}  // namespace

std::string joinKeys(const std::vector<std::string>& keys) {
  std::string out;
  for (const auto& key : keys) {
    if (!out.empty())
      out += ",";
    out += quoted(key);
  }
  return out;
}

TfrmPesquisaLista::TfrmPesquisaLista(db::DataSet& dataSet, const std::string& keyField,
                                     const std::string& title, bool escolhaUnica,
                                     const std::string& keys)
    : Form("frmPesquisaLista") {
  setCaption(title);
  setBorderStyle(ui::BorderStyle::Dialog);
  setClientSize(420, 300);
  setKeyPreview(true);

  lsbLista = add<ui::ListBox>("lsbLista");
  lsbLista->setBounds(8, 8, 404, 250);
  lsbLista->setMultiSelect(!escolhaUnica);
  lsbLista->setTabStop(true);
  btnOk = add<ui::SpeedButton>("btnOk");
  btnOk->setCaption("&OK");
  btnOk->setBounds(256, 268, 75, 25);
  btnCancelar = add<ui::SpeedButton>("btnCancelar");
  btnCancelar->setCaption("&Cancelar");
  btnCancelar->setBounds(337, 268, 75, 25);

  const db::Field& key = dataSet.fieldByName(keyField);
  for (int row = 0; row < dataSet.viewRowCount(); ++row) {
    dataSet.readRow(row, [&] {
      keys_.push_back(key.asString());
      lsbLista->addItem(rowText(dataSet));
    });
  }
  for (int i = 0; i < lsbLista->count(); ++i) {
    if (keys.find(quoted(keys_[static_cast<std::size_t>(i)])) != std::string::npos)
      lsbLista->setSelected(i, true);
    if (escolhaUnica && lsbLista->selected(i))
      break;
  }

  btnOk->onClick = [this](ui::Control&) { setModalResult(ui::mrOk); };
  btnCancelar->onClick = [this](ui::Control&) { setModalResult(ui::mrCancel); };
  onKeyDown = [this](ui::Control&, ui::Key& key, ui::ShiftState) {
    if (key == ui::keys::Escape) {
      key = 0;
      setModalResult(ui::mrCancel);
    }
  };
  onClose = [](ui::Form&, ui::CloseAction& action) { action = ui::CloseAction::Free; };
}

std::vector<std::string> TfrmPesquisaLista::chosenKeys() const {
  std::vector<std::string> chosen;
  for (int index : lsbLista->selectedIndexes())
    chosen.push_back(keys_[static_cast<std::size_t>(index)]);
  return chosen;
}

bool PesquisaLista(db::DataSource& source, const std::string& keyField, const std::string& titles,
                   bool escolhaUnica, std::string& keys) {
  const auto bar = titles.find('|');
  const std::string title = titles.substr(0, bar);
  const std::string emptyMessage =
      bar == std::string::npos ? std::string() : titles.substr(bar + 1);
  db::DataSet* dataSet = source.dataSet();
  if (dataSet == nullptr || !dataSet->active() || dataSet->isEmpty()) {
    ui::application().messageBox(
        ui::MessageKind::Information,
        emptyMessage.empty() ? "Não há registros para escolher." : emptyMessage,
        ui::MessageButtons::Ok);
    return false;
  }
  auto* dialog = ui::application().createForm<TfrmPesquisaLista>(*dataSet, keyField, title,
                                                                 escolhaUnica, keys);
  if (dialog->showModal() != ui::mrOk)
    return false;
  keys = joinKeys(dialog->chosenKeys());
  return true;
}

}  // namespace Procurar
