// TBtnPesquisa: the search button placed beside a code edit.
//
// A click runs OnBeforePesq (where the form opens the query behind the data source); when the
// source's data set is then closed or empty it shows the empty-list message as information;
// otherwise it runs the search dialog (Procurar::Procura) over it, titled with the button's
// title, and when the user confirms a row it runs OnAfterPesq, where the form reads that row.
// A form that assigns onClick itself takes the click over; search() still runs the flow.
//
// Options: PesqChave starts the dialog searching for the text of the associated edit;
// PesqNivCompleto accepts only a row whose code (the first visible field) fills every level of
// the product picture.
#pragma once

#include <functional>
#include <set>
#include <string>

#include "host/db/data_source.h"
#include "host/ui/buttons.h"

namespace host {

class TBtnPesquisa : public ui::SpeedButton {
 public:
  enum class PesqOption { PesqNivCompleto, PesqChave };
  static constexpr PesqOption PesqNivCompleto = PesqOption::PesqNivCompleto;
  static constexpr PesqOption PesqChave = PesqOption::PesqChave;

  TBtnPesquisa(ui::Control* parent, std::string name);

  // The edit the button searches for (any control; only an edit's text is read).
  ui::Control* associated() const { return associated_; }
  void setAssociated(ui::Control* control) { associated_ = control; }
  db::DataSource* dataSource() const { return dataSource_; }
  void setDataSource(db::DataSource* source) { dataSource_ = source; }
  const std::string& title() const { return title_; }
  void setTitle(std::string title) { title_ = std::move(title); }
  const std::string& emptyMessage() const { return emptyMessage_; }
  void setEmptyMessage(std::string message) { emptyMessage_ = std::move(message); }
  bool hasOption(PesqOption option) const { return options_.count(option) > 0; }
  void setOption(PesqOption option, bool on);

  std::function<void(TBtnPesquisa&)> OnBeforePesq;
  std::function<void(TBtnPesquisa&)> OnAfterPesq;

  // The search flow of a click; true when a row was chosen and OnAfterPesq ran.
  bool search();

 private:
  ui::Control* associated_ = nullptr;
  db::DataSource* dataSource_ = nullptr;
  std::string title_;
  std::string emptyMessage_;
  std::set<PesqOption> options_;
};

}  // namespace host
