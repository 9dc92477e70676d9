#include "tests/unit/shell_qt/desktop_fixture.h"

#include <QAbstractScrollArea>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTableView>
#include <functional>

#include "shell/qt/qt_text.h"

namespace shell::testing {

std::vector<packet::Row> sampleRows() {
  using packet::Value;
  return {
      {std::string("A"), std::string("Ana"), 10.5, std::string("S")},
      {std::string("B"), std::string("Bia"), 20.0, std::string("N")},
      {std::string("C"), std::string("Caio"), 30.0, Value{}},
      {std::string("D"), std::string("Davi"), 40.0, std::string("X")},
  };
}

void DesktopTest::SetUp() {
  ui::resetApplication();
  desktop = std::make_unique<Desktop>(*static_cast<QApplication*>(QCoreApplication::instance()));
  desktop->runner().setMessageHook(
      [this](ui::MessageKind kind, const std::string& text, ui::MessageButtons) {
        messages.push_back((kind == ui::MessageKind::Error ? "error: " : "message: ") + text);
        if (answers.empty())
          return static_cast<int>(ui::mrOk);
        const int answer = answers.front();
        answers.erase(answers.begin());
        return answer;
      });
  desktop->mainWindow().show();
}

void DesktopTest::TearDown() {
  ui::resetApplication();
  desktop.reset();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

SampleForm& DesktopTest::showSample() {
  auto* form = ui::application().createForm<SampleForm>();
  form->load(sampleRows());
  form->show();
  settle();
  return *form;
}

void DesktopTest::settle() {
  for (int round = 0; round < 3; ++round) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
}

QWidget* DesktopTest::widget(const ui::Control& control) const {
  return renderer().widgetOf(control);
}

QTabBar* DesktopTest::tabBarOf(const ui::PageControl& pages) const {
  QWidget* w = widget(pages);
  return w != nullptr ? w->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

QWidget* DesktopTest::qtFocus(const ui::Control& control) const {
  QWidget* w = widget(control);
  return w != nullptr ? w->window()->focusWidget() : nullptr;
}

void DesktopTest::click(const ui::Control& control, QPoint at, Qt::KeyboardModifiers modifiers) {
  QWidget* target = widget(control);
  ASSERT_NE(target, nullptr) << control.name();
  if (auto* area = qobject_cast<QAbstractScrollArea*>(target))
    target = area->viewport();
  QTest::mouseClick(target, Qt::LeftButton, modifiers, at.x() >= 0 ? at : target->rect().center());
  settle();
}

void DesktopTest::expectInStep(const ui::Form& form) const {
  QWidget* window = renderer().windowOf(form);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->isVisible(), form.visible());
  EXPECT_EQ(window->windowTitle(), toQString(form.caption()));
  std::function<void(const ui::Control&)> walk = [&](const ui::Control& control) {
    SCOPED_TRACE(control.name());
    QWidget* w = widget(control);
    ASSERT_NE(w, nullptr);
    if (dynamic_cast<const ui::Image*>(&control) != nullptr) {
      EXPECT_FALSE(w->isVisible());
    } else if (&control != &form) {
      EXPECT_EQ(w->isEnabled(), control.usable());
      EXPECT_EQ(w->isVisible(), control.showing());
    }
    if (auto* edit = dynamic_cast<const ui::Edit*>(&control)) {
      if (auto* line = qobject_cast<QLineEdit*>(w)) {
        EXPECT_EQ(line->text(), toQString(edit->text()));
      } else if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) {
        EXPECT_EQ(memo->toPlainText(), multiLineText(edit->text()));
      }
    } else if (auto* grid = dynamic_cast<const db::DBGrid*>(&control)) {
      // Rows, columns, titles and every cell's text as the grid draws them.
      auto* table = qobject_cast<QTableView*>(w);
      ASSERT_NE(table, nullptr);
      QAbstractItemModel* cells = table->model();
      ASSERT_EQ(cells->rowCount(), grid->rowCount());
      ASSERT_EQ(cells->columnCount(), grid->columnCount());
      for (int column = 0; column < grid->columnCount(); ++column) {
        EXPECT_EQ(cells->headerData(column, Qt::Horizontal).toString(),
                  toQString(grid->column(column).title()));
        for (int row = 0; row < grid->rowCount(); ++row) {
          EXPECT_EQ(cells->index(row, column).data().toString(),
                    toQString(grid->cell(row, column).text))
              << row << "," << column;
        }
      }
    } else if (auto* group = dynamic_cast<const ui::GroupBox*>(&control)) {
      EXPECT_EQ(qobject_cast<QGroupBox*>(w)->title(), plainCaption(group->caption()));
    } else if (auto* label = dynamic_cast<const ui::Label*>(&control)) {
      const QString html = acceleratorHtml(label->caption());
      const QString shown = !label->showAccelChar() ? toQString(label->caption())
                            : html.isEmpty()        ? plainCaption(label->caption())
                                                    : html;
      EXPECT_EQ(qobject_cast<QLabel*>(w)->text(), shown);
    } else if (auto* list = dynamic_cast<const ui::ListBox*>(&control)) {
      auto* items = qobject_cast<QListView*>(w);
      ASSERT_EQ(items->model()->rowCount(), list->count());
      for (int i = 0; i < list->count(); ++i) {
        const QModelIndex item = items->model()->index(i, 0);
        EXPECT_EQ(item.data().toString(), toQString(list->item(i)));
        EXPECT_EQ(items->selectionModel()->isSelected(item), list->selected(i)) << i;
      }
    } else if (auto* combo = dynamic_cast<const ui::ComboBox*>(&control)) {
      EXPECT_EQ(qobject_cast<QComboBox*>(w)->currentIndex(), combo->itemIndex());
    } else if (auto* radio = dynamic_cast<const ui::RadioButton*>(&control)) {
      EXPECT_EQ(qobject_cast<QRadioButton*>(w)->isChecked(), radio->checked());
    } else if (auto* pages = dynamic_cast<const ui::PageControl*>(&control)) {
      // One tab per page, in the model's order; only the active page's sheet shows.
      QTabBar* tabs = tabBarOf(*pages);
      ASSERT_NE(tabs, nullptr);
      const std::vector<ui::TabSheet*> sheets = pages->pages();
      ASSERT_EQ(tabs->count(), static_cast<int>(sheets.size()));
      for (int tab = 0; tab < tabs->count(); ++tab) {
        const ui::TabSheet* page = sheets[static_cast<size_t>(tab)];
        EXPECT_EQ(tabs->tabText(tab), plainCaption(page->caption()));
        EXPECT_EQ(tabs->isTabEnabled(tab), page->enabled()) << page->name();
        EXPECT_EQ(tabs->isTabVisible(tab), page->tabVisible() && page->visible()) << page->name();
        if (page == pages->activePage()) {
          EXPECT_EQ(tabs->currentIndex(), tab);
        }
        if (control.showing()) {
          EXPECT_EQ(widget(*page)->isVisible(), page == pages->activePage()) << page->name();
        }
      }
    }
    for (const ui::Control* child : control.children())
      walk(*child);
  };
  walk(form);
}

}  // namespace shell::testing
