#include "host/showavi.h"

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

  void notify() { changed(ui::Property::Other); }

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

const WaitState& state() {
  return host::processState().wait;
}

ui::Component& indicator() {
  return waitIndicator();
}

}  // namespace Showavi
