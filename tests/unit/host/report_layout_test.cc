// The pages of a listing report: grouping, footers with counts and totals, value formats and
// the page breaks.
#include "host/report_layout.h"

#include <gtest/gtest.h>

#include "host/ui/regional.h"

namespace host {
namespace {

const char* kDefinition = R"({
  "title": "Clientes",
  "page": {"width": 70, "lines": 14},
  "sql": ["SELECT 1"],
  "groups": [
    {"field": "CDFILIAL", "header": "Filial {CDFILIAL} - {NMFILIAL}"},
    {"field": "CDSERVFILI", "header": "Serviço {CDSERVFILI}",
     "footer": "Total {CDSERVFILI}: {count}"}
  ],
  "columns": [
    {"field": "NRINSJURCLIE", "title": "Inscrição", "width": 18, "kind": "inscription",
     "personType": "IDTPIJURCLIE"},
    {"field": "NMRAZSOCCLIE", "title": "Nome", "width": 12},
    {"field": "VRSERVFATU", "title": "Valor", "width": 12, "kind": "number",
     "format": "#,##0.00"},
    {"field": "DTSERVFATU", "title": "Início", "width": 10, "kind": "date"},
    {"field": "QTEFETMINI", "title": "Efet.", "width": 6, "kind": "number", "format": "#,##0",
     "total": true}
  ],
  "summary": "Total geral: {count}"
})";

struct Row {
  const char* filial;
  const char* servico;
  const char* inscricao;
  const char* tipo;
  const char* nome;
  packet::Value valor;
  packet::Value inicio;
  double efetivos;
};

class ReportLayoutTest : public ::testing::Test {
 protected:
  ReportLayoutTest() : definition(parseReportDefinition(kDefinition, "TESTE", "TESTE.json")) {
    for (const char* name :
         {"CDFILIAL", "NMFILIAL", "CDSERVFILI", "NRINSJURCLIE", "IDTPIJURCLIE", "NMRAZSOCCLIE"}) {
      rows.addField(name, packet::FieldType::Text, 60);
    }
    for (const char* name : {"VRSERVFATU", "DTSERVFATU", "QTEFETMINI"})
      rows.addField(name, packet::FieldType::Double);
  }

  void load(const std::vector<Row>& data) {
    packet::Packet packet;
    packet.fields = rows.fieldDefs();
    for (const Row& row : data) {
      const std::string filial = row.filial;
      packet.rows.push_back({filial, filial == "0001" ? std::string("Matriz") : "Campinas",
                             std::string(row.servico), std::string(row.inscricao),
                             std::string(row.tipo), std::string(row.nome), row.valor, row.inicio,
                             row.efetivos});
    }
    rows.loadPacket(packet);
  }

  std::vector<ReportPage> layout() {
    return layoutReport(definition, rows,
                        {"Clientes por Serviço", "TESTE", ui::regional::encodeDate(2024, 3, 15)});
  }

  ReportDefinition definition;
  db::DataSet rows;
};

const double kInicio = ui::regional::encodeDate(2024, 3, 1);

TEST_F(ReportLayoutTest, GroupsRowsWithFootersCountsAndTotals) {
  definition.pageLines = 40;
  load({
      {"0001", "00001", "28059234218", "F", "Beatriz Teixeira Souza", 1234.5, kInicio, 3},
      {"0001", "00001", "97114364000215", "J", "Cedro", {}, {}, 2},
      {"0001", "00002", "97114364000215", "J", "Cedro", 123456789012.0, kInicio, 1},
      {"0002", "00001", "28059234218", "X", "Beatriz", 10.0, kInicio, 4},
  });
  const auto pages = layout();
  ASSERT_EQ(pages.size(), 1u);
  const std::vector<std::string> expected = {
      "Clientes por Serviço                               Emissão: 15/03/2024",
      "TESTE                                                    Página 1 de 1",
      std::string(70, '='),
      "    Inscrição          Nome                Valor Início      Efet.",
      std::string(70, '-'),
      "Filial 0001 - Matriz",
      "  Serviço 00001",
      "    280.592.342-18     Beatriz Teix     1.234,50 01/03/2024      3",
      "    97.114.364/0002-15 Cedro                                     2",
      "  Total 00001: 2                                                 5",
      "  Serviço 00002",
      "    97.114.364/0002-15 Cedro        ############ 01/03/2024      1",
      "  Total 00002: 1                                                 1",
      "",
      "Filial 0002 - Campinas",
      "  Serviço 00001",
      "    28059234218        Beatriz             10,00 01/03/2024      4",
      "  Total 00001: 1                                                 4",
      "",
      "Total geral: 4                                                  10",
  };
  EXPECT_EQ(pages[0], expected);
}

TEST_F(ReportLayoutTest, ContinuedPagesRepeatTheOpenGroupsAndSkipBlanksAtTheBreak) {
  // 14 lines: 5 of heading and 9 of body per page.
  std::vector<Row> data;
  for (int i = 0; i < 9; ++i)
    data.push_back({"0001", "00001", "28059234218", "F", "Cliente", 1.0, kInicio, 1});
  data.push_back({"0001", "00002", "28059234218", "F", "Outro", 1.0, kInicio, 1});
  load(data);
  const auto pages = layout();
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[1][1], "TESTE                                                    Página 2 de 2");
  ASSERT_EQ(pages[0].size(), 14u);
  EXPECT_EQ(pages[0][5], "Filial 0001 - Matriz");
  EXPECT_EQ(pages[0][13].substr(4, 14), "280.592.342-18");  // the 7th detail fills the page
  const std::vector<std::string> second(pages[1].begin() + 5, pages[1].end());
  const std::vector<std::string> expected = {
      "Filial 0001 - Matriz (continuação)",
      "  Serviço 00001 (continuação)",
      "    280.592.342-18     Cliente              1,00 01/03/2024      1",
      "    280.592.342-18     Cliente              1,00 01/03/2024      1",
      "  Total 00001: 9                                                 9",
      "  Serviço 00002",
      "    280.592.342-18     Outro                1,00 01/03/2024      1",
      "  Total 00002: 1                                                 1",
      // No room for the blank line before the summary: it is dropped, not carried over.
      "Total geral: 10                                                 10",
  };
  EXPECT_EQ(second, expected);
}

TEST_F(ReportLayoutTest, AGroupHeaderMovesToTheNextPageWithItsFirstLine) {
  std::vector<Row> data;
  for (int i = 0; i < 6; ++i)
    data.push_back({"0001", "00001", "28059234218", "F", "Cliente", 1.0, kInicio, 1});
  data.push_back({"0001", "00002", "28059234218", "F", "Outro", 1.0, kInicio, 1});
  load(data);
  const auto pages = layout();
  // Page 1: filial, serviço, 6 details, the footer; "Serviço 00002" would be its last line.
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0].back(), "  Total 00001: 6                                                 6");
  EXPECT_EQ(pages[1][5], "Filial 0001 - Matriz (continuação)");
  EXPECT_EQ(pages[1][6], "  Serviço 00002");
}

TEST_F(ReportLayoutTest, AFieldTheRowsDoNotHaveIsADefinitionError) {
  definition.groups[0].header = "Filial {NMFILIAL} {CDREGIAO}";
  load({{"0001", "00001", "28059234218", "F", "Cliente", 1.0, kInicio, 1}});
  EXPECT_THROW(layout(), ReportDefinitionError);
  definition = parseReportDefinition(kDefinition, "TESTE", "TESTE.json");
  definition.columns[1].field = "NMFANTCLIE";
  try {
    layout();
    FAIL() << "a missing column field must be refused";
  } catch (const ReportDefinitionError& error) {
    EXPECT_EQ(std::string(error.what()),
              "A definição de relatório 'TESTE.json' usa o campo NMFANTCLIE, que a consulta não "
              "traz.");
  }
}

}  // namespace
}  // namespace host
