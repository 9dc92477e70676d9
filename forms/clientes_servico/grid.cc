// The client-service grid: flag cells drawn as check boxes and toggled by a click or the space
// bar, the three-state sale-value flag, the checks made when a column or the grid is left, the
// title click that updates the automatic fixed price, and the display texts of two fields.
#include <algorithm>

#include "forms/clientes_servico/cli_zev00600.h"
#include "forms/clientes_servico/frm_clientes_servico.h"
#include "host/consiste.h"
#include "host/quendra.h"
#include "host/server_call.h"
#include "host/showavi.h"
#include "host/ui/edit_mask.h"
#include "host/ui/utf8.h"

using namespace Cli_zev00600;

namespace {

std::string upper(const std::string& text) {
  return ui::utf8::toUpper(text);
}

bool startsWith(const std::string& text, const char* prefix) {
  return text.rfind(prefix, 0) == 0;
}

// The two yes/no flag columns, drawn as check boxes.
bool isFlagField(const std::string& fieldName) {
  const std::string name = upper(fieldName);
  return startsWith(name, "IDVRPRFIXAUT") || startsWith(name, "IDATIVATABCOR");
}

// N -> S -> T -> N; anything else becomes N.
std::string nextSaleDisplay(const std::string& value) {
  if (value == "N")
    return "S";
  if (value == "S")
    return "T";
  return "N";
}

const std::string& fieldNameOf(const db::Column* column) {
  static const std::string none;
  return column == nullptr ? none : column->fieldName();
}

}  // namespace

void TfrmClientesServico::dbgPadraoDrawColumnCell(ui::Control&, ui::Canvas& canvas,
                                                  const ui::Rect& rect, int, db::Column& column,
                                                  db::DrawState) {
  // A row being inserted into an empty set is drawn like any other.
  const bool rows = !cdsServClie->isEmpty() || cdsServClie->isEditing();
  if (!rows || !isFlagField(column.fieldName()))
    return;
  db::Field* field = column.field();
  if (field == nullptr)
    return;
  const std::string text = field->asString();
  std::string picture;
  if (text == "S") {
    picture = imgChecked->picture();
  } else if (text == "N" || field->isNull() || text.empty()) {
    picture = imgUnchecked->picture();
  }
  const int imageWidth = imgChecked->bounds().width;
  const int x = (rect.left + rect.right()) / 2 - imageWidth / 2;
  canvas.fillRect(rect);
  if (!picture.empty()) {
    canvas.brushCopy(ui::Rect{x, rect.top, imageWidth, rect.height}, picture,
                     ui::Rect{0, 0, imageWidth, rect.height}, ui::colors::Olive);
  }
}

void TfrmClientesServico::dbgPadraoColEnter(ui::Control&) {
  dbgPadrao->setOption(db::GridOption::Editing,
                       !isFlagField(fieldNameOf(dbgPadrao->selectedColumn())));
}

void TfrmClientesServico::dbgPadraoCellClick(db::Column& column) {
  const std::string name = upper(column.fieldName());
  if (name != "IDVRPRFIXAUT" && name != "IDATIVATABCOR")
    return;
  const bool wasEditing = dtsPadrao->state() == db::DataSetState::Edit ||
                          dtsPadrao->state() == db::DataSetState::Insert;
  if (!wasEditing)
    cdsServClie->edit();
  db::Field& field = name == "IDVRPRFIXAUT" ? *cdsServClieIDVRPRFIXAUT : *cdsServClieIDATIVATABCOR;
  field.setAsString(field.asString() != "S" ? "S" : "N");
  if (!wasEditing)
    cdsServClie->post();
}

void TfrmClientesServico::dbgPadraoKeyDown(ui::Control&, ui::Key& key, ui::ShiftState shift) {
  const std::string& name = fieldNameOf(dbgPadrao->selectedColumn());
  if (name == "IDEXVLRVENDA" && key == ui::keys::Space && !cdsServClie->isEmpty()) {
    cdsServClie->edit();
    db::Field& field = *cdsServClieIDEXVLRVENDA;
    field.setAsString(nextSaleDisplay(field.asString()));
  }
  if (shift.ctrl)
    return;
  if (isFlagField(name) && key == ui::keys::Space) {
    dbgPadraoCellClick(*dbgPadrao->selectedColumn());
  }
}

void TfrmClientesServico::dbgPadraoKeyPress(ui::Control&, char32_t& key) {
  const std::string& name = fieldNameOf(dbgPadrao->selectedColumn());
  if (name == "IDEXVLRVENDA") {
    key = 0;
    return;
  }
  if (name == "DSEMISSERCLI" && key != U'\b' && key != U'\t' && key != U'\r') {
    const int size = cdsServClieDSEMISSERCLI->size();
    if (ui::utf8::length(Consiste::GridText(*dbgPadrao)) >= static_cast<size_t>(size))
      key = 0;
  }
}

void TfrmClientesServico::dbgPadraoDblClick(ui::Control&) {
  if (Geral::ModuloAtiv() != 36)
    return;
  if (fieldNameOf(dbgPadrao->selectedColumn()) != "IDEXVLRVENDA" || cdsServClie->isEmpty())
    return;
  cdsServClie->edit();
  db::Field& field = *cdsServClieIDEXVLRVENDA;
  field.setAsString(nextSaleDisplay(field.asString()));
}

void TfrmClientesServico::dbgPadraoTitleClick(db::Column& column) {
  if (upper(column.fieldName()) != "IDVRPRFIXAUT")
    return;
  if (dtsPadrao->state() == db::DataSetState::Edit ||
      dtsPadrao->state() == db::DataSetState::Insert) {
    return;
  }
  cdsServClie->disableControls();
  // Updates resume whatever happens, so a failed call never leaves the grid frozen.
  struct ResumeDisplay {
    TfrmClientesServico* form;
    ~ResumeDisplay() {
      form->cdsServClie->enableControls();
      form->repaint();
    }
  } resume{this};
  cdsServClie->first();
  // The title sets the flag of every client to the opposite of the first row's.
  const std::string flag = cdsServClieIDVRPRFIXAUT->asString() == "S" ? "N" : "S";
  Showavi::ShowWhile(this, 1, msgPadrao->Msg("pro_UpVrPrFixAut"), [&] {
    host::callServer(*netClientesServico, "ProUpVrPrFixAut",
                     {cdsServClieCDFILIAL->asString(), cdsServClieCDSERVFILI->asString(),
                      cdsServClieCDCLIENTE->asString(), flag});
  });
  loadServClie();
}

// The checks of a column being left (or of the selected column when the grid is left).
// `leavingGrid` brings the client page forward and focuses the minimum-staff field instead of
// selecting its column.
void TfrmClientesServico::checkClientGridColumn(bool leavingGrid) {
  if (!cdsServClie->isEditing())
    return;
  const std::string& name = fieldNameOf(dbgPadrao->selectedColumn());
  // The column being left, when it shows a negative number.
  auto refused = [&](const db::Field* field) {
    return name == field->name() && !field->isNull() && field->asFloat() < 0;
  };
  auto focusColumn = [&](const db::Field* field) {
    if (leavingGrid)
      pgcClientesServico->setActivePage(tshClienServ);
    if (dbgPadrao->canFocus() && !dbgPadrao->focused())
      dbgPadrao->setFocus();
    dbgPadrao->setSelectedIndex(Consiste::IndiceCol(*dbgPadrao, field->name()));
  };
  if (refused(cdsServClieVRSERVFATU)) {
    focusColumn(cdsServClieVRSERVFATU);
    Consiste::MensErro(msgPadrao->Msg("VrServ_inv"), true);
  } else if (refused(cdsServClieQTEFETMINI)) {
    focusColumn(cdsServClieQTEFETMINI);
    const std::string title =
        dbgPadrao->column(Consiste::IndiceCol(*dbgPadrao, "QTEFETMINI")).title();
    Consiste::MensErro(msgPadrao->Msg("QtEfetMin_inv", {msgPadrao->Msg(title)}), true);
  } else if (refused(cdsServClieQTVOLPROSERVCLI)) {
    focusColumn(cdsServClieQTVOLPROSERVCLI);
    Consiste::MensErro(msgPadrao->Msg("Volume_inv"), true);
  }
}

void TfrmClientesServico::dbgPadraoColExit(ui::Control&) {
  checkClientGridColumn(false);
}

void TfrmClientesServico::dbgPadraoExit(ui::Control&) {
  checkClientGridColumn(true);
  dbgPadrao->setOption(db::GridOption::AlwaysShowSelection, false);
}

void TfrmClientesServico::dbgPadraoEnter(ui::Control&) {
  lsbPossiveis->clearSelection();
}

void TfrmClientesServico::cdsServClieIDEXVLRVENDAGetText(db::Field& field, std::string& text,
                                                         bool) {
  const std::string value = field.asString();
  if (value == "N") {
    text = msgPadrao->Msg("VrNSub");
  } else if (value == "S") {
    text = msgPadrao->Msg("VrSub");
  } else if (value == "T") {
    text = msgPadrao->Msg("VrTot");
  } else {
    text.clear();
  }
}

void TfrmClientesServico::cdsServClieIDEXVLRVENDASetText(db::Field& field,
                                                         const std::string& text) {
  if (text == msgPadrao->Msg("VrNSub")) {
    field.setAsString("N");
  } else if (text == msgPadrao->Msg("VrSub")) {
    field.setAsString("S");
  } else if (text == msgPadrao->Msg("VrTot")) {
    field.setAsString("T");
  }
}

void TfrmClientesServico::cdsServClieNRINSJURCLIEGetText(db::Field& field, std::string& text,
                                                         bool) {
  const std::string personType = cdsServClieIDTPIJURCLIE->asString();
  text = ui::formatMaskText(Consiste::PictPess(personType), field.asString());
}

void TfrmClientesServico::cdsServClieIDTPIJURCLIEGetText(db::Field& field, std::string& text,
                                                         bool) {
  const std::string value = field.asString();
  if (value == "F") {
    text = "Física";
  } else if (value == "J") {
    text = "Jurídica";
  } else {
    text = value;
  }
}

void TfrmClientesServico::bindGridHandlers() {
  dbgPadrao->onDrawColumnCell = [this](ui::Control& sender, ui::Canvas& canvas,
                                       const ui::Rect& rect, int dataCol, db::Column& column,
                                       db::DrawState state) {
    dbgPadraoDrawColumnCell(sender, canvas, rect, dataCol, column, state);
  };
  dbgPadrao->onCellClick = [this](db::Column& column) { dbgPadraoCellClick(column); };
  dbgPadrao->onKeyDown = [this](ui::Control& sender, ui::Key& key, ui::ShiftState shift) {
    dbgPadraoKeyDown(sender, key, shift);
  };
  dbgPadrao->onKeyPress = [this](ui::Control& sender, char32_t& key) {
    dbgPadraoKeyPress(sender, key);
  };
  dbgPadrao->onDblClick = [this](ui::Control& sender) { dbgPadraoDblClick(sender); };
  dbgPadrao->onTitleClick = [this](db::Column& column) { dbgPadraoTitleClick(column); };
  dbgPadrao->onColEnter = [this](ui::Control& sender) { dbgPadraoColEnter(sender); };
  dbgPadrao->onColExit = [this](ui::Control& sender) { dbgPadraoColExit(sender); };
  dbgPadrao->onEnter = [this](ui::Control& sender) { dbgPadraoEnter(sender); };
  dbgPadrao->onExit = [this](ui::Control& sender) { dbgPadraoExit(sender); };
  db::Field& sale = *cdsServClieIDEXVLRVENDA;
  sale.onGetText = [this](db::Field& f, std::string& text, bool display) {
    cdsServClieIDEXVLRVENDAGetText(f, text, display);
  };
  sale.onSetText = [this](db::Field& f, const std::string& text) {
    cdsServClieIDEXVLRVENDASetText(f, text);
  };
  cdsServClieNRINSJURCLIE->onGetText = [this](db::Field& f, std::string& text, bool display) {
    cdsServClieNRINSJURCLIEGetText(f, text, display);
  };
  cdsServClieIDTPIJURCLIE->onGetText = [this](db::Field& f, std::string& text, bool display) {
    cdsServClieIDTPIJURCLIEGetText(f, text, display);
  };
}
