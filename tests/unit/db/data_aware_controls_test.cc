#include <gtest/gtest.h>

#include <string>

#include "host/db/db_edit.h"
#include "host/db/db_grid.h"
#include "host/ui/application.h"
#include "host/ui/errors.h"
#include "tests/unit/db/test_data.h"
#include "tests/unit/ui/test_runner.h"

namespace db {
namespace {

class BoundForm : public ui::Form {
 public:
  BoundForm() : ui::Form("frmBound") {
    setBounds(0, 0, 600, 400);
    data = make<DataSet>("cdsDados");
    testing::defineFields(*data);
    data->fieldByName("VALUE").setDisplayFormat("#,##0.00000");
    data->fieldByName("VALUE").setEditFormat("0.00000");
    source = make<DataSource>("dtsDados", data);
    name = add<DBEdit>("dbeNome");
    name->setDataSource(source);
    name->setDataField("NAME");
    value = add<DBEdit>("dbeValor");
    value->setDataSource(source);
    value->setDataField("VALUE");
    grid = add<DBGrid>("dbgDados");
    grid->setDataSource(source);
    grid->addColumn("CODE").setReadOnly(true);
    grid->addColumn("VALUE");
    grid->addColumn("NAME");
    name->setTabOrder(0);
    value->setTabOrder(1);
    grid->setTabOrder(2);
  }
  DataSet* data;
  DataSource* source;
  DBEdit* name;
  DBEdit* value;
  DBGrid* grid;
};

class DataAwareTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::resetApplication();
    runner = std::make_unique<ui::testing::TestRunner>();
    form = ui::application().createForm<BoundForm>();
    form->data->loadPacket(testing::threeRows());
    form->show();
  }
  void TearDown() override {
    runner.reset();
    ui::resetApplication();
  }
  void type(ui::Control& target, const std::string& text) {
    ui::application().dispatch([&] {
      target.setFocus();
      if (auto* edit = dynamic_cast<ui::Edit*>(&target))
        edit->selectAll();
      for (char c : text)
        ui::application().keyPress(target, static_cast<unsigned char>(c));
    });
  }
  std::unique_ptr<ui::testing::TestRunner> runner;
  BoundForm* form = nullptr;
};

TEST_F(DataAwareTest, EditShowsDisplayTextAndEditTextWhileFocused) {
  form->data->next();
  EXPECT_EQ(form->value->text(), "2,00000");
  form->data->fieldByName("VALUE");
  form->grid->setFocus();
  form->value->setFocus();
  EXPECT_EQ(form->value->text(), "2,00000");
  form->data->edit();
  form->data->fieldByName("VALUE").setAsFloat(1234.5);
  form->grid->setFocus();
  EXPECT_EQ(form->value->text(), "1.234,50000");
}

TEST_F(DataAwareTest, FirstKeystrokeEditsAndTheTextReachesTheFieldBeforeTheExitHandler) {
  std::string seenInExit;
  form->name->onExit = [&](ui::Control&) {
    seenInExit = form->data->fieldByName("NAME").asString();
  };
  type(*form->name, "Zeca");
  EXPECT_EQ(form->data->state(), DataSetState::Edit);
  EXPECT_EQ(form->data->fieldByName("NAME").asString(), "Ana");
  ui::application().dispatch([&] { form->value->setFocus(); });
  EXPECT_EQ(seenInExit, "Zeca");
}

TEST_F(DataAwareTest, ExitHandlerSeesTheTypedTextAndARefusedExitKeepsIt) {
  std::string seen;
  form->value->onExit = [&](ui::Control&) {
    seen = form->value->text();
    if (seen.front() == ',')
      throw ui::Abort();
  };
  type(*form->value, ",5");
  EXPECT_FALSE(ui::application().dispatch([&] { form->name->setFocus(); }));
  EXPECT_EQ(seen, ",5");
  EXPECT_EQ(form->value->text(), ",5");
  EXPECT_EQ(form->data->fieldByName("VALUE").asFloat(), 0.5);
  form->value->onExit = nullptr;
  ui::application().dispatch([&] { form->name->setFocus(); });
  EXPECT_EQ(form->value->text(), "0,50000");
}

TEST_F(DataAwareTest, BadNumberIsRefusedAndKeepsTheFocus) {
  type(*form->value, "1e");
  EXPECT_FALSE(ui::application().dispatch([&] { form->grid->setFocus(); }));
  EXPECT_EQ(form->activeControl(), form->value);
  ASSERT_EQ(runner->messages.size(), 1u);
  EXPECT_EQ(runner->messages[0], "error: '1e' não é um valor numérico válido.");
}

TEST_F(DataAwareTest, PostWritesPendingTextAndADisabledSourceBlanksAndRefuses) {
  type(*form->name, "Rui");
  form->data->post();
  EXPECT_EQ(form->data->fieldByName("NAME").asString(), "Rui");
  form->source->setEnabled(false);
  EXPECT_EQ(form->name->text(), "");
  type(*form->name, "X");
  EXPECT_EQ(form->name->text(), "");
  EXPECT_EQ(form->data->state(), DataSetState::Browse);
  form->source->setEnabled(true);
  EXPECT_EQ(form->name->text(), "Rui");
}

TEST_F(DataAwareTest, GridEditorTextIsWhatTheCellShowsAndAColumnChangeWritesIt) {
  ui::application().dispatch([&] {
    form->grid->setFocus();
    form->grid->setSelectedIndex(1);
  });
  type(*form->grid, "7,5");
  EXPECT_EQ(form->grid->cell(0, 1).text, "7,5");
  EXPECT_EQ(form->grid->editorText(), "7,5");
  EXPECT_EQ(form->data->fieldByName("VALUE").asFloat(), 1.0);
  ui::application().dispatch([&] { form->grid->userClickCell(2); });
  EXPECT_EQ(form->data->fieldByName("VALUE").asFloat(), 7.5);
  EXPECT_EQ(form->grid->cell(0, 1).text, "7,50000");
}

// Once the editor is open, typing goes on at its end; selecting the cell's text makes the next
// character, Backspace or Delete replace it, as when the user selects it and types over it.
TEST_F(DataAwareTest, SelectingTheCellTextMakesTypingReplaceIt) {
  auto& app = ui::application();
  auto keyPress = [&](char32_t ch) { app.dispatch([&] { app.keyPress(*form->grid, ch); }); };
  auto keyDown = [&](ui::Key key) {
    app.dispatch([&] { app.keyDown(*form->grid, key, ui::ShiftState{}); });
  };
  app.dispatch([&] {
    form->grid->setFocus();
    form->grid->setSelectedIndex(1);
  });
  type(*form->grid, "-2");
  ASSERT_TRUE(form->grid->editorMode());
  keyPress(U'3');
  EXPECT_EQ(form->grid->editorText(), "-23");

  app.dispatch([&] { form->grid->selectAll(); });
  EXPECT_TRUE(form->grid->editorAllSelected());
  keyPress(U'3');
  EXPECT_EQ(form->grid->editorText(), "3");
  EXPECT_FALSE(form->grid->editorAllSelected());
  app.dispatch([&] { form->grid->selectAll(); });
  keyPress(U'\b');
  EXPECT_EQ(form->grid->editorText(), "");
  keyPress(U'4');
  app.dispatch([&] { form->grid->userClickCell(2); });
  EXPECT_EQ(form->data->fieldByName("VALUE").asFloat(), 4.0);

  // On a row in browse state: selecting opens the editor on the field's text without editing
  // the row; Delete empties it and puts the row in edit.
  form->data->post();
  form->data->next();
  app.dispatch([&] { form->grid->setSelectedIndex(2); });
  app.dispatch([&] { form->grid->selectAll(); });
  EXPECT_EQ(form->grid->editorText(), form->data->fieldByName("NAME").text());
  EXPECT_EQ(form->data->state(), DataSetState::Browse);
  keyDown(ui::keys::Delete);
  EXPECT_EQ(form->data->state(), DataSetState::Edit);
  EXPECT_EQ(form->grid->cell(1, 2).text, "");
  app.dispatch([&] { form->grid->userClickCell(1); });
  EXPECT_TRUE(form->data->fieldByName("NAME").isNull());

  // A read-only cell opens no editor.
  app.dispatch([&] { form->grid->setSelectedIndex(0); });
  app.dispatch([&] { form->grid->selectAll(); });
  EXPECT_FALSE(form->grid->editorMode());
}

TEST_F(DataAwareTest, RaiseFromColExitRefusesTheColumnChange) {
  form->grid->onColExit = [&](ui::Control&) {
    if (form->grid->selectedField()->name() == "VALUE")
      throw ui::Abort();
  };
  ui::application().dispatch([&] { form->grid->setSelectedIndex(1); });
  EXPECT_FALSE(ui::application().dispatch([&] { form->grid->userClickCell(2); }));
  EXPECT_EQ(form->grid->selectedIndex(), 1);
}

TEST_F(DataAwareTest, ReadOnlyColumnTakesNoTypingAndDownOnTheLastRowAppends) {
  ui::application().dispatch([&] { form->grid->setFocus(); });
  type(*form->grid, "Q");
  EXPECT_EQ(form->data->state(), DataSetState::Browse);
  int inserts = 0;
  form->data->beforeInsert = [&](DataSet&) {
    ++inserts;
    throw ui::Abort();
  };
  form->data->last();
  ui::application().dispatch(
      [&] { ui::application().keyDown(*form->grid, ui::keys::Down, ui::ShiftState{}); });
  EXPECT_EQ(inserts, 1);
  EXPECT_EQ(form->data->recordCount(), 3);
  EXPECT_EQ(form->data->state(), DataSetState::Browse);
}

TEST_F(DataAwareTest, CtrlDeleteAsksAndDeletesOnlyOnYes) {
  ui::application().dispatch([&] { form->grid->setFocus(); });
  runner->answers = {ui::mrNo, ui::mrYes};
  const ui::ShiftState ctrl{false, false, true};
  ui::application().dispatch(
      [&] { ui::application().keyDown(*form->grid, ui::keys::Delete, ctrl); });
  EXPECT_EQ(form->data->recordCount(), 3);
  ui::application().dispatch(
      [&] { ui::application().keyDown(*form->grid, ui::keys::Delete, ctrl); });
  EXPECT_EQ(form->data->recordCount(), 2);
  EXPECT_EQ(runner->messages, (std::vector<std::string>{"question: Excluir registro?",
                                                        "question: Excluir registro?"}));
}

TEST_F(DataAwareTest, DrawHandlerPaintsAPictureOverTheCellText) {
  form->grid->onDrawColumnCell = [&](ui::Control&, ui::Canvas& canvas, const ui::Rect& rect, int,
                                     Column& column, DrawState) {
    if (column.fieldName() != "NAME")
      return;
    canvas.fillRect(rect);
    if (column.field()->asString() == "Bia") {
      canvas.brushCopy(rect, "imgChecked", ui::Rect{0, 0, 16, 16}, ui::colors::Olive);
    }
  };
  EXPECT_EQ(form->grid->cell(1, 2).picture, "imgChecked");
  EXPECT_TRUE(form->grid->cell(0, 2).erased);
  EXPECT_EQ(form->grid->cell(0, 2).picture, "");
  EXPECT_EQ(form->grid->cell(2, 0).text, "C");
}

TEST_F(DataAwareTest, PickListChoiceGoesThroughTheFieldsSetText) {
  auto& name = form->data->fieldByName("NAME");
  name.onSetText = [](Field& f, const std::string& text) { f.setAsString(text.substr(0, 1)); };
  form->grid->column(2).setPickList({"Nenhum", "Sim"});
  ui::application().dispatch([&] {
    form->grid->setSelectedIndex(2);
    form->grid->choosePickItem(1);
  });
  EXPECT_EQ(form->data->state(), DataSetState::Edit);
  EXPECT_EQ(name.asString(), "S");
}

}  // namespace
}  // namespace db
