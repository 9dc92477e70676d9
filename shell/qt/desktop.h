// Desktop: the host application's window and the desktop side of the toolkit model.
//
// It owns the main window (title set by the host, "Faturamento" by default) with the menu bar
// of the active form, an MDI area where MDI child forms live, and a status bar that shows the
// wait indicator's text; the renderer that mirrors the model in it; the runner of modal forms
// and message boxes; and the wait cursor. The model's screen size is the host's to set.
//
// The host (shell/main.cc) makes one Desktop after its QApplication and calls run() with its
// start-up, which loads the module and calls IniProc. screenshot() does the same under the
// offscreen platform (the caller sets QT_QPA_PLATFORM=offscreen before making the
// QApplication) and writes the window to a PNG file; its start-up must not block in a modal
// run. A host that answers modal runs and questions itself (the script driver taking a
// screenshot) keeps its own runner: the Desktop then only renders.
//
// Forms are laid out in pixels for a narrow 8-point font, so the Desktop makes formFont() the
// application's font.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QFont>
#include <QSize>

class QApplication;
class QImage;
class QMainWindow;
class QMdiArea;

namespace shell {

class DesktopRunner;
class MenuBarMirror;
class Renderer;
class WaitFeedback;

// The font the forms are laid out for: Liberation Sans, 8 points.
QFont formFont();

class Desktop {
 public:
  struct Options {
    // Install the desktop's runner (nested event loops, message boxes) in the model; off, the
    // runner the host installed stays.
    bool installRunner = true;
  };

  explicit Desktop(QApplication& app) : Desktop(app, Options{}) {}
  Desktop(QApplication& app, Options options);
  ~Desktop();
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;

  void setTitle(const std::string& title);

  // Shows the main window, runs `start` as the first user event (an error it raises is shown
  // like any other) and runs the Qt event loop until the main window is closed. Returns the
  // event loop's exit code.
  int run(const std::function<void()>& start);
  // Runs `start`, lets the windows settle, enlarges the main window to show every MDI child
  // whole and writes it to `pngPath`, with the top-level form windows (dialogs) drawn over it
  // where they stand. Returns whether a picture that is not blank was written.
  bool screenshot(const std::string& pngPath, const std::function<void()>& start);
  // The picture screenshot() writes, of the windows as they are now.
  QImage picture();

  QMainWindow& mainWindow() const;
  QMdiArea& mdiArea() const;
  Renderer& renderer() const { return *renderer_; }
  DesktopRunner& runner() const { return *runner_; }
  MenuBarMirror& menus() const { return *menus_; }

 private:
  void settle();
  // Enlarges the main window until every visible MDI child fits, at most to `limit` (when
  // given).
  void fitWindowToForms(const QSize& limit);

  QApplication& app_;
  Options options_;
  std::unique_ptr<QMainWindow> window_;
  QMdiArea* mdi_ = nullptr;
  std::unique_ptr<Renderer> renderer_;
  std::unique_ptr<DesktopRunner> runner_;
  std::unique_ptr<MenuBarMirror> menus_;
  std::unique_ptr<WaitFeedback> wait_;
};

}  // namespace shell
