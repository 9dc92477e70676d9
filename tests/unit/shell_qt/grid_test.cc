#include <QHeaderView>
#include <QImage>
#include <QTableView>
#include <utility>
#include <vector>

#include "shell/qt/color_names.h"
#include "shell/qt/grid_model.h"
#include "shell/qt/grid_view.h"
#include "tests/unit/shell_qt/desktop_fixture.h"

namespace shell::testing {
namespace {

class GridTest : public DesktopTest {
 protected:
  QTableView* table() const { return widgetAs<QTableView>(*form->grid); }
  QRect cellRect(int row, int column) const {
    return table()->visualRect(table()->model()->index(row, column));
  }
  void clickCell(int row, int column) { click(*form->grid, cellRect(row, column).center()); }
  // Where the flag picture of a cell starts: centred on the cell, at its top.
  QPoint flagOrigin(int row) const {
    const QRect cell = cellRect(row, 3);
    return QPoint((cell.left() + cell.left() + cell.width()) / 2 - 8, cell.top());
  }
  SampleForm* form = nullptr;
};

TEST_F(GridTest, TableModelShowsTheRowsColumnsAndCellPictures) {
  form = &showSample();
  QAbstractItemModel* model = table()->model();
  ASSERT_EQ(model->rowCount(), 4);
  ASSERT_EQ(model->columnCount(), 4);
  EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "NMCLIENTE");
  EXPECT_EQ(model->headerData(3, Qt::Horizontal).toString(), "Ativo");
  EXPECT_TRUE(model->headerData(2, Qt::Horizontal, Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
  EXPECT_EQ(table()->horizontalHeader()->sectionSize(1), 120);
  EXPECT_EQ(model->data(model->index(0, 2)).toString(), "10,50");
  EXPECT_EQ(model->data(model->index(3, 1)).toString(), "Davi");
  const int picture = GridTableModel::PictureRole;
  EXPECT_EQ(model->data(model->index(0, 3), picture).toString(), "imgChecked");
  EXPECT_EQ(model->data(model->index(1, 3), picture).toString(), "imgUnchecked");
  EXPECT_EQ(model->data(model->index(2, 3), picture).toString(), "imgUnchecked");
  EXPECT_EQ(model->data(model->index(3, 3), picture).toString(), "");
  EXPECT_EQ(model->data(model->index(0, 3)).toString(), "");  // the "S" never shows

  form->data->last();
  settle();
  EXPECT_EQ(model->headerData(3, Qt::Vertical).toString(), QStringLiteral("\u25B6"));
  form->load({sampleRows()[0]});
  settle();
  EXPECT_EQ(model->rowCount(), 1);
}

// The row headers mark the current row: moving the cursor repaints the header it left and the
// one it reached; writing the current row's fields repaints none.
TEST_F(GridTest, TheCurrentRowMarkMovesWithTheCursorAndStaysForWrites) {
  form = &showSample();
  QAbstractItemModel* model = table()->model();
  std::vector<std::pair<int, int>> repainted;
  QObject::connect(model, &QAbstractItemModel::headerDataChanged,
                   [&](Qt::Orientation orientation, int first, int last) {
                     if (orientation == Qt::Vertical)
                       repainted.emplace_back(first, last);
                   });
  renderer().deliver([&] { form->data->first(); });
  settle();
  repainted.clear();
  renderer().deliver([&] { form->data->next(); });
  settle();
  EXPECT_EQ(repainted, (std::vector<std::pair<int, int>>{{0, 0}, {1, 1}}));
  EXPECT_EQ(model->headerData(0, Qt::Vertical).toString(), QString());
  EXPECT_EQ(model->headerData(1, Qt::Vertical).toString(), QStringLiteral("\u25B6"));

  repainted.clear();
  renderer().deliver([&] {
    form->data->edit();
    form->data->fieldByName("NMCLIENTE").setAsString("Bia");
    form->data->fieldByName("VRSERV").setAsFloat(7);
    form->data->post();
  });
  settle();
  EXPECT_TRUE(repainted.empty());
  EXPECT_EQ(model->headerData(1, Qt::Vertical).toString(), QStringLiteral("\u25B6"));
  EXPECT_EQ(model->data(model->index(1, 1)).toString(), "Bia");
}

// Rows inserted and filled one after another without returning to the event loop (a batch),
// then the cursor moved, leave the table's current cell on the data set's current row once it
// returns, and the new rows' texts shown.
TEST_F(GridTest, ABatchOfInsertsEndsWithTheCurrentCellWhereTheCursorIs) {
  form = &showSample();
  renderer().deliver([&] {
    for (int i = 0; i < 3; ++i) {
      form->data->insert();
      form->data->fieldByName("CDCLIENTE").setAsString("N" + std::to_string(i));
      form->data->fieldByName("NMCLIENTE").setAsString("Novo " + std::to_string(i));
      form->data->fieldByName("VRSERV").setAsFloat(i);
      form->data->post();
    }
    form->data->first();
    form->data->next();
  });
  settle();
  QAbstractItemModel* model = table()->model();
  ASSERT_EQ(model->rowCount(), 7);
  EXPECT_EQ(table()->currentIndex().row(), form->data->currentViewRow());
  EXPECT_EQ(table()->currentIndex().row(), 1);
  int added = 0;
  for (int row = 0; row < model->rowCount(); ++row)
    added += model->data(model->index(row, 1)).toString().startsWith("Novo ") ? 1 : 0;
  EXPECT_EQ(added, 3);
}

// A column without a width of its own holds its content's characters or its title; a title
// wider than its column keeps its start, cut on the right with an ellipsis, even when it
// stands to the right.
TEST_F(GridTest, ColumnWidthsHoldTheirContentAndLongTitlesAreCutOnTheRight) {
  form = &showSample();
  QHeaderView* titles = table()->horizontalHeader();
  const QFontMetrics cells(table()->font());
  EXPECT_GE(titles->sectionSize(0), 4 * cells.horizontalAdvance(QLatin1Char('0')) + 4);
  EXPECT_GE(titles->sectionSize(2), 10 * cells.horizontalAdvance(QLatin1Char('0')) + 4);
  EXPECT_GE(titles->sectionSize(3), titles->fontMetrics().horizontalAdvance("Ativo"));

  renderer().deliver([&] {
    form->grid->column(2).setTitle("Valor Serviço");
    form->grid->column(2).setWidth(40);
  });
  settle();
  auto* header = dynamic_cast<TitleHeader*>(titles);
  ASSERT_NE(header, nullptr);
  const QString shown = header->shownTitle(2);
  EXPECT_TRUE(shown.startsWith("Va")) << shown.toStdString();
  EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
  EXPECT_EQ(header->shownTitle(1), "NMCLIENTE");
}

TEST_F(GridTest, FlagCellsArePaintedFromTheirPicturesOnTheCellsBrush) {
  form = &showSample();
  const QImage shot = table()->viewport()->grab().toImage();
  const QColor cellColour(255, 255, 225);  // clInfoBk replaces the olive background
  auto at = [&](int row, int dx, int dy) {
    const QPoint origin = flagOrigin(row);
    return shot.pixelColor(origin.x() + dx, origin.y() + dy);
  };
  for (int row : {0, 1, 2}) {
    SCOPED_TRACE(row);
    EXPECT_EQ(at(row, 0, 0), cellColour);
    EXPECT_EQ(at(row, 3, 3), QColor(Qt::black));       // the box's top-left edge
    EXPECT_EQ(at(row, 12, 8), QColor(192, 192, 192));  // its shadow
  }
  EXPECT_EQ(at(0, 10, 4), QColor(Qt::black));  // the check mark's tip
  EXPECT_EQ(at(1, 10, 4), QColor(Qt::white));
  EXPECT_EQ(at(3, 3, 3), cellColour);  // "X" shows nothing
  EXPECT_EQ(at(3, 10, 4), cellColour);
}

TEST_F(GridTest, CellClicksMoveTheDataSetAndTheColumnAndTheCellIsHighlighted) {
  form = &showSample();
  std::vector<std::string> clicked;
  form->grid->onCellClick = [&clicked](db::Column& c) { clicked.push_back(c.fieldName()); };
  clickCell(2, 1);
  EXPECT_TRUE(form->grid->focused());
  EXPECT_EQ(form->data->recNo(), 3);
  EXPECT_EQ(form->grid->selectedIndex(), 1);
  EXPECT_EQ(clicked, (std::vector<std::string>{"NMCLIENTE"}));
  const QImage shot = table()->viewport()->grab().toImage();
  const QRect cell = cellRect(2, 1);
  EXPECT_EQ(shot.pixelColor(cell.right() - 3, cell.bottom() - 2), toQColor(ui::colors::Highlight));

  int doubleClicks = 0;
  form->grid->onDblClick = [&doubleClicks](ui::Control&) { ++doubleClicks; };
  clickCell(1, 2);  // a double click starts as a click
  QTest::mouseDClick(table()->viewport(), Qt::LeftButton, Qt::NoModifier, cellRect(1, 2).center());
  settle();
  EXPECT_EQ(doubleClicks, 1);
  EXPECT_EQ(form->data->recNo(), 2);
}

TEST_F(GridTest, TypingGoesToTheModelsInPlaceEditor) {
  form = &showSample();
  clickCell(1, 2);
  QTest::keyClicks(table(), "12,5");
  EXPECT_TRUE(form->grid->editorMode());
  EXPECT_EQ(form->grid->editorText(), "12,5");
  EXPECT_EQ(table()->model()->data(table()->model()->index(1, 2)).toString(), "12,5");
  QTest::keyClick(table(), Qt::Key_Return);
  EXPECT_DOUBLE_EQ(form->data->fieldByName("VRSERV").asFloat(), 12.5);
  EXPECT_EQ(table()->model()->data(table()->model()->index(1, 2)).toString(), "12,50");
  QTest::keyClick(table(), Qt::Key_Escape);
  EXPECT_DOUBLE_EQ(form->data->fieldByName("VRSERV").asFloat(), 20.0);
}

TEST_F(GridTest, PickListItemIsChosenThroughTheModel) {
  form = &showSample();
  form->grid->column(1).setPickList({"Ana", "Zeca"});
  std::vector<std::string> offered;
  renderer().setPickChooser(
      [&offered](QWidget*, const QRect&, const std::vector<std::string>& items, int current) {
        offered = items;
        return current == 1 ? 0 : 1;
      });
  clickCell(0, 1);
  QTest::keyClick(table(), Qt::Key_Down, Qt::AltModifier);
  EXPECT_EQ(offered, (std::vector<std::string>{"Ana", "Zeca"}));
  EXPECT_EQ(form->data->fieldByName("NMCLIENTE").asString(), "Zeca");
  EXPECT_TRUE(form->data->isEditing());
  EXPECT_EQ(form->data->recNo(), 1);  // Alt+Down opened the list instead of moving

  const QRect cell = cellRect(0, 1);
  click(*form->grid, QPoint(cell.right() - 4, cell.center().y()));
  EXPECT_EQ(form->data->fieldByName("NMCLIENTE").asString(), "Ana");
}

TEST_F(GridTest, TitleClicksAndResizesReachTheColumns) {
  form = &showSample();
  std::vector<std::string> titles;
  form->grid->onTitleClick = [&titles](db::Column& c) { titles.push_back(c.fieldName()); };
  QHeaderView* header = table()->horizontalHeader();
  const int x = header->sectionViewportPosition(2) + header->sectionSize(2) / 2;
  QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                    QPoint(x, header->height() / 2));
  settle();
  EXPECT_EQ(titles, (std::vector<std::string>{"VRSERV"}));

  header->resizeSection(2, 90);
  settle();
  EXPECT_EQ(form->grid->column(2).width(), 90);
  form->grid->setOption(db::GridOption::ColumnResize, false);
  header->resizeSection(2, 70);
  settle();
  EXPECT_EQ(form->grid->column(2).width(), 90);
}

}  // namespace
}  // namespace shell::testing
