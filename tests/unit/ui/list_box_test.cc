// The list box's texts kept in one buffer: deleting, clearing and refilling keep every other
// item's text whole.
#include "host/ui/list_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/ui/application.h"
#include "host/ui/errors.h"
#include "host/ui/form.h"

namespace ui {
namespace {

class ListBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetApplication();
    form = application().createForm<Form>("frmLista");
    list = form->add<ListBox>("lsbLista");
  }
  void TearDown() override { resetApplication(); }
  Form* form = nullptr;
  ListBox* list = nullptr;
};

TEST_F(ListBoxTest, DeletingAnItemKeepsTheTextsAroundIt) {
  for (const char* text : {"Ana", "", "Beatriz Vitória Conceição", "Caio", ""})
    list->addItem(text);
  list->deleteItem(2);
  EXPECT_EQ(list->items(), (std::vector<std::string>{"Ana", "", "Caio", ""}));
  list->deleteItem(0);
  list->addItem("Davi");
  EXPECT_EQ(list->items(), (std::vector<std::string>{"", "Caio", "", "Davi"}));
  EXPECT_EQ(list->item(1), "Caio");
  EXPECT_EQ(list->indexOf("Davi"), 3);
  EXPECT_EQ(list->indexOf(""), 0);
  EXPECT_EQ(list->indexOf("Ana"), -1);
  EXPECT_THROW(list->item(4), UiError);
  EXPECT_THROW(list->deleteItem(-1), UiError);
}

TEST_F(ListBoxTest, ALongListClearedAndFilledAgainHoldsOnlyItsNewItems) {
  list->reserve(1000);
  for (int i = 0; i < 1000; ++i)
    list->addItem("cliente " + std::to_string(i));
  list->shrinkToFit();
  list->setItemIndex(999);
  EXPECT_EQ(list->item(999), "cliente 999");
  list->clear();
  EXPECT_EQ(list->count(), 0);
  EXPECT_EQ(list->itemIndex(), -1);
  list->addItem("outro");
  EXPECT_EQ(list->items(), std::vector<std::string>{"outro"});
  EXPECT_FALSE(list->selected(0));
}

}  // namespace
}  // namespace ui
