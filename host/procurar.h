// Procurar: the search dialogs of the host.
//
// Procura runs the dialog frmProcurar over a data set: the user picks a field (the labels of
// the visible fields) and types a text, and the data set's cursor moves to the first row whose
// field, as shown, starts with the text, ignoring letter case. Confirming keeps that row;
// cancelling puts the cursor back where it was. PesquisaLista runs the dialog
// frmPesquisaLista, a list of a data source's rows with check marks, and returns the chosen
// rows' keys. Both are real forms run modally through the installed ui::Runner; each call
// builds a fresh dialog, freed once the user event that opened it ends.
#pragma once

#include <string>
#include <vector>

#include "host/db/data_set.h"
#include "host/db/data_source.h"
#include "host/ui/buttons.h"
#include "host/ui/combo_box.h"
#include "host/ui/edit.h"
#include "host/ui/form.h"
#include "host/ui/list_box.h"
#include "host/ui/static_controls.h"

namespace Procurar {

class TfrmProcurar : public ui::Form {
 public:
  TfrmProcurar(db::DataSet& dataSet, const std::string& title, const std::string& initialText);

  ui::ComboBox* cbbCampo;
  ui::Edit* edtTexto;
  ui::Label* lblResultado;  // "Não encontrado." while the text matches no row
  ui::SpeedButton* btnOk;
  ui::SpeedButton* btnCancelar;

  // Moves the cursor to the first row matching the chosen field and the typed text.
  void search();

 private:
  db::DataSet& dataSet_;
  std::vector<db::Field*> fields_;  // parallel to the items of cbbCampo
  bool searchedOnActivate_ = false;
};

// Runs the search dialog over `dataSet`; true when the user confirmed a row. `initialText`
// is searched for as soon as the dialog opens. A closed or empty data set shows an information
// message instead and gives false.
bool Procura(db::DataSet& dataSet, const std::string& title = {},
             const std::string& initialText = {});

// The search dialog while Procura runs it (the forms follow its moves), or null.
const ui::Form* frmProcurar();

class TfrmPesquisaLista : public ui::Form {
 public:
  TfrmPesquisaLista(db::DataSet& dataSet, const std::string& keyField, const std::string& title,
                    bool escolhaUnica, const std::string& keys);

  ui::ListBox* lsbLista;
  ui::SpeedButton* btnOk;
  ui::SpeedButton* btnCancelar;

  // The keys of the checked rows, in list order.
  std::vector<std::string> chosenKeys() const;

 private:
  std::vector<std::string> keys_;  // parallel to the items of lsbLista
};

// Runs the list dialog over the rows of `source`. `titles` is "title|empty-list message"; a
// closed or empty list shows the message as information and gives false. Rows whose key is
// already in `keys` start checked; `escolhaUnica` allows one row only. On confirmation `keys`
// becomes the chosen keys, each between single quotes, joined by commas ("'0001','0003'";
// empty when none is checked) and true is returned; on cancel `keys` is left as it was.
bool PesquisaLista(db::DataSource& source, const std::string& keyField, const std::string& titles,
                   bool escolhaUnica, std::string& keys);

// The key list text for `keys` ("'0001','0003'").
std::string joinKeys(const std::vector<std::string>& keys);

}  // namespace Procurar
