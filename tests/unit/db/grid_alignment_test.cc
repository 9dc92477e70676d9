// Where a grid cell's text stands: numbers to the right, texts to the left, unless the column
// says otherwise.
#include <gtest/gtest.h>

#include <memory>

#include "host/db/db_grid.h"
#include "host/ui/application.h"
#include "tests/unit/db/test_data.h"
#include "tests/unit/ui/test_runner.h"

namespace db {
namespace {

class AlignedForm : public ui::Form {
 public:
  AlignedForm() : ui::Form("frmAlinhada") {
    setBounds(0, 0, 600, 400);
    data = make<DataSet>("cdsDados");
    testing::defineFields(*data);
    data->fieldByName("VALUE").setDisplayFormat("#,##0.00");
    source = make<DataSource>("dtsDados", data);
    grid = add<DBGrid>("dbgDados");
    grid->setDataSource(source);
    grid->addColumn("CODE").setWidth(100);
    grid->addColumn("VALUE").setWidth(100);
    grid->addColumn("NAME").setWidth(100);
    grid->addColumn("DAY").setWidth(100);
  }
  DataSet* data;
  DataSource* source;
  DBGrid* grid;
};

class GridAlignmentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::resetApplication();
    runner = std::make_unique<ui::testing::TestRunner>();
    form = ui::application().createForm<AlignedForm>();
    form->data->loadPacket(testing::threeRows());
    form->show();
  }
  void TearDown() override {
    runner.reset();
    ui::resetApplication();
  }
  // Where the text would start in a cell of `width` with a right-aligned text of `chars`.
  static int rightStart(int width, int chars) {
    return width - 2 - chars * ui::RecordingCanvas::kCharWidth;
  }
  std::unique_ptr<ui::testing::TestRunner> runner;
  AlignedForm* form = nullptr;
};

TEST_F(GridAlignmentTest, NumbersStandRightAndTextsAndDatesLeft) {
  EXPECT_EQ(form->grid->column(0).alignment(), ui::TextAlign::Left);
  EXPECT_EQ(form->grid->column(1).alignment(), ui::TextAlign::Right);
  EXPECT_EQ(form->grid->column(3).alignment(), ui::TextAlign::Left);
  const ui::CellContent value = form->grid->cell(1, 1);
  EXPECT_EQ(value.text, "2,00");
  EXPECT_EQ(value.textLeft, rightStart(100, 4));
  EXPECT_EQ(form->grid->cell(1, 0).textLeft, 2);
  EXPECT_EQ(form->grid->cell(1, 2).textLeft, 2);
  // The title keeps its own alignment.
  EXPECT_EQ(form->grid->column(1).titleAlignment(), ui::TextAlign::Left);
}

TEST_F(GridAlignmentTest, AColumnsOwnAlignmentWinsAndChangingItRepaints) {
  int repaints = 0;
  struct Probe : ui::ChangeObserver {
    int* count;
    const ui::Component* grid;
    void propertyChanged(ui::Component& c, ui::Property p) override {
      *count += &c == grid && p == ui::Property::Data ? 1 : 0;
    }
  } probe;
  probe.count = &repaints;
  probe.grid = form->grid;
  ui::addChangeObserver(&probe);
  form->grid->column(0).setAlignment(ui::TextAlign::Right);
  form->grid->column(1).setAlignment(ui::TextAlign::Left);
  form->grid->column(2).setAlignment(ui::TextAlign::Center);
  ui::removeChangeObserver(&probe);
  EXPECT_EQ(repaints, 3);
  EXPECT_EQ(form->grid->cell(0, 0).textLeft, rightStart(100, 1));
  EXPECT_EQ(form->grid->cell(0, 1).textLeft, 2);
  // "Caio" centred: the free room split evenly on both sides.
  EXPECT_EQ(form->grid->cell(2, 2).textLeft, 2 + (96 - 4 * ui::RecordingCanvas::kCharWidth) / 2);
}

TEST_F(GridAlignmentTest, ANumberWiderThanItsCellShowsItsStartAndTheEditorTextIsAlignedToo) {
  form->grid->column(1).setWidth(20);
  form->data->edit();
  form->data->fieldByName("VALUE").setAsFloat(1234567.0);
  EXPECT_EQ(form->grid->cell(0, 1).text, "1.234.567,00");
  EXPECT_EQ(form->grid->cell(0, 1).textLeft, 2);

  form->grid->column(1).setWidth(100);
  ui::application().dispatch([&] {
    form->grid->setFocus();
    form->grid->setSelectedIndex(1);
    ui::application().keyPress(*form->grid, U'9');
  });
  ASSERT_TRUE(form->grid->editorMode());
  EXPECT_EQ(form->grid->cell(0, 1).text, "9");
  EXPECT_EQ(form->grid->cell(0, 1).textLeft, rightStart(100, 1));
}

}  // namespace
}  // namespace db
