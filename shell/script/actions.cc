#include "shell/script/actions.h"

#include <fmt/format.h>

#include <map>
#include <string_view>

#include "host/db/db_grid.h"
#include "host/frm_login.h"
#include "host/ui/application.h"
#include "host/ui/combo_box.h"
#include "host/ui/edit.h"
#include "host/ui/list_box.h"
#include "host/ui/menu.h"
#include "host/ui/page_control.h"
#include "host/ui/utf8.h"
#include "shell/script/failure.h"

namespace script {

namespace {

using Action = void (*)(const Command& command, ActionDelegate& session);

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

bool holdsFocus(const ui::Control& control) {
  return control.form()->focusHolder() == &control;
}

// Runs `action` as one user event on `control` once the user's click has put the focus there;
// a refused focus ends the event with nothing more done.
template <class Action>
void onFocused(ui::Control& control, Action action) {
  ui::application().dispatch([&] {
    focusByUser(control);
    if (holdsFocus(control))
      action();
  });
}

std::string typedLine(const Command& command) {
  std::string line;
  for (const auto& w : command.words) {
    if (!line.empty())
      line += ' ';
    line += w.quoted ? "\"" + w.text + "\"" : w.text;
  }
  return line;
}

void open(const Command&, ActionDelegate& session) {
  session.openModule();
}

void login(const Command&, ActionDelegate&) {
  // As the desktop does at start-up before it opens the module of a remote server.
  ui::application().dispatch([] { host::AskSignIn(); });
}

void screenshot(const Command& command, ActionDelegate& session) {
  session.screenshot(command);
}

void close(const Command& command, ActionDelegate&) {
  ui::Form* form = findForm(command.arg(1));
  if (form == nullptr)
    fail(command, "an open form " + command.arg(1), "none");
  ui::application().dispatch([&] { form->close(); });
}

void focus(const Command& command, ActionDelegate& session) {
  auto& control = need<ui::Control>(command, 1, "a control");
  if (!ui::application().dispatch([&] { focusByUser(control); }) || !holdsFocus(control))
    session.print("focus refused");
}

void type(const Command& command, ActionDelegate&) {
  auto& control = need<ui::Control>(command, 1, "a control");
  const std::string text = command.arg(2);
  onFocused(control, [&] {
    if (auto* edit = dynamic_cast<ui::Edit*>(&control))
      edit->selectAll();
    else if (auto* grid = dynamic_cast<db::DBGrid*>(&control))
      grid->selectAll();
    size_t pos = 0;
    while (pos < text.size())
      ui::application().keyPress(control, ui::utf8::decode(text, pos));
  });
}

void key(const Command& command, ActionDelegate&) {
  auto& control = need<ui::Control>(command, 1, "a control");
  const auto pressed = ui::keyFromName(command.arg(2));
  if (!pressed)
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
  onFocused(control, [&] { ui::application().keyDown(control, *pressed, shift); });
}

void click(const Command& command, ActionDelegate&) {
  auto& app = ui::application();
  ui::Component* component = findComponent(command.arg(1));
  if (auto* item = dynamic_cast<ui::MenuItem*>(component)) {
    app.dispatch([&] { app.clickMenuItem(*item); });
  } else if (auto* control = dynamic_cast<ui::Control*>(component)) {
    app.dispatch([&] { app.click(*control); });
  } else {
    fail(command, "a control or menu item named " + command.arg(1), "none");
  }
}

void dblclick(const Command& command, ActionDelegate&) {
  auto& control = need<ui::Control>(command, 1, "a control");
  ui::application().dispatch([&] { ui::application().doubleClick(control); });
}

void select(const Command& command, ActionDelegate&) {
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
  onFocused(list, [&] {
    if (indexes.empty())
      list.clearSelection();
    else
      list.userSelect(indexes);
  });
}

void row(const Command& command, ActionDelegate&) {
  auto& grid = need<db::DBGrid>(command, 1, "a grid");
  const int index = number(command, 2);
  if (index < 0 || index >= grid.rowCount()) {
    fail(command, fmt::format("a row of {} (0..{})", grid.name(), grid.rowCount() - 1),
         std::to_string(index));
  }
  onFocused(grid, [&] { grid.userSelectRow(index); });
}

void col(const Command& command, ActionDelegate&) {
  auto& grid = need<db::DBGrid>(command, 1, "a grid");
  const int column = columnOf(command, grid, 2);
  onFocused(grid, [&] { grid.setSelectedIndex(column); });
}

void cellclick(const Command& command, ActionDelegate&) {
  auto& grid = need<db::DBGrid>(command, 1, "a grid");
  const int column = columnOf(command, grid, 2);
  onFocused(grid, [&] { grid.userClickCell(column); });
}

void title(const Command& command, ActionDelegate&) {
  auto& grid = need<db::DBGrid>(command, 1, "a grid");
  const int column = columnOf(command, grid, 2);
  ui::application().dispatch([&] { grid.userClickTitle(column); });
}

void page(const Command& command, ActionDelegate& session) {
  auto& pages = need<ui::PageControl>(command, 1, "a page control");
  auto& sheet = need<ui::TabSheet>(command, 2, "a tab sheet");
  bool changed = false;
  ui::application().dispatch([&] { changed = pages.userSelect(&sheet); });
  if (!changed && pages.activePage() != &sheet)
    session.print("page refused");
}

void combo(const Command& command, ActionDelegate&) {
  const int index = number(command, 2);
  ui::Component* component = findComponent(command.arg(1));
  if (auto* grid = dynamic_cast<db::DBGrid*>(component)) {
    // A grid's pick list is chosen whether or not the click took the focus.
    ui::application().dispatch([&] {
      focusByUser(*grid);
      grid->choosePickItem(index);
    });
  } else if (auto* box = dynamic_cast<ui::ComboBox*>(component)) {
    if (index < 0 || index >= static_cast<int>(box->items().size()))
      fail(command, fmt::format("an item of {}", box->name()), std::to_string(index));
    onFocused(*box, [&] { box->userChoose(index); });
  } else {
    fail(command, "a combo box or grid named " + command.arg(1), "none");
  }
}

const std::map<std::string_view, Action>& actions() {
  static const std::map<std::string_view, Action> table = {
      {"open", open},
      {"login", login},
      {"screenshot", screenshot},
      {"close", close},
      {"focus", focus},
      {"type", type},
      {"key", key},
      {"click", click},
      {"dblclick", dblclick},
      {"select", select},
      {"row", row},
      {"col", col},
      {"cellclick", cellclick},
      {"title", title},
      {"page", page},
      {"combo", combo},
  };
  return table;
}

}  // namespace

void runAction(const Command& command, ActionDelegate& session) {
  session.print("> " + typedLine(command));
  const auto found = actions().find(command.verb());
  if (found == actions().end())
    throw ScriptSyntaxError(command.where() + ": unknown command '" + command.verb() + "'");
  found->second(command, session);
}

}  // namespace script
