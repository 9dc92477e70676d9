// The user's actions of a script, each passed through the toolkit's event dispatcher.
#include <fmt/format.h>

#include "host/db/db_grid.h"
#include "host/frm_login.h"
#include "host/ui/application.h"
#include "host/ui/combo_box.h"
#include "host/ui/edit.h"
#include "host/ui/errors.h"
#include "host/ui/list_box.h"
#include "host/ui/menu.h"
#include "host/ui/page_control.h"
#include "host/ui/utf8.h"
#include "shell/script/lookup.h"
#include "shell/script/session.h"

namespace script {

namespace {

template <class T>
T& need(const Command& command, size_t index, const char* what) {
  const std::string& name = command.arg(index);
  ui::Component* component = findComponent(name);
  auto* typed = dynamic_cast<T*>(component);
  if (typed == nullptr) {
    throw ScriptFailure{fmt::format("{}: expected {} named {}, got {}", command.where(), what, name,
                                    component == nullptr ? "none" : "another kind")};
  }
  return *typed;
}

int number(const Command& command, size_t index) {
  const std::string& text = command.arg(index);
  try {
    size_t used = 0;
    const int value = std::stoi(text, &used);
    if (used == text.size())
      return value;
  } catch (const std::exception&) {
  }
  throw ScriptFailure{fmt::format("{}: expected a number, got {}", command.where(), text)};
}

int columnOf(const Command& command, db::DBGrid& grid, size_t index) {
  const int column = grid.columnOf(command.arg(index));
  if (column < 0) {
    throw ScriptFailure{fmt::format("{}: expected a column of {} showing {}, got none",
                                    command.where(), grid.name(), command.arg(index))};
  }
  return column;
}

// A click into a control: the focus moves there unless an exit handler refuses.
void focusByUser(ui::Control& control) {
  if (control.form()->focusHolder() != &control)
    control.setFocus();
}

}  // namespace

void Session::runAction(const Command& command) {
  auto& app = ui::application();
  const std::string& verb = command.verb();
  print(fmt::format("> {}", [&] {
    std::string line;
    for (const auto& w : command.words) {
      if (!line.empty())
        line += ' ';
      line += w.quoted ? "\"" + w.text + "\"" : w.text;
    }
    return line;
  }()));

  if (verb == "open") {
    openModule();
  } else if (verb == "login") {
    // As the desktop does at start-up before it opens the module of a remote server.
    app.dispatch([] { host::AskSignIn(); });
  } else if (verb == "screenshot") {
    screenshot(command);
  } else if (verb == "close") {
    ui::Form* form = findForm(command.arg(1));
    if (form == nullptr)
      fail(command, "an open form " + command.arg(1), "none");
    app.dispatch([&] { form->close(); });
  } else if (verb == "focus") {
    auto& control = need<ui::Control>(command, 1, "a control");
    if (!app.dispatch([&] { focusByUser(control); }) || control.form()->focusHolder() != &control) {
      print("focus refused");
    }
  } else if (verb == "type") {
    auto& control = need<ui::Control>(command, 1, "a control");
    const std::string text = command.arg(2);
    app.dispatch([&] {
      focusByUser(control);
      if (control.form()->focusHolder() != &control)
        return;
      if (auto* edit = dynamic_cast<ui::Edit*>(&control))
        edit->selectAll();
      else if (auto* grid = dynamic_cast<db::DBGrid*>(&control))
        grid->selectAll();
      size_t pos = 0;
      while (pos < text.size()) {
        const char32_t ch = ui::utf8::decode(text, pos);
        app.keyPress(control, ch);
      }
    });
  } else if (verb == "key") {
    auto& control = need<ui::Control>(command, 1, "a control");
    auto key = ui::keyFromName(command.arg(2));
    if (!key)
      fail(command, "a key name", command.arg(2));
    ui::ShiftState shift;
    for (size_t i = 3; i <= command.argCount(); ++i) {
      const std::string& modifier = command.arg(i);
      if (modifier == "ctrl") {
        shift.ctrl = true;
      } else if (modifier == "shift") {
        shift.shift = true;
      } else if (modifier == "alt") {
        shift.alt = true;
      } else {
        fail(command, "ctrl, shift or alt", modifier);
      }
    }
    app.dispatch([&] {
      focusByUser(control);
      if (control.form()->focusHolder() != &control)
        return;
      app.keyDown(control, *key, shift);
    });
  } else if (verb == "click") {
    ui::Component* component = findComponent(command.arg(1));
    if (auto* item = dynamic_cast<ui::MenuItem*>(component)) {
      app.dispatch([&] { app.clickMenuItem(*item); });
    } else if (auto* control = dynamic_cast<ui::Control*>(component)) {
      app.dispatch([&] { app.click(*control); });
    } else {
      fail(command, "a control or menu item named " + command.arg(1), "none");
    }
  } else if (verb == "dblclick") {
    auto& control = need<ui::Control>(command, 1, "a control");
    app.dispatch([&] { app.doubleClick(control); });
  } else if (verb == "select") {
    auto& list = need<ui::ListBox>(command, 1, "a list box");
    std::vector<int> indexes;
    if (command.arg(2) != "none") {
      for (size_t i = 2; i <= command.argCount(); ++i)
        indexes.push_back(number(command, i));
    }
    for (int i : indexes) {
      if (i < 0 || i >= list.count()) {
        fail(command, fmt::format("an item of {} (0..{})", list.name(), list.count() - 1),
             std::to_string(i));
      }
    }
    app.dispatch([&] {
      focusByUser(list);
      if (list.form()->focusHolder() != &list)
        return;
      if (indexes.empty()) {
        list.clearSelection();
      } else {
        list.userSelect(indexes);
      }
    });
  } else if (verb == "row") {
    auto& grid = need<db::DBGrid>(command, 1, "a grid");
    const int row = number(command, 2);
    if (row < 0 || row >= grid.rowCount()) {
      fail(command, fmt::format("a row of {} (0..{})", grid.name(), grid.rowCount() - 1),
           std::to_string(row));
    }
    app.dispatch([&] {
      focusByUser(grid);
      if (grid.form()->focusHolder() != &grid)
        return;
      grid.userSelectRow(row);
    });
  } else if (verb == "col" || verb == "cellclick") {
    auto& grid = need<db::DBGrid>(command, 1, "a grid");
    const int column = columnOf(command, grid, 2);
    app.dispatch([&] {
      focusByUser(grid);
      if (grid.form()->focusHolder() != &grid)
        return;
      if (verb == "col") {
        grid.setSelectedIndex(column);
      } else {
        grid.userClickCell(column);
      }
    });
  } else if (verb == "title") {
    auto& grid = need<db::DBGrid>(command, 1, "a grid");
    const int column = columnOf(command, grid, 2);
    app.dispatch([&] { grid.userClickTitle(column); });
  } else if (verb == "page") {
    auto& pages = need<ui::PageControl>(command, 1, "a page control");
    auto& sheet = need<ui::TabSheet>(command, 2, "a tab sheet");
    bool changed = false;
    app.dispatch([&] { changed = pages.userSelect(&sheet); });
    if (!changed && pages.activePage() != &sheet)
      print("page refused");
  } else if (verb == "combo") {
    const int index = number(command, 2);
    ui::Component* component = findComponent(command.arg(1));
    if (auto* grid = dynamic_cast<db::DBGrid*>(component)) {
      app.dispatch([&] {
        focusByUser(*grid);
        grid->choosePickItem(index);
      });
    } else if (auto* combo = dynamic_cast<ui::ComboBox*>(component)) {
      if (index < 0 || index >= static_cast<int>(combo->items().size())) {
        fail(command, fmt::format("an item of {}", combo->name()), std::to_string(index));
      }
      app.dispatch([&] {
        focusByUser(*combo);
        if (combo->form()->focusHolder() != combo)
          return;
        combo->userChoose(index);
      });
    } else {
      fail(command, "a combo box or grid named " + command.arg(1), "none");
    }
  } else {
    throw ScriptSyntaxError(command.where() + ": unknown command '" + verb + "'");
  }
}

}  // namespace script
