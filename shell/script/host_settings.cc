#include "shell/script/host_settings.h"

#include <map>
#include <string_view>

#include "host/quendra.h"
#include "host/ui/application.h"
#include "host/ui/regional.h"
#include "shell/script/failure.h"

namespace script {

namespace {

struct Setting {
  const Command& command;
  const std::string& value;
  const std::function<void(const std::string&)>& signIn;

  double date() const {
    const auto parsed = ui::regional::parseDate(value);
    if (!parsed)
      fail(command, "a date dd/mm/yyyy", value);
    return *parsed;
  }
  int number() const {
    try {
      return std::stoi(value);
    } catch (const std::exception&) {
      fail(command, "a whole number", value);
    }
  }
  bool flag() const {
    if (value != "true" && value != "false")
      fail(command, "true or false", value);
    return value == "true";
  }
};

using Apply = void (*)(const Setting& setting);

Quendra::WorkingContext& context() {
  return Quendra::context();
}

ui::Screen& screen() {
  return ui::application().screen();
}

const std::map<std::string_view, Apply>& settings() {
  static const std::map<std::string_view, Apply> table = {
      {"FiliProc", [](const Setting& s) { context().filiProc = s.value; }},
      {"NomeFiliProc", [](const Setting& s) { context().nomeFiliProc = s.value; }},
      {"FiliProcFat", [](const Setting& s) { context().filiProcFat = s.value; }},
      {"NomeFiliProcFat", [](const Setting& s) { context().nomeFiliProcFat = s.value; }},
      {"ModuFili", [](const Setting& s) { context().moduFili = s.flag(); }},
      {"Operador", [](const Setting& s) { s.signIn(s.value); }},
      {"DataProc", [](const Setting& s) { context().dataProc = s.date(); }},
      {"Hoje", [](const Setting& s) { ui::regional::setClockForTesting(s.date() + 0.5); }},
      {"ModuloAtiv", [](const Setting& s) { context().moduloAtiv = s.number(); }},
      {"ScreenWidth", [](const Setting& s) { screen().setSize(s.number(), screen().height()); }},
      {"ScreenHeight", [](const Setting& s) { screen().setSize(screen().width(), s.number()); }},
      {"DBPict", [](const Setting& s) { context().dbPict = s.value; }},
  };
  return table;
}

}  // namespace

void applyHostSetting(const Command& command,
                      const std::function<void(const std::string&)>& signIn) {
  const std::string& name = command.arg(1);
  const std::string& value = command.arg(2);
  const auto found = settings().find(name);
  if (found == settings().end()) {
    fail(command,
         "a host setting (FiliProc, NomeFiliProc, FiliProcFat, NomeFiliProcFat, "
         "ModuFili, Operador, DataProc, Hoje, ModuloAtiv, ScreenWidth, ScreenHeight, "
         "DBPict)",
         name);
  }
  found->second(Setting{command, value, signIn});
}

}  // namespace script
