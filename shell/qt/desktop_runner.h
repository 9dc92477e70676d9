// DesktopRunner: how modal forms and message boxes block on the desktop.
//
// runModal() shows the form's window modally and runs a nested Qt event loop until the model
// ends the run: the form's modal result is set, or it is hidden or destroyed. messageBox()
// shows a Portuguese message box ("Erro", "Informação", "Aviso", "Confirmação"; buttons "OK",
// "Sim"/"Não", "OK"/"Cancelar") and answers with the model's modal results; a hook can answer
// instead, so tests and unattended runs need no human.
#pragma once

#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "host/ui/application.h"

class QEventLoop;
class QWidget;

namespace shell {

class Renderer;

class DesktopRunner : public ui::Runner, public ui::ChangeObserver {
 public:
  using MessageHook =
      std::function<int(ui::MessageKind kind, const std::string& text, ui::MessageButtons)>;

  explicit DesktopRunner(Renderer& renderer);
  ~DesktopRunner() override;

  // Answers message boxes instead of asking the user; an empty hook restores the boxes.
  void setMessageHook(MessageHook hook) { hook_ = std::move(hook); }
  // How many modal runs are under way.
  int depth() const { return static_cast<int>(runs_.size()); }

  void runModal(ui::Form& form) override;
  int messageBox(ui::MessageKind kind, const std::string& text,
                 ui::MessageButtons buttons) override;

  void propertyChanged(ui::Component& component, ui::Property property) override;
  void componentDestroyed(ui::Component& component) override;

 private:
  struct Run {
    ui::Form* form;
    QEventLoop* loop;
  };
  static bool finished(const ui::Form& form);

  Renderer& renderer_;
  MessageHook hook_;
  std::vector<Run> runs_;
};

}  // namespace shell
