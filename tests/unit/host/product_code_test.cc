// The product picture, the normalisation of typed product codes and the working context.
#include <gtest/gtest.h>

#include "host/db/data_source.h"
#include "host/quendra.h"
#include "host/tabvalid.h"
#include "host/ui/errors.h"
#include "host/ui/regional.h"

namespace {

using Quendra::TPictureObject;

TEST(TPictureObjectTest, ReadsTheLevelsOfThePicture) {
  const TPictureObject product(Quendra::DBPict(Quendra::kPictProduto));
  EXPECT_EQ(product.levels(), 3);
  EXPECT_EQ(product.widths(), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(Quendra::DBPictObj(0).levels(), 3);
  EXPECT_EQ(TPictureObject("99-9999;0;_").widths(), (std::vector<int>{2, 4}));
  EXPECT_EQ(TPictureObject("").levels(), 0);
  EXPECT_THROW(Quendra::DBPict(1), std::invalid_argument);

  EXPECT_EQ(product.levelOf("1"), 1);
  EXPECT_EQ(product.levelOf("1.01"), 2);
  EXPECT_EQ(product.levelOf("1.01.001"), 3);
  EXPECT_EQ(product.levelOf(" "), 0);
}

TEST(TPictureObjectTest, NormalizesCodesTypedWithOrWithoutSeparators) {
  const TPictureObject product("9.99.999;1;_");
  struct Case {
    const char* typed;
    const char* expected;  // null: refused
  };
  const Case cases[] = {
      {"101001", "1.01.001"},
      {"1.1.1", "1.01.001"},
      {" 1.01.001 ", "1.01.001"},
      {"1", "1"},
      {"101", "1.01"},
      {"1.1", "1.01"},
      {"2.02.3", "2.02.003"},
      {"1010", nullptr},
      {"1010011", nullptr},
      {"1.001", nullptr},
      {"1..1", nullptr},
      {"1.01.001.1", nullptr},
      {"a.01.001", nullptr},
      {"1.01.", nullptr},
      {"", nullptr},
      {"12", nullptr},
      {"1.01.0001", nullptr},
      {"1,01,001", nullptr},
  };
  for (const auto& c : cases) {
    const auto normalized = product.normalize(c.typed);
    if (c.expected == nullptr)
      EXPECT_FALSE(normalized.has_value()) << "'" << c.typed << "' gave " << *normalized;
    else
      EXPECT_EQ(normalized.value_or("(recusado)"), c.expected) << "'" << c.typed << "'";
  }
}

TEST(ValidExTest, RewritesTheCodeOrRaisesAPortugueseErrorLeavingItAsTyped) {
  std::string code = "101001";
  EXPECT_TRUE(Tabvalid::ValidEx(nullptr, 0, code, Tabvalid::voNivelCompleto, "", true));
  EXPECT_EQ(code, "1.01.001");

  code = "12";
  try {
    Tabvalid::ValidEx(nullptr, 0, code, Tabvalid::voNivelCompleto, "", true);
    FAIL() << "a code that does not fit the picture must be refused";
  } catch (const ui::UiError& e) {
    EXPECT_STREQ(e.what(), "O código '12' não confere com a máscara 9.99.999.");
  }
  EXPECT_EQ(code, "12");

  code = "1.1";
  EXPECT_THROW(Tabvalid::ValidEx(nullptr, 0, code, Tabvalid::voNivelCompleto, "", true),
               ui::UiError);
  EXPECT_EQ(code, "1.1");
  EXPECT_FALSE(Tabvalid::ValidEx(nullptr, 0, code, Tabvalid::voNivelCompleto, "", false));
  EXPECT_TRUE(Tabvalid::ValidEx(nullptr, 0, code, 0, "", true));
  EXPECT_EQ(code, "1.01");
}

TEST(ValidExTest, TheExistenceOptionLooksTheCodeUpInTheSourcesList) {
  db::DataSet products("qryProduto");
  products.addField("CDARVPROD", packet::FieldType::Text, 20);
  products.addField("CDPRODUTO", packet::FieldType::Text, 10);
  packet::Packet rows;
  rows.fields = products.fieldDefs();
  rows.rows = {{std::string("1.01.001"), std::string("000003")},
               {std::string("1.01.002"), std::string("000004")}};
  db::DataSource source("dtsProduto", &products);

  std::string code = "101002";
  EXPECT_THROW(Tabvalid::ValidEx(&source, 0, code, Tabvalid::voExiste, "", true), ui::UiError);
  products.loadPacket(rows);
  EXPECT_TRUE(Tabvalid::ValidEx(&source, 0, code, Tabvalid::voExiste, "", true));
  EXPECT_EQ(products.fieldByName("CDPRODUTO").asString(), "000004");
  code = "1.1.9";
  EXPECT_THROW(Tabvalid::ValidEx(&source, 0, code, Tabvalid::voExiste, "CDARVPROD", true),
               ui::UiError);
  EXPECT_EQ(code, "1.1.9");
}

TEST(WorkingContextTest, ReportsTheContextAndTodayForAnUnsetProcessingDate) {
  auto& context = Quendra::context();
  const auto saved = context;
  context.filiProc = "0002";
  context.moduloAtiv = 36;
  context.dataProc = 0;
  ui::regional::setClockForTesting(ui::regional::encodeDate(2025, 6, 10) + 0.5);
  EXPECT_EQ(Quendra::FiliProc(), "0002");
  EXPECT_EQ(Geral::ModuloAtiv(), 36);
  EXPECT_DOUBLE_EQ(Quendra::DataProc("0002"), ui::regional::encodeDate(2025, 6, 10));
  context.dataProc = ui::regional::encodeDate(2025, 1, 31);
  EXPECT_DOUBLE_EQ(Quendra::DataProc("0001"), ui::regional::encodeDate(2025, 1, 31));
  ui::regional::setClockForTesting(std::nullopt);
  context = saved;
}

}  // namespace
