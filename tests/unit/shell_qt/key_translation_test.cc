#include <gtest/gtest.h>

#include "shell/qt/color_names.h"
#include "shell/qt/glyphs.h"
#include "shell/qt/key_translation.h"
#include "shell/qt/qt_text.h"

namespace shell {
namespace {

using Delivery = KeyStroke::Delivery;

struct KeyCase {
  const char* what;
  int qtKey;
  Qt::KeyboardModifiers modifiers;
  QString text;
  Delivery delivery;
  ui::Key key;
  std::u32string typed;
};

TEST(KeyTranslationTest, KeysThatTypeWhatTheModelWouldAreKeyDownsOthersArePresses) {
  const KeyCase cases[] = {
      {"letter", Qt::Key_A, Qt::NoModifier, "a", Delivery::KeyDown, 'A', U""},
      {"shifted letter", Qt::Key_A, Qt::ShiftModifier, "A", Delivery::KeyDown, 'A', U""},
      {"caps lock letter", Qt::Key_A, Qt::NoModifier, "A", Delivery::KeyPress, 0, U"A"},
      {"digit", Qt::Key_7, Qt::NoModifier, "7", Delivery::KeyDown, '7', U""},
      {"space", Qt::Key_Space, Qt::NoModifier, " ", Delivery::KeyDown, ui::keys::Space, U""},
      {"enter", Qt::Key_Return, Qt::NoModifier, "\r", Delivery::KeyDown, ui::keys::Enter, U""},
      {"F12", Qt::Key_F12, Qt::NoModifier, "", Delivery::KeyDown, ui::keys::F12, U""},
      {"ctrl+delete", Qt::Key_Delete, Qt::ControlModifier, "", Delivery::KeyDown, ui::keys::Delete,
       U""},
      {"ctrl+letter", Qt::Key_C, Qt::ControlModifier, "\x03", Delivery::KeyDown, 'C', U""},
      {"alt+letter", Qt::Key_F, Qt::AltModifier, "f", Delivery::KeyDown, 'F', U""},
      {"comma", Qt::Key_Comma, Qt::NoModifier, ",", Delivery::KeyPress, 0, U","},
      {"accented", Qt::Key_Ccedilla, Qt::NoModifier, QStringLiteral("ç"), Delivery::KeyPress, 0,
       U"ç"},
      {"altgr symbol", Qt::Key_At, Qt::ControlModifier | Qt::AltModifier, "@", Delivery::KeyPress,
       0, U"@"},
      {"alt+comma", Qt::Key_Comma, Qt::AltModifier, ",", Delivery::Nothing, 0, U""},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.what);
    const KeyStroke stroke = translateKey(c.qtKey, c.modifiers, c.text);
    EXPECT_EQ(stroke.delivery, c.delivery);
    EXPECT_EQ(stroke.key, c.key);
    EXPECT_TRUE(stroke.text == c.typed);
  }
}

TEST(KeyTranslationTest, BacktabIsShiftTab) {
  const KeyStroke stroke = translateKey(Qt::Key_Backtab, Qt::ShiftModifier, "");
  EXPECT_EQ(stroke.key, ui::keys::Tab);
  EXPECT_TRUE(stroke.shift.shift);
}

TEST(ColorNamesTest, NamesAndValuesReadAsBgrColours) {
  EXPECT_EQ(colorNamed("clInfoBk"), ui::colors::InfoBk);
  EXPECT_EQ(colorNamed("CLWINDOW"), 0xFFFFFFu);
  EXPECT_EQ(colorNamed("$00E1FFFF"), ui::colors::InfoBk);
  EXPECT_EQ(colorNamed("32896"), ui::colors::Olive);
  EXPECT_EQ(colorNamed(""), std::nullopt);
  EXPECT_EQ(colorNamed("clNoSuchColour"), std::nullopt);
  EXPECT_EQ(colorNamed("$1FFFFFF"), std::nullopt);
  EXPECT_EQ(toQColor(ui::colors::Olive), QColor(128, 128, 0));
  EXPECT_EQ(fromQColor(QColor(255, 255, 225)), ui::colors::InfoBk);
}

TEST(CaptionTest, AcceleratorsAreDroppedAndDoubledAmpersandsKept) {
  EXPECT_EQ(plainCaption("&Valor do Serviço"), QStringLiteral("Valor do Serviço"));
  EXPECT_EQ(plainCaption("P&&D"), QStringLiteral("P&D"));
  EXPECT_EQ(plainCaption("Fim&"), QStringLiteral("Fim"));
}

TEST(GlyphTest, GlyphsAreFoundByTheirNamesInEitherLanguage) {
  EXPECT_FALSE(glyphNamed("rightAll").isNull());
  EXPECT_FALSE(glyphNamed("DIREITA-TODOS").isNull());
  EXPECT_FALSE(glyphNamed("Pesquisar").isNull());
  EXPECT_FALSE(glyphNamed("salvar como").isNull());
  EXPECT_TRUE(glyphNamed("").isNull());
  EXPECT_TRUE(glyphNamed("nenhum").isNull());
}

}  // namespace
}  // namespace shell
