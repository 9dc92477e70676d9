#include "shell/script/expectations.h"

#include <fmt/format.h>

#include <map>
#include <string_view>

#include "host/db/data_set.h"
#include "host/db/db_grid.h"
#include "host/ui/application.h"
#include "host/ui/buttons.h"
#include "host/ui/list_box.h"
#include "host/ui/menu.h"
#include "host/ui/page_control.h"
#include "host/ui/utf8.h"
#include "shell/script/failure.h"

namespace script {

namespace {

using Expectation = void (*)(const Command& command, Transcript& transcript);

std::string inQuotes(const std::string& text) {
  return "\"" + text + "\"";
}

std::string join(const std::vector<int>& values) {
  std::string out;
  for (int v : values)
    out += (out.empty() ? "" : " ") + std::to_string(v);
  return out.empty() ? "none" : out;
}

// The expectation's kind: `enabled` in `expect enabled NAME`.
const std::string& kind(const Command& command) {
  return command.arg(1);
}

// The open form named by word `index`.
ui::Form& openForm(const Command& command, size_t index) {
  ui::Form* form = findForm(command.arg(index));
  if (form == nullptr)
    fail(command, "an open form " + command.arg(index), "none");
  return *form;
}

// What a grid cell shows, as scripts write it.
std::string cellText(const db::DBGrid& grid, int column) {
  const db::DataSet* set = grid.dataSet();
  if (set == nullptr || grid.rowCount() == 0)
    return "[no row]";
  const ui::CellContent content = grid.cell(set->currentViewRow(), column);
  if (content.picture == "imgChecked")
    return "[checked]";
  if (content.picture == "imgUnchecked")
    return "[unchecked]";
  if (!content.picture.empty())
    return "[" + content.picture + "]";
  if (content.erased)
    return "[blank]";
  return content.text;
}

// `expect enabled|disabled NAME`.
void enabled(const Command& command, Transcript&) {
  ui::Component* component = findComponent(command.arg(2));
  bool isEnabled = false;
  if (auto* item = dynamic_cast<ui::MenuItem*>(component)) {
    isEnabled = item->enabled();
  } else if (auto* control = dynamic_cast<ui::Control*>(component)) {
    isEnabled = control->enabled();
  } else {
    fail(command, "a control or menu item named " + command.arg(2), "none");
  }
  if (isEnabled != (kind(command) == "enabled"))
    fail(command, command.arg(2) + " " + kind(command), isEnabled ? "enabled" : "disabled");
}

// `expect visible|hidden NAME`: the control's own property.
void visible(const Command& command, Transcript&) {
  ui::Component* component = findComponent(command.arg(2));
  bool isVisible = false;
  if (auto* item = dynamic_cast<ui::MenuItem*>(component)) {
    isVisible = item->visible();
  } else if (auto* control = dynamic_cast<ui::Control*>(component)) {
    isVisible = control->visible();
  } else {
    fail(command, "a control or menu item named " + command.arg(2), "none");
  }
  if (isVisible != (kind(command) == "visible"))
    fail(command, command.arg(2) + " " + kind(command), isVisible ? "visible" : "hidden");
}

void focused(const Command& command, Transcript&) {
  auto& control = need<ui::Control>(command, 2, "a control");
  if (control.focused())
    return;
  ui::Form* active = ui::application().activeForm();
  ui::Control* holder = active != nullptr ? active->activeControl() : nullptr;
  fail(command, command.arg(2) + " focused",
       holder != nullptr ? holder->name() + " focused" : "no focused control");
}

void text(const Command& command, Transcript&) {
  ui::Component* component = findComponent(command.arg(2));
  std::string shown;
  if (component == nullptr || !readText(*component, shown))
    fail(command, "a control with a text named " + command.arg(2), "none");
  if (shown != command.arg(3))
    fail(command, inQuotes(command.arg(3)), inQuotes(shown));
}

// `expect checked|unchecked NAME`: a radio button or menu item.
void checked(const Command& command, Transcript&) {
  ui::Component* component = findComponent(command.arg(2));
  bool isChecked = false;
  if (auto* item = dynamic_cast<ui::MenuItem*>(component)) {
    isChecked = item->checked();
  } else if (auto* radio = dynamic_cast<ui::RadioButton*>(component)) {
    isChecked = radio->checked();
  } else {
    fail(command, "a radio button or menu item named " + command.arg(2), "none");
  }
  if (isChecked != (kind(command) == "checked"))
    fail(command, command.arg(2) + " " + kind(command), isChecked ? "checked" : "unchecked");
}

void items(const Command& command, Transcript&) {
  auto& list = need<ui::ListBox>(command, 2, "a list box");
  if (std::to_string(list.count()) != command.arg(3))
    fail(command, command.arg(3) + " items", std::to_string(list.count()));
}

void item(const Command& command, Transcript&) {
  auto& list = need<ui::ListBox>(command, 2, "a list box");
  const int index = std::stoi(command.arg(3));
  if (index < 0 || index >= list.count())
    fail(command, inQuotes(command.arg(4)) + " at " + command.arg(3), "no such item");
  if (list.item(index) != command.arg(4))
    fail(command, inQuotes(command.arg(4)), inQuotes(list.item(index)));
}

void selected(const Command& command, Transcript&) {
  auto& list = need<ui::ListBox>(command, 2, "a list box");
  std::vector<int> wanted;
  if (command.arg(3) != "none") {
    for (size_t i = 3; i <= command.argCount(); ++i)
      wanted.push_back(std::stoi(command.arg(i)));
  }
  if (list.selectedIndexes() != wanted)
    fail(command, "selected " + join(wanted), join(list.selectedIndexes()));
}

void page(const Command& command, Transcript&) {
  auto& pages = need<ui::PageControl>(command, 2, "a page control");
  const std::string got = pages.activePage() != nullptr ? pages.activePage()->name() : "none";
  if (got != command.arg(3))
    fail(command, "page " + command.arg(3), got);
}

void state(const Command& command, Transcript&) {
  auto& set = need<db::DataSet>(command, 2, "a data set");
  // Scripts name states in lower case (edit), the data layer capitalises them (Edit).
  const std::string got = ui::utf8::toLower(db::stateName(set.state()));
  if (got != ui::utf8::toLower(command.arg(3)))
    fail(command, command.arg(3), got);
}

void count(const Command& command, Transcript&) {
  auto& set = need<db::DataSet>(command, 2, "a data set");
  if (std::to_string(set.recordCount()) != command.arg(3))
    fail(command, command.arg(3) + " rows", std::to_string(set.recordCount()));
}

// `expect field|display DATASET FIELD "TEXT"`: the field's text or display text.
void field(const Command& command, Transcript&) {
  auto& set = need<db::DataSet>(command, 2, "a data set");
  db::Field* found = set.findField(command.arg(3));
  if (found == nullptr)
    fail(command, "a field " + command.arg(3), "none");
  const std::string got = kind(command) == "field" ? found->text() : found->displayText();
  if (got != command.arg(4))
    fail(command, inQuotes(command.arg(4)), inQuotes(got));
}

void cell(const Command& command, Transcript&) {
  auto& grid = need<db::DBGrid>(command, 2, "a grid");
  const int column = grid.columnOf(command.arg(3));
  if (column < 0)
    fail(command, "a column showing " + command.arg(3), "none");
  const std::string got = cellText(grid, column);
  if (got != command.arg(4))
    fail(command, inQuotes(command.arg(4)), inQuotes(got));
}

void columns(const Command& command, Transcript&) {
  auto& grid = need<db::DBGrid>(command, 2, "a grid");
  if (std::to_string(grid.columnCount()) != command.arg(3))
    fail(command, command.arg(3) + " columns", std::to_string(grid.columnCount()));
}

void column(const Command& command, Transcript&) {
  auto& grid = need<db::DBGrid>(command, 2, "a grid");
  const int index = std::stoi(command.arg(3));
  if (index < 0 || index >= grid.columnCount())
    fail(command, "a column " + command.arg(3), "none");
  const auto& shown = grid.column(index);
  const std::string got = shown.fieldName() + " " + inQuotes(shown.title());
  const std::string want = command.arg(4) + " " + inQuotes(command.arg(5));
  if (got != want)
    fail(command, want, got);
}

void selectedColumn(const Command& command, Transcript&) {
  auto& grid = need<db::DBGrid>(command, 2, "a grid");
  const db::Column* shown = grid.selectedColumn();
  const std::string got = shown != nullptr ? shown->fieldName() : "none";
  if (got != command.arg(3))
    fail(command, command.arg(3), got);
}

void picklist(const Command& command, Transcript&) {
  auto& grid = need<db::DBGrid>(command, 2, "a grid");
  const int index = grid.columnOf(command.arg(3));
  if (index < 0)
    fail(command, "a column showing " + command.arg(3), "none");
  std::string got;
  for (const auto& entry : grid.column(index).pickList())
    got += (got.empty() ? "" : "|") + entry;
  if (got != command.arg(4))
    fail(command, inQuotes(command.arg(4)), inQuotes(got));
}

// The oldest message shown and not yet expected.
void message(const Command& command, Transcript& transcript) {
  if (transcript.messages.empty())
    fail(command, "message " + command.arg(2) + " " + inQuotes(command.arg(3)), "no message");
  const Transcript::Message shown = transcript.messages.front();
  transcript.messages.pop_front();
  if (shown.kind != command.arg(2) || shown.text != command.arg(3)) {
    fail(command, command.arg(2) + " " + inQuotes(command.arg(3)),
         shown.kind + " " + inQuotes(shown.text));
  }
}

void noMessage(const Command& command, Transcript& transcript) {
  if (!transcript.messages.empty()) {
    const Transcript::Message& shown = transcript.messages.front();
    fail(command, "no message", shown.kind + " " + inQuotes(shown.text));
  }
}

// A call of METHOD after the last call expected; `*` matches any argument.
void call(const Command& command, Transcript& transcript) {
  const std::string& method = command.arg(2);
  std::vector<std::string> wanted;
  for (size_t i = 3; i <= command.argCount(); ++i)
    wanted.push_back(command.arg(i));
  std::string lastSeen = "no call of " + method;
  for (size_t i = transcript.callCursor; i < transcript.calls.size(); ++i) {
    const Transcript::Call& made = transcript.calls[i];
    if (made.method != method)
      continue;
    bool same = made.args.size() == wanted.size();
    for (size_t a = 0; same && a < wanted.size(); ++a)
      same = wanted[a] == "*" || wanted[a] == made.args[a];
    if (same) {
      transcript.callCursor = i + 1;
      return;
    }
    lastSeen = method;
    for (const auto& a : made.args)
      lastSeen += " " + inQuotes(a);
  }
  std::string want = method;
  for (const auto& a : wanted)
    want += " " + inQuotes(a);
  fail(command, "call " + want, lastSeen);
}

void noCall(const Command& command, Transcript& transcript) {
  for (size_t i = transcript.callCursor; i < transcript.calls.size(); ++i) {
    if (transcript.calls[i].method == command.arg(2))
      fail(command, "no call of " + command.arg(2), "one");
  }
}

// A wait indicator after the last one expected.
void wait(const Command& command, Transcript& transcript) {
  const int waitKind = std::stoi(command.arg(2));
  const std::string& waitText = command.arg(3);
  for (size_t i = transcript.waitCursor; i < transcript.waits.size(); ++i) {
    if (transcript.waits[i].kind == waitKind && transcript.waits[i].text == waitText) {
      transcript.waitCursor = i + 1;
      return;
    }
  }
  fail(command, fmt::format("wait {} {}", waitKind, inQuotes(waitText)),
       transcript.waitCursor < transcript.waits.size()
           ? fmt::format("wait {} {}", transcript.waits.back().kind,
                         inQuotes(transcript.waits.back().text))
           : "no wait indicator");
}

void cursor(const Command& command, Transcript&) {
  const bool hourglass = ui::application().screen().cursor() == ui::Cursor::HourGlass;
  const std::string got = hourglass ? "hourglass" : "default";
  if (got != command.arg(2))
    fail(command, "cursor " + command.arg(2), got);
}

void caption(const Command& command, Transcript&) {
  const ui::Form& form = openForm(command, 2);
  if (form.caption() != command.arg(3))
    fail(command, inQuotes(command.arg(3)), inQuotes(form.caption()));
}

void size(const Command& command, Transcript&) {
  const ui::Form& form = openForm(command, 2);
  const std::string got =
      std::to_string(form.bounds().width) + " " + std::to_string(form.bounds().height);
  const std::string want = command.arg(3) + " " + command.arg(4);
  if (got != want)
    fail(command, "size " + want, got);
}

// `expect maximized|normal FORM`.
void windowState(const Command& command, Transcript&) {
  const ui::Form& form = openForm(command, 2);
  const bool maximized = form.windowState() == ui::WindowState::Maximized;
  if (maximized != (kind(command) == "maximized"))
    fail(command, command.arg(2) + " " + kind(command), maximized ? "maximized" : "normal");
}

// `expect open|closed FORM`: a form found by name and visible is open.
void openOrClosed(const Command& command, Transcript&) {
  ui::Form* form = findForm(command.arg(2));
  const bool open = form != nullptr && form->visible();
  if (open != (kind(command) == "open"))
    fail(command, command.arg(2) + " " + kind(command), open ? "open" : "closed");
}

const std::map<std::string_view, Expectation>& expectations() {
  static const std::map<std::string_view, Expectation> table = {
      {"enabled", enabled},
      {"disabled", enabled},
      {"visible", visible},
      {"hidden", visible},
      {"focused", focused},
      {"text", text},
      {"checked", checked},
      {"unchecked", checked},
      {"items", items},
      {"item", item},
      {"selected", selected},
      {"page", page},
      {"state", state},
      {"count", count},
      {"field", field},
      {"display", field},
      {"cell", cell},
      {"columns", columns},
      {"column", column},
      {"selected-column", selectedColumn},
      {"picklist", picklist},
      {"message", message},
      {"no-message", noMessage},
      {"call", call},
      {"no-call", noCall},
      {"wait", wait},
      {"cursor", cursor},
      {"caption", caption},
      {"size", size},
      {"maximized", windowState},
      {"normal", windowState},
      {"open", openOrClosed},
      {"closed", openOrClosed},
  };
  return table;
}

}  // namespace

void runExpectation(const Command& command, Transcript& transcript) {
  const auto found = expectations().find(kind(command));
  if (found == expectations().end())
    throw ScriptSyntaxError(command.where() + ": unknown expectation '" + kind(command) + "'");
  found->second(command, transcript);
}

}  // namespace script
