// What the real module's window shows in the forms' font: grid columns that hold the texts they
// were laid out for, labels that show whole, dialogs centred over the form that called them and
// valid dates in blue.
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>
#include <functional>

#include "shell/qt/qt_text.h"
#include "tests/unit/shell_qt/module_fixture.h"

namespace shell::testing {
namespace {

class ModuleLookTest : public ModuleDesktopTest {
 protected:
  // Every label of the form whose widget shows shows its caption whole.
  void expectLabelsWhole(const ui::Control& root) const {
    for (const ui::Control* child : root.children()) {
      expectLabelsWhole(*child);
      const auto* label = dynamic_cast<const ui::Label*>(child);
      if (label == nullptr || !label->showing())
        continue;
      const auto* shown = widgetAs<QLabel>(*label);
      ASSERT_NE(shown, nullptr) << label->name();
      const QString text = plainCaption(label->caption());
      EXPECT_LE(shown->fontMetrics().horizontalAdvance(text), shown->contentsRect().width())
          << label->name() << " \"" << label->caption() << "\"";
    }
  }
};

TEST_F(ModuleLookTest, GridColumnsHoldInscriptionsValuesAndTheirTitles) {
  ui::Form& form = openModule();
  pickBranchAndService(form, "0001", "00001");
  auto& grid = control<db::DBGrid>(form, "dbgPadrao");
  auto* table = widgetAs<QTableView>(grid);
  ASSERT_NE(table, nullptr);
  ASSERT_GT(grid.rowCount(), 20);
  const QFontMetrics cells(table->font());
  const QHeaderView* titles = table->horizontalHeader();
  const int margin = titles->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, titles);
  bool person = false;
  bool company = false;
  for (const char* field : {"NRINSJURCLIE", "VRSERVFATU", "QTEFETMINI", "QTVOLPROSERVCLI"}) {
    const int column = grid.columnOf(field);
    ASSERT_GE(column, 0) << field;
    const int width = titles->sectionSize(column);
    const QString title = toQString(grid.column(column).title());
    EXPECT_LE(titles->fontMetrics().horizontalAdvance(title) + 2 * margin, width) << field;
    for (int row = 0; row < table->model()->rowCount(); ++row) {
      const QString text = table->model()->index(row, column).data().toString();
      // The cell's text stands 2 pixels from its side.
      EXPECT_LE(cells.horizontalAdvance(text) + 4, width) << field << " " << text.toStdString();
      if (std::string(field) == "NRINSJURCLIE") {
        person = person || text.size() == 14;
        company = company || text.size() == 18;
      }
    }
  }
  // Both a formatted CPF (000.000.000-00) and a CNPJ (00.000.000/0000-00) were measured.
  EXPECT_TRUE(person);
  EXPECT_TRUE(company);
  expectLabelsWhole(form);
}

TEST_F(ModuleLookTest, TheValidityDialogOpensCentredOverTheFormWithItsLabelsWhole) {
  ui::Form& form = openModule();
  pickBranchAndService(form, "0001", "00008");
  clickListItem(control<ui::ListBox>(form, "lsbPossiveis"), 0);
  bool seen = false;
  QTimer::singleShot(0, qApp, [&] {
    ui::Form* dialog = ui::application().findForm("frmDtValidade");
    ASSERT_NE(dialog, nullptr);
    settle();
    seen = true;
    const QWidget* window = renderer().windowOf(*dialog);
    const QWidget* caller = renderer().windowOf(form);
    ASSERT_TRUE(window != nullptr && caller != nullptr);
    const QPoint callerCentre = caller->mapToGlobal(caller->rect().center());
    const QPoint dialogCentre = window->mapToGlobal(window->rect().center());
    EXPECT_LE(std::abs(callerCentre.x() - dialogCentre.x()), 2);
    EXPECT_LE(std::abs(callerCentre.y() - dialogCentre.y()), 2);
    EXPECT_EQ(control<ui::Label>(*dialog, "lblCodTela").caption(), "ZEV00602");
    expectLabelsWhole(*dialog);

    // A valid date is drawn in blue, anything else in the usual colour.
    auto& date = control<ui::Edit>(*dialog, "depDataIni");
    auto* dateEdit = widgetAs<QLineEdit>(date);
    click(date);
    QTest::keyClicks(dateEdit, "0104");
    EXPECT_NE(dateEdit->palette().color(QPalette::Text), QColor(Qt::blue));
    QTest::keyClicks(dateEdit, "2026");
    EXPECT_EQ(dateEdit->palette().color(QPalette::Text), QColor(Qt::blue));
    renderer().deliver([dialog] { dialog->close(); });
  });
  click(control<ui::Control>(form, "sbtEscolhido"));
  settle();
  EXPECT_TRUE(seen);
  EXPECT_EQ(desktop->runner().depth(), 0);
}

}  // namespace
}  // namespace shell::testing
