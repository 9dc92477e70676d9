// Application: the forms, the screen and the one event dispatcher of the toolkit model.
//
// Every user event (a click, a key, a focus move, a tab choice) passes through dispatch(): it
// swallows the silent abort and shows any other exception as an error message, so a handler
// ends its operation by raising. Message boxes and modal runs block their caller; the toolkit
// delegates the blocking to a Runner installed by the host: the desktop shell runs a nested
// event loop, the script driver runs the commands queued for that form or box, and a unit test
// installs a responder.
//
// The model is single-threaded: everything runs on the thread that drives the user interface.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/ui/component.h"
#include "host/ui/form.h"
#include "host/ui/keys.h"

namespace ui {

class MenuItem;

enum class MessageKind { Error, Information, Warning, Confirmation };
enum class MessageButtons { Ok, YesNo, OkCancel };

// What blocks: the host decides how a modal form or a message box gets its answer.
class Runner {
 public:
  virtual ~Runner() = default;
  // Runs the user's actions for `form` until its modal result is set (or it is closed).
  virtual void runModal(Form& form) = 0;
  // Shows a message box and returns the button chosen (mrOk, mrYes, mrNo, mrCancel).
  virtual int messageBox(MessageKind kind, const std::string& text, MessageButtons buttons) = 0;
};

enum class Cursor { Default, HourGlass };

// The screen the application runs on: its size and the mouse cursor.
class Screen : public Component {
 public:
  Screen() : Component("Screen") {}
  int width() const { return width_; }
  int height() const { return height_; }
  void setSize(int width, int height);
  Cursor cursor() const { return cursor_; }
  void setCursor(Cursor cursor);

 private:
  int width_ = 1280;
  int height_ = 1024;
  Cursor cursor_ = Cursor::Default;
};

class Application {
 public:
  Application();
  ~Application();

  // --- forms ---
  // Creates a form owned by the application and runs its create event. When the create event
  // raises, the form is destroyed and the error goes on to the caller.
  template <class T, class... Args>
  T* createForm(Args&&... args) {
    auto form = std::make_unique<T>(std::forward<Args>(args)...);
    T* raw = form.get();
    adoptForm(std::move(form));
    return raw;
  }
  // Every form the application holds, released ones included until they are destroyed.
  const std::vector<Form*>& forms() const { return formView_; }
  // The form whose instance name is `name` and that is not waiting to be destroyed: once a
  // form is released (a dialog freed on closing), its name belongs to the next instance.
  Form* findForm(const std::string& name) const;
  // Released: closed and waiting for the end of the user event to be destroyed.
  bool released(const Form* form) const;
  Form* activeForm() const { return active_; }
  // The host's main window: the form that owns child windows and the wait indicator.
  Form* mainForm() const { return mainForm_; }
  void setMainForm(Form* form) { mainForm_ = form; }

  Screen& screen() { return screen_; }

  // --- blocking ---
  void setRunner(Runner* runner) { runner_ = runner; }
  Runner& runner();
  int messageBox(MessageKind kind, const std::string& text, MessageButtons buttons);

  // --- user events ---
  // Runs one user event: the silent abort is swallowed, any other exception is shown as an
  // error. Returns false when the event ended with an exception (so a driver can record a
  // refused action).
  bool dispatch(const std::function<void()>& action);
  bool dispatching() const { return depth_ > 0; }
  // The user clicks a control: focus (when it takes the focus), click event, default action.
  void click(Control& control);
  void doubleClick(Control& control);
  void clickMenuItem(MenuItem& item);
  // A key goes down on the focused control: form key preview, control handler, default
  // handling, then the character it types (if any) as a key press.
  void keyDown(Control& target, Key key, ShiftState shift);
  // A character is typed into the focused control: form key preview, control handler, default.
  void keyPress(Control& target, char32_t ch);

  // --- called by forms ---
  void activateForm(Form* form);
  void formHidden(Form* form);
  // Queues a form for destruction; it goes once the outermost user event is handled.
  void releaseForm(Form* form);
  // Destroys released forms now (the dispatcher does it after each outermost event).
  void flushReleases();

 private:
  void adoptForm(std::unique_ptr<Form> form);
  void destroyForm(Form* form);

  std::vector<std::unique_ptr<Form>> forms_;
  std::vector<Form*> formView_;
  std::vector<Form*> activation_;  // most recently active last
  std::vector<Form*> released_;
  Form* active_ = nullptr;
  Form* mainForm_ = nullptr;
  Screen screen_;
  Runner* runner_ = nullptr;
  int depth_ = 0;
};

// The application of this process. Tests may replace it with resetApplication().
Application& application();
void resetApplication();

}  // namespace ui
