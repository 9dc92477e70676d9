#include "shell/script/lookup.h"

#include <fmt/format.h>

#include <cmath>

#include "host/db/data_set.h"
#include "host/db/db_edit.h"
#include "host/db/db_grid.h"
#include "host/ui/application.h"
#include "host/ui/buttons.h"
#include "host/ui/combo_box.h"
#include "host/ui/edit.h"
#include "host/ui/list_box.h"
#include "host/ui/menu.h"
#include "host/ui/page_control.h"
#include "host/ui/regional.h"
#include "host/ui/static_controls.h"

namespace script {

ui::Form* findForm(const std::string& name) {
  return ui::application().findForm(name);
}

ui::Component* findComponent(const std::string& name) {
  if (const auto dot = name.find('.'); dot != std::string::npos) {
    ui::Form* form = findForm(name.substr(0, dot));
    return form == nullptr ? nullptr : form->findComponent(name.substr(dot + 1));
  }
  if (ui::Form* form = ui::application().activeForm()) {
    if (auto* found = form->findComponent(name))
      return found;
  }
  for (ui::Form* form : ui::application().forms()) {
    if (ui::application().released(form))
      continue;
    if (auto* found = form->findComponent(name))
      return found;
  }
  return findForm(name);
}

bool readText(ui::Component& component, std::string& text) {
  if (auto* edit = dynamic_cast<ui::Edit*>(&component)) {
    text = edit->text();
    return true;
  }
  if (auto* combo = dynamic_cast<ui::ComboBox*>(&component)) {
    text = combo->text();
    return true;
  }
  if (auto* item = dynamic_cast<ui::MenuItem*>(&component)) {
    text = item->caption();
    return true;
  }
  if (auto* control = dynamic_cast<ui::Control*>(&component)) {
    text = control->caption();
    return true;
  }
  return false;
}

std::string argText(const packet::Arg& arg) {
  struct Visitor {
    std::string operator()(std::monostate) const { return "null"; }
    std::string operator()(const std::string& s) const { return s; }
    std::string operator()(double d) const {
      if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15) {
        return fmt::format("{}", static_cast<long long>(d));
      }
      return fmt::format("{}", d);
    }
    std::string operator()(const packet::DateArg& d) const {
      return ui::regional::formatDate(d.days);
    }
    std::string operator()(const packet::Delta&) const { return "*"; }
  };
  return std::visit(Visitor{}, arg);
}

namespace {

std::string flags(const ui::Control& c) {
  std::string out = c.visible() ? "visible" : "hidden";
  out += c.enabled() ? " enabled" : " disabled";
  if (c.focused())
    out += " focused";
  return out;
}

}  // namespace

std::string describe(ui::Component& component) {
  if (auto* set = dynamic_cast<db::DataSet*>(&component)) {
    std::string out =
        fmt::format("{}: {} {} rows, row {}, {} changes", set->name(), db::stateName(set->state()),
                    set->recordCount(), set->recNo(), set->changeCount());
    if (set->active() && (!set->isEmpty() || set->isEditing())) {
      for (int i = 0; i < set->fieldCount(); ++i) {
        const db::Field& f = set->field(i);
        if (!f.isNull())
          out += fmt::format("\n  {} = \"{}\"", f.name(), f.text());
      }
    }
    return out;
  }
  if (auto* list = dynamic_cast<ui::ListBox*>(&component)) {
    std::string out = fmt::format("{}: {}, {} items", list->name(), flags(*list), list->count());
    for (int i = 0; i < list->count(); ++i) {
      out += fmt::format("\n  {}{} {}", list->selected(i) ? "*" : " ", i, list->item(i));
    }
    return out;
  }
  if (auto* grid = dynamic_cast<db::DBGrid*>(&component)) {
    std::string out = fmt::format("{}: {}, {} rows, column {}", grid->name(), flags(*grid),
                                  grid->rowCount(), grid->selectedIndex());
    for (int c = 0; c < grid->columnCount(); ++c) {
      out += fmt::format("\n  {} \"{}\"", grid->column(c).fieldName(), grid->column(c).title());
    }
    return out;
  }
  if (auto* pages = dynamic_cast<ui::PageControl*>(&component)) {
    return fmt::format("{}: {}, page {}", pages->name(), flags(*pages),
                       pages->activePage() != nullptr ? pages->activePage()->name() : "-");
  }
  if (auto* item = dynamic_cast<ui::MenuItem*>(&component)) {
    return fmt::format("{}: \"{}\" {}{}", item->name(), item->caption(),
                       item->enabled() ? "enabled" : "disabled", item->checked() ? " checked" : "");
  }
  if (auto* control = dynamic_cast<ui::Control*>(&component)) {
    std::string text;
    readText(*control, text);
    return fmt::format("{}: {} \"{}\"", control->name(), flags(*control), text);
  }
  return component.name();
}

}  // namespace script
