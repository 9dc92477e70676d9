#include "host/showavi.h"

#include <fmt/format.h>

#include <stdexcept>

#include "host/process_state.h"
#include "host/ui/application.h"

namespace Showavi {

namespace {

// The indicator component; it also watches for the destruction of the form it covers, so the
// state never points at a form that is gone.
class WaitIndicator : public ui::Component, private ui::ChangeObserver {
 public:
  WaitIndicator() : Component("WaitIndicator") { ui::addChangeObserver(this); }

  void notify(ui::Property property = ui::Property::Other) { changed(property); }

 private:
  void propertyChanged(ui::Component&, ui::Property) override {}
  void componentDestroyed(ui::Component& component) override {
    WaitState& shown = host::processState().wait;
    if (&component == shown.over)
      shown.over = nullptr;
  }
};

WaitIndicator& waitIndicator() {
  // Never destroyed: it stays registered as an observer for the whole process.
  static auto* instance = new WaitIndicator();
  return *instance;
}

// 12345 as "12.345".
std::string thousands(int value) {
  const std::string digits = std::to_string(value < 0 ? -static_cast<long long>(value) : value);
  std::string out = value < 0 ? "-" : "";
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0)
      out += '.';
    out += digits[i];
  }
  return out;
}

}  // namespace

void ActiveShowAvi(const ui::Form* over, int kind, const std::string& text) {
  if (kind != 0 && kind != 1 && kind != 6)
    throw std::invalid_argument(
        "Tipo de indicador de espera desconhecido: " + std::to_string(kind) + ".");
  host::processState().wait = WaitState{true, kind, text, over};
  ui::application().screen().setCursor(ui::Cursor::HourGlass);
  waitIndicator().notify();
}

void DeactiveShowAvi() {
  WaitState& shown = host::processState().wait;
  if (!shown.active)
    return;
  shown = WaitState{};
  ui::application().screen().setCursor(ui::Cursor::Default);
  waitIndicator().notify();
}

void ShowWhile(const ui::Form* over, int kind, const std::string& text,
               const std::function<void()>& work) {
  ActiveShowAvi(over, kind, text);
  try {
    work();
  } catch (...) {
    DeactiveShowAvi();
    throw;
  }
  DeactiveShowAvi();
}

std::string shownText(const WaitState& state) {
  if (state.total <= 0)
    return state.text;
  const std::string count = fmt::format("{} de {}", thousands(state.done), thousands(state.total));
  return state.text.empty() ? count : state.text + " " + count;
}

void ShowCount(const ui::Form* over, const std::string& text, int done, int total) {
  WaitState& shown = host::processState().wait;
  if (!shown.active) {
    shown = WaitState{true, 1, text, over};
    shown.shownByCount = true;
    ui::application().screen().setCursor(ui::Cursor::HourGlass);
  }
  shown.done = done;
  shown.total = total;
  waitIndicator().notify(ui::Property::Text);
}

void EndCount() {
  WaitState& shown = host::processState().wait;
  if (shown.shownByCount) {
    DeactiveShowAvi();
    return;
  }
  if (shown.total == 0)
    return;
  shown.done = 0;
  shown.total = 0;
  waitIndicator().notify(ui::Property::Text);
}

const WaitState& state() {
  return host::processState().wait;
}

ui::Component& indicator() {
  return waitIndicator();
}

}  // namespace Showavi
