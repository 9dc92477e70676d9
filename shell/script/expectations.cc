// The expectations of a script: each compares what the user would see with what the script
// says, and the first that fails ends the run.
#include <fmt/format.h>

#include "host/db/data_set.h"
#include "host/db/db_grid.h"
#include "host/ui/application.h"
#include "host/ui/buttons.h"
#include "host/ui/list_box.h"
#include "host/ui/menu.h"
#include "host/ui/page_control.h"
#include "host/ui/utf8.h"
#include "shell/script/lookup.h"
#include "shell/script/session.h"

namespace script {

namespace {

std::string inQuotes(const std::string& text) {
  return "\"" + text + "\"";
}

std::string join(const std::vector<int>& values) {
  std::string out;
  for (int v : values)
    out += (out.empty() ? "" : " ") + std::to_string(v);
  return out.empty() ? "none" : out;
}

template <class T>
T& need(const Command& command, size_t index, const char* what) {
  ui::Component* component = findComponent(command.arg(index));
  auto* typed = dynamic_cast<T*>(component);
  if (typed == nullptr) {
    throw ScriptFailure{fmt::format("{}: expected {} named {}, got {}", command.where(), what,
                                    command.arg(index),
                                    component == nullptr ? "none" : "another kind")};
  }
  return *typed;
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

}  // namespace

void Session::runExpectation(const Command& command) {
  const std::string& what = command.arg(1);
  auto& app = ui::application();

  if (what == "enabled" || what == "disabled") {
    ui::Component* component = findComponent(command.arg(2));
    bool enabled = false;
    if (auto* item = dynamic_cast<ui::MenuItem*>(component)) {
      enabled = item->enabled();
    } else if (auto* control = dynamic_cast<ui::Control*>(component)) {
      enabled = control->enabled();
    } else {
      fail(command, "a control or menu item named " + command.arg(2), "none");
    }
    if (enabled != (what == "enabled")) {
      fail(command, command.arg(2) + " " + what, enabled ? "enabled" : "disabled");
    }
  } else if (what == "visible" || what == "hidden") {
    ui::Component* component = findComponent(command.arg(2));
    bool visible = false;
    if (auto* item = dynamic_cast<ui::MenuItem*>(component)) {
      visible = item->visible();
    } else if (auto* control = dynamic_cast<ui::Control*>(component)) {
      visible = control->visible();
    } else {
      fail(command, "a control or menu item named " + command.arg(2), "none");
    }
    if (visible != (what == "visible")) {
      fail(command, command.arg(2) + " " + what, visible ? "visible" : "hidden");
    }
  } else if (what == "focused") {
    auto& control = need<ui::Control>(command, 2, "a control");
    if (!control.focused()) {
      ui::Form* active = app.activeForm();
      ui::Control* holder = active != nullptr ? active->activeControl() : nullptr;
      fail(command, command.arg(2) + " focused",
           holder != nullptr ? holder->name() + " focused" : "no focused control");
    }
  } else if (what == "text") {
    ui::Component* component = findComponent(command.arg(2));
    std::string text;
    if (component == nullptr || !readText(*component, text)) {
      fail(command, "a control with a text named " + command.arg(2), "none");
    }
    if (text != command.arg(3))
      fail(command, inQuotes(command.arg(3)), inQuotes(text));
  } else if (what == "checked" || what == "unchecked") {
    ui::Component* component = findComponent(command.arg(2));
    bool checked = false;
    if (auto* item = dynamic_cast<ui::MenuItem*>(component)) {
      checked = item->checked();
    } else if (auto* radio = dynamic_cast<ui::RadioButton*>(component)) {
      checked = radio->checked();
    } else {
      fail(command, "a radio button or menu item named " + command.arg(2), "none");
    }
    if (checked != (what == "checked")) {
      fail(command, command.arg(2) + " " + what, checked ? "checked" : "unchecked");
    }
  } else if (what == "items") {
    auto& list = need<ui::ListBox>(command, 2, "a list box");
    if (std::to_string(list.count()) != command.arg(3)) {
      fail(command, command.arg(3) + " items", std::to_string(list.count()));
    }
  } else if (what == "item") {
    auto& list = need<ui::ListBox>(command, 2, "a list box");
    const int index = std::stoi(command.arg(3));
    if (index < 0 || index >= list.count()) {
      fail(command, inQuotes(command.arg(4)) + " at " + command.arg(3), "no such item");
    }
    if (list.item(index) != command.arg(4)) {
      fail(command, inQuotes(command.arg(4)), inQuotes(list.item(index)));
    }
  } else if (what == "selected") {
    auto& list = need<ui::ListBox>(command, 2, "a list box");
    std::vector<int> wanted;
    if (command.arg(3) != "none") {
      for (size_t i = 3; i <= command.argCount(); ++i)
        wanted.push_back(std::stoi(command.arg(i)));
    }
    if (list.selectedIndexes() != wanted) {
      fail(command, "selected " + join(wanted), join(list.selectedIndexes()));
    }
  } else if (what == "page") {
    auto& pages = need<ui::PageControl>(command, 2, "a page control");
    const std::string got = pages.activePage() != nullptr ? pages.activePage()->name() : "none";
    if (got != command.arg(3))
      fail(command, "page " + command.arg(3), got);
  } else if (what == "state") {
    auto& set = need<db::DataSet>(command, 2, "a data set");
    // Scripts name states in lower case (edit), the data layer capitalises them (Edit).
    const std::string got = ui::utf8::toLower(db::stateName(set.state()));
    if (got != ui::utf8::toLower(command.arg(3)))
      fail(command, command.arg(3), got);
  } else if (what == "count") {
    auto& set = need<db::DataSet>(command, 2, "a data set");
    if (std::to_string(set.recordCount()) != command.arg(3)) {
      fail(command, command.arg(3) + " rows", std::to_string(set.recordCount()));
    }
  } else if (what == "field" || what == "display") {
    auto& set = need<db::DataSet>(command, 2, "a data set");
    db::Field* field = set.findField(command.arg(3));
    if (field == nullptr)
      fail(command, "a field " + command.arg(3), "none");
    const std::string got = what == "field" ? field->text() : field->displayText();
    if (got != command.arg(4))
      fail(command, inQuotes(command.arg(4)), inQuotes(got));
  } else if (what == "cell") {
    auto& grid = need<db::DBGrid>(command, 2, "a grid");
    const int column = grid.columnOf(command.arg(3));
    if (column < 0)
      fail(command, "a column showing " + command.arg(3), "none");
    const std::string got = cellText(grid, column);
    if (got != command.arg(4))
      fail(command, inQuotes(command.arg(4)), inQuotes(got));
  } else if (what == "columns") {
    auto& grid = need<db::DBGrid>(command, 2, "a grid");
    if (std::to_string(grid.columnCount()) != command.arg(3)) {
      fail(command, command.arg(3) + " columns", std::to_string(grid.columnCount()));
    }
  } else if (what == "column") {
    auto& grid = need<db::DBGrid>(command, 2, "a grid");
    const int index = std::stoi(command.arg(3));
    if (index < 0 || index >= grid.columnCount())
      fail(command, "a column " + command.arg(3), "none");
    const auto& column = grid.column(index);
    const std::string got = column.fieldName() + " " + inQuotes(column.title());
    const std::string want = command.arg(4) + " " + inQuotes(command.arg(5));
    if (got != want)
      fail(command, want, got);
  } else if (what == "selected-column") {
    auto& grid = need<db::DBGrid>(command, 2, "a grid");
    const db::Column* column = grid.selectedColumn();
    const std::string got = column != nullptr ? column->fieldName() : "none";
    if (got != command.arg(3))
      fail(command, command.arg(3), got);
  } else if (what == "picklist") {
    auto& grid = need<db::DBGrid>(command, 2, "a grid");
    const int index = grid.columnOf(command.arg(3));
    if (index < 0)
      fail(command, "a column showing " + command.arg(3), "none");
    std::string got;
    for (const auto& item : grid.column(index).pickList())
      got += (got.empty() ? "" : "|") + item;
    if (got != command.arg(4))
      fail(command, inQuotes(command.arg(4)), inQuotes(got));
  } else if (what == "message") {
    if (messages_.empty()) {
      fail(command, "message " + command.arg(2) + " " + inQuotes(command.arg(3)), "no message");
    }
    const LoggedMessage message = messages_.front();
    messages_.pop_front();
    if (message.kind != command.arg(2) || message.text != command.arg(3)) {
      fail(command, command.arg(2) + " " + inQuotes(command.arg(3)),
           message.kind + " " + inQuotes(message.text));
    }
  } else if (what == "no-message") {
    if (!messages_.empty()) {
      fail(command, "no message", messages_.front().kind + " " + inQuotes(messages_.front().text));
    }
  } else if (what == "call") {
    const std::string& method = command.arg(2);
    std::vector<std::string> wanted;
    for (size_t i = 3; i <= command.argCount(); ++i)
      wanted.push_back(command.arg(i));
    std::string lastSeen = "no call of " + method;
    for (size_t i = callCursor_; i < calls_.size(); ++i) {
      if (calls_[i].method != method)
        continue;
      bool same = calls_[i].args.size() == wanted.size();
      for (size_t a = 0; same && a < wanted.size(); ++a) {
        same = wanted[a] == "*" || wanted[a] == calls_[i].args[a];
      }
      if (same) {
        callCursor_ = i + 1;
        return;
      }
      lastSeen = method;
      for (const auto& a : calls_[i].args)
        lastSeen += " " + inQuotes(a);
    }
    std::string want = method;
    for (const auto& a : wanted)
      want += " " + inQuotes(a);
    fail(command, "call " + want, lastSeen);
  } else if (what == "no-call") {
    for (size_t i = callCursor_; i < calls_.size(); ++i) {
      if (calls_[i].method == command.arg(2))
        fail(command, "no call of " + command.arg(2), "one");
    }
  } else if (what == "wait") {
    const int kind = std::stoi(command.arg(2));
    const std::string& text = command.arg(3);
    for (size_t i = waitCursor_; i < waits_.size(); ++i) {
      if (waits_[i].kind == kind && waits_[i].text == text) {
        waitCursor_ = i + 1;
        return;
      }
    }
    fail(command, fmt::format("wait {} {}", kind, inQuotes(text)),
         waitCursor_ < waits_.size()
             ? fmt::format("wait {} {}", waits_.back().kind, inQuotes(waits_.back().text))
             : "no wait indicator");
  } else if (what == "cursor") {
    const bool hourglass = app.screen().cursor() == ui::Cursor::HourGlass;
    const std::string got = hourglass ? "hourglass" : "default";
    if (got != command.arg(2))
      fail(command, "cursor " + command.arg(2), got);
  } else if (what == "caption") {
    ui::Form* form = findForm(command.arg(2));
    if (form == nullptr)
      fail(command, "an open form " + command.arg(2), "none");
    if (form->caption() != command.arg(3)) {
      fail(command, inQuotes(command.arg(3)), inQuotes(form->caption()));
    }
  } else if (what == "size") {
    ui::Form* form = findForm(command.arg(2));
    if (form == nullptr)
      fail(command, "an open form " + command.arg(2), "none");
    const std::string got =
        std::to_string(form->bounds().width) + " " + std::to_string(form->bounds().height);
    const std::string want = command.arg(3) + " " + command.arg(4);
    if (got != want)
      fail(command, "size " + want, got);
  } else if (what == "maximized" || what == "normal") {
    ui::Form* form = findForm(command.arg(2));
    if (form == nullptr)
      fail(command, "an open form " + command.arg(2), "none");
    const bool maximized = form->windowState() == ui::WindowState::Maximized;
    if (maximized != (what == "maximized")) {
      fail(command, command.arg(2) + " " + what, maximized ? "maximized" : "normal");
    }
  } else if (what == "open" || what == "closed") {
    ui::Form* form = findForm(command.arg(2));
    const bool open = form != nullptr && form->visible();
    if (open != (what == "open"))
      fail(command, command.arg(2) + " " + what, open ? "open" : "closed");
  } else {
    throw ScriptSyntaxError(command.where() + ": unknown expectation '" + what + "'");
  }
}

}  // namespace script
