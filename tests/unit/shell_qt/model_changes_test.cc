// What the window shows of the model's layout and notices: sheets where the model lays them
// out, numbers standing right in the grid, label accelerators typed through Qt, a main menu or
// form style changed after the form is shown, a memo's scroll bar.
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTableView>

#include "host/db/db_edit.h"
#include "host/ui/edit.h"
#include "host/ui/typed_edits.h"
#include "shell/qt/qt_text.h"
#include "tests/unit/shell_qt/desktop_fixture.h"

namespace shell::testing {
namespace {

using ModelChangesTest = DesktopTest;

// The columns of `image` inside `area` that hold a pixel darker than `threshold`.
std::pair<int, int> inkSpan(const QImage& image, const QRect& area, int threshold = 100) {
  int first = -1;
  int last = -1;
  for (int x = area.left(); x <= area.right(); ++x) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
      if (qGray(image.pixel(x, y)) < threshold) {
        if (first < 0)
          first = x;
        last = x;
        break;
      }
    }
  }
  return {first, last};
}

TEST_F(ModelChangesTest, SheetsStandWhereTheModelLaysThemOutBelowTheTabs) {
  SampleForm& form = showSample();
  const ui::Rect sheet = form.gridPage->bounds();
  EXPECT_EQ(sheet.top, ui::PageControl::kTabStripHeight + ui::PageControl::kFrameWidth);
  EXPECT_EQ(widget(*form.gridPage)->geometry(), toQRect(sheet));
  EXPECT_EQ(widget(*form.grid)->geometry(), QRect(0, 0, sheet.width, sheet.height));
  // The tabs fill the strip above the sheet.
  QTabBar* tabs = tabBarOf(*form.pages);
  EXPECT_LE(tabs->geometry().bottom(), sheet.top);
  EXPECT_GE(tabs->tabRect(0).height(), ui::PageControl::kTabStripHeight);

  form.pages->setBounds(0, 0, 300, 200);
  settle();
  EXPECT_EQ(widget(*form.gridPage)->geometry(), toQRect(form.gridPage->bounds()));
  expectInStep(form);
}

TEST_F(ModelChangesTest, NumbersArePaintedAgainstTheRightOfTheirCellTextsAgainstTheLeft) {
  SampleForm& form = showSample();
  auto* table = widgetAs<QTableView>(*form.grid);
  const QImage shot = table->viewport()->grab().toImage();
  const QRect number = table->visualRect(table->model()->index(1, 2));  // "20,00"
  const QRect name = table->visualRect(table->model()->index(1, 1));    // "Bia"
  const auto [numberStart, numberEnd] = inkSpan(shot, number.adjusted(0, 0, -2, -2));
  const auto [nameStart, nameEnd] = inkSpan(shot, name.adjusted(0, 0, -2, -2));
  ASSERT_GE(numberStart, 0);
  ASSERT_GE(nameStart, 0);
  EXPECT_GE(numberEnd, number.right() - 6);
  EXPECT_GT(numberStart, number.left() + 10);
  EXPECT_LE(nameStart, name.left() + 4);
  EXPECT_LT(nameEnd, name.right() - 10);
}

TEST_F(ModelChangesTest, DataAwareEditsOfNumbersStandRightLikeNumberEdits) {
  SampleForm& form = showSample();
  auto* value = form.valuesPage->add<db::DBEdit>("dbeValor");
  value->setBounds(8, 100, 100, 21);
  value->setDataSource(form.source);
  value->setDataField("VRSERV");
  auto* name = form.valuesPage->add<db::DBEdit>("dbeNome");
  name->setBounds(8, 130, 100, 21);
  name->setDataSource(form.source);
  name->setDataField("NMCLIENTE");
  auto* amount = form.valuesPage->add<ui::NumberEdit>("nedQuantidade");
  amount->setBounds(8, 160, 100, 21);
  settle();
  EXPECT_EQ(widgetAs<QLineEdit>(*value)->text(), "10,50");
  EXPECT_TRUE(widgetAs<QLineEdit>(*value)->alignment() & Qt::AlignRight);
  EXPECT_TRUE(widgetAs<QLineEdit>(*name)->alignment() & Qt::AlignLeft);
  EXPECT_TRUE(widgetAs<QLineEdit>(*amount)->alignment() & Qt::AlignRight);
  // Bound to a text field later, the edit moves its text to the left.
  value->setDataField("CDCLIENTE");
  EXPECT_TRUE(widgetAs<QLineEdit>(*value)->alignment() & Qt::AlignLeft);
}

TEST_F(ModelChangesTest, AltAndALabelsUnderlinedLetterFocusesItsControl) {
  SampleForm& form = showSample();
  form.branchLabel->setFocusControl(form.branch);
  click(*form.clients);
  ASSERT_TRUE(form.clients->focused());
  EXPECT_EQ(widgetAs<QLabel>(*form.branchLabel)->text(), "<u>F</u>ilial");

  QTest::keyClick(widget(*form.clients), Qt::Key_F, Qt::AltModifier);
  settle();
  EXPECT_TRUE(form.branch->focused());
  EXPECT_EQ(qtFocus(*form.branch), widget(*form.branch));
  EXPECT_EQ(form.branch->text(), "");  // the chord typed nothing
  expectInStep(form);
}

TEST_F(ModelChangesTest, AMainMenuGivenAfterShowingReachesTheMenuBar) {
  SampleForm& form = showSample();
  QMenuBar* bar = desktop->mainWindow().menuBar();
  auto captions = [bar] {
    QStringList texts;
    for (QAction* action : bar->actions())
      texts << action->text();
    return texts;
  };
  EXPECT_EQ(captions(), QStringList{"&Operação"});

  auto* other = form.make<ui::MainMenu>("mnuOutro");
  other->add(&form, "mnuRelatorios", "&Relatórios");
  form.setMenu(other);
  settle();
  EXPECT_EQ(captions(), QStringList{"&Relatórios"});
  form.setMenu(nullptr);
  settle();
  EXPECT_TRUE(captions().isEmpty());
}

TEST_F(ModelChangesTest, AFormThatChangesStyleMovesToTheRightKindOfWindow) {
  SampleForm& form = showSample();
  ASSERT_NE(qobject_cast<QMdiSubWindow*>(renderer().windowOf(form)), nullptr);
  form.setFormStyle(ui::FormStyle::Normal);
  settle();
  QWidget* window = renderer().windowOf(form);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(qobject_cast<QMdiSubWindow*>(window), nullptr);
  EXPECT_TRUE(window->isWindow());
  EXPECT_TRUE(window->isVisible());
  expectInStep(form);

  form.setFormStyle(ui::FormStyle::MdiChild);
  settle();
  EXPECT_NE(qobject_cast<QMdiSubWindow*>(renderer().windowOf(form)), nullptr);
  click(*form.branch);
  QTest::keyClicks(widget(*form.branch), "ab");
  EXPECT_EQ(form.branch->text(), "AB");
  expectInStep(form);
}

TEST_F(ModelChangesTest, AMemosScrollBarFollowsTheModel) {
  SampleForm& form = showSample();
  auto* memo = form.valuesPage->add<ui::Memo>("memObservacao");
  memo->setBounds(8, 100, 200, 60);
  settle();
  auto* text = widgetAs<QPlainTextEdit>(*memo);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  memo->setVerticalScrollBar(true);
  EXPECT_EQ(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

}  // namespace
}  // namespace shell::testing
