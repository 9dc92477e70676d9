// Edit masks: accepted characters, edit texts, stored values and formatted values.
#include <gtest/gtest.h>

#include "host/ui/edit_mask.h"
#include "host/ui/utf8.h"

namespace ui {
namespace {

TEST(EditMaskTest, ParsesPictureSaveFlagAndBlank) {
  const EditMask branch(">aaaa;0; ");
  EXPECT_EQ(branch.slotCount(), 4);
  EXPECT_FALSE(branch.saveLiterals());
  EXPECT_EQ(branch.blank(), U' ');
  const EditMask date("!99/99/9999;1;_");
  EXPECT_EQ(date.slotCount(), 8);
  EXPECT_TRUE(date.saveLiterals());
  EXPECT_EQ(date.blank(), U'_');
  const EditMask plain("000");
  EXPECT_TRUE(plain.saveLiterals());
  EXPECT_EQ(plain.blank(), U'_');
  EXPECT_TRUE(EditMask("").empty());
  EXPECT_EQ(EditMask("\\A9").slotCount(), 1);
}

TEST(EditMaskTest, AcceptsCharactersPerSlotAfterCaseConversion) {
  const EditMask branch(">aaaa;0; ");
  EXPECT_EQ(branch.accept(0, U'b'), U'B');
  EXPECT_EQ(branch.accept(1, U'ç'), U'Ç');
  EXPECT_EQ(branch.accept(2, U'7'), U'7');
  EXPECT_EQ(branch.accept(3, U'-'), std::nullopt);
  EXPECT_EQ(branch.accept(4, U'A'), std::nullopt);
  const EditMask mixed("<L>l<>C#0");
  EXPECT_EQ(mixed.accept(0, U'Á'), U'á');
  EXPECT_EQ(mixed.accept(1, U'x'), U'X');
  EXPECT_EQ(mixed.accept(2, U'x'), U'x');
  EXPECT_EQ(mixed.accept(3, U'-'), U'-');
  EXPECT_EQ(mixed.accept(4, U'-'), std::nullopt);
  EXPECT_EQ(EditMask("ccccc;0; ").accept(0, U'%'), U'%');
}

TEST(EditMaskTest, EditTextInsertsLiteralsAndDropsUnfilledEnd) {
  const EditMask cpf("999.999.999-99;0;_");
  EXPECT_EQ(cpf.editText("12345678901"), "123.456.789-01");
  EXPECT_EQ(cpf.editText("1234"), "123.4");
  EXPECT_EQ(cpf.editText("123.4x5"), "123.45");
  EXPECT_EQ(cpf.editText("1234", true), "123.4__.___-__");
  EXPECT_EQ(EditMask(">aaaa;0; ").editText("ab"), "AB");
  EXPECT_EQ(EditMask(">aaaa;0; ").editText("abcdef"), "ABCD");
}

TEST(EditMaskTest, StoredValueHonoursSaveLiterals) {
  const EditMask cpf("999.999.999-99;0;_");
  EXPECT_EQ(cpf.storedValue("123.456.789-01"), "12345678901");
  EXPECT_EQ(cpf.storedValue("123.4__.___-__"), "1234");
  const EditMask date("!99/99/9999;1;_");
  EXPECT_EQ(date.storedValue("01/03/2024"), "01/03/2024");
  EXPECT_EQ(date.storedValue("__/__/____"), "");
  EXPECT_TRUE(date.isBlankText("__/__/____"));
  EXPECT_FALSE(date.isBlankText("01/__/____"));
  EXPECT_EQ(EditMask(">aaaa;0; ").storedValue("AB  "), "AB");
  EXPECT_TRUE(EditMask("000;0;_").isComplete("123"));
  EXPECT_FALSE(EditMask("000;0;_").isComplete("12_"));
  EXPECT_TRUE(EditMask("999;0;_").isComplete(""));
}

TEST(FormatMaskTextTest, LaysValuesIntoTheSlots) {
  EXPECT_EQ(formatMaskText("999.999.999-99;0;_", "12345678901"), "123.456.789-01");
  EXPECT_EQ(formatMaskText("99.999.999/9999-99;0;_", "12345678000195"), "12.345.678/0001-95");
  EXPECT_EQ(formatMaskText("9.99.999;0;_", "123456"), "1.23.456");
  EXPECT_EQ(formatMaskText("9.99.999;0;_", "123"), "1.23");
  EXPECT_EQ(formatMaskText("", "12345678901"), "12345678901");
  // Already formatted values stay as they are; extra characters are not hidden.
  EXPECT_EQ(formatMaskText("999.999.999-99;0;_", "123.456.789-01"), "123.456.789-01");
  EXPECT_EQ(formatMaskText("99-9;0;_", "123456"), "12-3456");
  EXPECT_EQ(formatMaskText(">aaaa;0; ", "ab"), "AB");
}

TEST(FormatMaskTextTest, OnePictureServesManyValues) {
  const char* const mask = "99.999.999/9999-99;0;_";
  const EditMask picture(mask);
  for (const char* value : {"12345678000195", "12.345.678/0001-95", "1234", "", "12x"})
    EXPECT_EQ(formatMaskText(picture, value), formatMaskText(mask, value)) << value;
  // Characters of several bytes: a literal the value already has is taken over, and what is
  // past the last slot is appended as it is.
  EXPECT_EQ(formatMaskText(EditMask(">aa§a;0; "), "çé§ão"), "ÇÉ§Ão");
  EXPECT_EQ(formatMaskText(EditMask(">aa§a;0; "), "çéão"), "ÇÉ§Ão");
}

}  // namespace
}  // namespace ui

namespace ui::utf8 {
namespace {

// Masks and field sizes count characters through these helpers.
TEST(Utf8Test, CountsCutsAndChangesCaseByCodePoint) {
  EXPECT_EQ(length("Ação"), 4u);
  EXPECT_EQ(substr("Ação é", 1, 3), "ção");
  EXPECT_EQ(substr("abc", 5, 1), "");
  EXPECT_EQ(toUpper("ação çéu ÿ"), "AÇÃO ÇÉU Ÿ");
  EXPECT_EQ(toLower("AÇÃO ×"), "ação ×");
  EXPECT_TRUE(isLetter(U'õ'));
  EXPECT_FALSE(isLetter(U'÷'));
}

TEST(Utf8Test, InvalidBytesDecodeOneAtATimeAsReplacement) {
  const std::string bad =
      "a\xC3"
      "b\xE2\x82"
      "\xF0\x9F\x98\x80\xC0\xAF";
  std::size_t pos = 0;
  std::u32string decoded;
  while (pos < bad.size())
    decoded.push_back(decode(bad, pos));
  EXPECT_EQ(decoded, (std::u32string{U'a', kReplacement, U'b', kReplacement, kReplacement,
                                     U'\U0001F600', kReplacement, kReplacement}));
  EXPECT_EQ(encode(0xD800), "\xEF\xBF\xBD");
  EXPECT_EQ(encode(U'€'), "\xE2\x82\xAC");
}

}  // namespace
}  // namespace ui::utf8
