// The message catalogue, the error display with abort and the check of server answers.
#include "host/messages.h"

#include <gtest/gtest.h>

#include "host/consiste.h"
#include "host/ui/errors.h"
#include "tests/unit/ui/test_runner.h"

namespace host {
namespace {

TEST(FillTextTest, FillsPlaceholdersInOrderAndNeverFails) {
  EXPECT_EQ(fillText("%s deve ser maior ou igual a zero.", {"Mín. efetivos dia"}),
            "Mín. efetivos dia deve ser maior ou igual a zero.");
  EXPECT_EQ(fillText("código '%s' no diretório '%s'.", {"ZEV006", "/rel"}),
            "código 'ZEV006' no diretório '/rel'.");
  EXPECT_EQ(fillText("100%% de %s", {"x"}), "100% de x");
  // A catalogue line that does not match its caller keeps its placeholder, drops extras.
  EXPECT_EQ(fillText("%s e %s", {"a"}), "a e %s");
  EXPECT_EQ(fillText("sem marcador", {"a"}), "sem marcador");
  EXPECT_EQ(fillText("termina em %", {}), "termina em %");
  // A filled text is not scanned again.
  EXPECT_EQ(fillText("%s!", {"%s"}), "%s!");
}

TEST(TMessagesTest, KeysIgnoreCaseTheFirstLineWinsAndAMissingKeyReadsAsItself) {
  TMessages msg("msgPadrao");
  msg.setLines({"Filial_vazia|Filial deve ser informada.", "Mín. Efetivos Dia|Mín. efetivos dia",
                "linha sem barra", "Dup|primeiro", "dup|segundo", "Vazio|",
                "QtEfetMin_inv|%s deve ser maior ou igual a zero.", "Texto|com | barra"});
  EXPECT_EQ(msg.Msg("Filial_vazia"), "Filial deve ser informada.");
  EXPECT_EQ(msg.Msg("FILIAL_VAZIA"), "Filial deve ser informada.");
  EXPECT_EQ(msg.Msg("mín. efetivos dia"), "Mín. efetivos dia");
  EXPECT_EQ(msg.Msg("Dup"), "primeiro");
  EXPECT_EQ(msg.Msg("Texto"), "com | barra");
  EXPECT_TRUE(msg.hasKey("Vazio"));
  EXPECT_EQ(msg.Msg("Vazio"), "");
  EXPECT_FALSE(msg.hasKey("linha sem barra"));
  EXPECT_EQ(msg.Msg("get_cdsParamFilial"), "get_cdsParamFilial");
  EXPECT_EQ(msg.Msg("QtEfetMin_inv", {msg.Msg("Mín. Efetivos Dia")}),
            "Mín. efetivos dia deve ser maior ou igual a zero.");
}

TEST(TMessagesTest, ShowMsgAsksThroughTheRunnerAndReturnsTheAnswer) {
  ui::testing::TestRunner runner;
  TMessages msg("msgMensagensPadroes");
  msg.addLine("Canc|Confirma o cancelamento das alterações?");
  runner.answers = {ui::mrYes, ui::mrNo};
  EXPECT_EQ(msg.ShowMsg("Canc", ui::MessageKind::Confirmation, ui::MessageButtons::YesNo), 6);
  EXPECT_EQ(msg.ShowMsg("Canc", ui::MessageKind::Confirmation, ui::MessageButtons::YesNo),
            ui::mrNo);
  EXPECT_EQ(runner.messages,
            (std::vector<std::string>{"question: Confirma o cancelamento das alterações?",
                                      "question: Confirma o cancelamento das alterações?"}));
}

TEST(MensErroTest, ShowsTheErrorAndAbortsOnlyWhenAsked) {
  ui::testing::TestRunner runner;
  EXPECT_NO_THROW(Consiste::MensErro("Aviso sem abortar.", false));
  EXPECT_THROW(Consiste::MensErro("Filial não cadastrada.", true), ui::Abort);
  EXPECT_EQ(runner.messages, (std::vector<std::string>{"error: Aviso sem abortar.",
                                                       "error: Filial não cadastrada."}));
  // The dispatcher swallows the abort: the operator sees the message once.
  runner.messages.clear();
  EXPECT_FALSE(ui::application().dispatch([] { Consiste::MensErro("Uma vez só.", true); }));
  EXPECT_EQ(runner.messages, std::vector<std::string>{"error: Uma vez só."});
}

TEST(CheckResultServTest, GivesThePacketOrRaisesTheServersMessage) {
  packet::Packet rows;
  rows.fields = {{"CDTIPOFATUR", packet::FieldType::Text, 3}};
  rows.rows = {{std::string("001")}};
  EXPECT_EQ(Consiste::CheckResultServ({true, "", rows}, true, 0).rows.size(), 1u);
  // A good status without a packet (a save) gives an empty packet.
  EXPECT_TRUE(Consiste::CheckResultServ({true, "", std::nullopt}, true, 0).fields.empty());

  const packet::CallResult failed{false, "Registro alterado por outro usuário.", rows};
  try {
    Consiste::CheckResultServ(failed, true, 0);
    FAIL() << "a failed result must raise";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Registro alterado por outro usuário.");
  }
  EXPECT_THROW(Consiste::CheckResultServ({false, "", {}}, true, 0), Consiste::ServerError);
  // Without the raise flag a failure gives no rows, never the failed answer's.
  EXPECT_TRUE(Consiste::CheckResultServ(failed, false, 0).rows.empty());

  // A result handed over is checked alike; its packet is moved out, not copied.
  EXPECT_TRUE(Consiste::CheckResultServ(packet::CallResult(failed), false, 0).rows.empty());
  EXPECT_THROW(Consiste::CheckResultServ(packet::CallResult(failed), true, 0),
               Consiste::ServerError);
  packet::CallResult good{true, "", rows};
  const packet::Packet taken = Consiste::CheckResultServ(std::move(good), true, 0);
  EXPECT_EQ(taken.rows, rows.rows);
  EXPECT_TRUE(good.packet->rows.empty());
}

}  // namespace
}  // namespace host
