#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "host/ui/application.h"
#include "host/ui/buttons.h"
#include "host/ui/combo_box.h"
#include "host/ui/edit.h"
#include "host/ui/errors.h"
#include "host/ui/list_box.h"
#include "host/ui/menu.h"
#include "host/ui/page_control.h"
#include "tests/unit/ui/test_runner.h"

namespace ui {
namespace {

class EventForm : public Form {
 public:
  EventForm() : Form("frmEvents") {
    setBounds(0, 0, 500, 400);
    edit = add<Edit>("edtCodigo");
    edit->setMaxLength(4);
    pages = add<PageControl>("pgcPaginas");
    first = pages->addPage("tshPrimeira", "Primeira");
    second = pages->addPage("tshSegunda", "Segunda");
    grid = first->add<Edit>("edtNaPrimeira");
    other = second->add<Edit>("edtNaSegunda");
    button = add<SpeedButton>("sbtAcao");
    menu = make<MainMenu>("mnuPrincipal");
    item = menu->add(this, "mnuAcao", "&Ação");
    pages->setTabOrder(1);
  }
  Edit* edit;
  PageControl* pages;
  TabSheet* first;
  TabSheet* second;
  Edit* grid;
  Edit* other;
  SpeedButton* button;
  MainMenu* menu;
  MenuItem* item;
};

class EventsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetApplication();
    runner = std::make_unique<testing::TestRunner>();
    form = application().createForm<EventForm>();
    form->show();
  }
  void TearDown() override {
    runner.reset();
    resetApplication();
  }
  void type(Control& target, const std::string& text) {
    application().dispatch([&] {
      for (char c : text)
        application().keyPress(target, static_cast<unsigned char>(c));
    });
  }
  std::unique_ptr<testing::TestRunner> runner;
  EventForm* form = nullptr;
};

TEST_F(EventsTest, KeyPreviewSeesKeysFirstAndHandlersCanSwallowThem) {
  std::string log;
  form->setKeyPreview(true);
  form->onKeyPress = [&](Control&, char32_t& ch) {
    log += "form;";
    if (ch == 'x')
      ch = 0;
  };
  form->edit->onKeyPress = [&](Control&, char32_t& ch) {
    log += "edit;";
    if (ch == '-')
      ch = 0;
  };
  type(*form->edit, "a-x1b2");
  EXPECT_EQ(form->edit->text(), "a1b2");
  EXPECT_EQ(log, "form;edit;form;edit;form;form;edit;form;edit;form;edit;");
  // At the maximum length a further character is refused.
  type(*form->edit, "c");
  EXPECT_EQ(form->edit->text(), "a1b2");
}

TEST_F(EventsTest, KeyDownHandlerCanClearTheKey) {
  form->edit->setText("abc");
  form->edit->selectAll();
  form->edit->onKeyDown = [](Control&, Key& key, ShiftState shift) {
    if (key == keys::Delete && shift.ctrl)
      key = 0;
  };
  application().keyDown(*form->edit, keys::Delete, ShiftState{false, false, true});
  EXPECT_EQ(form->edit->text(), "abc");
  application().keyDown(*form->edit, keys::Delete, ShiftState{});
  EXPECT_EQ(form->edit->text(), "");
}

TEST_F(EventsTest, DispatcherSwallowsTheSilentAbortAndShowsOtherErrors) {
  EXPECT_FALSE(application().dispatch([] { throw Abort(); }));
  EXPECT_TRUE(runner->messages.empty());
  EXPECT_FALSE(application().dispatch([] { throw std::runtime_error("Filial não cadastrada."); }));
  ASSERT_EQ(runner->messages.size(), 1u);
  EXPECT_EQ(runner->messages[0], "error: Filial não cadastrada.");
  EXPECT_TRUE(application().dispatch([] {}));
}

TEST_F(EventsTest, SpeedButtonsAndMenuItemsNeverTakeTheFocus) {
  int clicks = 0;
  form->edit->setFocus();
  form->button->onClick = [&](Control&) { ++clicks; };
  form->item->onClick = [&](MenuItem&) { ++clicks; };
  application().click(*form->button);
  application().clickMenuItem(*form->item);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(form->activeControl(), form->edit);
  form->item->setEnabled(false);
  form->button->setEnabled(false);
  application().click(*form->button);
  application().clickMenuItem(*form->item);
  EXPECT_EQ(clicks, 2);
}

TEST_F(EventsTest, UserRefusedOnADisabledPageAndCodeChangesRunNoHandler) {
  int changes = 0;
  form->pages->onChange = [&](Control&) { ++changes; };
  form->second->setEnabled(false);
  EXPECT_FALSE(form->pages->userSelect(form->second));
  EXPECT_EQ(form->pages->activePage(), form->first);
  form->second->setEnabled(true);
  EXPECT_TRUE(form->pages->userSelect(form->second));
  EXPECT_EQ(changes, 1);
  form->pages->setActivePage(form->first);
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(form->other->showing());
  EXPECT_TRUE(form->grid->showing());
}

TEST_F(EventsTest, ChangingThePageMovesTheFocusOffTheOldPageAndMayBeRefused) {
  form->grid->setFocus();
  form->pages->setActivePage(form->second);
  EXPECT_EQ(form->activeControl(), form->other);
  form->other->onExit = [](Control&) { throw Abort(); };
  EXPECT_THROW(form->pages->setActivePage(form->first), Abort);
  EXPECT_EQ(form->pages->activePage(), form->second);
  EXPECT_EQ(form->activeControl(), form->other);
}

TEST_F(EventsTest, ListBoxUserSelectionAndComboChoiceRunHandlersCodeDoesNot) {
  auto* list = form->first->add<ListBox>("lsbLista");
  list->setMultiSelect(true);
  for (const char* t : {"a", "b", "c", "d"})
    list->addItem(t);
  int clicks = 0;
  list->onClick = [&](Control&) { ++clicks; };
  list->userSelect({0, 2});
  EXPECT_EQ(list->selectedIndexes(), (std::vector<int>{0, 2}));
  EXPECT_EQ(list->itemIndex(), 2);
  list->deleteItem(0);
  EXPECT_EQ(list->selectedIndexes(), (std::vector<int>{1}));
  list->setSelected(0, true);
  EXPECT_EQ(clicks, 1);

  auto* combo = form->first->add<ComboBox>("cbbTipo");
  combo->setItems({"Mão de obra", "Material"});
  int combos = 0;
  combo->onChange = [&](Control&) { ++combos; };
  combo->setItemIndex(1);
  EXPECT_EQ(combos, 0);
  combo->userChoose(0);
  EXPECT_EQ(combos, 1);
  EXPECT_EQ(combo->text(), "Mão de obra");
}

// A dialog freed on close: the caller reads its result after the modal run, and the form goes
// only once the user event that opened it has been handled.
class Dialog : public Form {
 public:
  Dialog() : Form("frmDialogo") {
    setBounds(0, 0, 200, 100);
    date = add<Edit>("edtData");
    onClose = [](Form&, CloseAction& action) { action = CloseAction::Free; };
  }
  Edit* date;
};

TEST_F(EventsTest, ModalRunBlocksUntilAResultAndAFreedFormGoesAfterTheEvent) {
  runner->modalActions.push_back([](Form& dialog) {
    auto* d = static_cast<Dialog*>(&dialog);
    d->date->setText("01/02/2026");
    dialog.setModalResult(mrOk);
  });
  int result = 0;
  std::string text;
  application().dispatch([&] {
    auto* dialog = application().createForm<Dialog>();
    result = dialog->showModal();
    text = dialog->date->text();
    // Still there to be read, but no longer found by its name.
    EXPECT_TRUE(application().released(dialog));
    EXPECT_EQ(application().findForm("frmDialogo"), nullptr);
  });
  EXPECT_EQ(result, mrOk);
  EXPECT_EQ(text, "01/02/2026");
  EXPECT_EQ(application().findForm("frmDialogo"), nullptr);
  EXPECT_EQ(application().activeForm(), form);

  // Closing (the close box) answers Cancel.
  runner->modalActions.push_back([](Form& dialog) { dialog.close(); });
  application().dispatch([&] { result = application().createForm<Dialog>()->showModal(); });
  EXPECT_EQ(result, mrCancel);
}

// Two dialogs of one form within one user event: while the second runs, its name is its own,
// although the first is not destroyed yet.
TEST_F(EventsTest, TheNameOfAFreedFormBelongsToTheNextInstance) {
  std::vector<Form*> found;
  const auto answer = [&](Form& dialog) {
    found.push_back(application().findForm("frmDialogo"));
    EXPECT_EQ(found.back(), &dialog);
    dialog.setModalResult(mrOk);
  };
  runner->modalActions.push_back(answer);
  runner->modalActions.push_back(answer);
  application().dispatch([&] {
    application().createForm<Dialog>()->showModal();
    application().createForm<Dialog>()->showModal();
  });
  ASSERT_EQ(found.size(), 2u);
  EXPECT_NE(found[0], found[1]);
  EXPECT_EQ(application().findForm("frmDialogo"), nullptr);
}

// A dialog remembers the form it was called from, until that form is gone.
TEST_F(EventsTest, AShownFormKnowsItsCallerWhileTheCallerExists) {
  Form* caller = nullptr;
  runner->modalActions.push_back([&](Form& dialog) {
    caller = dialog.caller();
    dialog.setModalResult(mrOk);
  });
  application().dispatch([&] { application().createForm<Dialog>()->showModal(); });
  EXPECT_EQ(caller, form);

  auto* other = application().createForm<Dialog>();
  application().dispatch([&] { other->show(); });
  EXPECT_EQ(other->caller(), form);
  application().dispatch([&] { form->close(); });
  application().releaseForm(form);
  application().flushReleases();
  EXPECT_EQ(other->caller(), nullptr);
  form = nullptr;
}

TEST_F(EventsTest, AFormWhoseCreationFailsIsGone) {
  struct Broken : Form {
    Broken() : Form("frmQuebrado") {
      onCreate = [](Form&) { throw std::runtime_error("sem conexão"); };
    }
  };
  EXPECT_THROW(application().createForm<Broken>(), std::runtime_error);
  EXPECT_EQ(application().findForm("frmQuebrado"), nullptr);
}

}  // namespace
}  // namespace ui
