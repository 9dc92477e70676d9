// Spreadsheet files as Brazilian spreadsheets read them.
#include "host/csv_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace host {
namespace {

TEST(CsvFile, QuotesOnlyWhatNeedsItAndWritesNumbersWithTheDecimalComma) {
  EXPECT_EQ(csvText({"Campo", "Valor"}, {{"Observação", csvNumber(1234.5)},
                                         {"a;b", "diz \"oi\""},
                                         {"duas\r\nlinhas", csvNumber(-0.125)},
                                         {"", csvNumber(1e6)}}),
            "\xEF\xBB\xBF"
            "Campo;Valor\r\n"
            "Observação;1234,5\r\n"
            "\"a;b\";\"diz \"\"oi\"\"\"\r\n"
            "\"duas\r\nlinhas\";-0,125\r\n"
            ";1000000\r\n");
}

TEST(CsvFile, WritesTheFileOrSaysWhyItCannot) {
  const auto folder = std::filesystem::temp_directory_path() / "cps-csv-test";
  std::filesystem::create_directories(folder);
  const auto path = (folder / "saida.csv").string();
  writeCsvFile(path, {"A"}, {{"1"}});
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(),
            "\xEF\xBB\xBF"
            "A\r\n1\r\n");
  try {
    writeCsvFile((folder / "nao-existe" / "x.csv").string(), {"A"}, {});
    ADD_FAILURE() << "wrote into a missing folder";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("Não foi possível gravar o arquivo"), std::string::npos);
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace host
