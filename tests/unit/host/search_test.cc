// The search button, the search dialog over a data set and the list search.
#include <gtest/gtest.h>

#include "host/btn_pesquisa.h"
#include "host/procurar.h"
#include "host/ui/application.h"
#include "host/ui/edit.h"
#include "tests/unit/ui/test_runner.h"

namespace host {
namespace {

class SearchTest : public ::testing::Test {
 protected:
  SearchTest() {
    form = ui::application().createForm<ui::Form>("frmClientesServico");
    branches = form->make<db::DataSet>("qryFilial");
    branches->addField("CDFILIAL", packet::FieldType::Text, 4).setDisplayLabel("Código");
    branches->addField("NMFILIAL", packet::FieldType::Text, 30).setDisplayLabel("Nome");
    branches->addField("CDOCULTO", packet::FieldType::Text, 4).setVisible(false);
    source = form->make<db::DataSource>("dtsFilial", branches);
    edit = form->add<ui::Edit>("medCdFilial");
    button = form->add<TBtnPesquisa>("btpFilial");
    button->setAssociated(edit);
    button->setDataSource(source);
    button->setTitle("Filial");
    button->setEmptyMessage("Não há filial cadastrada.");
    form->show();
  }
  ~SearchTest() override { ui::resetApplication(); }

  void loadBranches() {
    packet::Packet rows;
    rows.fields = branches->fieldDefs();
    rows.rows = {{std::string("0001"), std::string("São Paulo - Matriz"), std::string("x")},
                 {std::string("0002"), std::string("Campinas"), std::string("y")},
                 {std::string("0003"), std::string("Rio de Janeiro"), std::string("z")}};
    branches->loadPacket(rows);
  }

  // A modal action that picks the field, types the text and confirms or cancels.
  static std::function<void(ui::Form&)> typeAndClose(int field, const std::string& text,
                                                     bool confirm) {
    return [=](ui::Form& dialog) {
      auto& search = dynamic_cast<Procurar::TfrmProcurar&>(dialog);
      EXPECT_EQ(Procurar::frmProcurar(), &dialog);
      EXPECT_EQ(ui::application().activeForm(), &dialog);
      search.cbbCampo->userChoose(field);
      search.edtTexto->setText(text);
      ui::application().click(confirm ? *search.btnOk : *search.btnCancelar);
    };
  }

  bool clickButton() {
    return ui::application().dispatch([&] { ui::application().click(*button); });
  }

  ui::testing::TestRunner runner;
  ui::Form* form = nullptr;
  db::DataSet* branches = nullptr;
  db::DataSource* source = nullptr;
  ui::Edit* edit = nullptr;
  TBtnPesquisa* button = nullptr;
};

TEST_F(SearchTest, TheDialogListsTheVisibleFieldsAndMovesToTheFirstMatchIgnoringCase) {
  loadBranches();
  runner.modalActions.push_back([](ui::Form& dialog) {
    auto& search = dynamic_cast<Procurar::TfrmProcurar&>(dialog);
    EXPECT_EQ(search.cbbCampo->items(), (std::vector<std::string>{"Código", "Nome"}));
    EXPECT_EQ(search.cbbCampo->itemIndex(), 0);
    search.cbbCampo->userChoose(1);
    search.edtTexto->setText("CAMP");
    EXPECT_EQ(search.lblResultado->caption(), "");
    search.edtTexto->setText("rio");
    search.edtTexto->setText("rio x");  // no match: the cursor stays on the last one
    EXPECT_EQ(search.lblResultado->caption(), "Não encontrado.");
    search.setModalResult(ui::mrOk);
  });
  std::vector<int> scrolls;
  branches->afterScroll = [&](db::DataSet& ds) { scrolls.push_back(ds.recNo()); };
  EXPECT_TRUE(Procurar::Procura(*branches, "Filial"));
  EXPECT_EQ(branches->fieldByName("CDFILIAL").asString(), "0003");
  EXPECT_EQ(scrolls, (std::vector<int>{2, 3}));
  EXPECT_EQ(Procurar::frmProcurar(), nullptr);
}

TEST_F(SearchTest, CancellingTheDialogPutsTheCursorBack) {
  loadBranches();
  branches->setRecNo(2);
  runner.modalActions.push_back(typeAndClose(0, "0003", false));
  EXPECT_FALSE(Procurar::Procura(*branches));
  EXPECT_EQ(branches->recNo(), 2);
}

TEST_F(SearchTest, TheButtonOpensTheListThenRunsTheAfterSearchOnAChoice) {
  std::string log;
  button->OnBeforePesq = [&](TBtnPesquisa&) {
    log += "before ";
    loadBranches();
  };
  button->OnAfterPesq = [&](TBtnPesquisa&) {
    log += "after:" + branches->fieldByName("CDFILIAL").asString() + " ";
    edit->setText(branches->fieldByName("CDFILIAL").asString());
  };
  runner.modalActions.push_back(typeAndClose(1, "campinas", true));
  EXPECT_TRUE(clickButton());
  EXPECT_EQ(log, "before after:0002 ");
  EXPECT_EQ(edit->text(), "0002");

  runner.modalActions.push_back(typeAndClose(1, "rio", false));
  EXPECT_TRUE(clickButton());
  EXPECT_EQ(log, "before after:0002 before ");
  EXPECT_TRUE(runner.messages.empty());
  EXPECT_EQ(button->hint(), "Pesquisar");
}

TEST_F(SearchTest, AnEmptyListShowsTheButtonsMessageWithoutADialog) {
  bool after = false;
  button->OnAfterPesq = [&](TBtnPesquisa&) { after = true; };
  EXPECT_TRUE(clickButton());
  packet::Packet none;
  none.fields = branches->fieldDefs();
  branches->loadPacket(none);
  EXPECT_TRUE(clickButton());
  EXPECT_FALSE(after);
  EXPECT_EQ(runner.messages, (std::vector<std::string>{"info: Não há filial cadastrada.",
                                                       "info: Não há filial cadastrada."}));
}

TEST_F(SearchTest, PesqChaveStartsOnTheTypedCodeAndPesqNivCompletoRefusesAnUpperLevel) {
  button->setOption(TBtnPesquisa::PesqChave, true);
  edit->setText("0003");
  loadBranches();
  runner.modalActions.push_back([](ui::Form& dialog) {
    EXPECT_EQ(dynamic_cast<Procurar::TfrmProcurar&>(dialog).edtTexto->text(), "0003");
    dialog.setModalResult(ui::mrOk);
  });
  int chosen = 0;
  button->OnAfterPesq = [&](TBtnPesquisa&) { ++chosen; };
  EXPECT_TRUE(clickButton());
  EXPECT_EQ(branches->fieldByName("CDFILIAL").asString(), "0003");
  EXPECT_EQ(chosen, 1);

  // Product codes: "1.01" is an upper level of the picture 9.99.999.
  packet::Packet products;
  products.fields = branches->fieldDefs();
  products.rows = {{std::string("1.01"), std::string("Produtos químicos"), std::string()},
                   {std::string("1.01.001"), std::string("Detergente"), std::string()}};
  branches->loadPacket(products);
  button->setOption(TBtnPesquisa::PesqChave, false);
  button->setOption(TBtnPesquisa::PesqNivCompleto, true);
  runner.modalActions.push_back([](ui::Form& dialog) { dialog.setModalResult(ui::mrOk); });
  EXPECT_TRUE(clickButton());
  EXPECT_EQ(chosen, 1);
  EXPECT_EQ(runner.messages, std::vector<std::string>{"info: Escolha um item do último nível."});
  runner.modalActions.push_back(typeAndClose(0, "1.01.0", true));
  EXPECT_TRUE(clickButton());
  EXPECT_EQ(chosen, 2);
}

TEST_F(SearchTest, PesquisaListaJoinsTheChosenKeysAndStartsFromThePreviousChoice) {
  loadBranches();
  std::string keys;
  runner.modalActions.push_back([](ui::Form& dialog) {
    auto& list = dynamic_cast<Procurar::TfrmPesquisaLista&>(dialog);
    EXPECT_EQ(dialog.caption(), "Filial");
    EXPECT_EQ(list.lsbLista->items(),
              (std::vector<std::string>{"0001 - São Paulo - Matriz", "0002 - Campinas",
                                        "0003 - Rio de Janeiro"}));
    list.lsbLista->userSelect({0, 2});
    ui::application().click(*list.btnOk);
  });
  EXPECT_TRUE(Procurar::PesquisaLista(*source, "CDFILIAL", "Filial|Não há filial cadastrada.",
                                      false, keys));
  EXPECT_EQ(keys, "'0001','0003'");
  EXPECT_NE(keys.find("0001"), std::string::npos);
  EXPECT_EQ(keys.find("0002"), std::string::npos);

  runner.modalActions.push_back([](ui::Form& dialog) {
    auto& list = dynamic_cast<Procurar::TfrmPesquisaLista&>(dialog);
    EXPECT_EQ(list.lsbLista->selectedIndexes(), (std::vector<int>{0, 2}));
    ui::application().click(*list.btnCancelar);
  });
  EXPECT_FALSE(Procurar::PesquisaLista(*source, "CDFILIAL", "Filial|x", false, keys));
  EXPECT_EQ(keys, "'0001','0003'");

  runner.modalActions.push_back([](ui::Form& dialog) {
    auto& list = dynamic_cast<Procurar::TfrmPesquisaLista&>(dialog);
    list.lsbLista->clearSelection();
    ui::application().click(*list.btnOk);
  });
  EXPECT_TRUE(Procurar::PesquisaLista(*source, "CDFILIAL", "Filial|x", false, keys));
  EXPECT_EQ(keys, "");
}

TEST_F(SearchTest, PesquisaListaOnAnEmptyListShowsTheMessageAndKeepsTheKeys) {
  std::string keys = "'0001'";
  EXPECT_FALSE(Procurar::PesquisaLista(*source, "CDFILIAL",
                                       "Serviço|Não há serviço cadastrado para a filial informada.",
                                       false, keys));
  EXPECT_EQ(keys, "'0001'");
  EXPECT_EQ(runner.messages,
            std::vector<std::string>{"info: Não há serviço cadastrado para a filial informada."});
}

}  // namespace
}  // namespace host
