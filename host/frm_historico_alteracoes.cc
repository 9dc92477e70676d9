#include "host/frm_historico_alteracoes.h"

#include <fmt/format.h>

#include <charconv>

#include "host/consiste.h"
#include "host/csv_file.h"
#include "host/quendra.h"
#include "host/report_listing_engine.h"
#include "host/report_save_dialog.h"
#include "host/showavi.h"
#include "host/ui/application.h"
#include "host/ui/errors.h"
#include "host/ui/regional.h"

namespace host {

namespace {

// The grid's columns: field, title and width.
struct Shown {
  const char* field;
  const char* title;
  int width;
};
constexpr Shown kColumns[] = {
    {"DTALTERACAO", "Data e hora", 120}, {"CDOPERADOR", "Operador", 80},
    {"NMMETODO", "Método", 110},         {"DSOPERACAO", "Operação", 70},
    {"CDFILIAL", "Filial", 40},          {"CDSERVFILI", "Serviço", 50},
    {"CDCLIENTE", "Cliente", 70},        {"NMRAZSOCCLIE", "Nome do cliente", 160},
    {"NMTABELA", "Tabela", 110},         {"DSCHAVE", "Chave", 200},
    {"NMCAMPO", "Campo", 110},           {"DSVALORANT", "Valor anterior", 120},
    {"DSVALORNOVO", "Valor novo", 120},
};

std::string operationName(const std::string& code) {
  if (code == "I")
    return "Inclusão";
  if (code == "E")
    return "Exclusão";
  return "Alteração";
}

// A trailed value as the operator reads it: the server keeps numbers and day counts with a
// decimal point.
packet::Value shownValue(const packet::Value& stored, const std::string& kind) {
  const auto* text = std::get_if<std::string>(&stored);
  if (text == nullptr || kind == "T")
    return stored;
  double number = 0;
  const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), number);
  if (error != std::errc() || end != text->data() + text->size())
    return stored;
  return kind == "D" ? ui::regional::formatDateTime(number) : csvNumber(number);
}

const packet::Value& at(const packet::Packet& packet, const packet::Row& row, const char* name) {
  static const packet::Value kNull;
  const int index = packet.fieldIndex(name);
  return index < 0 ? kNull : row[static_cast<size_t>(index)];
}

std::string textAt(const packet::Packet& packet, const packet::Row& row, const char* name) {
  const auto* text = std::get_if<std::string>(&at(packet, row, name));
  return text != nullptr ? *text : std::string();
}

}  // namespace

ui::Label* TfrmHistoricoAlteracoes::label(const char* name, const char* caption, int left, int top,
                                          ui::Control* focus) {
  auto* label = panFiltro->add<ui::Label>(name);
  label->setCaption(caption);
  label->setBounds(left, top, 90, 13);
  label->setFocusControl(focus);
  return label;
}

TfrmHistoricoAlteracoes::TfrmHistoricoAlteracoes() : Form("frmHistoricoAlteracoes") {
  setCaption("Histórico de alterações");
  setFormStyle(ui::FormStyle::MdiChild);
  setBounds(20, 20, 980, 520);
  setKeyPreview(true);

  panFiltro = add<ui::Panel>("panFiltro");
  panFiltro->setAlign(ui::Align::Top);
  panFiltro->setHeight(64);
  panFiltro->setTabOrder(0);
  medCdFilial = panFiltro->add<ui::MaskEdit>("medCdFilial");
  medCdFilial->setEditMask(">aaaa;0; ");
  medCdFilial->setMaxLength(4);
  medCdFilial->setBounds(8, 24, 50, 21);
  label("lblFilial", "&Filial", 8, 8, medCdFilial);
  medCdServico = panFiltro->add<ui::MaskEdit>("medCdServico");
  medCdServico->setEditMask("ccccc;0; ");
  medCdServico->setMaxLength(5);
  medCdServico->setBounds(66, 24, 60, 21);
  label("lblServico", "&Serviço", 66, 8, medCdServico);
  edtCdCliente = panFiltro->add<ui::Edit>("edtCdCliente");
  edtCdCliente->setMaxLength(21);
  edtCdCliente->setBounds(134, 24, 130, 21);
  label("lblCliente", "&Cliente", 134, 8, edtCdCliente);
  edtOperador = panFiltro->add<ui::Edit>("edtOperador");
  edtOperador->setMaxLength(12);
  edtOperador->setCharCase(ui::CharCase::Upper);
  edtOperador->setBounds(272, 24, 100, 21);
  label("lblOperador", "&Operador", 272, 8, edtOperador);
  depDataIni = panFiltro->add<ui::DateEdit>("depDataIni");
  depDataIni->setBounds(380, 24, 80, 21);
  label("lblPeriodo", "&Período", 380, 8, depDataIni);
  depDataFim = panFiltro->add<ui::DateEdit>("depDataFim");
  depDataFim->setBounds(478, 24, 80, 21);
  auto* until = panFiltro->add<ui::Label>("lblAte");
  until->setCaption("a");
  until->setBounds(465, 28, 10, 13);
  sbtPesquisar = panFiltro->add<ui::SpeedButton>("sbtPesquisar");
  sbtPesquisar->setCaption("&Pesquisar");
  sbtPesquisar->setBounds(570, 22, 80, 25);
  sbtExportar = panFiltro->add<ui::SpeedButton>("sbtExportar");
  sbtExportar->setCaption("E&xportar CSV...");
  sbtExportar->setBounds(656, 22, 100, 25);
  sbtExportar->setEnabled(false);
  lblAviso = panFiltro->add<ui::Label>("lblAviso");
  lblAviso->setBounds(8, 48, 760, 13);
  int order = 0;
  for (ui::Control* control :
       std::initializer_list<ui::Control*>{medCdFilial, medCdServico, edtCdCliente, edtOperador,
                                           depDataIni, depDataFim, sbtPesquisar, sbtExportar}) {
    control->setTabStop(true);
    control->setTabOrder(order++);
  }

  cdsTrilha = make<db::DataSet>("cdsTrilha");
  cdsTrilha->addField("DTALTERACAO", packet::FieldType::DateTime);
  for (const auto& column : kColumns) {
    if (std::string_view(column.field) != "DTALTERACAO")
      cdsTrilha->addField(column.field, packet::FieldType::Text, 4000);
  }
  dtsTrilha = make<db::DataSource>("dtsTrilha", cdsTrilha);
  dbgTrilha = add<db::DBGrid>("dbgTrilha");
  dbgTrilha->setAlign(ui::Align::Client);
  dbgTrilha->setDataSource(dtsTrilha);
  dbgTrilha->setTabOrder(1);
  for (const auto& column : kColumns) {
    auto& shown = dbgTrilha->addColumn(column.field);
    shown.setTitle(column.title);
    shown.setWidth(column.width);
    shown.setReadOnly(true);
  }

  netTrilha.beforeConnect = [](TNetConnection& net) {
    net.setHost(Quendra::WebURL());
    net.setPort(Quendra::WebPort());
  };
  netTrilha.connect();
  const double today = ui::regional::today();
  depDataIni->setDate(today - 30);
  depDataFim->setDate(today);

  sbtPesquisar->onClick = [this](ui::Control&) { Pesquisar(); };
  sbtExportar->onClick = [this](ui::Control&) { ExportarCsv(); };
  onKeyDown = [this](ui::Control&, ui::Key& key, ui::ShiftState shift) {
    if (key == ui::keys::Enter && shift.none() && activeControl() != dbgTrilha) {
      key = 0;
      Pesquisar();
    }
  };
  onClose = [](ui::Form&, ui::CloseAction& action) { action = ui::CloseAction::Free; };
}

void TfrmHistoricoAlteracoes::Pesquisar() {
  for (ui::DateEdit* edit : {depDataIni, depDataFim}) {
    try {
      edit->checkValidDate();
    } catch (const ui::UiError&) {
      edit->setFocus();
      throw;
    }
    if (edit->isEmpty()) {
      edit->setFocus();
      Consiste::MensErro("Informe o período: data inicial e data final.", true);
    }
  }
  if (depDataFim->date() < depDataIni->date()) {
    depDataFim->setFocus();
    Consiste::MensErro("A data final do período é anterior à inicial.", true);
  }
  packet::CallResult result;
  Showavi::ShowWhile(this, 6, "Carregando o histórico de alterações...", [&] {
    result = netTrilha.call(
        "GetTrilha",
        {medCdFilial->text(), medCdServico->text(), edtCdCliente->text(), edtOperador->text(),
         packet::DateArg{depDataIni->date()}, packet::DateArg{depDataFim->date()}});
  });
  // The answer's message, when it has one, says the list was cut short; it shows above it.
  const packet::Packet stored = Consiste::CheckResultServ(result, true);

  packet::Packet shown;
  shown.fields = cdsTrilha->fieldDefs();
  for (const auto& row : stored.rows) {
    const std::string kind = textAt(stored, row, "IDTIPOVALOR");
    shown.rows.push_back(
        {at(stored, row, "DTALTERACAO"), at(stored, row, "CDOPERADOR"), at(stored, row, "NMMETODO"),
         operationName(textAt(stored, row, "IDOPERACAO")), at(stored, row, "CDFILIAL"),
         at(stored, row, "CDSERVFILI"), at(stored, row, "CDCLIENTE"),
         at(stored, row, "NMRAZSOCCLIE"), at(stored, row, "NMTABELA"), at(stored, row, "DSCHAVE"),
         at(stored, row, "NMCAMPO"), shownValue(at(stored, row, "DSVALORANT"), kind),
         shownValue(at(stored, row, "DSVALORNOVO"), kind)});
  }
  cdsTrilha->loadPacket(shown);
  sbtExportar->setEnabled(!shown.rows.empty());
  if (!result.message.empty()) {
    lblAviso->setCaption(result.message);
  } else {
    lblAviso->setCaption(shown.rows.empty() ? std::string("Nenhuma alteração encontrada.")
                         : shown.rows.size() == 1
                             ? std::string("1 alteração.")
                             : fmt::format("{} alterações.", shown.rows.size()));
  }
}

void TfrmHistoricoAlteracoes::ExportarCsv() {
  if (cdsTrilha->isEmpty())
    return;
  auto* dialog = ui::application().createForm<ReportSaveDialog>(
      "Exportar histórico de alterações", "Título:", "Histórico de alterações", savedFilesFolder(),
      std::vector<SaveFormat>{SaveFormat::Csv});
  if (dialog->showModal() != ui::mrOk)
    return;
  CsvRow header;
  for (const auto& column : kColumns)
    header.push_back(column.title);
  std::vector<CsvRow> rows;
  for (int row = 0; row < cdsTrilha->viewRowCount(); ++row) {
    cdsTrilha->readRow(row, [&] {
      CsvRow line;
      for (const auto& column : kColumns)
        line.push_back(cdsTrilha->fieldByName(column.field).displayText());
      rows.push_back(std::move(line));
    });
  }
  writeCsvFile(dialog->path(), header, rows);
  ui::application().messageBox(ui::MessageKind::Information,
                               fmt::format("Histórico exportado para '{}'.", dialog->path()),
                               ui::MessageButtons::Ok);
}

void AbreHistoricoAlteracoes() {
  auto& app = ui::application();
  ui::Form* form = app.findForm("frmHistoricoAlteracoes");
  if (form == nullptr || app.released(form))
    form = app.createForm<TfrmHistoricoAlteracoes>();
  form->show();
}

}  // namespace host
