#include "host/procurar.h"

#include "host/ui/application.h"
#include "host/ui/utf8.h"

namespace Procurar {

namespace {

const ui::Form* runningSearch = nullptr;

// Marks the dialog as the running search while Procura shows it.
class RunningSearch {
 public:
  explicit RunningSearch(const ui::Form* form) : previous_(runningSearch) { runningSearch = form; }
  ~RunningSearch() { runningSearch = previous_; }
  RunningSearch(const RunningSearch&) = delete;
  RunningSearch& operator=(const RunningSearch&) = delete;

 private:
  const ui::Form* previous_;
};

bool startsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

TfrmProcurar::TfrmProcurar(db::DataSet& dataSet, const std::string& title,
                           const std::string& initialText)
    : Form("frmProcurar"), dataSet_(dataSet) {
  setCaption(title.empty() ? "Procurar" : "Procurar - " + title);
  setBorderStyle(ui::BorderStyle::Dialog);
  setClientSize(380, 112);
  setKeyPreview(true);

  auto* lblCampo = add<ui::Label>("lblCampo");
  lblCampo->setCaption("Campo");
  lblCampo->setBounds(8, 8, 60, 13);
  cbbCampo = add<ui::ComboBox>("cbbCampo");
  cbbCampo->setBounds(8, 24, 170, 21);
  for (int i = 0; i < dataSet.fieldCount(); ++i) {
    db::Field& field = dataSet.field(i);
    if (!field.visible())
      continue;
    fields_.push_back(&field);
    cbbCampo->addItem(field.displayLabel());
  }
  if (!fields_.empty())
    cbbCampo->setItemIndex(0);

  auto* lblTexto = add<ui::Label>("lblTexto");
  lblTexto->setCaption("Procurar por");
  lblTexto->setBounds(186, 8, 90, 13);
  edtTexto = add<ui::Edit>("edtTexto");
  edtTexto->setBounds(186, 24, 186, 21);
  edtTexto->setTabStop(true);
  edtTexto->setText(initialText);
  lblTexto->setFocusControl(edtTexto);

  lblResultado = add<ui::Label>("lblResultado");
  lblResultado->setBounds(8, 56, 250, 13);

  btnOk = add<ui::SpeedButton>("btnOk");
  btnOk->setCaption("&OK");
  btnOk->setBounds(216, 80, 75, 25);
  btnCancelar = add<ui::SpeedButton>("btnCancelar");
  btnCancelar->setCaption("&Cancelar");
  btnCancelar->setBounds(297, 80, 75, 25);

  cbbCampo->onChange = [this](ui::Control&) { search(); };
  edtTexto->onChange = [this](ui::Control&) { search(); };
  btnOk->onClick = [this](ui::Control&) { setModalResult(ui::mrOk); };
  btnCancelar->onClick = [this](ui::Control&) { setModalResult(ui::mrCancel); };
  onKeyDown = [this](ui::Control&, ui::Key& key, ui::ShiftState shift) {
    if (key == ui::keys::Enter && shift.none()) {
      key = 0;
      setModalResult(ui::mrOk);
    } else if (key == ui::keys::Escape) {
      key = 0;
      setModalResult(ui::mrCancel);
    }
  };
  // A text given at the start is searched for once the dialog is the active form, so the
  // forms that follow the dialog's moves see them.
  onActivate = [this](ui::Form&) {
    if (searchedOnActivate_)
      return;
    searchedOnActivate_ = true;
    if (!edtTexto->text().empty())
      search();
  };
  onClose = [](ui::Form&, ui::CloseAction& action) { action = ui::CloseAction::Free; };
  // The dialog opens with the focus in the text, so the user types at once.
  edtTexto->setTabOrder(0);
  cbbCampo->setTabOrder(1);
}

void TfrmProcurar::search() {
  const int chosen = cbbCampo->itemIndex();
  const std::string wanted = ui::utf8::toUpper(edtTexto->text());
  if (chosen < 0 || wanted.empty() || !dataSet_.active()) {
    lblResultado->setCaption({});
    return;
  }
  const db::Field& field = *fields_[static_cast<std::size_t>(chosen)];
  int found = -1;
  for (int row = 0; row < dataSet_.viewRowCount() && found < 0; ++row) {
    dataSet_.readRow(row, [&] {
      if (startsWith(ui::utf8::toUpper(field.displayText()), wanted))
        found = row;
    });
  }
  lblResultado->setCaption(found < 0 ? "Não encontrado." : "");
  if (found >= 0 && dataSet_.currentViewRow() != found)
    dataSet_.setRecNo(found + 1);
}

bool Procura(db::DataSet& dataSet, const std::string& title, const std::string& initialText) {
  if (!dataSet.active() || dataSet.isEmpty()) {
    ui::application().messageBox(ui::MessageKind::Information, "Não há registros para pesquisar.",
                                 ui::MessageButtons::Ok);
    return false;
  }
  const int start = dataSet.recNo();
  auto* dialog = ui::application().createForm<TfrmProcurar>(dataSet, title, initialText);
  int result = ui::mrCancel;
  {
    RunningSearch running(dialog);
    result = dialog->showModal();
  }
  if (result == ui::mrOk)
    return true;
  if (dataSet.active() && !dataSet.isEmpty() && dataSet.recNo() != start)
    dataSet.setRecNo(start);
  return false;
}

const ui::Form* frmProcurar() {
  return runningSearch;
}

}  // namespace Procurar
