#include "host/btn_pesquisa.h"

#include "host/procurar.h"
#include "host/quendra.h"
#include "host/ui/application.h"
#include "host/ui/edit.h"

namespace host {

namespace {

// The text of the first visible field of the current row: the code the list is keyed by.
std::string rowCode(const db::DataSet& dataSet) {
  for (int i = 0; i < dataSet.fieldCount(); ++i) {
    if (dataSet.field(i).visible())
      return dataSet.field(i).asString();
  }
  return {};
}

void inform(const std::string& text) {
  ui::application().messageBox(ui::MessageKind::Information, text, ui::MessageButtons::Ok);
}

}  // namespace

TBtnPesquisa::TBtnPesquisa(ui::Control* parent, std::string name)
    : SpeedButton(parent, std::move(name)) {
  setHint("Pesquisar");
  setShowHint(true);
  onClick = [this](ui::Control&) { search(); };
}

void TBtnPesquisa::setOption(PesqOption option, bool on) {
  if (on)
    options_.insert(option);
  else
    options_.erase(option);
}

bool TBtnPesquisa::search() {
  if (OnBeforePesq)
    OnBeforePesq(*this);
  db::DataSet* list = dataSource_ != nullptr ? dataSource_->dataSet() : nullptr;
  if (list == nullptr || !list->active() || list->isEmpty()) {
    inform(emptyMessage_.empty() ? "Não há registros para pesquisar." : emptyMessage_);
    return false;
  }
  std::string initialText;
  if (hasOption(PesqChave)) {
    if (const auto* edit = dynamic_cast<const ui::Edit*>(associated_))
      initialText = edit->text();
  }
  if (!Procurar::Procura(*list, title_, initialText))
    return false;
  if (hasOption(PesqNivCompleto)) {
    const auto picture = Quendra::DBPictObj(Quendra::kPictProduto);
    if (picture.levelOf(rowCode(*list)) != picture.levels()) {
      inform("Escolha um item do último nível.");
      return false;
    }
  }
  if (OnAfterPesq)
    OnAfterPesq(*this);
  return true;
}

}  // namespace host
