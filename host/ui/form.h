// Form: a top-level window of the toolkit model, holding controls, menus and non-visual
// components.
//
// A form is created by the application (Application::createForm), which runs its create event
// once the whole object exists. It keeps a registry of its components by name, so scripts and
// renderers can find any control, menu item, data set or query; it owns its controls (through
// the control tree) and the non-visual components made with make<T>().
//
// Focus: each form has an active control. Moving the focus from A to B fires Exit on A and on
// every container of A that does not hold B (innermost first), then Enter on every container
// of B that did not hold A (outermost first), then on B. While the exits run, the form's active
// control already reads B (so A no longer counts as focused). An exception from an exit handler
// stops the move and the focus stays on A; a handler that moves the focus itself ends the
// move it interrupted, and its own target wins.
//
// Showing: Show makes the form visible and active; ShowModal blocks its caller while the
// installed runner runs the user's actions, until a modal result is set (Close sets Cancel).
// Close runs the close event, whose action may hide, minimise, keep or free the form; a freed
// form is destroyed once the current user event has been handled.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/ui/control.h"

namespace ui {

class MainMenu;

enum class WindowState { Normal, Minimized, Maximized };
enum class FormStyle { Normal, MdiChild };
enum class BorderStyle { Sizeable, Dialog, Single };
enum class CloseAction { None, Hide, Free, Minimize };

// Modal results; a message box answers with the same values (Yes is 6).
enum ModalResult : int {
  mrNone = 0,
  mrOk = 1,
  mrCancel = 2,
  mrAbort = 3,
  mrRetry = 4,
  mrIgnore = 5,
  mrYes = 6,
  mrNo = 7,
};

class Form : public Control {
 public:
  explicit Form(std::string name);
  ~Form() override;

  // --- registry ---
  void registerComponent(Component& component);
  void unregisterComponent(Component& component);
  Component* findComponent(const std::string& name) const;
  template <class T>
  T* find(const std::string& name) const {
    return dynamic_cast<T*>(findComponent(name));
  }
  // Creates a non-visual component owned by the form; destroyed after the controls.
  template <class T, class... Args>
  T* make(Args&&... args) {
    auto component = std::make_unique<T>(std::forward<Args>(args)...);
    T* raw = component.get();
    registerComponent(*raw);
    components_.push_back(std::move(component));
    return raw;
  }

  // --- window ---
  WindowState windowState() const { return windowState_; }
  void setWindowState(WindowState state);
  FormStyle formStyle() const { return formStyle_; }
  void setFormStyle(FormStyle style);
  BorderStyle borderStyle() const { return borderStyle_; }
  void setBorderStyle(BorderStyle style) { borderStyle_ = style; }
  bool keyPreview() const { return keyPreview_; }
  void setKeyPreview(bool preview) { keyPreview_ = preview; }
  int helpContext() const { return helpContext_; }
  void setHelpContext(int context) { helpContext_ = context; }
  const std::string& helpFile() const { return helpFile_; }
  void setHelpFile(std::string file) { helpFile_ = std::move(file); }
  MainMenu* menu() const { return menu_; }
  void setMenu(MainMenu* menu);
  // Client area size (the bounds less the frame); dialogs are laid out by it.
  void setClientSize(int width, int height);

  // --- life cycle ---
  void show();
  int showModal();
  void hide();
  void close();
  // Destroys the form once the current user event has been handled.
  void release();
  bool modal() const { return modal_; }
  int modalResult() const { return modalResult_; }
  void setModalResult(int result);
  bool isActiveForm() const;
  // The form that was active when this one was last shown: the window it was called from, over
  // which a renderer centres a dialog. Null when none was, or once that form is destroyed.
  Form* caller() const { return caller_; }
  // Repaint request; the model has nothing to paint, renderers refresh.
  void repaint() { changed(Property::Other); }

  // --- focus ---
  Control* activeControl() const { return active_; }
  // The control whose enter events have run and whose exit has not (the real holder of the
  // focus, which differs from activeControl() only while a move is under way).
  Control* focusHolder() const { return holder_; }
  void focusControl(Control* target);
  // Moves the focus to the first control in tab order inside `container` that can take it.
  // Returns false when there is none.
  bool selectFirst(Control* container);
  // Tab and Shift+Tab: the next control with a tab stop, wrapping around.
  void selectNext(bool forward);
  // Alt and a letter or digit: the first showing, usable label whose caption has that
  // accelerator and whose focus control can take the focus moves the focus there. Returns
  // whether a label took the key.
  bool focusAccelerator(Key key);
  // Controls that can take the focus, in tab order, inside `container`.
  std::vector<Control*> tabOrderList(Control* container, bool tabStopsOnly) const;

  // --- events ---
  std::function<void(Form&)> onCreate;
  std::function<void(Form&)> onShow;
  std::function<void(Form&)> onActivate;
  std::function<void(Form&)> onDeactivate;
  std::function<void(Form&, CloseAction& action)> onClose;

  bool acceptsFocus() const override { return false; }
  Rect clientArea() const override;

  // Called by the application.
  void activated();
  void deactivated();
  // Drops references to a control that is going away.
  void forgetControl(Control* control);
  // Drops references to another form that is going away.
  void forgetForm(const Form* form);

 private:
  void finishClose(CloseAction action);

  std::map<std::string, Component*> registry_;
  std::vector<std::unique_ptr<Component>> components_;
  WindowState windowState_ = WindowState::Normal;
  FormStyle formStyle_ = FormStyle::Normal;
  BorderStyle borderStyle_ = BorderStyle::Sizeable;
  bool keyPreview_ = false;
  int helpContext_ = 0;
  std::string helpFile_;
  MainMenu* menu_ = nullptr;
  Form* caller_ = nullptr;
  bool modal_ = false;
  int modalResult_ = mrNone;
  Control* active_ = nullptr;
  Control* holder_ = nullptr;
  unsigned focusMoves_ = 0;
  std::vector<Control*> exiting_;
};

}  // namespace ui
