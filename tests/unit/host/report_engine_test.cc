// The listing report engine: parameters asked and bound, preview, print, save-as, and the
// report form's handling of a missing definition.
#include "host/report_listing_engine.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/frm_dados_ger_rel.h"
#include "host/process_state.h"
#include "host/report_preview.h"
#include "host/report_save_dialog.h"
#include "host/ui/regional.h"
#include "tests/unit/host/host_test_support.h"
#include "tests/unit/ui/test_runner.h"

namespace host {
namespace {

namespace fs = std::filesystem;

const char* kTables =
    "CREATE TABLE FILIAL (CDFILIAL TEXT, NMFILIAL TEXT);"
    "CREATE TABLE ITEM (CDFILIAL TEXT, NMITEM TEXT, VALOR REAL);"
    "INSERT INTO FILIAL VALUES ('0001', 'Matriz'), ('0002', 'Campinas');"
    "INSERT INTO ITEM VALUES ('0001', 'Vassoura', 10), ('0002', 'Rodo', 7.5),"
    " ('0002', 'Balde', 20), ('0001', 'Pano', 2.25);";

const char* kDefinition = R"json({
  "title": "Itens por Filial",
  "page": {"width": 60, "lines": 20},
  "parameters": ["P_CDFILIAL", "P_TCDFILIAL", "P_SEMUSO"],
  "sql": [
    "SELECT I.CDFILIAL, F.NMFILIAL, I.NMITEM, I.VALOR",
    "FROM ITEM I JOIN FILIAL F ON F.CDFILIAL = I.CDFILIAL",
    "WHERE (INSTR(:P_CDFILIAL, I.CDFILIAL) > 0 OR :P_TCDFILIAL = 'T')",
    "ORDER BY I.CDFILIAL, I.NMITEM"
  ],
  "groups": [{"field": "CDFILIAL", "header": "Filial {CDFILIAL} - {NMFILIAL}",
              "footer": "Itens: {count}"}],
  "columns": [
    {"field": "NMITEM", "title": "Item", "width": 20},
    {"field": "VALOR", "title": "Valor", "width": 10, "kind": "number", "format": "#,##0.00",
     "total": true}
  ]
})json";

bool isPdf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string start(5, '\0');
  in.read(start.data(), 5);
  return in && start == "%PDF-";
}

std::string contents(const fs::path& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class ReportEngineTest : public ::testing::Test {
 protected:
  ReportEngineTest() : database(kTables) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = fs::temp_directory_path() /
             ("cps-report-" + std::to_string(::getpid()) + "-" + test->name());
    fs::remove_all(folder);
    fs::create_directories(folder / "definicoes");
    std::ofstream(folder / "definicoes" / "TESTE.json") << kDefinition;
    database.useAsLocalDatabase();
    options.definitionFolder = (folder / "definicoes").string();
    options.outputFolder = (folder / "saida").string();
    ui::regional::setClockForTesting(ui::regional::encodeDate(2024, 3, 15) +
                                     ui::regional::encodeTime(10, 30, 0));
  }
  ~ReportEngineTest() override {
    processState().reset();
    fs::remove_all(folder);
  }

  // Runs an output of TESTE with the branch filter; `branches` empty means all branches.
  bool run(ListingReportEngine& engine, ReportOutput output, const std::string& branches,
           const std::string& title = {}) {
    engine.OnBeforeGetQueryParams = [&](ReportParams& params) {
      ReportEngine::ParamByName(params, "P_CDFILIAL").value = branches;
      ReportEngine::ParamByName(params, "P_TCDFILIAL").value = branches.empty() ? "T" : "";
    };
    return ui::application().dispatch([&] { engine.run("TESTE", output, title); });
  }

  // The lines of the preview's page shown.
  static std::vector<std::string> shownLines(ReportPreviewForm& preview) {
    return preview.lsbPage->items();
  }

  testing::TempSqlite database;
  ui::testing::TestRunner runner;
  fs::path folder;
  ReportEngineOptions options;
};

TEST_F(ReportEngineTest, AsksOnlyForTheDeclaredParametersAndBindsTheirValues) {
  ListingReportEngine engine(options);
  std::vector<std::string> asked;
  std::vector<std::string> lines;
  runner.modalActions.push_back(
      [&](ui::Form& form) { lines = shownLines(dynamic_cast<ReportPreviewForm&>(form)); });
  engine.OnBeforeGetQueryParams = [&](ReportParams& params) {
    for (const auto& param : params) {
      asked.push_back(param.name);
      EXPECT_EQ(param.value, "");
    }
    ReportEngine::ParamByName(params, "P_CDFILIAL").value = "'0002'";
  };
  EXPECT_TRUE(ui::application().dispatch([&] { engine.run("TESTE", ReportOutput::Preview, {}); }));
  EXPECT_EQ(asked, (std::vector<std::string>{"P_CDFILIAL", "P_TCDFILIAL", "P_SEMUSO"}));
  const std::vector<std::string> expected = {
      "Itens por Filial                         Emissão: 15/03/2024",
      "TESTE                                          Página 1 de 1",
      std::string(60, '='),
      "  Item                      Valor",
      std::string(60, '-'),
      "Filial 0002 - Campinas",
      "  Balde                     20,00",
      "  Rodo                       7,50",
      "Itens: 2                    27,50",
  };
  EXPECT_EQ(lines, expected);

  // A value is bound as a value: quotes in it never reach the SQL.
  EXPECT_TRUE(run(engine, ReportOutput::Preview, "') OR 1=1 OR ('"));
  EXPECT_EQ(runner.messages,
            std::vector<std::string>{"info: Nenhum registro atende aos filtros informados."});
  EXPECT_TRUE(runner.modalActions.empty());
}

TEST_F(ReportEngineTest, ThePreviewMovesBetweenPages) {
  std::ofstream(folder / "definicoes" / "TESTE.json")
      << std::string(kDefinition)
             .replace(std::string(kDefinition).find("\"lines\": 20"), 11, "\"lines\": 10");
  ListingReportEngine engine(options);
  std::vector<std::string> seen;
  runner.modalActions.push_back([&](ui::Form& form) {
    auto& preview = dynamic_cast<ReportPreviewForm&>(form);
    EXPECT_EQ(preview.caption(), "Visualização - Itens por Filial");
    seen.push_back(preview.lblPage->caption());
    EXPECT_FALSE(preview.sbtPrior->enabled());
    EXPECT_TRUE(preview.sbtLast->enabled());
    ui::application().dispatch([&] { ui::application().click(*preview.sbtNext); });
    seen.push_back(preview.lblPage->caption() + " " + preview.lsbPage->item(5));
    EXPECT_FALSE(preview.sbtNext->enabled());
    ui::Key key = ui::keys::Home;
    preview.onKeyDown(preview, key, {});
    seen.push_back(preview.lblPage->caption());
  });
  EXPECT_TRUE(run(engine, ReportOutput::Preview, {}));
  EXPECT_EQ(seen, (std::vector<std::string>{"Página 1 de 2", "Página 2 de 2 Filial 0002 - Campinas",
                                            "Página 1 de 2"}));
}

TEST_F(ReportEngineTest, WithoutAPrintCommandThePdfIsKeptAndTheOperatorTold) {
  ListingReportEngine engine(options);
  EXPECT_TRUE(run(engine, ReportOutput::Print, {}));
  EXPECT_TRUE(run(engine, ReportOutput::Print, {}));
  const fs::path first = folder / "saida" / "TESTE-20240315-103000.pdf";
  const fs::path second = folder / "saida" / "TESTE-20240315-103000-2.pdf";
  EXPECT_TRUE(isPdf(first));
  EXPECT_TRUE(isPdf(second));
  EXPECT_EQ(runner.messages,
            (std::vector<std::string>{
                "info: Não há impressora disponível nesta estação. O relatório foi salvo em '" +
                    first.string() + "'.",
                "info: Não há impressora disponível nesta estação. O relatório foi salvo em '" +
                    second.string() + "'."}));
}

TEST_F(ReportEngineTest, ThePrintCommandGetsThePdfWhichIsRemovedAfterwards) {
  const fs::path copy = folder / "impresso.pdf";
  const fs::path name = folder / "nome.txt";
  options.printCommand = {
      "/bin/sh", "-c", "cp \"$1\" '" + copy.string() + "' && echo \"$1\" > '" + name.string() + "'",
      "sh"};
  ListingReportEngine engine(options);
  EXPECT_TRUE(run(engine, ReportOutput::Print, {}));
  EXPECT_TRUE(isPdf(copy));
  std::string printed = contents(name);
  printed.erase(printed.find_last_not_of('\n') + 1);
  EXPECT_FALSE(printed.empty());
  EXPECT_FALSE(fs::exists(printed));
  EXPECT_FALSE(fs::exists(folder / "saida" / "TESTE-20240315-103000.pdf"));
  EXPECT_EQ(runner.messages,
            std::vector<std::string>{"info: O relatório foi enviado para a impressora."});

  // A command that fails leaves the report in the output folder.
  runner.messages.clear();
  ListingReportEngine failing({options.definitionFolder, options.outputFolder, {"/bin/false"}, {}});
  EXPECT_TRUE(run(failing, ReportOutput::Print, {}));
  EXPECT_TRUE(isPdf(folder / "saida" / "TESTE-20240315-103000.pdf"));
  EXPECT_EQ(runner.messages,
            std::vector<std::string>{
                "info: Não foi possível imprimir o relatório (o comando '/bin/false' terminou com "
                "o código 1). Ele foi salvo em '" +
                (folder / "saida" / "TESTE-20240315-103000.pdf").string() + "'."});
}

TEST_F(ReportEngineTest, SaveAsAsksTheTitleAndTheFileThroughTheReportForm) {
  installReportEngine(options);
  auto* form = ui::application().createForm<TfrmDadosGerRel>("frmRelatorio");
  form->lblCodRel->setCaption("TESTE");
  form->setCaption("Itens");
  form->msgPadrao->setLines({"NovoCaption|Salvar relatório", "NovoPrompt|Título:"});
  form->show();
  form->rpddPadrao->OnBeforeGetQueryParams = [](ReportParams& params) {
    ReportEngine::ParamByName(params, "P_TCDFILIAL").value = "T";
  };
  const fs::path saved = folder / "saida" / "Itens_2024.pdf";
  runner.modalActions.push_back([&](ui::Form& form) {
    auto& dialog = dynamic_cast<ReportSaveDialog&>(form);
    EXPECT_EQ(dialog.caption(), "Salvar relatório");
    EXPECT_EQ(dialog.lblTitle->caption(), "Título:");
    EXPECT_EQ(dialog.edtTitle->text(), "Itens");
    EXPECT_EQ(dialog.edtFile->text(), (folder / "saida" / "Itens.pdf").string());
    dialog.edtTitle->setText("Itens/2024");  // the file follows the title
    EXPECT_EQ(dialog.edtFile->text(), saved.string());
    ui::application().dispatch([&] { ui::application().click(*dialog.sbtOk); });
  });
  EXPECT_TRUE(ui::application().dispatch([&] { ui::application().click(*form->sbtSalvarComo); }));
  EXPECT_TRUE(isPdf(saved));
  EXPECT_EQ(runner.messages.back(), "info: Relatório salvo em '" + saved.string() + "'.");

  // An existing file is replaced only when the operator says so; a relative name lands in the
  // output folder and gets its extension.
  runner.messages.clear();
  runner.answers = {ui::mrNo, ui::mrYes};
  runner.modalActions.push_back([&](ui::Form& form) {
    auto& dialog = dynamic_cast<ReportSaveDialog&>(form);
    dialog.edtFile->setText("Itens_2024");
    dialog.edtTitle->setText("Outro título");  // the file, once edited, stays
    ui::application().dispatch([&] { ui::application().click(*dialog.sbtOk); });
    EXPECT_EQ(dialog.modalResult(), ui::mrNone);
    ui::application().dispatch([&] { ui::application().click(*dialog.sbtOk); });
    EXPECT_EQ(dialog.path(), saved.string());
  });
  EXPECT_TRUE(ui::application().dispatch([&] { ui::application().click(*form->sbtSalvarComo); }));
  const std::string question =
      "question: O arquivo '" + saved.string() + "' já existe. Deseja substituí-lo?";
  EXPECT_EQ(runner.messages,
            (std::vector<std::string>{question, question,
                                      "info: Relatório salvo em '" + saved.string() + "'."}));
}

TEST_F(ReportEngineTest, SaveAsOffersASpreadsheetBesideThePdf) {
  installReportEngine(options);
  auto* form = ui::application().createForm<TfrmDadosGerRel>("frmRelatorio");
  form->lblCodRel->setCaption("TESTE");
  form->setCaption("Itens");
  form->show();
  form->rpddPadrao->OnBeforeGetQueryParams = [](ReportParams& params) {
    ReportEngine::ParamByName(params, "P_TCDFILIAL").value = "T";
  };
  runner.modalActions.push_back([&](ui::Form& form) {
    auto& dialog = dynamic_cast<ReportSaveDialog&>(form);
    EXPECT_TRUE(dialog.rbtPdf->checked());
    EXPECT_TRUE(dialog.rbtCsv->visible());
    // Choosing the spreadsheet gives the proposed file its extension.
    ui::application().dispatch([&] { ui::application().click(*dialog.rbtCsv); });
    EXPECT_EQ(dialog.edtFile->text(), (folder / "saida" / "Itens.csv").string());
    ui::application().dispatch([&] { ui::application().click(*dialog.sbtOk); });
  });
  EXPECT_TRUE(ui::application().dispatch([&] { ui::application().click(*form->sbtSalvarComo); }));
  // The grouping fields first, then the columns; every detail row, numbers with all their
  // decimals and the decimal comma, no heading, footer or page lines.
  EXPECT_EQ(contents(folder / "saida" / "Itens.csv"),
            "\xEF\xBB\xBF"
            "CDFILIAL;NMFILIAL;Item;Valor\r\n"
            "0001;Matriz;Pano;2,25\r\n"
            "0001;Matriz;Vassoura;10\r\n"
            "0002;Campinas;Balde;20\r\n"
            "0002;Campinas;Rodo;7,5\r\n");
}

TEST_F(ReportEngineTest, TheSaveDialogRefusesAMissingTitleOrFolder) {
  ReportSaveDialog dialog("Título do relatório", "Informe o título do relatório:", "Itens",
                          (folder / "saida").string());
  dialog.show();
  dialog.edtTitle->setText("  ");
  EXPECT_FALSE(ui::application().dispatch([&] { ui::application().click(*dialog.sbtOk); }));
  dialog.edtTitle->setText("Itens");
  dialog.edtFile->setText((folder / "nao-existe" / "x.pdf").string());
  EXPECT_FALSE(ui::application().dispatch([&] { ui::application().click(*dialog.sbtOk); }));
  EXPECT_EQ(runner.messages,
            (std::vector<std::string>{
                "error: O título do relatório deve ser informado.",
                "error: A pasta '" + (folder / "nao-existe").string() + "' não existe."}));
  EXPECT_EQ(dialog.modalResult(), ui::mrNone);
  EXPECT_EQ(ReportSaveDialog::fileNameFor(" a:b*c? "), "a_b_c_.pdf");
  EXPECT_EQ(ReportSaveDialog::fileNameFor(".."), "relatorio.pdf");
}

TEST_F(ReportEngineTest, AMissingDefinitionIsShownByTheReportForm) {
  installReportEngine(options);
  auto* form = ui::application().createForm<TfrmDadosGerRel>("frmRelatorio");
  form->lblCodRel->setCaption("ZEV999");
  form->show();
  EXPECT_FALSE(ui::application().dispatch([&] { ui::application().click(*form->sbtPreview); }));
  EXPECT_EQ(runner.messages,
            std::vector<std::string>{"error: O arquivo contendo a definição do relatório de "
                                     "código 'ZEV999' não foi encontrado no diretório '" +
                                     options.definitionFolder + "'."});
}

}  // namespace
}  // namespace host
