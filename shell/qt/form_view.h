// FormView: a form's window.
//
// The form's client area is a widget of the model's client size; it lives in an MDI
// sub-window of the host's MDI area when the form is an MDI child (and the renderer has an
// MDI area), else it is a top-level window (a dialog when the form's border is a dialog's).
// Caption, visibility, window state, position and size follow the model (a top-level window
// called from another form opens centred over that form's window); the window's close
// box asks the model to close the form, and the window goes only when the model hides or frees
// it; maximising, minimising or restoring the window sets the model's window state. A click on
// the window of a form that is not the active one brings the form forward.
#pragma once

#include <QPointer>

#include "host/ui/form.h"
#include "shell/qt/control_view.h"

namespace shell {

class FormClient;

class FormView : public ControlView {
  Q_OBJECT

 public:
  FormView(Renderer& renderer, ui::Form& form) : ControlView(renderer, form) {}

  // The sub-window or top-level window the form is shown in.
  QWidget* window() const { return window_; }
  // Called once every control of the form has its widget: the window may appear now.
  void finishBuild();
  // Makes the window the active one (sub-window of the MDI area, or top-level window).
  void activate();
  // Blocks the other windows while the form runs modally.
  void setModal(bool modal);
  // Whether the window is of the kind the form's style asks for (an MDI sub-window or a
  // top-level window); the renderer rebuilds the form when it is not.
  bool matchesStyle() const;

  void release() override;

 protected:
  QWidget* createWidget(QWidget* parentArea) override;
  void apply(ui::Property property) override;
  QSize modelSize() const override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  ui::Form& form() const { return model<ui::Form>(); }
  void showWindow();
  void placeWindow();
  // Where a top-level window stands: centred over its caller's window when the form has one
  // that is shown, else at the form's bounds.
  QPoint topLevelPosition() const;

  FormClient* client_ = nullptr;
  QPointer<QWidget> window_;
  bool built_ = false;
  bool showing_ = false;    // the window's state is being set from the model
  bool following_ = false;  // the model's state is being set from the window
};

}  // namespace shell
